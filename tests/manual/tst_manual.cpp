#include "app/UnitMainForm.h"
#include "app/UnitProgramOptions.h"
#include "app/UnitResetDial.h"
#include "app/archive/ArchiveDialog.h"
#include "app/archive/ArchiveOptionsDialog.h"
#include "app/files/CopyAreasDialog.h"
#include "app/files/DifferencesDialog.h"
#include "app/help/HelpFiles.h"
#include "app/help/ShellOpen.h"
#include "app/ports/TransferLogWindow.h"
#include "app/report/ReportOptionsDialog.h"
#include "app/screenshots/ShotCatalogue.h"
#include "archive/ArchiveDatabase.h"
#include "document/ConfigDocument.h"
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
#include "editors/fields/EditorAreas.h"
#include "manual/ManualFacts.h"
#include "settings/ProgramSettings.h"
#include "tests/common/FakeReporter.h"
#include "widgets/HelpKey.h"
#include "widgets/QtTranslations.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

// The user manual in resources/help: its pages of the editor windows are what the
// generator makes of the field tables, it names every field and every message the program
// can show, every link in it leads somewhere, and F1 opens the right page.
class TstManual : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void generatedPagesCurrent_data();
    void generatedPagesCurrent();
    void fieldsInManual_data();
    void fieldsInManual();
    void messagesInManual_data();
    void messagesInManual();
    void linksResolve_data();
    void linksResolve();
    void pagesReachable_data();
    void pagesReachable();
    void helpKeyInDialog_data();
    void helpKeyInDialog();
    void helpKeyTableComplete();
    void helpKeyInMainWindow();
    void generatorRefusesPageWithoutMarker();
    void picturesCurrent_data();
    void picturesCurrent();

private:
    using DialogFactory = std::function<QWidget*()>;
    // A window with F1, made as the program makes it, and the page F1 must open there.
    struct HelpWindow
    {
        const char* name;
        DialogFactory make;
        const char* page;
    };
    std::vector<HelpWindow> HelpWindows();

    QTemporaryDir m_dir;
    std::unique_ptr<ArchiveDatabase> m_archive;
    FakeReporter m_reporter;
};

namespace {

QString HelpDir()
{
    return QStringLiteral(ZVX_SOURCE_DIR "/resources/help");
}

QString ReadText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// What a reader sees of a page: the text without tags, entities decoded, blanks collapsed.
QString VisibleText(const QString& html)
{
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<!--.*?-->"),
                                   QRegularExpression::DotMatchesEverythingOption));
    text.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.simplified();
}

QStringList Pages()
{
    return QDir(HelpDir()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QString WholeManualText()
{
    QString all;
    for (const QString& page : Pages())
        all += VisibleText(ReadText(QDir(HelpDir()).filePath(page))) + QLatin1Char(' ');
    return all;
}

// Every string literal of the message texts, with C escapes \r, \n, \" and \\ decoded.
QStringList MessageTexts()
{
    const QString header = ReadText(QStringLiteral(ZVX_SOURCE_DIR "/resources/ConstsZVX.h"));
    QStringList texts;
    static const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    for (const QString& line : header.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QStringLiteral("//")))
            continue;
        auto it = literal.globalMatch(line);
        while (it.hasNext()) {
            QString text = it.next().captured(1);
            text.replace(QStringLiteral("\\r"), QStringLiteral("\r"));
            text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
            text.replace(QStringLiteral("\\\""), QStringLiteral("\""));
            text.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
            texts << text;
        }
    }
    return texts;
}

// The parts of a message the manual must quote: what stands between the values filled in
// (%s, %d) and the line breaks, without the accelerator "&", the quotes around a value
// and parts without a letter.
QStringList QuotedParts(const QString& message)
{
    QStringList parts;
    for (QString part : message.split(QRegularExpression(QStringLiteral("%[sd]|[\r\n]")))) {
        part.remove(QLatin1Char('&'));
        part = part.simplified();
        while (!part.isEmpty() && (part.front() == u'\'' || part.front() == u' '))
            part.remove(0, 1);
        while (!part.isEmpty() && (part.back() == u'\'' || part.back() == u' '))
            part.chop(1);
        if (part.contains(QRegularExpression(QStringLiteral("\\p{L}"))))
            parts << part;
    }
    return parts;
}

} // namespace

void TstManual::generatedPagesCurrent_data()
{
    QTest::addColumn<QString>("page");
    for (const EditorArea* area : EditorAreas())
        QTest::newRow(area->key.c_str()) << QString::fromStdString(area->key + ".html");
}

