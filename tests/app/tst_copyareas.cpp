#include "app/UnitMainForm.h"
#include "app/files/CopyAreasDialog.h"
#include "app/files/DifferencesDialog.h"
#include "app/files/FileDialogs.h"
#include "device/ConfigFileIO.h"
#include "editors/fields/EditorAreas.h"
#include "settings/ProgramSettings.h"
#include "widgets/MessageBoxRecorder.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

// "Kopiuj obszary z pliku...": areas of another file copied into the configuration in the
// window, after the differences are shown and the copy is confirmed.
class TstCopyAreas : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void copy_data();
    void copy();
    void unreadableFile();
    void lettersTickAreas();
    void longPathElided();

private:
    QTemporaryDir m_dir;
    QString m_template;
};

void TstCopyAreas::initTestCase()
{
    ProgramSettings::OverridePath(m_dir.filePath(QStringLiteral("zorvex.ini")));
    TZorvexSettings s;
    s.LoadDefaults();
    s.Cfg.SetByte(42, 30);                 // delays: alarm entry 30 s
    s.Cfg.SetByte(38, 2);                  // stations: SPLIT
    s.Comment.SetText(5, "opis ze wzoru"); // description
    m_template = m_dir.filePath(QStringLiteral("wzor.ZVX"));
    QCOMPARE(ConfigFile::Save(s, m_template.toStdString()), ConfigFile::Success);
}

void TstCopyAreas::cleanup()
{
    InstallFileDialogHandler({});
    CopyAreasDialog::InstallRunner({});
}

void TstCopyAreas::copy_data()
{
    QTest::addColumn<QStringList>("captions"); // areas ticked
    QTest::addColumn<int>("confirm");          // answer to the question; mbNone: not asked
    QTest::addColumn<int>("listed");           // lines of the differences list; -1: no list
    QTest::addColumn<bool>("copied");
    QTest::newRow("delays confirmed") << QStringList{"Zwłoki"} << int(mbYes) << 1 << true;
    QTest::newRow("two areas") << QStringList{"Zwłoki", "Stacje monitorujące"} << int(mbYes) << 2
                               << true;
    QTest::newRow("description") << QStringList{"Konfiguracja"} << int(mbYes) << 1 << true;
    QTest::newRow("cancelled") << QStringList{"Zwłoki"} << int(mbCancel) << 1 << false;
    QTest::newRow("same as the file") << QStringList{"Kody dostępu"} << int(mbNone) << -1 << false;
    QTest::newRow("nothing ticked") << QStringList{} << int(mbNone) << -1 << false;
}

void TstCopyAreas::copy()
{
    QFETCH(QStringList, captions);
    QFETCH(int, confirm);
    QFETCH(int, listed);
    QFETCH(bool, copied);
    TMainFormZORVEX window;
    const TZorvexSettings before = window.Link().Settings();
    InstallFileDialogHandler([&](const FileDialogRequest&) { return m_template; });
    std::size_t boxCount = 0;
    CopyAreasDialog::InstallRunner([&](CopyAreasDialog& dialog) {
        boxCount = dialog.CheckBoxes.size();
        for (QCheckBox* box : dialog.CheckBoxes)
            box->setChecked(captions.contains(box->text().remove(u'&')));
        return int(QDialog::Accepted);
    });
    int lines = -1;
    window.ShowDifferencesDialog = [&](DifferencesDialog& dialog) {
        lines = dialog.ListView1->topLevelItemCount();
    };
    MessageBoxRecorder boxes;
    if (confirm != mbNone)
        boxes.Answer(TMsgButton(confirm));
    window.Action(QStringLiteral("KopiujObszaryZPliku"))->trigger();

    QCOMPARE(boxCount, EditorAreas().size());
    QCOMPARE(lines, listed);
    QCOMPARE(boxes.PendingAnswers(), 0);
    const TZorvexSettings& now = window.Link().Settings();
    QCOMPARE(window.isWindowModified(), copied);
    QCOMPARE(now.Cfg.GetByte(42),
             copied && captions.contains("Zwłoki") ? 30 : before.Cfg.GetByte(42));
    QCOMPARE(now.Cfg.GetByte(38),
             copied && captions.contains("Stacje monitorujące") ? 2 : before.Cfg.GetByte(38));
    QCOMPARE(now.Comment.GetText(5), copied && captions.contains("Konfiguracja")
                                         ? "opis ze wzoru"
                                         : before.Comment.GetText(5));
    // Only the chosen areas came over.
    QCOMPARE(now.Comment.GetText(0), before.Comment.GetText(0));
    QCOMPARE(now.Cfg.GetByte(80), before.Cfg.GetByte(80));
}

