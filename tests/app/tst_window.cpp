// The window as a person meets it: Qt's own texts in Polish, every tool button in
// sight, accelerators that only move the focus, dialogs that open in their first field,
// fields wide enough for their text, and nothing crowded or clipped.
#include "app/UnitAbout.h"
#include "app/UnitMainForm.h"
#include "app/UnitProgramOptions.h"
#include "app/UnitProgress.h"
#include "app/UnitResetDial.h"
#include "editors/dialogs/UnitAlarmIn.h"
#include "editors/dialogs/UnitAlarmOut.h"
#include "editors/dialogs/UnitCode.h"
#include "editors/dialogs/UnitConfig.h"
#include "editors/dialogs/UnitDelay.h"
#include "editors/dialogs/UnitEventCode.h"
#include "editors/dialogs/UnitHistory.h"
#include "editors/dialogs/UnitPhoneParam.h"
#include "editors/dialogs/UnitPhones.h"
#include "editors/dialogs/UnitPolpager.h"
#include "editors/dialogs/UnitStation.h"
#include "editors/dialogs/UnitSystemOptions.h"
#include "model/TZorvexSettings.h"
#include "tests/common/FactorySettings.h"
#include "tests/editors/ModalDriver.h"
#include "widgets/MessageBoxRecorder.h"
#include "widgets/QtTranslations.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

#include <functional>
#include <map>
#include <tuple>
#include <utility>

namespace {

using Interact = std::function<void(QDialog&)>;
using Runner = std::function<int(TZorvexSettings&, const Interact&)>;

template <class Dialog> int RunEditor(TZorvexSettings& settings, const Interact& interact)
{
    Dialog dialog;
    return DriveModal(
        dialog, [&] { return dialog.EditSettings(settings); }, [&] { interact(dialog); });
}

// Every dialog the main window opens, by its caption.
const std::map<QString, Runner>& Dialogs()
{
    static const std::map<QString, Runner> dialogs{
        {"Telefony", RunEditor<TFormPhones>},
        {"Parametry współpracy z linią telefoniczną", RunEditor<TFormPhoneParam>},
        {"Komunikat do stacji POLPAGER", RunEditor<TFormPolpager>},
        {"Kody dostępu", RunEditor<TFormCode>},
        {"Linie wejściowe", RunEditor<TFormAlarmIn>},
        {"Wyjścia programowalne PGM", RunEditor<TFormAlarmOut>},
        {"Zwłoki", RunEditor<TFormDelay>},
        {"Kody zdarzeń", RunEditor<TFormEventCode>},
        {"Historia zdarzeń", RunEditor<TFormHistory>},
        {"Stacje monitorujące", RunEditor<TFormStation>},
        {"Opcje systemowe", RunEditor<TFormSystemOptions>},
        {"Konfiguracja", RunEditor<TFormConfig>},
        {"Opcje programu",
         [](TZorvexSettings&, const Interact& interact) {
             TFormProgramOptions dialog;
             std::uint8_t port = 1;
             return DriveModal(
                 dialog, [&] { return dialog.EditOptions(port); }, [&] { interact(dialog); });
         }},
        {"O programie",
         [](TZorvexSettings&, const Interact& interact) {
             TAboutBox dialog;
             return DriveModal(
                 dialog, [&] { return dialog.exec(); }, [&] { interact(dialog); });
         }},
        {"Restart Dialera",
         [](TZorvexSettings&, const Interact& interact) {
             TFormResetDial dialog;
             return DriveModal(
                 dialog, [&] { return dialog.exec(); }, [&] { interact(dialog); });
         }},
    };
    return dialogs;
}

// The widget that stands for where the focus is: a radio button counts as its group.
QString FocusPlace()
{
    QWidget* w = Focused();
    if (!w)
        return QString();
    if (qobject_cast<QRadioButton*>(w) && qobject_cast<RadioGroup*>(w->parentWidget()))
        w = w->parentWidget();
    return w->objectName();
}

// Whether the focus is on buddy or inside it (a group's button, a picker's line).
bool FocusIsOn(QWidget* buddy)
{
    QWidget* w = Focused();
    return w && (w == buddy || buddy->isAncestorOf(w) || w->focusProxy() == buddy);
}

// What the user can see of every check box and radio button: ticked and pressed.
QList<std::pair<bool, bool>> ButtonStates(QDialog& dialog)
{
    QList<std::pair<bool, bool>> states;
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        if (!qobject_cast<QPushButton*>(b))
            states.append({b->isChecked(), b->isDown()});
    return states;
}

// The rectangle a label's text takes, in its parent's coordinates.
QRect TextRect(QLabel* label)
{
    const QFontMetrics metrics(label->font());
    QString text = label->text();
    text.remove(QLatin1Char('&'));
    const QRect box = metrics.boundingRect(label->contentsRect(),
                                           int(label->alignment()) | Qt::TextWordWrap, text);
    return box.translated(label->pos());
}

} // namespace

class TstWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void qtTextsArePolish_data();
    void qtTextsArePolish();
    void qtWidgetsSpeakPolish();
    void printDialogSpeaksPolish();

    void toolBarShowsEveryAction_data();
    void toolBarShowsEveryAction();

    void accelerators_data();
    void accelerators();
    void menuLetters_data();
    void menuLetters();
    void openingFocus_data();
    void openingFocus();
    void nothingClipped_data();
    void nothingClipped();

    void descriptionFieldsShowFiftyLetters_data();
    void descriptionFieldsShowFiftyLetters();
    void descriptionReopensUnscrolled();

    void badTestTimeIsSaidOnce_data();
    void badTestTimeIsSaidOnce();

    void aboutBoxKeepsItsDistances_data();
    void aboutBoxKeepsItsDistances();
    void progressCentresOnScreen();
    void labelsKeepClearOfTheirValues_data();
    void labelsKeepClearOfTheirValues();

private:
    bool m_translated = false;
};

void TstWindow::initTestCase()
{
    m_translated = InstallQtTranslations(*QCoreApplication::instance());
}

void TstWindow::qtTextsArePolish_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("polish");
    // What the file dialogs, the overwrite question, the print dialog and the standard
    // buttons say.
    const char* const rows[][4] = {
        {"look in", "QFileDialog", "Look in:", "Szukaj w:"},
        {"file name", "QFileDialog", "File &name:", "Nazwa &pliku:"},
        {"overwrite", "QFileDialog", "%1 already exists.\nDo you want to replace it?",
         "%1 już istnieje.\nCzy chcesz go zastąpić?"},
        {"save button", "QPlatformTheme", "Save", "Zachowaj"},
        {"print", "QPrintDialog", "Print", "Drukowanie"},
        // What Qt's own catalogue lacks, from the program's.
        {"bad page range", "QPrintDialog", "Invalid Pages Definition",
         "Nieprawidłowy zakres stron"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << row[1] << row[2] << QString::fromUtf8(row[3]);
}

void TstWindow::qtTextsArePolish()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, polish);
    QVERIFY2(m_translated, "qtbase_pl.qm (Debian: qt6-translations-l10n) did not load");
    QCOMPARE(QCoreApplication::translate(context.toLatin1(), source.toUtf8()), polish);
}

void TstWindow::qtWidgetsSpeakPolish()
{
    QVERIFY(m_translated);
    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("Zachowaj"));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    QVERIFY(lookIn);
    QCOMPARE(lookIn->text(), QStringLiteral("Szukaj w:"));
}

