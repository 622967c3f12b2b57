// A signal while a command runs ends it with 128 + N and releases the port: the real zvx
// in a child process, stopped at several moments of an exchange while another
// descriptor of the same line is held (the port must come back free, its terminal no
// longer in exclusive mode); and in-process, the rules that make that certain.

#include "archive/ArchiveDatabase.h"
#include "device/DialerFrames.h"
#include "tests/archive/SilentServer.h"
#include "tests/common/EngineRig.h"
#include "tests/serial/PtyPair.h"
#include "tools/CommandDocument.h"
#include "tools/ExitStatus.h"
#include "tools/InterruptWait.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kZvx = QStringLiteral(ZVX_BINARY_DIR "/tools/zvx");
constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};

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

QString Name(int signal)
{
    switch (signal) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    default:
        return QStringLiteral("SIGHUP");
    }
}

// What the dialer says to frame number index of a command: a read's 64 bytes of the
// factory image, or the acknowledgement of a write or restart frame.
QByteArray Answer(const QString& command, int index)
{
    if (command != QLatin1String("read"))
        return QByteArray(1, char(DialerFrames::Acknowledge));
    EngineRig rig;
    ExchangeEngine::Image image{};
    std::copy_n(rig.settings.Cfg.Bytes().data(), image.size(), image.begin());
    return ReadReply(image, index * DialerFrames::ReadBlockSize);
}

int FrameSize(const QString& command)
{
    if (command == QLatin1String("read"))
        return DialerFrames::ReadFrameSize;
    if (command == QLatin1String("restart"))
        return DialerFrames::RestartFrameSize;
    return DialerFrames::WriteFrameHeader + DialerFrames::WriteBlockSize + 1;
}

// Counts what reaches the handlers that were there before an InterruptWait.
std::atomic<int> g_before{0};
void CountBefore(int)
{
    ++g_before;
}

} // namespace

class TstZvxInterrupt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // In-process first: under ThreadSanitizer, once the test process has forked (the
    // children below), a signal sent to one of its threads waiting in poll no longer
    // reaches the handler.
    void signalWinsOverOutcome_data();
    void signalWinsOverOutcome();
    void signalIsNeverSwallowed_data();
    void signalIsNeverSwallowed();
    void laterThreadsLeaveSignalsPending();
    void signalReleasesPort_data();
    void signalReleasesPort();
    void signalWhileWaitingOnArchive_data();
    void signalWhileWaitingOnArchive();

private:
    QTemporaryDir m_dir;
};

void TstZvxInterrupt::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The in-process commands keep their archive and settings here, not in the user's.
    qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
}

void TstZvxInterrupt::signalReleasesPort_data()
{
    QTest::addColumn<QString>("command");
    // Frames answered in full before the signal, and whether half of the next answer
    // is on its way when it comes.
    QTest::addColumn<int>("answered");
    QTest::addColumn<bool>("halfAnswer");
    QTest::addColumn<int>("signal");
    struct Moment
    {
        const char* name;
        const char* command;
        int answered;
        bool halfAnswer;
    };
    const Moment moments[] = {
        {"read, first frame unanswered", "read", 0, false},
        {"read, half a reply in", "read", 0, true},
        {"read, last block asked", "read", 3, false},
        {"write, first frame unanswered", "write", 0, false},
        {"write, half the image written", "write", 32, false},
        {"restart, frame unanswered", "restart", 0, false},
    };
    for (const Moment& m : moments)
        for (const int signal : kSignals)
            QTest::addRow("%s, %s", m.name, qPrintable(Name(signal)))
                << QString::fromLatin1(m.command) << m.answered << m.halfAnswer << signal;
}

