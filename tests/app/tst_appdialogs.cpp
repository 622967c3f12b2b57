#include "app/UnitAbout.h"
#include "app/UnitProgramOptions.h"
#include "app/UnitResetDial.h"
#include "app/dialer/MessageBoxReporter.h"
#include "app/help/ShellOpen.h"
#include "app/report/AppPrinter.h"
#include "app/report/PrintFlow.h"
#include "device/TZorvexSettingsControl.h"
#include "settings/IniFile.h"
#include "settings/ProgramSettings.h"
#include "tests/common/EmulatedDialer.h"
#include "widgets/MessageBoxRecorder.h"
#include "widgets/TimePicker.h"

#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

namespace {
// Runs action on the modal dialog as soon as it is up (the dialog's exec() is running).
// The checks here run from the event loop, where they cannot end the test: a dialog that
// never becomes active is closed instead, so that the test fails rather than hangs.
void WhenModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog))
            dialog->close();
        QVERIFY(dialog->isActiveWindow());
        action(dialog);
    });
}
// An unpaced emulated dialer and a link whose port leads to it.
struct EmulatedLine
{
    EmulatedLine()
    {
        dialer.Start();
        link.SerialPort().SetPort(PathOf(dialer));
    }
    DialerEmulator dialer{Unpaced()};
    MessageBoxReporter reporter;
    TZorvexSettingsControl link{reporter};
};
} // namespace

class TstAppDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void optionsResults_data();
    void optionsResults();
    void optionsKeepOtherSettings();
    void optionsPrinterSetupStaysOpen();
    void restartSendsPickerTime();
    void restartCancelledSendsNothing();
    void aboutBoxEnterAndLinks();
    void reportPrintedToPdf();

private:
    QString SettingsFile() const { return m_dir.filePath(QStringLiteral("zorvex.ini")); }
    QTemporaryDir m_dir;
};

void TstAppDialogs::init()
{
    QFile::remove(SettingsFile());
    ProgramSettings::OverridePath(SettingsFile());
}

void TstAppDialogs::cleanup()
{
    ProgramSettings::OverridePath({});
    InstallPrinterDialogHandler({});
    InstallShellOpenHandler({});
}

void TstAppDialogs::optionsResults_data()
{
    QTest::addColumn<int>("start");  // port index handed in
    QTest::addColumn<int>("choose"); // item chosen, -1: none
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("index");   // port index afterwards
    QTest::addColumn<int>("written"); // "Port" in the file, -1: no file

    QTest::newRow("Anuluj") << 1 << 3 << "BitBtn2" << 2 << 1 << -1;
    QTest::newRow("OK") << 1 << 2 << "BitBtn1" << 1 << 2 << -1;
    QTest::newRow("Zachowaj COM3") << 0 << 2 << "BitBtn3" << 8 << 2 << 3;
    QTest::newRow("Zachowaj COM12") << 1 << 11 << "BitBtn3" << 8 << 11 << 12;
    QTest::newRow("Zachowaj with no choice") << 16 << -1 << "BitBtn3" << 8 << 255 << 256;
}

void TstAppDialogs::optionsResults()
{
    QFETCH(int, start);
    QFETCH(int, choose);
    QFETCH(QString, button);
    QFETCH(int, result);
    QFETCH(int, index);
    QFETCH(int, written);

    TFormProgramOptions dialog;
    WhenModal([&](QWidget* d) {
        auto* combo = d->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        QCOMPARE(combo->currentIndex(), start <= 15 ? start : -1);
        if (choose >= 0)
            combo->setCurrentIndex(choose);
        d->findChild<QPushButton*>(button)->click();
    });
    std::uint8_t portIndex = static_cast<std::uint8_t>(start);
    QCOMPARE(dialog.EditOptions(portIndex), result);
    QCOMPARE(int(portIndex), index);
    if (written < 0) {
        QVERIFY(!QFile::exists(SettingsFile()));
    } else {
        QCOMPARE(
            IniFile(SettingsFile())
                .ReadInteger(QStringLiteral("Program configuration"), QStringLiteral("Port"), -1),
            written);
    }
}