// The committed pages are the generator's output: a changed field table or hand-written
// page without running scripts/manual fails here.
void TstManual::generatedPagesCurrent()
{
    QFETCH(QString, page);
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const std::string problems =
        ManualFacts::WritePages(ZVX_SOURCE_DIR "/manual/pages", out.path().toStdString());
    QVERIFY2(problems.empty(), problems.c_str());
    const QString fresh = ReadText(QDir(out.path()).filePath(page));
    QVERIFY(!fresh.isEmpty());
    QVERIFY2(ReadText(QDir(HelpDir()).filePath(page)) == fresh,
             "resources/help differs from the generator's output: run scripts/manual");
}

void TstManual::fieldsInManual_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("items");
    for (const EditorArea* area : EditorAreas())
        for (const EditorField& field : area->fields)
            if (!field.label.empty())
                QTest::newRow((area->key + "." + field.key).c_str())
                    << QString::fromStdString(area->key + ".html")
                    << QString::fromStdString(area->caption)
                    << QString::fromStdString(ManualFacts::ShownLabel(field.label)) << [&field] {
                           QStringList items;
                           for (const std::string& item : field.items)
                               items << QString::fromStdString(item).simplified();
                           return items;
                       }();
}

// The window's page names the window by its caption and every field by the label the
// dialog shows; an item text of a list is there too, so the installer finds what they see.
void TstManual::fieldsInManual()
{
    QFETCH(QString, page);
    QFETCH(QString, caption);
    QFETCH(QString, label);
    QFETCH(QStringList, items);
    const QString html = ReadText(QDir(HelpDir()).filePath(page));
    QVERIFY2(!html.isEmpty(), qPrintable(page + " is missing"));
    const QString text = VisibleText(html);
    QVERIFY2(text.contains(caption), qPrintable(caption));
    QVERIFY2(text.contains(label.simplified()), qPrintable(label));
    for (const QString& item : items)
        QVERIFY2(text.contains(item), qPrintable(item));
    QVERIFY(html.contains(QString::fromUtf8(ManualFacts::Marker)) == false);
}

void TstManual::messagesInManual_data()
{
    QTest::addColumn<QString>("part");
    const QStringList messages = MessageTexts();
    QVERIFY(messages.size() > 50); // the header was found and read
    QSet<QString> seen;
    for (const QString& message : messages)
        for (const QString& part : QuotedParts(message))
            if (!seen.contains(part)) {
                seen.insert(part);
                QTest::newRow(qPrintable(part)) << part;
            }
}

// Every text the program can show (resources/ConstsZVX.h) is quoted somewhere in the
// manual, so an installer who searches for a message finds what it means.
void TstManual::messagesInManual()
{
    QFETCH(QString, part);
    static const QString manual = WholeManualText();
    QVERIFY2(manual.contains(part), qPrintable(QStringLiteral("not in the manual: ") + part));
}

void TstManual::linksResolve_data()
{
    QTest::addColumn<QString>("page");
    for (const QString& page : Pages())
        QTest::newRow(qPrintable(page)) << page;
}

// Every link and picture of a page points to a file of the manual, and a link to a place
// in a page to an element of that id.
void TstManual::linksResolve()
{
    QFETCH(QString, page);
    const QDir help(HelpDir());
    const QString html = ReadText(help.filePath(page));
    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    auto it = reference.globalMatch(html);
    int links = 0;
    while (it.hasNext()) {
        const QString target = it.next().captured(1);
        if (target.startsWith(QStringLiteral("http")) ||
            target.startsWith(QStringLiteral("mailto:")))
            continue;
        ++links;
        const qsizetype hash = target.indexOf(QLatin1Char('#'));
        const QString file = hash < 0 ? target : target.left(hash);
        const QString path = help.filePath(file.isEmpty() ? page : file);
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(page + ": " + target));
        if (hash >= 0) {
            const QString id = target.mid(hash + 1);
            QVERIFY2(ReadText(path).contains(QStringLiteral("id=\"%1\"").arg(id)),
                     qPrintable(page + ": " + target));
        }
    }
    QVERIFY2(links > 0, qPrintable(page + " links nowhere"));
}

void TstManual::pagesReachable_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("inIndex"); // a window's page is in the keyword index too
    QSet<QString> areas;
    for (const EditorArea* area : EditorAreas())
        areas.insert(QString::fromStdString(area->key + ".html"));
    for (const QString& page : Pages())
        if (page != QLatin1String("index.html"))
            QTest::newRow(qPrintable(page)) << page << areas.contains(page);
}

