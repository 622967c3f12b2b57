#include "device/ConfigFileIO.h"
#include "resources/ConstsZVX.h"
#include "serial/TCustomComPort.h"
#include "tests/common/EmulatedDialer.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"
#include "tools/PortNameLookup.h"

#include <QtTest>

#include <memory>

namespace {

QString Text(const char* message)
{
    return QString::fromUtf8(message);
}

} // namespace

class TstZvxLink : public QObject
{
    Q_OBJECT

private slots:
    void badArguments_data();
    void badArguments();
    void help_data();
    void help();
    void readSavesFile();
    void failedReadWritesNothing();
    void writeLoadsAndSends();
    void writeRefusesBadFile_data();
    void writeRefusesBadFile();
    void restartAtGivenTime();
    void restartNobodyAnswers();
    void portErrors_data();
    void portErrors();
    void lineLostMidRead();
    void comNameFromProgramSettings();

private:
    CliRun Run; // Run({...}) runs the tool; Run.out and Run.err hold what it printed
    QString File(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
};

void TstZvxLink::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("read without port") << QStringList{"read", "-o", "x.zvx"};
    QTest::newRow("read without file") << QStringList{"read", "--port", "COM1"};
    QTest::newRow("read, port without value") << QStringList{"read", "-o", "x.zvx", "--port"};
    QTest::newRow("read, COM17") << QStringList{"read", "--port", "COM17", "-o", "x.zvx"};
    QTest::newRow("read, port name") << QStringList{"read", "--port", "ttyS0", "-o", "x.zvx"};
    QTest::newRow("read, unknown option")
        << QStringList{"read", "--port", "COM1", "-o", "x.zvx", "--fast"};
    QTest::newRow("write without file") << QStringList{"write", "--port", "COM1"};
    QTest::newRow("write, two files") << QStringList{"write", "--port", "COM1", "a", "b"};
    QTest::newRow("write, unknown option")
        << QStringList{"write", "--port", "COM1", "--force", "a"};
    QTest::newRow("restart without port") << QStringList{"restart"};
    QTest::newRow("restart, hour 24")
        << QStringList{"restart", "--port", "COM1", "--time", "24:00"};
    QTest::newRow("restart, minute 60")
        << QStringList{"restart", "--port", "COM1", "--time", "9:60"};
    QTest::newRow("restart, one minute digit")
        << QStringList{"restart", "--port", "COM1", "--time", "9:7"};
    QTest::newRow("restart, words") << QStringList{"restart", "--port", "COM1", "--time=teraz"};
    QTest::newRow("restart, empty time") << QStringList{"restart", "--port", "COM1", "--time="};
    QTest::newRow("restart, time without value")
        << QStringList{"restart", "--port", "COM1", "--time"};
}

void TstZvxLink::badArguments()
{
    QFETCH(QStringList, args);
    QCOMPARE(Run(args), ExitStatus::Usage);
    QVERIFY(Run.out.isEmpty());
    QVERIFY2(Run.err.startsWith("zvx " + args.first() + ": "), qPrintable(Run.err));
    QCOMPARE(Run.err.count('\n'), 1);
}

void TstZvxLink::help_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("read") << "read";
    QTest::newRow("write") << "write";
    QTest::newRow("restart") << "restart";
}

void TstZvxLink::help()
{
    QFETCH(QString, command);
    QCOMPARE(Run({command, "--help"}), ExitStatus::Success);
    QVERIFY2(Run.out.startsWith("Użycie: zvx " + command + " --port PORT"), qPrintable(Run.out));
    QVERIFY(Run.err.isEmpty());
    QCOMPARE(Run({"--help"}), ExitStatus::Success);
    QVERIFY(Run.out.contains("  " + command + " "));
}

void TstZvxLink::readSavesFile()
{
    const auto dialer = StartDialer({"chunks=9"});
    const QString file = File("odczyt.zvx");
    QCOMPARE(Run({"read", "--port", PathOf(*dialer), "-o", file}), ExitStatus::Success);
    QCOMPARE(Run.out, Text(ConstsZVX::ReadDone) + "\n" +
                          Text(ConstsZVX::FileSaved).replace("%s", file) + "\n");
    QVERIFY(Run.err.isEmpty()); // no progress bar: not a terminal

    ConfigFile::Bytes bytes;
    QCOMPARE(ConfigFile::Read(file.toStdString(), bytes), ConfigFile::Success);
    TZorvexSettings read;
    ConfigFile::Apply(bytes, read);
    QVERIFY(read.Cfg == dialer->Image());
    QCOMPARE(ConfigFile::Record0Text(bytes), std::string("Konfiguracja odczytana z Dialera ZVX"));
}

void TstZvxLink::failedReadWritesNothing()
{
    const auto dialer = StartDialer({"bad-image"});
    const QString file = File("nieudany.zvx");
    QCOMPARE(Run({"read", "--port=" + PathOf(*dialer), "--output", file}),
             ExitStatus::ExchangeFailed);
    QVERIFY(Run.out.isEmpty());
    QCOMPARE(Run.err, Text(ConstsZVX::BadImageChecksum) + "\n");
    QVERIFY(!QFile::exists(file));
}