void TstAppDialogs::optionsKeepOtherSettings()
{
    const QByteArray before = "; ustawienia\r\n[Port names]\r\nCOM3=/dev/ttyUSB0\r\n"
                              "[Program configuration]\r\nPort=1\r\nInne=5\r\n";
    {
        QFile f(SettingsFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
    }
    TFormProgramOptions dialog;
    WhenModal([](QWidget* d) {
        d->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(3);
        d->findChild<QPushButton*>(QStringLiteral("BitBtn3"))->click();
    });
    std::uint8_t portIndex = 0;
    dialog.EditOptions(portIndex);
    QFile f(SettingsFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray expected = before;
    expected.replace("Port=1", "Port=4");
    QCOMPARE(f.readAll(), expected);
}

void TstAppDialogs::optionsPrinterSetupStaysOpen()
{
    int setups = 0;
    InstallPrinterDialogHandler([&](QPrinter&, QWidget*) {
        ++setups;
        return false;
    });
    TFormProgramOptions dialog;
    WhenModal([](QWidget* d) {
        auto* speed = d->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
        speed->click();
        speed->click();
        QVERIFY(d->isVisible());
        d->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
    });
    std::uint8_t portIndex = 1;
    QCOMPARE(dialog.EditOptions(portIndex), TFormProgramOptions::mrCancel);
    QCOMPARE(setups, 2);
}

void TstAppDialogs::restartSendsPickerTime()
{
    EmulatedLine line;
    DialerEmulator& dialer = line.dialer;
    TZorvexSettingsControl& link = line.link;
    MessageBoxRecorder boxes;

    TFormResetDial dialog;
    dialog.Now = [] { return QDateTime(QDate(2026, 12, 7), QTime(23, 59, 30)); };
    WhenModal([](QWidget* d) {
        QCOMPARE(d->findChild<TimePicker*>()->Time(), QTime(23, 59, 30));
        d->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    });
    QCOMPARE(dialog.RequestRestart(link), int(QDialog::Accepted));
    QTRY_COMPARE_WITH_TIMEOUT(link.Operation(), Operation::Idle, 20000);
    QCOMPARE(boxes.Texts(), QStringList{"Zainicjowano pracę Dialera"});
    const auto counters = dialer.GetCounters();
    QCOMPARE(counters.restarts, 1);
    QCOMPARE(counters.restartHour, std::uint8_t(0x23));
    QCOMPARE(counters.restartMinute, std::uint8_t(0x59));
}

void TstAppDialogs::restartCancelledSendsNothing()
{
    EmulatedLine line;
    DialerEmulator& dialer = line.dialer;
    TZorvexSettingsControl& link = line.link;
    int started = 0;
    link.OnTransferStart = [&](TZorvexSettingsControl*) { ++started; };
    TFormResetDial dialog;
    WhenModal([](QWidget* d) { d->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click(); });
    QCOMPARE(dialog.RequestRestart(link), int(QDialog::Rejected));
    QCOMPARE(started, 0);
    QVERIFY(!link.SerialPort().Connected());
    QCOMPARE(dialer.GetCounters().frames, 0);
}

void TstAppDialogs::aboutBoxEnterAndLinks()
{
    QList<QUrl> opened;
    InstallShellOpenHandler([&](const QUrl& url) { opened << url; });
    TAboutBox about;
    WhenModal([&](QWidget* d) {
        auto* box = static_cast<TAboutBox*>(d);
        QTest::mouseClick(box->Label1, Qt::LeftButton);
        QTest::mouseClick(box->Label2, Qt::LeftButton);
        QTest::mouseClick(box->Label1, Qt::LeftButton);
        QVERIFY(box->isVisible());
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
    QCOMPARE(opened.size(), 3);
    QCOMPARE(opened[0].scheme(), QStringLiteral("https"));
    QCOMPARE(opened[1].scheme(), QStringLiteral("mailto"));
    QCOMPARE(about.ProductName->text(), QStringLiteral("Programator dialera Zorvex"));
    // The version is the CMake project's (1.2 today), not a text of its own.
    QCOMPARE(about.Version->text(), QStringLiteral("ver " ZVX_PROJECT_VERSION));
}

void TstAppDialogs::reportPrintedToPdf()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    const QString pdf = m_dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrintReport(
        {QStringLiteral("Numery telefonów: 0221234567"), QStringLiteral("Zwłoki wejścia: 30")},
        printer, QFont(QStringLiteral("DejaVu Sans"), 10), 1);
    QProcess p;
    p.start(pdftotext, {pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(20000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Numery telefonów: 0221234567")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Zwłoki wejścia: 30")), qPrintable(text));
}

QTEST_MAIN(TstAppDialogs)
#include "tst_appdialogs.moc"