namespace {

// Every text a dialog can show: labels, buttons, group boxes, tabs, list items, tips.
QStringList DialogTexts(QWidget& dialog)
{
    QStringList texts{dialog.windowTitle()};
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        texts << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        else if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        else if (auto* list = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

// Qt's print dialog, as "Konfiguracja drukarki" in "Opcje programu" opens it with its
// options shown, has no text left in English: none of the texts the same dialog shows
// without any catalogue ("Pages", "Double Sided Printing", the page range's tip).
void TstWindow::printDialogSpeaksPolish()
{
    QVERIFY(m_translated);
    const QList<QTranslator*> translators =
        QCoreApplication::instance()->findChildren<QTranslator*>();
    QVERIFY(translators.size() >= 2); // Qt's catalogue and the program's
    QStringList english;
    {
        for (QTranslator* translator : translators)
            QCoreApplication::removeTranslator(translator);
        QPrinter printer;
        QPrintDialog dialog(&printer);
        english = DialogTexts(dialog);
        for (QTranslator* translator : translators)
            QCoreApplication::installTranslator(translator);
    }
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    english = english.filter(word);
    english.removeAll(QStringLiteral("PDF"));
    QVERIFY(english.contains(QStringLiteral("Pages")));

    TFormProgramOptions options;
    std::uint8_t port = 1;
    QStringList shown;
    DriveModal(
        options, [&] { return options.EditOptions(port); },
        [&] {
            WhileModalOpen([&] { QTest::mouseClick(options.SpeedButton1, Qt::LeftButton); },
                           [&](QWidget& print) {
                               for (QAbstractButton* b : print.findChildren<QAbstractButton*>())
                                   if (b->text() == QStringLiteral("&Opcje >>"))
                                       QTest::mouseClick(b, Qt::LeftButton);
                               shown = DialogTexts(print);
                           });
            options.reject();
        });
    QVERIFY(shown.contains(QStringLiteral("Strony")));
    for (const QString& text : shown)
        QVERIFY2(!english.contains(text), qPrintable(text));
}

void TstWindow::toolBarShowsEveryAction_data()
{
    QTest::addColumn<QString>("style");
    for (const QString& style : QStyleFactory::keys())
        QTest::newRow(qPrintable(style)) << style;
}

void TstWindow::toolBarShowsEveryAction()
{
    QFETCH(QString, style);
    const QString before = QApplication::style()->name();
    const auto restore = qScopeGuard([&] { QApplication::setStyle(before); });
    QApplication::setStyle(style);
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* bar = window.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QVERIFY(bar);
    const QList<QAction*> actions = bar->actions();
    QCOMPARE(actions.size(), 23); // 18 buttons and 5 separators
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        QWidget* button = bar->widgetForAction(action);
        QVERIFY2(button && button->isVisible(), qPrintable(action->objectName()));
        QVERIFY2(bar->rect().contains(button->geometry()), qPrintable(action->objectName()));
    }
    // The "»" menu of actions that did not fit stays hidden.
    auto* overflow = bar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button"));
    QVERIFY(!overflow || !overflow->isVisible());
    // The picture is never squeezed.
    QVERIFY(window.centralWidget()->width() >= 455);
}

void TstWindow::accelerators_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("labels"); // labels with an accelerator and a field to lead to
    const std::pair<const char*, int> rows[] = {
        {"Telefony", 11},
        {"Parametry współpracy z linią telefoniczną", 7},
        {"Komunikat do stacji POLPAGER", 1},
        {"Kody dostępu", 12},
        {"Linie wejściowe", 0},
        {"Wyjścia programowalne PGM", 4},
        {"Zwłoki", 3},
        {"Kody zdarzeń", 17},
        {"Historia zdarzeń", 0},
        {"Stacje monitorujące", 6},
        {"Opcje systemowe", 8},
        {"Konfiguracja", 3},
        {"Opcje programu", 3},
        {"Restart Dialera", 1},
    };
    for (const auto& [caption, labels] : rows)
        QTest::newRow(caption) << QString::fromUtf8(caption) << labels;
}

// A label's accelerator moves the focus to its field and changes nothing; a check box or
// radio button carries no accelerator of its own (it would tick itself).
void TstWindow::accelerators()
{
    QFETCH(QString, caption);
    QFETCH(int, labels);
    TZorvexSettings settings = Factory();
    MessageBoxRecorder boxes;
    int checked = 0;
    Dialogs().at(caption)(settings, [&](QDialog& dialog) {
        for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
            if (!qobject_cast<QPushButton*>(b))
                QVERIFY2(QKeySequence::mnemonic(b->text()).isEmpty(), qPrintable(b->text()));
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            const QKeySequence key = QKeySequence::mnemonic(label->text());
            if (!label->buddy() || key.isEmpty())
                continue;
            const auto before = ButtonStates(dialog);
            // A letter that two controls share moves on at each press; a few presses reach
            // every one of them.
            for (int press = 0; press < 3 && !FocusIsOn(label->buddy()); ++press) {
                Press(key[0].key(), key[0].keyboardModifiers());
                QVERIFY2(dialog.isVisible(), qPrintable(label->text()));
            }
            QVERIFY2(FocusIsOn(label->buddy()), qPrintable(label->text()));
            QVERIFY2(ButtonStates(dialog) == before, qPrintable(label->text()));
            ++checked;
        }
        dialog.reject();
    });
    QCOMPARE(checked, labels);
    QCOMPARE(boxes.Count(), 0);
}