void TstZvxLink::writeLoadsAndSends()
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Cfg.SetByte(60, 0x33);
    const QString file = File("sklep.zvx");
    QCOMPARE(ConfigFile::Save(settings, file.toStdString()), ConfigFile::Success);
    const auto dialer = StartDialer();

    QCOMPARE(Run({"write", "--port", PathOf(*dialer), file}), ExitStatus::Success);
    QCOMPARE(Run.out, "Dialer MEDRA ZVX-A\n" + Text(ConstsZVX::WriteDone) + "\n");
    QVERIFY(Run.err.isEmpty());
    const TCfg image = dialer->Image();
    QCOMPARE(image.GetByte(60), 0x33);
    QCOMPARE(Sum8(image.Bytes().data(), 256), 0);
    QCOMPARE(dialer->GetCounters().completedWrites, 1);
}

void TstZvxLink::writeRefusesBadFile_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QByteArray damaged(1024, '\0');
    damaged.replace(0, 6, "Zorvex");
    damaged[500] = 1;
    QTest::newRow("damaged") << damaged << ExitStatus::FileError
                             << Text(ConstsZVX::FileFormatError);
    QTest::newRow("short") << QByteArray(1023, '\0') << ExitStatus::FileError
                           << Text(ConstsZVX::FileSizeError);
}

void TstZvxLink::writeRefusesBadFile()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, status);
    QFETCH(QString, message);
    const QString file = File("zly.zvx");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contents);
    f.close();
    const auto dialer = StartDialer();
    QCOMPARE(Run({"write", "--port", PathOf(*dialer), file}), status);
    QVERIFY2(Run.err.startsWith(message), qPrintable(Run.err));
    QCOMPARE(dialer->GetCounters().frames, 0);
}

void TstZvxLink::restartAtGivenTime()
{
    const auto dialer = StartDialer();
    QCOMPARE(Run({"restart", "--port", PathOf(*dialer), "--time", "9:07"}), ExitStatus::Success);
    QCOMPARE(Run.out, Text(ConstsZVX::RestartDone) + "\n");
    const auto counters = dialer->GetCounters();
    QCOMPARE(counters.restarts, 1);
    QCOMPARE(counters.restartHour, 0x09);
    QCOMPARE(counters.restartMinute, 0x07);
}

// The reply timer at its real 3000 ms: the frame is sent twice, then given up.
void TstZvxLink::restartNobodyAnswers()
{
    const auto dialer = StartDialer({"silent"});
    QCOMPARE(Run({"restart", "--port", PathOf(*dialer)}), ExitStatus::ExchangeFailed);
    QVERIFY(Run.out.isEmpty());
    QCOMPARE(Run.err, Text(ConstsZVX::RestartNoAnswer) + "\n");
    QCOMPARE(dialer->GetCounters().frames, 2);
}

void TstZvxLink::portErrors_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("read") << "read";
    QTest::newRow("write") << "write";
    QTest::newRow("restart") << "restart";
}

void TstZvxLink::portErrors()
{
    QFETCH(QString, command);
    const QString file = File("fabryczna.zvx");
    TZorvexSettings settings;
    settings.LoadDefaults();
    QCOMPARE(ConfigFile::Save(settings, file.toStdString()), ConfigFile::Success);
    QStringList args{command, "--port", "/nonexistent/ttyZVX"};
    if (command == "read")
        args << "-o" << File("nic.zvx");
    if (command == "write")
        args << file;
    QCOMPARE(Run(args), ExitStatus::PortError);
    QVERIFY2(Run.err.startsWith("Nie można otworzyć portu COM\n(port niedostępny"),
             qPrintable(Run.err));
    QVERIFY(!QFile::exists(File("nic.zvx")));
}

// The adapter pulled out after the first block: the resend at the next tick fails.
void TstZvxLink::lineLostMidRead()
{
    const auto dialer = StartDialer({"hangup-frame=2"});
    const QString file = File("urwany.zvx");
    QCOMPARE(Run({"read", "--port", PathOf(*dialer), "-o", file}), ExitStatus::PortError);
    QVERIFY2(Run.err.startsWith("Błąd funkcji WriteFile"), qPrintable(Run.err));
    // Once, with the second line that says the line has gone.
    QCOMPARE(Run.err.count('\n'), 2);
    QVERIFY2(Run.err.section('\n', 1, 1).startsWith("Połączenie z portem zostało zerwane"),
             qPrintable(Run.err));
    QVERIFY(!QFile::exists(file));
}

void TstZvxLink::comNameFromProgramSettings()
{
    const auto dialer = StartDialer();
    const QString ini = File("zorvex.ini");
    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("[Program configuration]\r\nPort=3\r\n[Port names]\r\nCOM5=") +
            dialer->SlavePath().c_str() + "\r\n");
    f.close();
    InstallPortNameLookup(ini);
    const int status = Run({"restart", "--port", "com5", "--time", "23:59"});
    TCustomComPort::SetPortNameLookup({});
    QCOMPARE(status, ExitStatus::Success);
    QCOMPARE(dialer->GetCounters().restartHour, 0x23);
}

QTEST_GUILESS_MAIN(TstZvxLink)
#include "tst_zvx_link.moc"
