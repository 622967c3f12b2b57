#include "emulator/DialerEmulator.h"
#include "tests/serial/FakeSysfs.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<DialerEmulator> Dialer()
{
    DialerEmulator::Options options;
    options.pacing = false;
    auto dialer = std::make_unique<DialerEmulator>(options);
    dialer->Start();
    return dialer;
}

QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TstZvxPorts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void badArguments_data();
    void badArguments();
    void portsAsJson();
    void portsAsText();
    void probeFindsTheDialer();
    void probeFindsNothing();
    void readWithLog();

private:
    CliRun Run;
    FakeSysfs m_tree;
    QTemporaryDir m_dir;
};

void TstZvxPorts::initTestCase()
{
    QVERIFY(m_tree.IsValid());
    const QString ftdi = QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-2");
    QVERIFY(
        m_tree.AddUsbDevice(ftdi, "0403", "6001", "FTDI", "FT232R\rUSB UART\x1B[2J", "A50285BI"));
    QVERIFY(m_tree.AddTty("ttyUSB0", ftdi + "/1-2:1.0/ttyUSB0", "ftdi_sio"));
    QVERIFY(m_tree.AddStableName("by-id", "usb-FTDI_FT232R_A50285BI-if00-port0", "ttyUSB0"));
    qputenv("ZVX_SYS_ROOT", m_tree.Sys().toLocal8Bit());
    qputenv("ZVX_DEV_ROOT", m_tree.Dev().toLocal8Bit());
    qputenv("ZVX_COM4", "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");
}

void TstZvxPorts::cleanupTestCase()
{
    qunsetenv("ZVX_SYS_ROOT");
    qunsetenv("ZVX_DEV_ROOT");
    qunsetenv("ZVX_COM4");
}

void TstZvxPorts::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("ports, unknown option") << QStringList{"ports", "--all"};
    QTest::newRow("probe, COM17") << QStringList{"probe", "--port", "COM17"};
    QTest::newRow("probe, port without value") << QStringList{"probe", "--port"};
    QTest::newRow("probe, log without value") << QStringList{"probe", "--log"};
    QTest::newRow("probe, stray argument") << QStringList{"probe", "COM1"};
    QTest::newRow("read, log without value")
        << QStringList{"read", "--port", "COM1", "-o", "x", "--log"};
}

void TstZvxPorts::badArguments()
{
    QFETCH(QStringList, args);
    QCOMPARE(Run(args), ExitStatus::Usage);
    QVERIFY(Run.out.isEmpty());
    QVERIFY(Run.err.contains(QLatin1String("zob. zvx")));
}

void TstZvxPorts::portsAsJson()
{
    QCOMPARE(Run({"ports", "--json"}), ExitStatus::Success);
    const QJsonArray ports = QJsonDocument::fromJson(Run.out.toUtf8()).array();
    QCOMPARE(ports.size(), 1);
    const QJsonObject port = ports[0].toObject();
    QCOMPARE(port["device"].toString(), m_tree.Dev() + "/ttyUSB0");
    QCOMPARE(port["stableName"].toString(),
             m_tree.Dev() + "/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");
    QCOMPARE(port["usb"]["serialNumber"].toString(), QStringLiteral("A50285BI"));
    QCOMPARE(port["usb"]["vendorId"].toString(), QStringLiteral("0403"));
    QCOMPARE(port["driver"].toString(), QStringLiteral("ftdi_sio"));
    QCOMPARE(port["comNames"].toArray(), QJsonArray{"COM4"});
    // The node in the tree is a plain file: it opens, but takes no line rate.
    QVERIFY(port["openProblem"].isNull());
    QVERIFY(port["lineRate"].isNull());
}

void TstZvxPorts::portsAsText()
{
    QCOMPARE(Run({"ports"}), ExitStatus::Success);
    QVERIFY2(Run.out.startsWith(m_tree.Dev() + "/ttyUSB0  (COM4)\n"), qPrintable(Run.out));
    // The adapter's own strings, a terminal's escape sequence in its product name shown.
    QVERIFY2(Run.out.contains("USB 0403:6001  FTDI  FT232R␍USB UART␛[2J  nr seryjny A50285BI"),
             qPrintable(Run.out));
}

void TstZvxPorts::probeFindsTheDialer()
{
    auto dialer = Dialer();
    const QString path = QString::fromStdString(dialer->SlavePath());
    const QString log = m_dir.filePath("probe.log");
    QCOMPARE(Run({"probe", "--port", path, "--port", "/nonexistent/ttyUSB9", "--log", log}),
             ExitStatus::Success);
    QVERIFY2(Run.out.contains(path + ": dialer odpowiada\n"), qPrintable(Run.out));
    QVERIFY(Run.out.contains("/nonexistent/ttyUSB9: "));
    const QString text = ReadAll(log);
    QVERIFY2(text.contains(path + ":") && text.contains("-> 6A 50 A1 40 00 9B 00"),
             qPrintable(text));
    // Write frames would carry access codes: the log is its owner's only.
    QCOMPARE(QFile::permissions(log) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());
}

void TstZvxPorts::probeFindsNothing()
{
    QCOMPARE(Run({"probe", "--port", "/nonexistent/ttyUSB9"}), ExitStatus::ExchangeFailed);
    QVERIFY(Run.err.contains("Nie znaleziono dialera."));
}

void TstZvxPorts::readWithLog()
{
    auto dialer = Dialer();
    const QString log = m_dir.filePath("read.log");
    QCOMPARE(Run({"read", "--port", QString::fromStdString(dialer->SlavePath()), "-o",
                  m_dir.filePath("out.zvx"), "--log", log}),
             ExitStatus::Success);
    const QString text = ReadAll(log);
    QCOMPARE(text.count("odczyt 64 B od 0x"), 4);
    QCOMPARE(text.count("suma kontrolna dobra"), 4);
    QVERIFY2(text.contains("początek: odczyt") && text.trimmed().endsWith("koniec: sukces"),
             qPrintable(text));
}

QTEST_GUILESS_MAIN(TstZvxPorts)
#include "tst_zvx_ports.moc"
