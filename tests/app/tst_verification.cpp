#include "app/UnitMainForm.h"
#include "app/UnitProgress.h"
#include "app/dialer/VerifyQuestion.h"
#include "app/files/DifferencesDialog.h"
#include "app/files/FileDialogs.h"
#include "device/ConfigFileIO.h"
#include "device/TZorvexSettingsControl.h"
#include "settings/ProgramSettings.h"
#include "tests/common/EmulatedDialer.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

// What the differences dialog listed, one "area | field | A | B" line each, with the
// headers first.
struct ShownList
{
    QString heading;
    QStringList lines;
};

ShownList Capture(DifferencesDialog& dialog)
{
    ShownList shown{dialog.Label1->text(), {}};
    QStringList header;
    for (int c = 0; c < 4; ++c)
        header << dialog.ListView1->headerItem()->text(c);
    shown.lines << header.join(QStringLiteral(" | "));
    for (int i = 0; i < dialog.ListView1->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << dialog.ListView1->topLevelItem(i)->text(c);
        shown.lines << cells.join(QStringLiteral(" | "));
    }
    return shown;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Comparing the configuration with a file, verifying it against the dialer, and the
// question after a write.
class TstVerification : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void actionsInTheMenu();
    void compareWithFile();
    void compareWithBadFile();
    void verifyAgainstDialer_data();
    void verifyAgainstDialer();
    void questionAfterWrite_data();
    void questionAfterWrite();
    void realQuestionBox();

private:
    QString SettingsFile() const { return m_dir.filePath(QStringLiteral("zorvex.ini")); }
    void Prepare(TMainFormZORVEX& window)
    {
        window.ShowAboutBox = [] {};
        window.ShowDifferencesDialog = [this](DifferencesDialog& dialog) {
            m_lists << Capture(dialog);
        };
    }

    QTemporaryDir m_dir;
    QList<ShownList> m_lists;
};

void TstVerification::init()
{
    QFile::remove(SettingsFile());
    ProgramSettings::OverridePath(SettingsFile());
    m_lists.clear();
}

void TstVerification::cleanup()
{
    ProgramSettings::OverridePath({});
    InstallFileDialogHandler({});
    InstallVerifyQuestionHandler({});
}

void TstVerification::actionsInTheMenu()
{
    TMainFormZORVEX window;
    QStringList items;
    for (QAction* a : window.menuBar()->actions().first()->menu()->actions())
        items << a->objectName();
    const qsizetype read = items.indexOf(QStringLiteral("OdczytKonfiguracjiDialera"));
    QCOMPARE(items.mid(read, 3),
             (QStringList{"OdczytKonfiguracjiDialera", "WeryfikacjaKonfiguracjiDialera",
                          "PorownajZPlikiem"}));
    QAction* verify = window.Action(QStringLiteral("WeryfikacjaKonfiguracjiDialera"));
    QAction* compare = window.Action(QStringLiteral("PorownajZPlikiem"));
    QCOMPARE(verify->text(), QStringLiteral("W&eryfikacja konfiguracji dialera"));
    QCOMPARE(verify->shortcut(), QKeySequence(QStringLiteral("Shift+F5")));
    QCOMPARE(compare->text(), QStringLiteral("Porównaj z p&likiem..."));
    for (QAction* a : {verify, compare}) {
        QCOMPARE(a->property("category").toString(), QStringLiteral("Konfiguracja"));
        QVERIFY(!window.findChild<QToolBar*>()->actions().contains(a));
    }
}

void TstVerification::compareWithFile()
{
    const QString path = m_dir.filePath(QStringLiteral("obiekt.zvx"));
    TMainFormZORVEX window;
    Prepare(window);
    QCOMPARE(ConfigFile::Save(window.Link().Settings(), path.toStdString()), ConfigFile::Success);
    InstallFileDialogHandler([&](const FileDialogRequest& r) { return r.save ? QString() : path; });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("PorownajZPlikiem"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{"Konfiguracje są zgodne"});
    QCOMPARE(boxes.Last().kind, mkInformation);
    QVERIFY(m_lists.isEmpty());

    // A byte of the file that no dialog shows, and an edit in memory.
    TZorvexSettings inFile = window.Link().Settings();
    inFile.Cfg.SetByte(65, 0x05);
    QCOMPARE(ConfigFile::Save(inFile, path.toStdString()), ConfigFile::Success);
    window.Link().Settings().Cfg.SetByte(42, 30);
    const TZorvexSettings before = window.Link().Settings();

    boxes.Clear();
    window.Action(QStringLiteral("PorownajZPlikiem"))->trigger();
    QCOMPARE(boxes.Count(), 0);
    QCOMPARE(m_lists.size(), 1);
    QCOMPARE(m_lists.first().heading,
             "Konfiguracja w programie różni się od zapisanej w pliku " + path + ":");
    QCOMPARE(m_lists.first().lines, (QStringList{"Obszar | Pole | W programie | W pliku",
                                                 "Zwłoki | Na wejście do trybu alarmu | 30 | 0",
                                                 "Bajty nieedytowane | Bajt 65 | 0x00 | 0x05"}));
    QVERIFY(window.Link().Settings() == before);
}

