#include "app/UnitMainForm.h"
#include "app/UnitProgramOptions.h"
#include "app/ports/PortPanel.h"
#include "app/ports/TransferLogWindow.h"
#include "device/DialerFrames.h"
#include "emulator/DialerEmulator.h"
#include "settings/ProgramSettings.h"
#include "tests/serial/FakeSysfs.h"
#include "widgets/MessageBoxRecorder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace {

const char* const kFtdi = "pci0000:00/0000:00:14.0/usb1/1-2";
const char* const kFtdiId = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

QStringList Items(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// The first four-byte block whose bytes are all access code bytes, and one with none.
int Block(bool codes)
{
    const auto hide = TransferLogWindow::CodeBytes();
    for (int offset = 0; offset < 256; offset += 4) {
        int hidden = 0;
        for (int i = 0; i < 4; ++i)
            hidden += hide(offset + i) ? 1 : 0;
        if (hidden == (codes ? 4 : 0))
            return offset;
    }
    return -1;
}

} // namespace

class TstPortsAndLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void panelShowsWhatEachNameOpens();
    void panelFollowsPlugging();
    void detectSelectsTheAnsweringPort();
    void optionsTakeTheFoundPort();
    void logMasksCodes_data();
    void logMasksCodes();
    void savedLogKeepsEveryByte();
    void windowLogsEveryExchange();

private:
    QTemporaryDir m_dir;
};

void TstPortsAndLog::initTestCase()
{
    ProgramSettings::OverridePath(m_dir.filePath(QStringLiteral("zorvex.ini")));
}

void TstPortsAndLog::cleanup()
{
    qunsetenv("ZVX_COM3");
    qunsetenv("ZVX_COM4");
}

void TstPortsAndLog::panelShowsWhatEachNameOpens()
{
    FakeSysfs tree;
    QVERIFY(tree.AddUsbDevice(kFtdi, "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI"));
    QVERIFY(tree.AddTty("ttyUSB0", QString(kFtdi) + "/1-2:1.0/ttyUSB0", "ftdi_sio"));
    QVERIFY(tree.AddStableName("by-id", kFtdiId, "ttyUSB0"));
    qputenv("ZVX_COM4", QByteArray("/dev/serial/by-id/") + kFtdiId);
    PortPanel panel({tree.Sys(), tree.Dev()});
    const QStringList items = Items(panel.ListBox1);
    QCOMPARE(items.size(), 16);
    QCOMPARE(items[3], QStringLiteral("COM4 → %1/serial/by-id/%2  (FT232R USB UART, nr A50285BI)")
                           .arg(tree.Dev(), kFtdiId));
    QCOMPARE(items[0], QStringLiteral("COM1 → /dev/ttyS0  (brak urządzenia)"));
}

void TstPortsAndLog::panelFollowsPlugging()
{
    FakeSysfs tree;
    QVERIFY(QDir().mkpath(tree.Dev() + "/serial/by-id"));
    QVERIFY(QDir().mkpath(tree.Sys() + "/class/tty"));
    PortPanel panel({tree.Sys(), tree.Dev()});
    QCOMPARE(panel.ListBox1->count(), 16);

    // Plugged in: the kernel's side first, then udev's node and link.
    QVERIFY(tree.AddUsbDevice(kFtdi, "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI"));
    QVERIFY(tree.AddTty("ttyUSB0", QString(kFtdi) + "/1-2:1.0/ttyUSB0", "ftdi_sio"));
    QVERIFY(tree.AddStableName("by-id", kFtdiId, "ttyUSB0"));
    const QString line = QStringLiteral("bez nazwy COM: %1/serial/by-id/%2  (FT232R USB UART, nr "
                                        "A50285BI)")
                             .arg(tree.Dev(), kFtdiId);
    QTRY_VERIFY(Items(panel.ListBox1).contains(line));

    // Pulled out.
    QVERIFY(QFile::remove(tree.Dev() + "/serial/by-id/" + kFtdiId));
    QVERIFY(QDir(tree.Sys() + "/devices/" + kFtdi).removeRecursively());
    QVERIFY(QFile::remove(tree.Sys() + "/class/tty/ttyUSB0"));
    QVERIFY(QFile::remove(tree.Dev() + "/ttyUSB0"));
    QTRY_COMPARE(panel.ListBox1->count(), 16);
}