void TstZvxInterrupt::signalReleasesPort()
{
    QFETCH(QString, command);
    QFETCH(int, answered);
    QFETCH(bool, halfAnswer);
    QFETCH(int, signal);
    PtyPair pty;
    QVERIFY(pty.IsValid());
    // Another holder of the line, as a program that had the device open before.
    const int held = OpenSlave(pty.SlavePath());
    QVERIFY(held >= 0);
    const auto closeHeld = qScopeGuard([held] { ::close(held); });
    QCOMPARE(Exclusive(held), 0);

    const QString output = m_dir.filePath(QStringLiteral("przerwany.zvx"));
    QStringList args{command, "--port", pty.SlavePath()};
    if (command == QLatin1String("read"))
        args << "-o" << output;
    else if (command == QLatin1String("write"))
        args << QStringLiteral(ZVX_TEST_DATA "/factory.zvx");
    else
        args << "--time"
             << "12:00";
    QProcess zvx;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path()); // its archive
    zvx.setProcessEnvironment(environment);
    zvx.start(kZvx, args);
    QVERIFY2(zvx.waitForStarted(), qPrintable(zvx.errorString()));
    // The dialer's side up to the chosen moment. Nobody answers after it, so the
    // exchange is still waiting for the dialer when the signal comes.
    const int frameSize = FrameSize(command);
    for (int frame = 0; frame <= answered; ++frame) {
        QCOMPARE(pty.Receive(frameSize).size(), frameSize);
        if (frame < answered)
            QVERIFY(pty.Send(Answer(command, frame)));
    }
    QCOMPARE(Exclusive(held), 1);
    if (halfAnswer) {
        const QByteArray answer = Answer(command, answered);
        QVERIFY(pty.Send(answer.left(answer.size() / 2)));
    }

    QCOMPARE(::kill(zvx.processId(), signal), 0);
    QVERIFY(zvx.waitForFinished(20000));
    // The line is free again: no exclusive flag left behind, a fresh open works.
    QCOMPARE(Exclusive(held), 0);
    const int fresh = OpenSlave(pty.SlavePath());
    QVERIFY2(fresh >= 0, std::strerror(errno));
    ::close(fresh);
    const QString err = QString::fromUtf8(zvx.readAllStandardError());
    QCOMPARE(zvx.exitStatus(), QProcess::NormalExit);
    QVERIFY2(zvx.exitCode() == ExitStatus::Interrupted + signal, qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("Przerwano (") + Name(signal) + u')'), qPrintable(err));
    QVERIFY(!QFile::exists(output));
    // The exchange it broke off is kept as one that failed because of the signal.
    ArchiveDatabase archive(ArchiveDatabase::Kind::SQLite,
                            m_dir.filePath(QStringLiteral("zorvex/archiwum.sqlite")));
    QVERIFY2(archive.Open(), qPrintable(archive.Error()));
    const auto entries = archive.Find({});
    QVERIFY(entries && !entries->isEmpty());
    QCOMPARE(entries->first().event, command);
    QVERIFY(!entries->first().succeeded);
    QCOMPARE(entries->first().outcome, QStringLiteral("Przerwano (") + Name(signal) + u')');
}

// In-process: the exchange's own end (or the port's refusal) and a signal seen in the
// same turn of the loop. The signal wins; without one the end is the exchange's outcome.
void TstZvxInterrupt::signalWinsOverOutcome_data()
{
    QTest::addColumn<bool>("portOpens");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("status");
    QTest::newRow("ended well, SIGINT pending")
        << true << int(SIGINT) << ExitStatus::Interrupted + SIGINT;
    QTest::newRow("ended well, nothing pending") << true << 0 << int(ExitStatus::Success);
    QTest::newRow("port refused, SIGTERM pending")
        << false << int(SIGTERM) << ExitStatus::Interrupted + SIGTERM;
    QTest::newRow("port refused, nothing pending") << false << 0 << int(ExitStatus::PortError);
}

void TstZvxInterrupt::signalWinsOverOutcome()
{
    QFETCH(bool, portOpens);
    QFETCH(int, signal);
    QFETCH(int, status);
    PtyPair pty;
    QVERIFY(pty.IsValid());
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    CommandContext context{{}, outStream, errStream, 0, {}, {}};
    int got = -1;
    {
        CommandDocument command(context);
        got = command.Exchange(
            portOpens ? pty.SlavePath() : m_dir.filePath(QStringLiteral("brak")), nullptr,
            [&](ConfigDocument& document) {
                if (signal)
                    QCOMPARE(::raise(signal), 0);
                if (portOpens) // the end, noticed in this very turn
                    emit document.exchangeFinished({ConfigEvent::Read, true, false, {}});
                else
                    document.Read();
            });
    }
    errStream.flush();
    QVERIFY2(got == status, qPrintable(err));
    QCOMPARE(err.contains(QStringLiteral("Przerwano")), signal != 0);
}

// What an InterruptWait does not take reaches the handlers that come back after it, and
// a thread that ran before it (so does not block the signals) hands them on.
void TstZvxInterrupt::signalIsNeverSwallowed_data()
{
    QTest::addColumn<QList<int>>("raised");  // on this thread, in this order
    QTest::addColumn<int>("onOldThread");    // sent to a thread started before, or 0
    QTest::addColumn<bool>("take");          // Caught() before the object goes
    QTest::addColumn<int>("caught");         // what Caught() gives
    QTest::addColumn<int>("deliveredAfter"); // to the previous handlers
    QTest::newRow("taken") << QList<int>{SIGTERM} << 0 << true << int(SIGTERM) << 0;
    QTest::newRow("left pending") << QList<int>{SIGTERM} << 0 << false << 0 << 1;
    QTest::newRow("second of two") << QList<int>{SIGHUP, SIGINT} << 0 << true << int(SIGHUP) << 1;
    QTest::newRow("on a thread that ran before")
        << QList<int>{} << int(SIGINT) << true << int(SIGINT) << 0;
}