// Each page is listed on the contents page or in the keyword index; each window's page in
// both.
void TstManual::pagesReachable()
{
    QFETCH(QString, page);
    QFETCH(bool, inIndex);
    const QString link = QStringLiteral("href=\"%1").arg(page);
    const bool fromContents =
        ReadText(QDir(HelpDir()).filePath(QStringLiteral("index.html"))).contains(link);
    const bool fromIndex =
        ReadText(QDir(HelpDir()).filePath(QStringLiteral("keywords.html"))).contains(link);
    QVERIFY2(fromContents || fromIndex, qPrintable(page));
    if (inIndex) {
        QVERIFY2(fromContents, qPrintable(page + " is not on the contents page"));
        QVERIFY2(fromIndex, qPrintable(page + " is not in the keyword index"));
    }
}

Q_DECLARE_METATYPE(std::function<QWidget*()>)

namespace {

// Where F1 leads for a page name, as the program finds it beside its executable: the
// file must exist, and a place in it ("#ustawienia") must be an element's id there.
QString HelpProblem(const QString& page)
{
    const QUrl url = HelpFiles::Locate(QStringLiteral(ZVX_SOURCE_DIR "/resources"), page);
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
        return QStringLiteral("no such page: ") + url.toString();
    if (url.hasFragment() &&
        !ReadText(url.toLocalFile()).contains(QStringLiteral("id=\"%1\"").arg(url.fragment())))
        return QStringLiteral("no such place: ") + url.toString();
    return {};
}

} // namespace

void TstManual::initTestCase()
{
    // Qt's dialogs as the program shows them, for their pictures.
    InstallQtTranslations(*QCoreApplication::instance());
    ProgramSettings::OverridePath(m_dir.filePath(QStringLiteral("zorvex.ini")));
    m_archive = std::make_unique<ArchiveDatabase>(ArchiveDatabase::Kind::SQLite,
                                                  m_dir.filePath(QStringLiteral("a.sqlite")));
    QVERIFY(m_archive->Open());
}

void TstManual::cleanupTestCase()
{
    ProgramSettings::OverridePath({});
}

std::vector<TstManual::HelpWindow> TstManual::HelpWindows()
{
    return {
        {"phones", [] { return new TFormPhones; }, "phones.html"},
        {"phone parameters", [] { return new TFormPhoneParam; }, "phoneParams.html"},
        {"polpager", [] { return new TFormPolpager; }, "polpager.html"},
        {"codes", [] { return new TFormCode; }, "codes.html"},
        {"alarm inputs", [] { return new TFormAlarmIn; }, "alarmInputs.html"},
        {"pgm outputs", [] { return new TFormAlarmOut; }, "pgmOutputs.html"},
        {"delays", [] { return new TFormDelay; }, "delays.html"},
        {"event codes", [] { return new TFormEventCode; }, "eventCodes.html"},
        {"history", [] { return new TFormHistory; }, "history.html"},
        {"stations", [] { return new TFormStation; }, "stations.html"},
        {"system options", [] { return new TFormSystemOptions; }, "systemOptions.html"},
        {"description", [] { return new TFormConfig; }, "description.html"},
        {"program options", [] { return new TFormProgramOptions; }, "porty.html"},
        {"restart", [] { return new TFormResetDial; }, "restart.html"},
        {"report options",
         [] { return new ReportOptionsDialog(QStringLiteral("Wydruk konfiguracji")); },
         "wydruk.html"},
        {"differences", [] { return new DifferencesDialog; }, "porownanie.html"},
        {"copy areas", [] { return new CopyAreasDialog(QStringLiteral("wzor.ZVX")); },
         "kopiowanie.html"},
        {"transfer log", [] { return new TransferLogWindow; }, "dziennik.html"},
        {"archive settings", [] { return new ArchiveOptionsDialog; }, "archiwum.html#ustawienia"},
        {"archive",
         [this] {
             auto* document = new ConfigDocument(m_reporter);
             auto* dialog = new ArchiveDialog(*document, *m_archive);
             document->setParent(dialog);
             return dialog;
         },
         "archiwum.html"},
    };
}

void TstManual::helpKeyInDialog_data()
{
    QTest::addColumn<DialogFactory>("make");
    QTest::addColumn<QString>("page");
    for (const HelpWindow& window : HelpWindows())
        QTest::newRow(window.name) << window.make << QString::fromLatin1(window.page);
}

