#include "FakeSysfs.h"
#include "PtyPair.h"

#include "serial/PortDiscovery.h"
#include "serial/PosixTermios2.h"
#include "serial/TComPort.h"

#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using PortDiscovery::PortInfo;

namespace {

const char* const kFtdiId = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

// The machine of the tests: an on-board port, a registered 8250 with no UART, an FTDI
// adapter, a CDC modem-class adapter, and a console.
bool LayOut(FakeSysfs& tree)
{
    const QString ftdi = QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-2");
    const QString acm = QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-3");
    return tree.AddTty("ttyS0", "platform/serial8250/serial8250:0.0", "port", "4") &&
           tree.AddTty("ttyS1", "platform/serial8250/serial8250:0.1", "port", "0") &&
           tree.AddUsbDevice(ftdi, "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI") &&
           tree.AddTty("ttyUSB0", ftdi + "/1-2:1.0/ttyUSB0", "ftdi_sio") &&
           tree.AddUsbDevice(acm, "2341", "0043", "", "Modem", "") &&
           tree.AddTty("ttyACM0", acm + "/1-3:1.0", "cdc_acm") && tree.AddVirtualTty("tty0") &&
           tree.AddStableName("by-id", kFtdiId, "ttyUSB0") &&
           tree.AddStableName("by-path", "pci-0000:00:14.0-usb-0:2:1.0-port0", "ttyUSB0") &&
           tree.AddStableName("by-path", "pci-0000:00:14.0-usb-0:3:1.0", "ttyACM0");
}

PortInfo Find(const QList<PortInfo>& ports, const QString& name)
{
    for (const PortInfo& port : ports)
        if (port.name == name)
            return port;
    return {};
}

} // namespace

class TstPortDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void listsRealPortsOnly();
    void describesEachPort_data();
    void describesEachPort();
    void comNames_data();
    void comNames();
    void missingTree();
    void openProblems_data();
    void openProblems();
    void portHeldByAnotherIsBusy();
    void checkPortTriesTheRate_data();
    void checkPortTriesTheRate();

private:
    FakeSysfs m_tree;
    PortDiscovery::Roots m_roots;
};

void TstPortDiscovery::initTestCase()
{
    QVERIFY(m_tree.IsValid());
    QVERIFY(LayOut(m_tree));
    m_roots.sys = m_tree.Sys();
    m_roots.dev = m_tree.Dev();
    qputenv("ZVX_COM7", "/dev/ttyUSB0");
}

void TstPortDiscovery::cleanupTestCase()
{
    qunsetenv("ZVX_COM7");
}

void TstPortDiscovery::listsRealPortsOnly()
{
    QStringList names;
    for (const PortInfo& port : PortDiscovery::Discover(m_roots))
        names << port.name;
    // No console, no 8250 slot without a UART; sorted by name.
    QCOMPARE(names, (QStringList{"ttyACM0", "ttyS0", "ttyUSB0"}));
}

void TstPortDiscovery::describesEachPort_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usb");
    QTest::addColumn<QStringList>("ids"); // vendor, product, maker, product name, serial
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("stable"); // relative to the dev root

    QTest::newRow("FTDI adapter") << "ttyUSB0" << true
                                  << QStringList{"0403", "6001", "FTDI", "FT232R USB UART",
                                                 "A50285BI"}
                                  << "ftdi_sio" << QStringLiteral("/serial/by-id/") + kFtdiId;
    QTest::newRow("modem class, no serial number: by-path")
        << "ttyACM0" << true << QStringList{"2341", "0043", "", "Modem", ""} << "cdc_acm"
        << "/serial/by-path/pci-0000:00:14.0-usb-0:3:1.0";
    QTest::newRow("on-board port: its own name")
        << "ttyS0" << false << QStringList{"", "", "", "", ""} << "port"
        << "/ttyS0";
}

void TstPortDiscovery::describesEachPort()
{
    QFETCH(QString, name);
    QFETCH(bool, usb);
    QFETCH(QStringList, ids);
    QFETCH(QString, driver);
    QFETCH(QString, stable);

    const PortInfo port = Find(PortDiscovery::Discover(m_roots), name);
    QCOMPARE(port.name, name);
    QCOMPARE(port.device, m_tree.Dev() + QLatin1Char('/') + name);
    QCOMPARE(port.usb, usb);
    QCOMPARE((QStringList{port.vendorId, port.productId, port.manufacturer, port.product,
                          port.serialNumber}),
             ids);
    QCOMPARE(port.driver, driver);
    QCOMPARE(port.StableName(), m_tree.Dev() + stable);
}

void TstPortDiscovery::comNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");

    // COM3 by its by-id name in the settings, COM5 by device, COM7 from the environment,
    // COM1 by the default ttyS mapping; COM2 opens a slot with no UART, listed nowhere.
    QTest::newRow("adapter: settings by-id and environment")
        << "ttyUSB0" << QStringList{"COM3", "COM7"};
    QTest::newRow("modem class: settings by device") << "ttyACM0" << QStringList{"COM5"};
    QTest::newRow("on-board: default mapping") << "ttyS0" << QStringList{"COM1"};
}