void TstZvxInterrupt::signalIsNeverSwallowed()
{
    QFETCH(QList<int>, raised);
    QFETCH(int, onOldThread);
    QFETCH(bool, take);
    QFETCH(int, caught);
    QFETCH(int, deliveredAfter);
    struct sigaction counting = {};
    counting.sa_handler = CountBefore;
    sigemptyset(&counting.sa_mask);
    struct sigaction saved[3];
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &counting, &saved[i]);
    const auto restore = qScopeGuard([&saved] {
        for (int i = 0; i < 3; ++i)
            sigaction(kSignals[i], &saved[i], nullptr);
    });
    g_before = 0;
    // A thread that blocks nothing, waiting in poll until told to end. It says it is
    // ready after a first poll: ThreadSanitizer's runtime loses a signal that lands while
    // a thread makes its first blocking call.
    int stop[2];
    int ready[2];
    QCOMPARE(pipe2(stop, O_CLOEXEC), 0);
    QCOMPARE(pipe2(ready, O_CLOEXEC), 0);
    std::thread old([fd = stop[0], readyFd = ready[1]] {
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 0);
        [[maybe_unused]] const ssize_t n = ::write(readyFd, "r", 1);
        while (poll(&p, 1, -1) < 0 && errno == EINTR) {
        }
    });
    char byte = 0;
    QCOMPARE(::read(ready[0], &byte, 1), ssize_t(1));
    const auto endOld = qScopeGuard([&] {
        QCOMPARE(::write(stop[1], "x", 1), 1);
        old.join();
        for (const int fd : {stop[0], stop[1], ready[0], ready[1]})
            ::close(fd);
    });
    {
        InterruptWait wait;
        for (const int signal : raised)
            QCOMPARE(::raise(signal), 0);
        if (onOldThread) {
            QCOMPARE(pthread_kill(old.native_handle(), onOldThread), 0);
            // Handed on from the other thread: it arrives when that thread has run.
            QTRY_COMPARE_WITH_TIMEOUT(wait.Caught(), caught, 10000);
        }
        if (take)
            QCOMPARE(wait.Caught(), caught);
        QCOMPARE(g_before.load(), 0);
    }
    QTRY_COMPARE_WITH_TIMEOUT(g_before.load(), deliveredAfter, 10000);
}

// The port's monitor and the emulated dialer start their threads while the object
// exists: the signals must stay blocked there, for the owner to take.
void TstZvxInterrupt::laterThreadsLeaveSignalsPending()
{
    InterruptWait wait;
    sigset_t mask;
    sigemptyset(&mask);
    std::thread([&mask] { pthread_sigmask(SIG_BLOCK, nullptr, &mask); }).join();
    for (const int signal : kSignals)
        QVERIFY2(sigismember(&mask, signal) == 1, qPrintable(Name(signal)));
}

void TstZvxInterrupt::signalWhileWaitingOnArchive_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("name");
    QTest::newRow("Ctrl+C") << int(SIGINT) << "SIGINT";
    QTest::newRow("terminal closed") << int(SIGHUP) << "SIGHUP";
}
// A server that has stopped answering holds the archive's entry, not the command: a
// signal ends the wait at once, the file saved before stays, the entry waits in the
// queue, and the status says which signal ended it.
void TstZvxInterrupt::signalWhileWaitingOnArchive()
{
    QFETCH(int, signal);
    QFETCH(QString, name);
    QTemporaryDir serverDir;
    SilentServer server(serverDir.path(), SilentServer::Mode::Mute);
    QVERIFY(server.IsValid());
    // A copy of zvx of its own, for a settings file of its own beside it.
    QTemporaryDir program(QStringLiteral(ZVX_BINARY_DIR "/zvx-settings-XXXXXX"));
    const QString zvxCopy = program.filePath(QStringLiteral("zvx"));
    QVERIFY(::link(QFile::encodeName(kZvx).constData(), QFile::encodeName(zvxCopy).constData()) ==
                0 ||
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

QTEST_GUILESS_MAIN(TstZvxInterrupt)
#include "tst_zvx_interrupt.moc"
