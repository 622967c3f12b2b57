#include "emulator/DialerEmulator.h"
#include "tests/serial/FakeSysfs.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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
    void usbStringsPrintable();
    void logTargetRefused_data();
    void logTargetRefused();
    void logOwnFileReplaced();
    void logWriteErrorFails();

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

// An adapter's strings come from the device: ESC and BEL never reach the terminal.
void TstZvxPorts::usbStringsPrintable()
{
    FakeSysfs tree;
    QVERIFY(tree.IsValid());
    const QString usb = QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-3");
    QVERIFY(
        tree.AddUsbDevice(usb, "0403", "6001", "Zly\x1b]0;tytul\x07", "Kabel\x1b[2J", "S\x07N"));
    QVERIFY(tree.AddTty("ttyUSB1", usb + "/1-3:1.0/ttyUSB1", "ftdi_sio"));
    const QByteArray sys = qgetenv("ZVX_SYS_ROOT");
    const QByteArray dev = qgetenv("ZVX_DEV_ROOT");
    qputenv("ZVX_SYS_ROOT", tree.Sys().toLocal8Bit());
    qputenv("ZVX_DEV_ROOT", tree.Dev().toLocal8Bit());
    const int status = Run({"ports"});
    qputenv("ZVX_SYS_ROOT", sys);
    qputenv("ZVX_DEV_ROOT", dev);
    QCOMPARE(status, ExitStatus::Success);
    QVERIFY2(!Run.out.contains(QChar(0x1b)) && !Run.out.contains(QChar(0x07)), qPrintable(Run.out));
    QVERIFY2(Run.out.contains(QStringLiteral("Kabel\u241b[2J")), qPrintable(Run.out));
}

void TstZvxPorts::logTargetRefused_data()
{
    QTest::addColumn<QString>("kind"); // what stands where the log should go
    QTest::addColumn<QString>("message");
    const QString notOwn = QStringLiteral("to nie jest zwykły plik tego użytkownika");
    QTest::newRow("a link to a file") << "link" << notOwn;
    QTest::newRow("a dangling link") << "dangling" << notOwn;
    QTest::newRow("a FIFO nobody reads") << "fifo" << notOwn;
    QTest::newRow("a device") << "device" << notOwn;
    QTest::newRow("a folder") << "folder" << notOwn;
    QTest::newRow("another user's file") << "foreign" << notOwn;
    QTest::newRow("the configuration written")
        << "input" << QStringLiteral("to plik, na którym pracuje polecenie");
}

// A log never opens, changes or waits on what is not the user's own regular file, and is
// never the file the command works on: the command refuses at once, the dialer untouched.
void TstZvxPorts::logTargetRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString victim = dir.filePath(QStringLiteral("cudzy.txt"));
    {
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("zostaw\n") == 7);
    }
    QVERIFY(QFile::setPermissions(victim, QFile::permissions(victim) | QFileDevice::ReadOther));
    const QString config = dir.filePath(QStringLiteral("obiekt.zvx"));
    QCOMPARE(Run({"new", "-o", config}), ExitStatus::Success);
    QString log = dir.filePath(QStringLiteral("dziennik.txt"));
    const QByteArray name = QFile::encodeName(log);
    if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(victim, log));
    else if (kind == QLatin1String("dangling"))
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowy.txt")), log));
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    else if (kind == QLatin1String("device"))
        log = QStringLiteral("/dev/null");
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dziennik.txt")));
    else if (kind == QLatin1String("input"))
        log = config;
    else if (::geteuid() != 0)
        QSKIP("giving a file to another user needs root");
    else
        QVERIFY(QFile::copy(victim, log) && ::chown(name.constData(), 65534, 65534) == 0);
    struct stat before
    {
    };
    QCOMPARE(::lstat(QFile::encodeName(log).constData(), &before), 0);
    const QByteArray configBefore = [&] {
        QFile file(config);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    auto dialer = Dialer();
    QCOMPARE(
        Run({"write", "--port", QString::fromStdString(dialer->SlavePath()), "--log", log, config}),
        ExitStatus::FileError);
    QVERIFY2(Run.err.contains(message), qPrintable(Run.err));
    struct stat after
    {
    };
    QCOMPARE(::lstat(QFile::encodeName(log).constData(), &after), 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_size, before.st_size);
    QCOMPARE(ReadAll(victim), QStringLiteral("zostaw\n"));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nowy.txt"))));
    QFile file(config);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), configBefore);
}

// The user's own log of an earlier run is emptied and made owner-only.
void TstZvxPorts::logOwnFileReplaced()
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("dziennik.txt"));
    {
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("stary dziennik\n") == 15);
    }
    QVERIFY(QFile::setPermissions(log, QFile::permissions(log) | QFileDevice::ReadOther));
    auto dialer = Dialer();
    QCOMPARE(Run({"restart", "--port", QString::fromStdString(dialer->SlavePath()), "--log", log}),
             ExitStatus::Success);
    const QString text = ReadAll(log);
    QVERIFY2(!text.contains("stary") && text.contains("koniec: sukces"), qPrintable(text));
    QCOMPARE(QFile::permissions(log) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());
}

// A log that cannot be written to its end (a full disk; here a file size limit) ends the
// command with the file error status, and says so.
void TstZvxPorts::logWriteErrorFails()
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("dziennik.txt"));
    auto dialer = Dialer();
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 200;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int status =
        Run({"restart", "--port", QString::fromStdString(dialer->SlavePath()), "--log", log});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QCOMPARE(status, ExitStatus::FileError);
    QVERIFY2(Run.err.contains(QStringLiteral("Błąd zapisu dziennika ") + log), qPrintable(Run.err));
}

QTEST_GUILESS_MAIN(TstZvxPorts)
#include "tst_zvx_ports.moc"