void TstPortDiscovery::comNames()
{
    QFETCH(QString, name);
    QFETCH(QStringList, expected);

    const PortNames::Lookup settings = [](const QString& com) {
        if (com == QLatin1String("COM3"))
            return QStringLiteral("/dev/serial/by-id/") + kFtdiId;
        if (com == QLatin1String("COM5"))
            return QStringLiteral("/dev/ttyACM0");
        return QString();
    };
    const PortInfo port = Find(PortDiscovery::Discover(m_roots), name);
    QCOMPARE(PortDiscovery::ComNamesFor(port, settings, m_roots), expected);
}

void TstPortDiscovery::missingTree()
{
    PortDiscovery::Roots roots;
    roots.sys = m_tree.Sys() + QStringLiteral("/nothing");
    roots.dev = m_tree.Dev() + QStringLiteral("/nothing");
    QVERIFY(PortDiscovery::Discover(roots).isEmpty());
}

void TstPortDiscovery::openProblems_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("expected");

    QTest::newRow("opens") << 0 << ""
                           << "";
    QTest::newRow("busy") << EBUSY << ""
                          << "port zajęty przez inny program";
    QTest::newRow("locked") << EWOULDBLOCK << ""
                            << "port zajęty przez inny program";
    QTest::newRow("permission names the group")
        << EACCES << "dialout"
        << "brak uprawnień (dopisz użytkownika do grupy dialout)";
    QTest::newRow("permission, group unknown") << EACCES << ""
                                               << "brak uprawnień";
    QTest::newRow("unplugged") << ENXIO << ""
                               << "brak urządzenia";
}

void TstPortDiscovery::openProblems()
{
    QFETCH(int, error);
    QFETCH(QString, group);
    QFETCH(QString, expected);
    QCOMPARE(PortDiscovery::OpenProblemText(error, group), expected);
}

void TstPortDiscovery::portHeldByAnotherIsBusy()
{
    PtyPair pty;
    QVERIFY(pty.IsValid());
    QCOMPARE(PortDiscovery::CheckOpen(pty.SlavePath()), QString());
    TComPort port;
    port.SetPort(pty.SlavePath());
    port.Open();
    QCOMPARE(PortDiscovery::CheckOpen(pty.SlavePath()),
             QStringLiteral("port zajęty przez inny program"));
    port.Close();
    // The check itself left no lock behind.
    QCOMPARE(PortDiscovery::CheckOpen(pty.SlavePath()), QString());
    QCOMPARE(PortDiscovery::CheckOpen(QStringLiteral("/nonexistent/ttyUSB9")),
             QStringLiteral("brak urządzenia"));
}

void TstPortDiscovery::checkPortTriesTheRate_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<uint>("actual");
    QTest::addColumn<QString>("problem");
    QTest::newRow("free: the rate is tried, the line put back") << "free" << 1339u << QString();
    QTest::newRow("held by a port: not touched")
        << "held" << 0u << QStringLiteral("port zajęty przez inny program");
    QTest::newRow("no terminal") << "file" << 0u << QString();
    QTest::newRow("no device") << "missing" << 0u << QStringLiteral("brak urządzenia");
}

void TstPortDiscovery::checkPortTriesTheRate()
{
    QFETCH(QString, state);
    QFETCH(uint, actual);
    QFETCH(QString, problem);
    PtyPair pty;
    QVERIFY(pty.IsValid());
    QTemporaryDir dir;
    QString device = pty.SlavePath();
    if (state == QLatin1String("file")) {
        device = dir.filePath(QStringLiteral("ttyUSB0"));
        QFile file(device);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (state == QLatin1String("missing")) {
        device = dir.filePath(QStringLiteral("ttyUSB9"));
    }
    // The line as another program left it: 9600 bit/s.
    const int line = ::open(QFile::encodeName(pty.SlavePath()).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(line >= 0);
    termios settings{};
    QCOMPARE(tcgetattr(line, &settings), 0);
    cfsetspeed(&settings, B9600);
    QCOMPARE(tcsetattr(line, TCSANOW, &settings), 0);
    TComPort holder;
    if (state == QLatin1String("held")) {
        holder.SetPort(pty.SlavePath());
        holder.SetBaudRate(br9600);
        holder.Open();
    }

    const PortDiscovery::PortCheck check = PortDiscovery::CheckPort(device, 1339);
    QCOMPARE(check.asked, 1339u);
    QCOMPARE(uint(check.actual), actual);
    QCOMPARE(check.problem, problem);
    std::uint32_t output = 0;
    std::uint32_t input = 0;
    QCOMPARE(PosixTermios2::ReadRates(line, output, input), 0);
    QCOMPARE(output, 9600u);
    ::close(line);
    // No lock was left behind.
    holder.Close();
    TComPort next;
    next.SetPort(pty.SlavePath());
    next.Open();
    QVERIFY(next.Connected());
}

QTEST_GUILESS_MAIN(TstPortDiscovery)
#include "tst_portdiscovery.moc"
