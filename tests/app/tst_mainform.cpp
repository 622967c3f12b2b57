#include "app/UnitMainForm.h"
#include "app/UnitProgress.h"
#include "app/files/FileDialogs.h"
#include "device/TZorvexSettingsControl.h"
#include "emulator/DialerImage.h"
#include "serial/CPort.h"
#include "settings/ProgramSettings.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/common/HostileFile.h"
#include "widgets/CopyAnimation.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>
#include <QtTest>

class TstMainForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpPort_data();
    void startUpPort();
    void hostileSettingsFile_data();
    void hostileSettingsFile();
    void aboutBoxOnlyAtFirstActivation();
    void menusAndToolBarInOrder();
    void cancelledConfirmationSendsNothing_data();
    void cancelledConfirmationSendsNothing();
    void newConfigurationAsksBeforeDefaults();
    void editorActionsRunTheirDialogs_data();
    void editorActionsRunTheirDialogs();
    void progressWindowFollowsEvents();
    void fileErrorMessages_data();
    void fileErrorMessages();
    void saveThenLoadFromMenu();
    void readFromEmulatedDialer();
    void titleFollowsChanges();
    void closeQuestion_data();
    void closeQuestion();

private:
    // Shows the window and waits until it is active; false if it never becomes active.
    bool Activate(TMainFormZORVEX& window);
    QString SettingsFile() const { return m_dir.filePath(QStringLiteral("zorvex.ini")); }

    QTemporaryDir m_dir;
    int m_aboutShown = 0;
};

void TstMainForm::init()
{
    QFile::remove(SettingsFile());
    ProgramSettings::OverridePath(SettingsFile());
    m_aboutShown = 0;
}

void TstMainForm::cleanup()
{
    ProgramSettings::OverridePath({});
    InstallFileDialogHandler({});
}

bool TstMainForm::Activate(TMainFormZORVEX& window)
{
    window.ShowAboutBox = [this] { ++m_aboutShown; };
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

void TstMainForm::startUpPort_data()
{
    QTest::addColumn<QByteArray>("ini"); // empty: no file at all
    QTest::addColumn<QString>("port");
    QTest::newRow("no file") << QByteArray() << "COM2";
    QTest::newRow("Port=3") << QByteArray("[Program configuration]\r\nPort=3\r\n") << "COM3";
    QTest::newRow("no key") << QByteArray("[Program configuration]\r\nOther=1\r\n") << "COM1";
    QTest::newRow("Port=12") << QByteArray("[Program configuration]\r\nPort=12\r\n") << "COM12";
    QTest::newRow("Port=17 keeps COM2")
        << QByteArray("[Program configuration]\r\nPort=17\r\n") << "COM2";
    QTest::newRow("Port=0 keeps COM2")
        << QByteArray("[Program configuration]\r\nPort=0\r\n") << "COM2";
    QTest::newRow("Port=4") << QByteArray("[program CONFIGURATION]\nport=4\n") << "COM4";
}

void TstMainForm::startUpPort()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, port);
    if (!ini.isEmpty()) {
        QFile f(SettingsFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ini);
    }
    TMainFormZORVEX window;
    QCOMPARE(window.Link().SerialPort().Port(), QStringLiteral("COM2"));
    QVERIFY(Activate(window));
    QCOMPARE(window.Link().SerialPort().Port(), port);
}

// A settings file that is not a regular file of sane size is not read: the window starts
// on COM2 as without a file, says why, and does not hang or run out of memory.
void TstMainForm::hostileSettingsFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO") << "fifo"
                          << "nie jest zwykłym plikiem.";
    QTest::newRow("link to /dev/zero") << "zero"
                                       << "nie jest zwykłym plikiem.";
    QTest::newRow("over 1 MiB") << "huge"
                                << "jest za duży (ponad 1048576 bajtów).";
}