void TstCopyAreas::unreadableFile()
{
    TMainFormZORVEX window;
    InstallFileDialogHandler(
        [&](const FileDialogRequest&) { return m_dir.filePath(QStringLiteral("brak.ZVX")); });
    bool asked = false;
    CopyAreasDialog::InstallRunner([&](CopyAreasDialog&) {
        asked = true;
        return int(QDialog::Rejected);
    });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("KopiujObszaryZPliku"))->trigger();
    QVERIFY(!asked);
    QCOMPARE(boxes.Shown().size(), 1);
    QVERIFY(boxes.Shown().first().text.startsWith(QStringLiteral("Błąd odczytu pliku")));
    QVERIFY(!window.isWindowModified());
}

// Each area's box has a letter no other control of the dialog has, and Alt with it ticks
// that box alone (and Alt with it again unticks it).
void TstCopyAreas::lettersTickAreas()
{
    CopyAreasDialog dialog(m_template);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QStringList letters;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        const QKeySequence key = QKeySequence::mnemonic(button->text());
        QVERIFY2(!key.isEmpty(), qPrintable(button->text()));
        QVERIFY2(!letters.contains(key.toString()), qPrintable(button->text()));
        letters << key.toString();
    }
    for (QCheckBox* box : dialog.CheckBoxes) {
        const QKeySequence key = QKeySequence::mnemonic(box->text());
        // A button's letter clicks it as the mouse would, pressed for a moment.
        QTest::keyClick(&dialog, key[0].key(), key[0].keyboardModifiers());
        QTRY_VERIFY2(box->isChecked(), qPrintable(box->text()));
        QCOMPARE(dialog.Chosen().size(), std::size_t(1));
        QTest::keyClick(&dialog, key[0].key(), key[0].keyboardModifiers());
        QTRY_VERIFY2(!box->isChecked(), qPrintable(box->text()));
    }
    QVERIFY(dialog.isVisible());
}

// A file deep in a client's folders: its path gives up its middle (the start and the file
// name stay), the tip holds it whole, and the dialog stays narrow enough for the screen
// at 150 %.
void TstCopyAreas::longPathElided()
{
    QString folder = m_dir.path();
    for (const char* part :
         {"Klienci 2026 województwo mazowieckie", "Warszawa Śródmieście i okolice",
          "Sklep spożywczy Pod Lipą spółka z o.o.", "konfiguracje po modernizacji systemu"})
        folder += QLatin1Char('/') + QString::fromUtf8(part);
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/obiekt.ZVX");
    QVERIFY(QFile::copy(m_template, path));
    TMainFormZORVEX window;
    InstallFileDialogHandler([&](const FileDialogRequest&) { return path; });
    QString label;
    QString tip;
    int width = 0;
    CopyAreasDialog::InstallRunner([&](CopyAreasDialog& dialog) {
        label = dialog.Label1->text();
        tip = dialog.Label1->toolTip();
        width = dialog.sizeHint().width();
        return int(QDialog::Rejected);
    });
    window.Action(QStringLiteral("KopiujObszaryZPliku"))->trigger();
    QCOMPARE(tip, path);
    QVERIFY2(label.contains(u'…'), qPrintable(label));
    QVERIFY2(label.startsWith(QStringLiteral("Obszary do skopiowania z pliku ") + path.left(5)),
             qPrintable(label));
    QVERIFY2(label.endsWith(QStringLiteral("obiekt.ZVX:")), qPrintable(label));
    QVERIFY2(width * 3 / 2 <= 1280, qPrintable(QString::number(width)));
}

QTEST_MAIN(TstCopyAreas)
#include "tst_copyareas.moc"