void TstVerification::compareWithBadFile()
{
    const QString path = m_dir.filePath(QStringLiteral("zly.zvx"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(1023, 'x'));
    file.close();
    TMainFormZORVEX window;
    Prepare(window);
    const TZorvexSettings before = window.Link().Settings();
    InstallFileDialogHandler([&](const FileDialogRequest&) { return path; });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("PorownajZPlikiem"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{"Nieprawidłowy rozmiar pliku"});
    QCOMPARE(boxes.Last().kind, mkProgram);

    // Cancel in the file dialog does nothing.
    InstallFileDialogHandler([](const FileDialogRequest&) { return QString(); });
    boxes.Clear();
    window.Action(QStringLiteral("PorownajZPlikiem"))->trigger();
    QCOMPARE(boxes.Count(), 0);
    QVERIFY(m_lists.isEmpty());
    QVERIFY(window.Link().Settings() == before);
}

void TstVerification::verifyAgainstDialer_data()
{
    QTest::addColumn<bool>("differs");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("equal image") << false << QStringList{}
                                 << QStringList{"Konfiguracja dialera zgodna z konfiguracją w "
                                                "programie"};
    QTest::newRow("differing image") << true << QStringList{} << QStringList{};
    QTest::newRow("silent dialer") << false << QStringList{"silent"}
                                   << QStringList{"Błędy w transmisji RS lub Dialer nie odpowiada"};
}

void TstVerification::verifyAgainstDialer()
{
    QFETCH(bool, differs);
    QFETCH(QStringList, faults);
    QFETCH(QStringList, texts);
    TMainFormZORVEX window;
    Prepare(window);
    TZorvexSettings& settings = window.Link().Settings();
    settings.Comment.SetText(5, "Sklep przy rynku");
    settings.Cfg.SetByte(0, 0x33); // stale: the checksum is no difference
    TCfg image = settings.Cfg;
    if (differs)
        image.SetByte(176, 0x3A);
    const auto dialer = StartDialer(faults, image);
    window.Link().SerialPort().SetPort(PathOf(*dialer));
    window.Link().SetReplyInterval(300);
    const TZorvexSettings before = settings;
    window.MarkUnmodified();

    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("WeryfikacjaKonfiguracjiDialera"))->trigger();
    QVERIFY(window.Progress().isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(window.Link().Operation() == Operation::Idle &&
                                 (boxes.Count() > 0 || !m_lists.isEmpty()),
                             20000);
    QCOMPARE(boxes.Texts(), texts);
    QVERIFY(!window.Progress().isVisible());
    if (differs) {
        QCOMPARE(m_lists.size(), 1);
        QCOMPARE(m_lists.first().heading,
                 QStringLiteral("Konfiguracja dialera różni się od konfiguracji w programie:"));
        QCOMPARE(m_lists.first().lines, (QStringList{"Obszar | Pole | W programie | W dialerze",
                                                     "Kody zdarzeń | Kod wejścia A1 | 00 | 3A"}));
    } else {
        QVERIFY(m_lists.isEmpty());
    }
    QVERIFY(settings == before);
    QVERIFY(!window.isWindowModified());
    QCOMPARE(dialer->GetCounters().completedWrites, 0);
}

void TstVerification::questionAfterWrite_data()
{
    QTest::addColumn<QByteArray>("ini"); // empty: no settings file
    QTest::addColumn<int>("answer");     // -1: not asked; else 0 "&Nie", 1 "&Tak"
    QTest::addColumn<bool>("dontAsk");
    QTest::addColumn<bool>("verified");
    QTest::addColumn<QByteArray>("iniAfter");
    const QByteArray other("; kept as it is\r\n[Port names]\r\nCOM3=/dev/ttyUSB0\r\n\r\n"
                           "[Program configuration]\r\nPort=3\r\n");
    QTest::newRow("asked, Tak") << QByteArray() << 1 << false << true << QByteArray();
    QTest::newRow("asked, Nie") << other << 0 << false << false << other;
    QTest::newRow("Tak, kept") << other << 1 << true << true
                               << QByteArray(other + "VerifyAfterWrite=1\r\n");
    // A new file says COM2, as its absence did; one without "Port" would mean COM1.
    QTest::newRow("Nie, kept in a new file")
        << QByteArray() << 0 << true << false
        << QByteArray("[Program configuration]\r\nPort=2\r\nVerifyAfterWrite=0\r\n");
    QTest::newRow("kept Tak: not asked")
        << QByteArray("[Program configuration]\r\nVerifyAfterWrite=1\r\n") << -1 << false << true
        << QByteArray("[Program configuration]\r\nVerifyAfterWrite=1\r\n");
    QTest::newRow("kept Nie: not asked")
        << QByteArray("[Program configuration]\r\nVerifyAfterWrite=0\r\n") << -1 << false << false
        << QByteArray("[Program configuration]\r\nVerifyAfterWrite=0\r\n");
}

void TstVerification::questionAfterWrite()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, answer);
    QFETCH(bool, dontAsk);
    QFETCH(bool, verified);
    QFETCH(QByteArray, iniAfter);
    if (!ini.isEmpty()) {
        QFile file(SettingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini);
    }
    TMainFormZORVEX window;
    Prepare(window);
    window.Link().Settings().Cfg.SetByte(100, 0x42);
    const auto dialer = StartDialer({}, TCfg());
    window.Link().SerialPort().SetPort(PathOf(*dialer));

    int asked = 0;
    QStringList boxesAtQuestion;
    QString question;
    MessageBoxRecorder boxes;
    InstallVerifyQuestionHandler([&](const QString& text) {
        ++asked;
        boxesAtQuestion = boxes.Texts();
        question = text;
        return VerifyAnswer{answer == 1, dontAsk};
    });
    boxes.Answer(mbYes);
    window.Action(QStringLiteral("ZapisKonfiguracjiDialera"))->trigger();
    const QStringList written{"Czy zapisać konfigurację do Dialera?",
                              "Konfiguracja zapisana poprawnie"};
    const QStringList expected =
        verified ? written + QStringList{"Konfiguracja dialera zgodna z konfiguracją w programie"}
                 : written;
    QTRY_COMPARE_WITH_TIMEOUT(boxes.Texts(), expected, 20000);
    // The window asks from a zero timer queued as the write's box closed; one queued
    // now runs after it.
    bool settled = false;
    QTimer::singleShot(0, this, [&] { settled = true; });
    QTRY_VERIFY(settled);
    QCOMPARE(window.Link().Operation(), Operation::Idle);
    QCOMPARE(asked, answer < 0 ? 0 : 1);
    if (asked) {
        QCOMPARE(question, QStringLiteral("Zweryfikować zapis odczytem z dialera?"));
        QCOMPARE(boxesAtQuestion, written); // after the write's box had closed
    }
    QCOMPARE(dialer->GetCounters().frames, verified ? 64 + 4 : 64);
    QCOMPARE(Contents(SettingsFile()), iniAfter);
    QVERIFY(!window.isWindowModified());
}