void TstWindow::menuLetters_data()
{
    QTest::addColumn<int>("menu"); // its place on the menu bar
    const QStringList titles{"Konfiguracja",  "Telefony",  "System",
                             "Monitorowanie", "Zdarzenia", "Pomoc"};
    for (int i = 0; i < titles.size(); ++i)
        QTest::newRow(qPrintable(titles[i])) << i;
}

// Alt and the menu's letter, then an item's letter, chooses that item and no other, for
// every item of every menu (Alt+K, H is "Archiwum...", not "Zapamiętanie").
void TstWindow::menuLetters()
{
    QFETCH(int, menu);
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {};
    // The items only say what was chosen here: no action runs.
    for (QAction* action : window.actions())
        QObject::disconnect(action, &QAction::triggered, &window, nullptr);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QAction* title = window.menuBar()->actions().at(menu);
    const QKeySequence titleKey = QKeySequence::mnemonic(title->text());
    QVERIFY2(!titleKey.isEmpty(), qPrintable(title->text()));
    int items = 0;
    for (QAction* item : title->menu()->actions()) {
        if (item->isSeparator())
            continue;
        const QKeySequence itemKey = QKeySequence::mnemonic(item->text());
        QVERIFY2(!itemKey.isEmpty(), qPrintable(item->text()));
        QSignalSpy chosen(title->menu(), &QMenu::triggered);
        QTest::keyClick(&window, titleKey[0].key(), Qt::AltModifier);
        QTRY_VERIFY2(title->menu()->isVisible(), qPrintable(title->text()));
        QTest::keyClick(title->menu(), itemKey[0].key());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0][0].value<QAction*>()->objectName(), item->objectName());
        QTRY_VERIFY(!title->menu()->isVisible());
        ++items;
    }
    QVERIFY(items > 0);
}

void TstWindow::nothingClipped_data()
{
    QTest::addColumn<QString>("caption");
    for (const auto& entry : Dialogs())
        QTest::newRow(qPrintable(entry.first)) << entry.first;
}

// Every caption shows whole: no label or button is narrower or lower than its text needs.
void TstWindow::nothingClipped()
{
    QFETCH(QString, caption);
    TZorvexSettings settings = Factory();
    MessageBoxRecorder boxes;
    int seen = 0;
    Dialogs().at(caption)(settings, [&](QDialog& dialog) {
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(w);
            auto* button = qobject_cast<QAbstractButton*>(w);
            const bool text = (label && !label->text().isEmpty() && !label->wordWrap()) ||
                              (button && !button->text().isEmpty());
            if (!text || !w->isVisible())
                continue;
            const QSize need = w->minimumSizeHint();
            const QString what = w->objectName() + " " + (label ? label->text() : button->text());
            QVERIFY2(w->width() >= need.width() && w->height() >= need.height(),
                     qPrintable(QString("%1: %2 x %3 of %4 x %5")
                                    .arg(what)
                                    .arg(w->width())
                                    .arg(w->height())
                                    .arg(need.width())
                                    .arg(need.height())));
            ++seen;
        }
        dialog.reject();
    });
    QVERIFY(seen > 0);
}

