// The real zvx in a child process, stopped by a signal in the middle of an exchange while
// another descriptor of the same line is held: the port must come back free, its
// terminal no longer in exclusive mode.

#include "archive/ArchiveDatabase.h"
#include "device/DialerFrames.h"
#include "tests/archive/SilentServer.h"
#include "tests/serial/PtyPair.h"
#include "tools/ExitStatus.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const QString kZvx = QStringLiteral(ZVX_BINARY_DIR "/tools/zvx");

// The terminal's exclusive flag as seen through fd; -1 when it cannot be read. Root
// opens an exclusive terminal anyway, so the flag itself is what tells.
int Exclusive(int fd)
{
    int on = 0;
    return ioctl(fd, TIOCGEXCL, &on) == 0 ? on : -1;
}

int OpenSlave(const QString& path)
{
    return ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

} // namespace

class TstZvxInterrupt : public QObject
{
    Q_OBJECT

private slots:
    void signalReleasesPort_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("name");
        QTest::newRow("Ctrl+C") << int(SIGINT) << "SIGINT";
        QTest::newRow("kill") << int(SIGTERM) << "SIGTERM";
        QTest::newRow("terminal closed") << int(SIGHUP) << "SIGHUP";
    }
    void signalReleasesPort()
    {
        QFETCH(int, signal);
        QFETCH(QString, name);
        PtyPair pty;
        QVERIFY(pty.IsValid());
        // Another holder of the line, as a program that had the device open before.
        const int held = OpenSlave(pty.SlavePath());
        QVERIFY(held >= 0);
        const auto closeHeld = qScopeGuard([held] { ::close(held); });
        QCOMPARE(Exclusive(held), 0);

        const QString output = m_dir.filePath(QStringLiteral("przerwany.zvx"));
        QProcess zvx;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path()); // its archive
        zvx.setProcessEnvironment(environment);
        zvx.start(kZvx, {"read", "--port", pty.SlavePath(), "-o", output});
        QVERIFY2(zvx.waitForStarted(), qPrintable(zvx.errorString()));
        // The first read frame on the line: the port is open, exclusively. Nobody answers,
        // so the exchange is still waiting when the signal comes.
        const QByteArray frame = DialerFrames::Read(0x40, 0x00);
        QCOMPARE(pty.Receive(int(frame.size())), frame);
        QCOMPARE(Exclusive(held), 1);

        QCOMPARE(::kill(zvx.processId(), signal), 0);
        QVERIFY(zvx.waitForFinished(20000));
        // The line is free again: no exclusive flag left behind, a fresh open works.
        QCOMPARE(Exclusive(held), 0);
        const int fresh = OpenSlave(pty.SlavePath());
        QVERIFY2(fresh >= 0, std::strerror(errno));
        ::close(fresh);
        QCOMPARE(zvx.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zvx.exitCode(), ExitStatus::Interrupted + signal);
        const QString err = QString::fromUtf8(zvx.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("Przerwano (") + name + u')'), qPrintable(err));
        QVERIFY(!QFile::exists(output));
        // The read it broke off is kept as a read that failed because of the signal.
        ArchiveDatabase archive(ArchiveDatabase::Kind::SQLite,
                                m_dir.filePath(QStringLiteral("zorvex/archiwum.sqlite")));
        QVERIFY2(archive.Open(), qPrintable(archive.Error()));
        const auto entries = archive.Find({});
        QVERIFY(entries && !entries->isEmpty());
        QCOMPARE(entries->first().event, QStringLiteral("read"));
        QVERIFY(!entries->first().succeeded);
        QCOMPARE(entries->first().outcome, QStringLiteral("Przerwano (") + name + u')');
    }

    void signalWhileWaitingOnArchive_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("name");
        QTest::newRow("Ctrl+C") << int(SIGINT) << "SIGINT";
        QTest::newRow("terminal closed") << int(SIGHUP) << "SIGHUP";
    }
    // A server that has stopped answering holds the archive's entry, not the command: a
    // signal ends the wait at once, the file saved before stays, the entry waits in the
    // queue, and the status says which signal ended it.
    void signalWhileWaitingOnArchive()
    {
        QFETCH(int, signal);
        QFETCH(QString, name);
        QTemporaryDir serverDir;
        SilentServer server(serverDir.path(), SilentServer::Mode::Mute);
        QVERIFY(server.IsValid());
        // A copy of zvx of its own, for a settings file of its own beside it.
        QTemporaryDir program(QStringLiteral(ZVX_BINARY_DIR "/zvx-settings-XXXXXX"));
        const QString zvxCopy = program.filePath(QStringLiteral("zvx"));
        QVERIFY(::link(QFile::encodeName(kZvx).constData(),
                       QFile::encodeName(zvxCopy).constData()) == 0 ||
                QFile::copy(kZvx, zvxCopy));
        QFile ini(program.filePath(QStringLiteral("zorvex.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Archive]\r\nDatabase=postgresql\r\nConnection=" + server.Target().toUtf8() +
                  "\r\n");
        ini.close();

        const QString output = m_dir.filePath(QStringLiteral("zapisany.zvx"));
        QProcess zvx;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path()); // its queue
        zvx.setProcessEnvironment(environment);
        zvx.start(zvxCopy, {"new", "-o", output});
        QVERIFY2(zvx.waitForStarted(), qPrintable(zvx.errorString()));
        QVERIFY(server.WaitForClient(20000));
        QCOMPARE(::kill(zvx.processId(), signal), 0);
        QVERIFY(zvx.waitForFinished(20000));
        QCOMPARE(zvx.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zvx.exitCode(), ExitStatus::Interrupted + signal);
        const QString err = QString::fromUtf8(zvx.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("Przerwano (") + name + u')'), qPrintable(err));
        QVERIFY(QFile::exists(output));
        ArchiveDatabase queue(ArchiveDatabase::Kind::SQLite,
                              m_dir.filePath(QStringLiteral("zorvex/kolejka.sqlite")));
        QVERIFY2(queue.Open(), qPrintable(queue.Error()));
        QVERIFY(queue.Count().value_or(0) >= 1);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TstZvxInterrupt)
#include "tst_zvx_interrupt.moc"