void TstMainForm::hostileSettingsFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QVERIFY(MakeHostileFile(SettingsFile(), kind, "[Program configuration]\r\nPort=3\r\n;"));
    MessageBoxRecorder boxes;
    TMainFormZORVEX window;
    QVERIFY(Activate(window));
    QCOMPARE(window.Link().SerialPort().Port(), QStringLiteral("COM2"));
    QCOMPARE(boxes.Texts(),
             QStringList{QStringLiteral("Plik ustawień ") + SettingsFile() + u' ' + reason +
                         QStringLiteral(" Program używa ustawień domyślnych.")});
    QCOMPARE(boxes.Last().kind, mkInformation);
}

void TstMainForm::aboutBoxOnlyAtFirstActivation()
{
    TMainFormZORVEX window;
    QVERIFY(Activate(window));
    QCOMPARE(m_aboutShown, 1);
    QVERIFY(!window.FirstActivation);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(m_aboutShown, 1);
}

void TstMainForm::menusAndToolBarInOrder()
{
    TMainFormZORVEX window;
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, (QStringList{"&Konfiguracja", "&Telefony", "&System", "&Monitorowanie",
                                 "&Zdarzenia", "&Pomoc"}));
    QStringList first;
    for (QAction* a : window.menuBar()->actions().first()->menu()->actions())
        first << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(first,
             (QStringList{"OpcjeProgramu", "-", "NowaKonfiguracjaDialera",
                          "ZapamietanieKonfiguracjiNaDysku", "OdczytKonfiguracjiZDysku",
                          "ZapisKonfiguracjiDialera", "OdczytKonfiguracjiDialera",
                          "WeryfikacjaKonfiguracjiDialera", "PorownajZPlikiem",
                          "KopiujObszaryZPliku", "Archiwum", "RestartDialera", "OpisKonfiguracji",
                          "WydrukKonfiguracji", "ZapiszRaportDoPDF", "-", "WyjscieZProgramu"}));
    auto* bar = window.findChild<QToolBar*>();
    QVERIFY(bar);
    QCOMPARE(bar->actions().size(), 23);
    QVERIFY(!bar->actions().contains(window.Action(QStringLiteral("RestartDialera"))));
    QCOMPARE(window.Action(QStringLiteral("KodyZdarzen"))->shortcut(),
             QKeySequence(QStringLiteral("Alt+0")));
    QCOMPARE(window.Action(QStringLiteral("HistoriaZdarzen"))->text(),
             QStringLiteral("&Historia zdarzeń"));
    QCOMPARE(window.Action(QStringLiteral("NapiszDoNas"))->toolTip(),
             QStringLiteral("Napisz do nas..."));
    QCOMPARE(window.windowTitle(), QStringLiteral("Programator dialera Zorvex - bez nazwy[*]"));
}

void TstMainForm::cancelledConfirmationSendsNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("question");
    QTest::newRow("write") << "ZapisKonfiguracjiDialera"
                           << "Czy zapisać konfigurację do Dialera?";
    QTest::newRow("read") << "OdczytKonfiguracjiDialera"
                          << "Czy odczytać konfigurację z Dialera?";
}

void TstMainForm::cancelledConfirmationSendsNothing()
{
    QFETCH(QString, action);
    QFETCH(QString, question);
    const auto dialer = StartDialer();
    TMainFormZORVEX window;
    window.Link().SerialPort().SetPort(PathOf(*dialer));
    const TZorvexSettings before = window.Link().Settings();

    MessageBoxRecorder boxes;
    boxes.Answer(mbCancel);
    window.Action(action)->trigger();
    QCOMPARE(boxes.Texts(), QStringList{question});
    QCOMPARE(boxes.Last().kind, mkConfirmation);
    QCOMPARE(boxes.Last().buttons, TMsgButtons(mbYes | mbCancel));
    QVERIFY(!window.Progress().isVisible());
    QCOMPARE(window.Link().Operation(), Operation::Idle);
    QVERIFY(!window.Link().SerialPort().Connected());
    QVERIFY(window.Link().Settings() == before);
    QCOMPARE(dialer->GetCounters().frames, 0);
}