void TstPortsAndLog::detectSelectsTheAnsweringPort()
{
    DialerEmulator::Options options;
    options.pacing = false;
    DialerEmulator dialer(options);
    dialer.Start();
    qputenv("ZVX_COM3", QByteArray::fromStdString(dialer.SlavePath()));

    FakeSysfs tree;
    QVERIFY(tree.AddTty("ttyS0", "platform/serial8250/serial8250:0.0", "port", "4"));
    PortPanel panel({tree.Sys(), tree.Dev()});
    panel.ProbeReplyInterval = 1000;
    int released = 0;
    panel.ReleasePort = [&] { ++released; };
    QSignalSpy found(&panel, &PortPanel::PortFound);
    panel.DetectButton->click();
    QVERIFY(!panel.ProgressBar1->isHidden());
    QVERIFY(!panel.DetectButton->isEnabled());
    QTRY_COMPARE(found.size(), 1);
    QCOMPARE(found.first().at(0).toInt(), 2);
    QCOMPARE(released, 1);
    QVERIFY(panel.ProgressBar1->isHidden());
    QVERIFY(panel.DetectButton->isEnabled());
    QVERIFY(panel.StatusLabel->text().startsWith(QStringLiteral("Dialer odpowiada na COM3")));
    QCOMPARE(dialer.GetCounters().frames, 1);
}

void TstPortsAndLog::optionsTakeTheFoundPort()
{
    TFormProgramOptions dialog;
    dialog.ComboBox1->setCurrentIndex(0);
    emit dialog.Ports->PortFound(2);
    QCOMPARE(dialog.ComboBox1->currentIndex(), 2);
}

void TstPortsAndLog::logMasksCodes_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("showCodes");
    QTest::addColumn<bool>("masked");

    QVERIFY(Block(true) >= 0 && Block(false) >= 0);
    QTest::newRow("code block") << Block(true) << false << true;
    QTest::newRow("code block, codes shown") << Block(true) << true << false;
    QTest::newRow("other block") << Block(false) << false << false;
}

void TstPortsAndLog::logMasksCodes()
{
    QFETCH(int, offset);
    QFETCH(bool, showCodes);
    QFETCH(bool, masked);

    TransferLogWindow window;
    const std::uint8_t bytes[4] = {0x12, 0x34, 0x56, 0x78};
    TransferLogEntry entry;
    entry.kind = TransferLogEntry::Kind::Sent;
    entry.bytes = DialerFrames::Write(4, std::uint8_t(offset), bytes);
    window.Entry(entry);
    window.ShowCodes->setChecked(showCodes);
    // Ticking redraws what is there; entries after it follow the box too.
    window.Entry(entry);
    const QStringList lines = window.ShownLines();
    QCOMPARE(lines.size(), 2);
    for (const QString& line : lines) {
        QCOMPARE(line.contains(QLatin1String("** ** ** **")), masked);
        QCOMPARE(line.contains(QLatin1String("12 34 56 78")), !masked);
    }
}

void TstPortsAndLog::savedLogKeepsEveryByte()
{
    TransferLogWindow window;
    const std::uint8_t bytes[4] = {0x12, 0x34, 0x56, 0x78};
    TransferLogEntry entry;
    entry.kind = TransferLogEntry::Kind::Sent;
    entry.bytes = DialerFrames::Write(4, std::uint8_t(Block(true)), bytes);
    window.Entry(entry);
    const QString file = m_dir.filePath(QStringLiteral("dziennik.txt"));
    window.AskSaveName = [&] { return file; };
    window.SaveButton->click();
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("12 34 56 78"));
    QCOMPARE(saved.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());

    window.ClearButton->click();
    QVERIFY(window.ShownLines().isEmpty());
    QVERIFY(window.FullLines().isEmpty());
}

void TstPortsAndLog::windowLogsEveryExchange()
{
    DialerEmulator::Options options;
    options.pacing = false;
    DialerEmulator dialer(options);
    dialer.Start();
    TMainFormZORVEX window;
    window.Link().SerialPort().SetPort(QString::fromStdString(dialer.SlavePath()));
    MessageBoxRecorder boxes;
    boxes.Answer(mbYes);
    window.Action(QStringLiteral("OdczytKonfiguracjiDialera"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(window.Link().Operation(), Operation::Idle, 20000);
    const QStringList lines = window.TransferLog().FullLines();
    QVERIFY(lines.filter(QStringLiteral("odczyt 64 B od 0xC0")).size() == 1);
    QVERIFY2(lines.last().contains(QStringLiteral("koniec: sukces")), qPrintable(lines.last()));

    window.Action(QStringLiteral("DziennikTransmisji"))->trigger();
    QVERIFY(window.TransferLog().isVisible());
    QCOMPARE(window.TransferLog().ShownLines().size(), lines.size());
}

QTEST_MAIN(TstPortsAndLog)
#include "tst_portsandlog.moc"
