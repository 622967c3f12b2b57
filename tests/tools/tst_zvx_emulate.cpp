#include "../emulator/LinePeer.h"

#include "device/ConfigFileIO.h"
#include "tests/tools/CliRun.h"
#include "tools/ExitStatus.h"

#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {
const QString kZvx = QStringLiteral(ZVX_BINARY_DIR "/tools/zvx");
const QString kFactoryFile = QStringLiteral(ZVX_TEST_DATA "/factory.zvx");
} // namespace

class TstZvxEmulate : public QObject
{
    Q_OBJECT

private slots:
    void arguments_data();
    void arguments();
    void servesFileSavesWritesAndCleansUp();

private:
    CliRun Run; // Run({...}) runs the tool; Run.out and Run.err hold what it printed
    QTemporaryDir m_dir;
};

void TstZvxEmulate::arguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errContains");
    const QString usage = QStringLiteral("zvx emulate: ");
    QTest::newRow("help") << QStringList{"emulate", "--help"} << ExitStatus::Success << "";
    QTest::newRow("unknown option")
        << QStringList{"emulate", "--bogus"} << ExitStatus::Usage << "--bogus";
    QTest::newRow("stray argument")
        << QStringList{"emulate", "--no-pacing", "extra"} << ExitStatus::Usage << "extra";
    QTest::newRow("link without path")
        << QStringList{"emulate", "--link"} << ExitStatus::Usage << usage;
    QTest::newRow("image with empty path")
        << QStringList{"emulate", "--image="} << ExitStatus::Usage << usage;
    QTest::newRow("save without path")
        << QStringList{"emulate", "--no-pacing", "--save"} << ExitStatus::Usage << usage;
    QTest::newRow("fault without name")
        << QStringList{"emulate", "--fault"} << ExitStatus::Usage << "--fault";
    QTest::newRow("unknown fault")
        << QStringList{"emulate", "--fault", "gremlins"} << ExitStatus::Usage << "gremlins";
    QTest::newRow("fault without number") << QStringList{"emulate", "--fault=silent-frame=x"}
                                          << ExitStatus::Usage << "silent-frame=x";
    QTest::newRow("missing image file")
        << QStringList{"emulate", "--image", "/nonexistent/dir/f.zvx"} << ExitStatus::FileError
        << "Błąd odczytu pliku: /nonexistent/dir/f.zvx (" +
               QString::fromLocal8Bit(std::strerror(ENOENT)) + ")";
}

void TstZvxEmulate::arguments()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, errContains);
    QCOMPARE(Run(args), status);
    QVERIFY2(Run.err.contains(errContains), qPrintable(Run.err));
    if (status == ExitStatus::Success)
        QVERIFY(Run.err.isEmpty() && Run.out.contains("--fault"));
    else
        QCOMPARE(Run.err.count('\n'), 1);
}

void TstZvxEmulate::servesFileSavesWritesAndCleansUp()
{
    const QString link = m_dir.filePath(QStringLiteral("dialer"));
    const QString saved = m_dir.filePath(QStringLiteral("saved.zvx"));
    QProcess zvx;
    zvx.start(kZvx,
              {"emulate", "--no-pacing", "--link", link, "--image", kFactoryFile, "--save", saved});
    QVERIFY2(zvx.waitForStarted(), qPrintable(zvx.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(zvx.canReadLine(), 20000);
    const QString device = QString::fromLocal8Bit(zvx.readLine()).trimmed();
    QVERIFY(device.startsWith(QLatin1String("/dev/")));
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);

    LinePeer peer(link.toStdString());
    QVERIFY(peer.IsOpen());
    ConfigFile::Bytes file{};
    QCOMPARE(ConfigFile::Read(kFactoryFile.toStdString(), file), ConfigFile::Success);
    const QByteArray image(reinterpret_cast<const char*>(file.data()) + 32, 256);
    QVERIFY(peer.Send(Frames::Read(0x40, 0x00)));
    QCOMPARE(peer.Receive(67).mid(2, 64), image.left(64));

    QByteArray written = image;
    written[200] = 0x12;
    written[0] = static_cast<char>(static_cast<std::uint8_t>(written[0]) + 0xFF - 0x12);
    for (int offset = 0; offset < 256; offset += 4) {
        QVERIFY(peer.Send(Frames::Write(offset, written.mid(offset, 4))));
        QCOMPARE(peer.Receive(1), QByteArray("\x27"));
    }
    // The file is saved before the last block is acknowledged.
    ConfigFile::Bytes savedFile{};
    QCOMPARE(ConfigFile::Read(saved.toStdString(), savedFile), ConfigFile::Success);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(savedFile.data()) + 32, 256), written);

    zvx.terminate();
    QVERIFY(zvx.waitForFinished(20000));
    QCOMPARE(zvx.exitStatus(), QProcess::NormalExit);
    QCOMPARE(zvx.exitCode(), ExitStatus::Success);
    struct stat st;
    QVERIFY(lstat(link.toLocal8Bit().constData(), &st) != 0);
    const QString log = QString::fromUtf8(zvx.readAllStandardError());
    QVERIFY2(log.contains(QLatin1String("odczyt 40@00")) &&
                 log.contains(QLatin1String("zapis 04@FC")),
             qPrintable(log));
}

QTEST_GUILESS_MAIN(TstZvxEmulate)
#include "tst_zvx_emulate.moc"