void TstMainForm::newConfigurationAsksBeforeDefaults()
{
    TMainFormZORVEX window;
    window.Link().Settings().Cfg.SetByte(100, 0x42);
    MessageBoxRecorder boxes;
    std::uint8_t atBox = 0;
    boxes.OnShow(
        [&](const TMessageRequest&) { atBox = window.Link().Settings().Cfg.GetByte(100); });
    window.Action(QStringLiteral("NowaKonfiguracjaDialera"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{"Inicjacja konfiguracji domyślnej"});
    QCOMPARE(boxes.Last().kind, mkInformation);
    QCOMPARE(atBox, std::uint8_t(0x42));
    TZorvexSettings factory;
    factory.LoadDefaults();
    QVERIFY(window.Link().Settings() == factory);
}

void TstMainForm::editorActionsRunTheirDialogs_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("F7") << "OpisKonfiguracji"
                        << "TFormConfig";
    QTest::newRow("Alt+1") << "NumeryTelefonow"
                           << "TFormPhones";
    QTest::newRow("Alt+2") << "ParametryTelefonowania"
                           << "TFormPhoneParam";
    QTest::newRow("Alt+3") << "KomunikatPOLPAGER"
                           << "TFormPolpager";
    QTest::newRow("Alt+4") << "KodyDostepu"
                           << "TFormCode";
    QTest::newRow("Alt+5") << "WejsciaAlarmowe"
                           << "TFormAlarmIn";
    QTest::newRow("Alt+6") << "WyjsciaPGM"
                           << "TFormAlarmOut";
    QTest::newRow("Alt+7") << "Zwloki"
                           << "TFormDelay";
    QTest::newRow("Alt+8") << "OpcjeSystemowe"
                           << "TFormSystemOptions";
    QTest::newRow("Alt+9") << "StacjeMonitorujace"
                           << "TFormStation";
    QTest::newRow("Alt+0") << "KodyZdarzen"
                           << "TFormEventCode";
    QTest::newRow("F9") << "HistoriaZdarzen"
                        << "TFormHistory";
}

void TstMainForm::editorActionsRunTheirDialogs()
{
    QFETCH(QString, action);
    QFETCH(QString, dialog);
    TMainFormZORVEX window;
    const TZorvexSettings before = window.Link().Settings();
    QString shown;
    QTimer::singleShot(0, this, [&] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = QString::fromLatin1(modal->metaObject()->className());
            modal->reject();
        }
    });
    MessageBoxRecorder boxes;
    window.Action(action)->trigger();
    QCOMPARE(shown, dialog);
    QCOMPARE(boxes.Count(), 0);
    QVERIFY(window.Link().Settings() == before); // cancelled: nothing written back
    QVERIFY(!window.findChild<QDialog*>());      // destroyed with the action
}

void TstMainForm::progressWindowFollowsEvents()
{
    TMainFormZORVEX window;
    TFormProgress& progress = window.Progress();
    auto& link = window.Link();
    link.OnTransferStart(&link);
    QVERIFY(progress.isVisible());
    QVERIFY(progress.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(progress.Animate1->isRunning());
    QCOMPARE(progress.Label1->text(),
             QStringLiteral("Proszę czekać, trwa łączenie z Dialerem... "));
    QCOMPARE(progress.Label2->text(), QString());
    QCOMPARE(progress.ProgressBar1->value(), 0);

    link.OnTransferProgress(25);
    QCOMPARE(progress.Label1->text(), QStringLiteral("Proszę czekać, trwa przesyłanie danych... "));
    QCOMPARE(progress.Label2->text(), QStringLiteral("25%"));
    QCOMPARE(progress.ProgressBar1->value(), 25);

    link.OnTransferProgress(-1);
    QCOMPARE(progress.Label1->text(), QStringLiteral("Brak odpowiedzi, kolejna próba..."));
    QCOMPARE(progress.Label2->text(), QStringLiteral("25%"));
    QCOMPARE(progress.ProgressBar1->value(), 25);

    link.OnTransferProgress(50);
    QCOMPARE(progress.Label1->text(), QStringLiteral("Proszę czekać, trwa przesyłanie danych... "));
    QCOMPARE(progress.Label2->text(), QStringLiteral("50%"));

    // A write that resent a frame reads the image back: the line says so meanwhile.
    link.OnTransferConfirm(ConfigEvent::Write);
    QCOMPARE(progress.Label1->text(), QStringLiteral("Proszę czekać, trwa sprawdzanie zapisu... "));
    QCOMPARE(progress.Label2->text(), QString());
    QCOMPARE(progress.ProgressBar1->value(), 0);
    link.OnTransferProgress(25);
    QCOMPARE(progress.Label1->text(), QStringLiteral("Proszę czekać, trwa sprawdzanie zapisu... "));
    QCOMPARE(progress.Label2->text(), QStringLiteral("25%"));

    link.OnTransferEnd(&link);
    QVERIFY(!progress.isVisible());
    QVERIFY(!progress.Animate1->isRunning());
    QCOMPARE(progress.Animate1->frame(), CopyAnimation::kStopFrame);
    QVERIFY(!(progress.windowFlags() & Qt::WindowStaysOnTopHint));

    // The next exchange moves data again, and a read is checked in its own words.
    link.OnTransferStart(&link);
    link.OnTransferProgress(25);
    QCOMPARE(progress.Label1->text(), QStringLiteral("Proszę czekać, trwa przesyłanie danych... "));
    link.OnTransferConfirm(ConfigEvent::Read);
    QCOMPARE(progress.Label1->text(),
             QStringLiteral("Proszę czekać, trwa sprawdzanie odczytu... "));
    link.OnTransferEnd(&link);
}

void TstMainForm::fileErrorMessages_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QByteArray bad(1024, '\0');
    bad.replace(0, 6, "Zorvex");
    bad[40] = 1;
    QTest::newRow("format") << bad << "Nieprawidłowy format pliku";
    QTest::newRow("size") << QByteArray(1023, 'x') << "Nieprawidłowy rozmiar pliku";
}