void TstVerification::realQuestionBox()
{
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = true;
        QCOMPARE(box->windowTitle(), QStringLiteral("Potwierdź"));
        QCOMPARE(box->text(), QStringLiteral("Zweryfikować zapis odczytem z dialera?"));
        QCOMPARE(box->checkBox()->text(), QStringLiteral("Nie pytaj ponownie"));
        QStringList captions;
        for (QAbstractButton* b : box->buttons())
            captions << b->text();
        captions.sort();
        QCOMPARE(captions, (QStringList{"&Nie", "&Tak"}));
        box->checkBox()->setChecked(true);
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QStringLiteral("&Nie"))
                b->click();
    });
    const VerifyAnswer answer = AskVerifyAfterWrite(nullptr);
    QVERIFY(seen);
    QVERIFY(!answer.verify);
    QVERIFY(answer.dontAskAgain);

    // While message boxes are answered by a recorder, it answers this one too.
    MessageBoxRecorder boxes;
    boxes.Answer(mbNo);
    const VerifyAnswer recorded = AskVerifyAfterWrite(nullptr);
    QCOMPARE(boxes.Texts(), QStringList{"Zweryfikować zapis odczytem z dialera?"});
    QCOMPARE(boxes.Last().buttons, TMsgButtons(mbYes | mbNo));
    QVERIFY(!recorded.verify && !recorded.dontAskAgain);
}

QTEST_MAIN(TstVerification)
#include "tst_verification.moc"