// F1 in a window, wherever its focus is, opens that window's page, and the page and the
// place in it exist.
void TstManual::helpKeyInDialog()
{
    QFETCH(DialogFactory, make);
    QFETCH(QString, page);
    QStringList opened;
    const HelpKey::Opener previous =
        HelpKey::InstallOpener([&opened](const QString& p) { opened << p; });
    std::unique_ptr<QWidget> dialog(make());
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : dialog.get();
    QTest::keyClick(focus, Qt::Key_F1);
    HelpKey::InstallOpener(previous);
    QCOMPARE(opened, QStringList{page});
    const QString problem = HelpProblem(page);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(dialog->isVisible()); // F1 does not close the dialog
    QCOMPARE(m_reporter.shown.size(), 0);
}

// The table above covers every window that binds F1 (the editors' pages are its first
// rows): a page a window of the sources names for F1 is one of its rows.
void TstManual::helpKeyTableComplete()
{
    QStringList tested;
    for (const HelpWindow& window : HelpWindows())
        tested << QString::fromLatin1(window.page);
    static const QRegularExpression bind(
        QStringLiteral("HelpKey::Bind\\(\\w+, QStringLiteral\\(\"([^\"]+)\"\\)\\)"));
    int bound = 0;
    for (const char* folder : {"app", "editors/dialogs"}) {
        QDirIterator it(QStringLiteral(ZVX_SOURCE_DIR "/") + QLatin1String(folder),
                        {QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            auto match = bind.globalMatch(ReadText(file));
            while (match.hasNext()) {
                const QString page = match.next().captured(1);
                ++bound;
                QVERIFY2(tested.contains(page), qPrintable(file + ": " + page));
            }
        }
    }
    QVERIFY(bound >= 8); // the sources were found and read
}

// F1 in the main window opens the contents page, as "Pomoc → Spis treści" does.
void TstManual::helpKeyInMainWindow()
{
    QList<QUrl> opened;
    const ShellOpenHandler previous =
        InstallShellOpenHandler([&opened](const QUrl& url) { opened << url; });
    {
        TMainFormZORVEX window;
        window.ShowAboutBox = [] {};
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F1);
    }
    InstallShellOpenHandler(previous);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].fileName(), QStringLiteral("index.html"));
    const QString problem = HelpProblem(opened[0].fileName());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// A hand-written page that lost its marker is reported, not written without its facts.
void TstManual::generatorRefusesPageWithoutMarker()
{
    const EditorArea& area = *EditorAreas().front();
    QVERIFY(!ManualFacts::FillPage("<html><body>no facts</body></html>", area));
    const std::optional<std::string> filled =
        ManualFacts::FillPage(std::string("a\n") + ManualFacts::Marker + "\nb", area);
    QVERIFY(filled);
    QVERIFY(filled->find("<table class=\"facts\">") != std::string::npos);
    QVERIFY(filled->find(ManualFacts::Marker) == std::string::npos);
}

void TstManual::picturesCurrent_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("outline"); // of the window now; empty: no window of that name
    // The windows the screenshots program draws, opened the same way and drawn nowhere.
    QMap<QString, QString> outlines;
    const QStringList missing = ShotCatalogue::TakeAll([&](const ShotCatalogue::Shot& shot) {
        outlines[shot.name] = ShotCatalogue::Outline(shot);
    });
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u' ')));
    const QDir images(HelpDir() + QStringLiteral("/images"));
    const QStringList pictures = images.entryList({QStringLiteral("*.png")}, QDir::Files);
    QVERIFY(pictures.size() >= outlines.size());
    for (const QString& picture : pictures)
        QTest::newRow(qPrintable(picture))
            << images.filePath(picture) << outlines.value(QFileInfo(picture).completeBaseName());
}

// Every picture of the manual shows its window as the program shows it now: the outline
// the screenshots program wrote into it (the texts of its title and controls) is the
// window's today. A picture no window draws any more fails too.
void TstManual::picturesCurrent()
{
    QFETCH(QString, picture);
    QFETCH(QString, outline);
    QVERIFY2(!outline.isEmpty(), "no window of the screenshots program draws this picture");
    const QImage image(picture);
    QVERIFY(!image.isNull());
    const QString drawn = image.text(QString::fromLatin1(ShotCatalogue::OutlineKey));
    if (drawn != outline) {
        qWarning("picture: %s\nwindow now: %s", qPrintable(drawn), qPrintable(outline));
        QFAIL("the picture shows an older window: run bash scripts/screenshots --manual");
    }
}

QTEST_MAIN(TstManual)
#include "tst_manual.moc"