void TstMainForm::fileErrorMessages()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(QStringLiteral("bad.zvx"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contents);
    f.close();
    TMainFormZORVEX window;
    const TZorvexSettings before = window.Link().Settings();
    InstallFileDialogHandler([&](const FileDialogRequest& r) { return r.save ? QString() : path; });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("OdczytKonfiguracjiZDysku"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{message});
    QCOMPARE(boxes.Last().kind, mkProgram);
    QVERIFY(window.Link().Settings() == before);

    // A save into a folder that is not there.
    InstallFileDialogHandler([&](const FileDialogRequest&) {
        return m_dir.filePath(QStringLiteral("no/such/folder/x.zvx"));
    });
    boxes.Clear();
    window.Action(QStringLiteral("ZapamietanieKonfiguracjiNaDysku"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{"Błąd zapisu pliku"});
}

void TstMainForm::saveThenLoadFromMenu()
{
    const QString path = m_dir.filePath(QStringLiteral("good.ZVX"));
    TMainFormZORVEX window;
    window.Link().Settings().Comment.SetText(0, "Obiekt testowy");
    InstallFileDialogHandler([&](const FileDialogRequest&) { return path; });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("ZapamietanieKonfiguracjiNaDysku"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{"Konfiguracja została zapisana w zbiorze: " + path});

    window.Link().Settings().LoadDefaults();
    boxes.Clear();
    boxes.Answer(mbOk);
    window.Action(QStringLiteral("OdczytKonfiguracjiZDysku"))->trigger();
    QCOMPARE(boxes.Texts(), QStringList{"Obiekt testowy"});
    QCOMPARE(window.Link().Settings().Comment.GetText(0), std::string("Obiekt testowy"));

    // Cancel in the file dialog does nothing at all.
    InstallFileDialogHandler([](const FileDialogRequest&) { return QString(); });
    boxes.Clear();
    window.Action(QStringLiteral("OdczytKonfiguracjiZDysku"))->trigger();
    window.Action(QStringLiteral("ZapamietanieKonfiguracjiNaDysku"))->trigger();
    QCOMPARE(boxes.Count(), 0);
}

void TstMainForm::readFromEmulatedDialer()
{
    TCfg image = DefaultDialerImage();
    image.SetByte(120, 0x12);
    const auto dialer = StartDialer({}, image);

    TMainFormZORVEX window;
    window.Link().SerialPort().SetPort(PathOf(*dialer));
    MessageBoxRecorder boxes;
    boxes.Answer(mbYes);
    bool progressHiddenAtEnd = false;
    boxes.OnShow([&](const TMessageRequest& r) {
        if (r.kind != mkConfirmation)
            progressHiddenAtEnd = !window.Progress().isVisible();
    });
    window.Action(QStringLiteral("OdczytKonfiguracjiDialera"))->trigger();
    QVERIFY(window.Progress().isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(window.Link().Operation(), Operation::Idle, 20000);
    QCOMPARE(boxes.Texts(), (QStringList{"Czy odczytać konfigurację z Dialera?",
                                         "Konfiguracja odczytana poprawnie"}));
    QVERIFY(progressHiddenAtEnd);
    QCOMPARE(window.Link().Settings().Cfg.GetByte(120), std::uint8_t(0x12));
    QCOMPARE(window.Link().Settings().Comment.GetText(0),
             std::string("Konfiguracja odczytana z Dialera ZVX"));
}

void TstMainForm::titleFollowsChanges()
{
    const QString path = m_dir.filePath(QStringLiteral("obiekt.ZVX"));
    TMainFormZORVEX window;
    QVERIFY(!window.isWindowModified());
    window.Link().Settings().Cfg.SetByte(120, 0x12); // an edit
    window.UpdateTitle();
    QVERIFY(window.isWindowModified());
    QVERIFY(window.windowTitle().contains(QStringLiteral("bez nazwy")));

    InstallFileDialogHandler([&](const FileDialogRequest&) { return path; });
    MessageBoxRecorder boxes;
    window.Action(QStringLiteral("ZapamietanieKonfiguracjiNaDysku"))->trigger();
    QVERIFY(!window.isWindowModified());
    QVERIFY(window.windowTitle().contains(QStringLiteral("obiekt.ZVX")));

    // Image byte 0, which a write to the dialer sets, is no change of the user's.
    window.Link().Settings().Cfg.SetByte(0, 0x77);
    window.UpdateTitle();
    QVERIFY(!window.isWindowModified());

    window.Action(QStringLiteral("NowaKonfiguracjaDialera"))->trigger();
    QVERIFY(!window.isWindowModified());
    QVERIFY(window.windowTitle().contains(QStringLiteral("bez nazwy")));
    window.Link().Settings().Cfg.SetByte(121, 0x34);
    window.UpdateTitle();
    QVERIFY(window.isWindowModified());

    boxes.Answer(mbCancel); // declining the load keeps the edit unsaved
    window.Action(QStringLiteral("OdczytKonfiguracjiZDysku"))->trigger();
    QVERIFY(window.isWindowModified());
    boxes.Answer(mbOk);
    window.Action(QStringLiteral("OdczytKonfiguracjiZDysku"))->trigger();
    QVERIFY(!window.isWindowModified());
    QCOMPARE(window.FileName(), path);
}

void TstMainForm::closeQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Tak") << int(mbYes) << true << true;
    QTest::newRow("Nie") << int(mbNo) << true << false;
    QTest::newRow("Anuluj") << int(mbCancel) << false << false;
}

void TstMainForm::closeQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    const QString path = m_dir.filePath(QStringLiteral("zamkniecie.ZVX"));
    QFile::remove(path);
    InstallFileDialogHandler([&](const FileDialogRequest&) { return path; });
    TMainFormZORVEX window;
    window.ShowAboutBox = [] {};
    window.show();
    window.Link().Settings().Cfg.SetByte(130, 0x55);
    MessageBoxRecorder boxes;
    boxes.Answer(TMsgButton(answer));
    QCOMPARE(window.close(), closed);
    QCOMPARE(boxes.Shown().first().text, QStringLiteral("Zapisać zmiany w konfiguracji?"));
    QCOMPARE(boxes.Shown().first().buttons, TMsgButtons(mbYes | mbNo | mbCancel));
    QCOMPARE(QFile::exists(path), saved);

    // Without changes there is no question.
    TMainFormZORVEX clean;
    clean.show();
    boxes.Clear();
    QVERIFY(clean.close());
    QCOMPARE(boxes.Count(), 0);
}

QTEST_MAIN(TstMainForm)
#include "tst_mainform.moc"