void TstWindow::openingFocus_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("focus");
    const char* const rows[][2] = {
        {"Telefony", "Edit1"},
        {"Parametry współpracy z linią telefoniczną", "RadioGroup1"},
        {"Komunikat do stacji POLPAGER", "Memo1"},
        {"Kody dostępu", "Edit1"},
        {"Linie wejściowe", "ComboBox1"},
        {"Wyjścia programowalne PGM", "ComboBox1"},
        {"Zwłoki", "Edit1"},
        {"Kody zdarzeń", "Edit1"},
        // Nothing to type into: the dialog opens on OK, which changes nothing by itself.
        {"Historia zdarzeń", "BitBtn1"},
        {"Stacje monitorujące", "RadioGroup1"},
        {"Opcje systemowe", "RadioGroup1"},
        {"Konfiguracja", "Edit1"},
        {"Opcje programu", "ComboBox1"},
        {"Restart Dialera", "DateTimePicker1"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << row[1];
}

void TstWindow::openingFocus()
{
    QFETCH(QString, caption);
    QFETCH(QString, focus);
    TZorvexSettings settings = Factory();
    QString opened;
    QString chosen;
    Dialogs().at(caption)(settings, [&](QDialog&) {
        opened = FocusPlace();
        // A radio group is entered at its chosen button, not at its first.
        if (auto* radio = qobject_cast<QRadioButton*>(Focused()))
            chosen = radio->isChecked() ? "chosen" : "not chosen";
    });
    QCOMPARE(opened, focus);
    QVERIFY(chosen.isEmpty() || chosen == "chosen");
}

void TstWindow::descriptionFieldsShowFiftyLetters_data()
{
    QTest::addColumn<QString>("letter");
    for (const char* letter : {"W", "M", "m", "w", "Ż", "Ś", "Ó", "Ą"})
        QTest::newRow(letter) << QString::fromUtf8(letter);
}

// A line of 50 of the dialog font's widest letters shows whole in every field: its first
// character at the field's left edge and its end in sight.
void TstWindow::descriptionFieldsShowFiftyLetters()
{
    QFETCH(QString, letter);
    TZorvexSettings settings = Factory();
    TFormConfig dialog;
    DriveModal(
        dialog, [&] { return dialog.EditSettings(settings); },
        [&] {
            for (int i = 1; i <= 14; ++i) {
                auto* edit = dialog.findChild<QLineEdit*>(QString("Edit%1").arg(i));
                QVERIFY(edit);
                edit->setText(letter.repeated(50));
                edit->setFocus();
                edit->end(false);
                edit->grab(); // lays the text out as it is painted
                const int middle = edit->height() / 2;
                QCOMPARE(edit->cursorPositionAt(QPoint(edit->contentsRect().left() + 1, middle)),
                         0);
                QCOMPARE(edit->cursorPositionAt(QPoint(edit->width() - 2, middle)), 50);
            }
            dialog.done(EditorDialog::mrCancel);
        });
}

void TstWindow::descriptionReopensUnscrolled()
{
    TZorvexSettings settings = Factory();
    settings.Comment.SetText(0, std::string(50, 'W'));
    for (int opening = 0; opening < 2; ++opening) {
        TFormConfig dialog;
        int first = -1;
        const int result = DriveModal(
            dialog, [&] { return dialog.EditSettings(settings); },
            [&] {
                auto* edit = dialog.findChild<QLineEdit*>("Edit1");
                QCOMPARE(Focused(), edit);
                edit->grab();
                first = edit->cursorPositionAt(
                    QPoint(edit->contentsRect().left() + 1, edit->height() / 2));
                Press(Qt::Key_Return);
            });
        QCOMPARE(result, 1);
        QCOMPARE(first, 0);
        QCOMPARE(settings.Comment.GetText(0), std::string(50, 'W'));
    }
}

void TstWindow::badTestTimeIsSaidOnce_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("boxes");
    const std::tuple<const char*, int, int, int> rows[] = {
        {"07:30", 0x07, 0x30, 0},       {"00:00", 0x00, 0x00, 0},
        {"23:59", 0x23, 0x59, 0},       {"hour 24", 0x24, 0x00, 1},
        {"minute 60", 0x12, 0x60, 1},   {"blank FF FF", 0xFF, 0xFF, 1},
        {"hex hour 1A", 0x1A, 0x00, 1},
    };
    for (const auto& [name, hour, minute, boxes] : rows)
        QTest::newRow(name) << hour << minute << boxes;
}

// A stored test time that is not a time shows as 00:00, and the user hears of it once,
// over the open dialog, before OK can store 00:00.
void TstWindow::badTestTimeIsSaidOnce()
{
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(int, boxes);
    TZorvexSettings settings = Factory();
    settings.Cfg.SetByte(62, std::uint8_t(hour));
    settings.Cfg.SetByte(63, std::uint8_t(minute));
    MessageBoxRecorder recorder;
    TFormEventCode dialog;
    bool dialogOpen = false;
    recorder.OnShow([&](const TMessageRequest&) { dialogOpen = dialog.isVisible(); });
    const int result = DriveModal(
        dialog, [&] { return dialog.EditSettings(settings); },
        [&] {
            if (boxes > 0)
                QTRY_COMPARE(recorder.Count(), boxes);
            Press(Qt::Key_Return);
        });
    QCOMPARE(result, 1);
    QCOMPARE(recorder.Count(), boxes);
    if (boxes > 0) {
        QVERIFY(dialogOpen);
        QCOMPARE(recorder.Last().kind, mkInformation);
        QCOMPARE(recorder.Last().text,
                 QStringLiteral("Zapisany czas testu był nieprawidłowy; pokazano 00:00"));
        QCOMPARE(int(settings.Cfg.GetByte(62)), 0);
        QCOMPARE(int(settings.Cfg.GetByte(63)), 0);
    } else {
        QCOMPARE(int(settings.Cfg.GetByte(62)), hour);
        QCOMPARE(int(settings.Cfg.GetByte(63)), minute);
    }
}

void TstWindow::aboutBoxKeepsItsDistances_data()
{
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    // Pairs one above the other; "Panel1" stands for the panel's top or bottom edge.
    const char* const rows[][2] = {
        {"Panel1", "ProductName"}, {"ProductName", "Version"}, {"ProgramIcon", "Copyright"},
        {"Version", "Copyright"},  {"Copyright", "Label1"},    {"Copyright", "Label2"},
        {"Label1", "Panel1"},
    };
    for (const auto& row : rows)
        QTest::addRow("%s over %s", row[0], row[1]) << row[0] << row[1];
}

void TstWindow::aboutBoxKeepsItsDistances()
{
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    constexpr int gap = 4; // pixels of clear space at least
    TAboutBox about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* panel = about.findChild<QFrame*>("Panel1");
    QVERIFY(panel);
    const QRect inside = panel->contentsRect();
    // Where a control's ink is, in the panel: a label's text, the logo's picture.
    const auto ink = [&](const QString& name) {
        if (name == "ProgramIcon")
            return about.findChild<QLabel*>(name)->geometry();
        return TextRect(about.findChild<QLabel*>(name));
    };
    const int top = upper == "Panel1" ? inside.top() : ink(upper).bottom();
    const int bottom = lower == "Panel1" ? inside.bottom() : ink(lower).top();
    QVERIFY2(bottom - top > gap, qPrintable(QString("%1 px").arg(bottom - top - 1)));
    // Nothing leaves the panel, nor touches its sides.
    for (const char* name : {"ProductName", "Version", "Copyright", "Label1", "Label2"}) {
        const QRect text = ink(name);
        QVERIFY2(text.left() - inside.left() >= 2 * gap && inside.right() - text.right() >= 2 * gap,
                 name);
    }
}

void TstWindow::progressCentresOnScreen()
{
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.move(0, 0); // anywhere but the middle
    TFormProgress& progress = window.Progress();
    progress.TransferStart();
    const QPoint centre = window.screen()->availableGeometry().center();
    QVERIFY((progress.geometry().center() - centre).manhattanLength() <= 1);
    QVERIFY(!progress.geometry().contains(window.geometry().center()) ||
            window.geometry().center() == centre);
    progress.TransferEnd();
}

void TstWindow::labelsKeepClearOfTheirValues_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("value");
    for (int row = 1; row <= 8; ++row)
        QTest::addRow("system options row %d", row)
            << "Opcje systemowe" << QString("Label%1").arg(row) << QString("RadioGroup%1").arg(row);
    for (int row = 1; row <= 4; ++row)
        QTest::addRow("history row %d", row)
            << "Historia zdarzeń" << QString("Label%1").arg(2 * row - 1)
            << QString("Label%1").arg(2 * row);
}

// Between a row's text and the list or value beside it stays more than a letter's width.
void TstWindow::labelsKeepClearOfTheirValues()
{
    QFETCH(QString, caption);
    QFETCH(QString, label);
    QFETCH(QString, value);
    TZorvexSettings settings = Factory();
    int space = -1;
    int letter = 0;
    Dialogs().at(caption)(settings, [&](QDialog& dialog) {
        auto* text = dialog.findChild<QLabel*>(label);
        auto* beside = dialog.findChild<QWidget*>(value);
        QVERIFY(text && beside);
        letter = text->fontMetrics().horizontalAdvance(QLatin1Char('n'));
        int left = beside->mapTo(&dialog, QPoint(0, 0)).x();
        if (auto* valueText = qobject_cast<QLabel*>(beside))
            left = valueText->parentWidget()->mapTo(&dialog, TextRect(valueText).topLeft()).x();
        const int right = text->parentWidget()->mapTo(&dialog, TextRect(text).topRight()).x();
        space = left - right - 1;
        dialog.reject();
    });
    QVERIFY2(2 * space >= 3 * letter,
             qPrintable(QString("%1 px, a letter is %2").arg(space).arg(letter)));
}

QTEST_MAIN(TstWindow)
#include "tst_window.moc"
