// The event monitor on pseudo-terminal pairs: what reaches the handlers, in which order,
// on which thread; Close meeting a delivery; the line going away.

#include "PtyPair.h"

#include "model/ErrorSink.h"
#include "serial/CPort.h"

#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {

// Collects what reaches the program's error guard, and on which thread.
class ErrorCollector
{
public:
    ErrorCollector()
    {
        m_previous = ErrorSink::Install([this](std::exception_ptr error) {
            onOwner = onOwner && QThread::currentThread() == qApp->thread();
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                messages << QString::fromUtf8(e.what());
            }
        });
    }
    ~ErrorCollector() { ErrorSink::Install(m_previous); }

    QStringList messages;
    bool onOwner = true;

private:
    ErrorSink::Handler m_previous;
};

// A port on a fresh pseudo-terminal that logs its line events and reads what arrives.
class EventPort : public TComPort
{
public:
    explicit EventPort(const PtyPair& pty, bool readOnRxChar = true)
    {
        SetPort(pty.SlavePath());
        SetBaudRate(br1339);
        OnRxChar = [this, readOnRxChar](TCustomComPort*, int count) {
            onOwner = onOwner && QThread::currentThread() == qApp->thread();
            ++rxCalls;
            log << QStringLiteral("rx:%1").arg(count);
            if (readOnRxChar) {
                QByteArray chunk;
                ReadText(chunk, count);
                received += chunk;
            }
            if (inRxChar)
                inRxChar(count);
        };
        OnTxEmpty = [this](TCustomComPort*) { log << "tx"; };
        OnRx80Full = [this](TCustomComPort*) { log << "rx80"; };
        OnClose = [this](TCustomComPort*) { log << "close"; };
    }

    std::function<void(int count)> inRxChar;
    QStringList log;
    QByteArray received;
    std::atomic<int> rxCalls{0};
    bool onOwner = true;
};

// Waits, without running the event loop, until a monitor has handed a word over.
bool WaitForHandOver(std::uint64_t before)
{
    QDeadlineTimer limit(10000);
    while (TComThread::HandOvers() == before) {
        if (limit.hasExpired())
            return false;
        QThread::yieldCurrentThread();
    }
    return true;
}

// Waits until the bytes sent by the far end are in the terminal's receive queue.
bool WaitUntilArrived(const QString& slavePath)
{
    const int fd = ::open(slavePath.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    pollfd p{fd, POLLIN, 0};
    const bool arrived = fd >= 0 && poll(&p, 1, 10000) == 1;
    if (fd >= 0)
        ::close(fd);
    return arrived;
}

} // namespace

class TestCPortEvents : public QObject
{
    Q_OBJECT

private slots:
    void rxCharOnOwnerThread();
    void arrivalAlreadyReadRaisesNothing();
    void bytesBeforeTransmitEmptyInOneWakeup();
    void receiveQueueEightyPercentFull();
    void closeDiscardsUnreadBytes();

    void closeCarriesOutPendingDelivery();
    void closeFromInsideHandler();
    void handlerExceptionReportedOnce();

    void unplugWhileIdle();
    void unplugDuringWrite();
    void unplugInsideHandler();

    void syncNoneRunsOnMonitor();
    void windowSyncRunsOnOwner();
};

void TestCPortEvents::rxCharOnOwnerThread()
{
    PtyPair pty;
    EventPort port(pty);
    const int threads = ThreadCount();
    port.Open();
    QCOMPARE(ThreadCount(), threads + 1); // one monitor thread

    QVERIFY(pty.Send("hello"));
    QTRY_COMPARE(port.received, QByteArray("hello"));
    QVERIFY(pty.Send(QByteArray("\0\r\n\x11\x13\xff", 6)));
    QTRY_COMPARE(port.received.size(), 11);
    QCOMPARE(port.received.mid(5), QByteArray("\0\r\n\x11\x13\xff", 6));
    QVERIFY(port.onOwner);

    port.Close();
    QCOMPARE(ThreadCount(), threads);
}

void TestCPortEvents::arrivalAlreadyReadRaisesNothing()
{
    PtyPair pty;
    EventPort port(pty, false);
    port.inRxChar = [&](int) {
        if (port.rxCalls == 1) {
            // More arrives while this handler runs; it reads everything itself.
            pty.Send("b");
            WaitUntilArrived(pty.SlavePath());
            QByteArray all;
            port.ReadText(all, 10);
            port.received += all;
        } else {
            QByteArray rest;
            port.ReadText(rest, 10);
            port.received += rest;
        }
    };
    port.Open();
    QVERIFY(pty.Send("a"));
    QTRY_COMPARE(port.received, QByteArray("ab"));
    // The wakeup for "b" finds nothing waiting; the next arrival is the next call.
    QVERIFY(pty.Send("c"));
    QTRY_COMPARE(port.received, QByteArray("abc"));
    QCOMPARE(port.rxCalls.load(), 2);
}

void TestCPortEvents::bytesBeforeTransmitEmptyInOneWakeup()
{
    PtyPair pty;
    EventPort port(pty);
    port.inRxChar = [&](int) {
        if (port.rxCalls != 1)
            return;
        // While the monitor waits for this handler, bytes arrive and a write empties
        // the transmit queue: the next wakeup sees both.
        pty.Send("2");
        WaitUntilArrived(pty.SlavePath());
        port.WriteText("w");
    };
    port.Open();
    QVERIFY(pty.Send("1"));
    QTRY_COMPARE(port.log.size(), 3);
    QCOMPARE(port.log, QStringList({"rx:1", "rx:1", "tx"}));
    QCOMPARE(port.received, QByteArray("12"));
    QCOMPARE(pty.Receive(1), QByteArray("w"));
}

void TestCPortEvents::receiveQueueEightyPercentFull()
{
    PtyPair pty;
    EventPort port(pty, false);
    port.Buffer().SetInputSize(100);
    port.Open();
    QVERIFY(pty.Send(QByteArray(90, 'x')));
    QTRY_VERIFY(port.log.contains("rx80"));
    QCOMPARE(port.log.count("rx80"), 1);
    // Bytes come first in the word that crosses the mark.
    const int at = int(port.log.indexOf("rx80"));
    QVERIFY(at > 0 && port.log.at(at - 1).startsWith("rx:"));
}

void TestCPortEvents::closeDiscardsUnreadBytes()
{
    PtyPair pty;
    EventPort port(pty, false);
    port.Open();
    QVERIFY(pty.Send("old"));
    QTRY_COMPARE(port.rxCalls.load(), 1);
    port.Close();

    port.Open();
    QVERIFY(pty.Send("N"));
    QTRY_COMPARE(port.rxCalls.load(), 2);
    QCOMPARE(port.log.last(), QString("rx:1"));
    QByteArray text;
    QCOMPARE(port.ReadText(text, 10), 1);
    QCOMPARE(text, QByteArray("N"));
}

void TestCPortEvents::closeCarriesOutPendingDelivery()
{
    PtyPair pty;
    EventPort port(pty);
    for (int round = 0; round < 200; ++round) {
        port.log.clear();
        port.received.clear();
        port.Open();
        const std::uint64_t before = TComThread::HandOvers();
        QVERIFY(pty.Send("x"));
        QVERIFY(WaitForHandOver(before));
        // The monitor now waits for this thread; Close must run the delivery itself.
        port.Close();
        QCOMPARE(port.log, QStringList({"rx:1", "close"}));
        QCOMPARE(port.received, QByteArray("x"));
        // The queued call left behind finds nothing to do.
        QCoreApplication::processEvents();
        QCOMPARE(port.log.size(), 2);
    }
}

void TestCPortEvents::closeFromInsideHandler()
{
    PtyPair pty;
    EventPort port(pty);
    const int threads = ThreadCount();
    port.inRxChar = [&](int) { port.Close(); };
    port.Open();
    QVERIFY(pty.Send("x"));
    QTRY_VERIFY(!port.Connected());
    QCOMPARE(port.log, QStringList({"rx:1", "close"}));
    QCOMPARE(ThreadCount(), threads);

    port.inRxChar = nullptr;
    port.Open();
    QVERIFY(pty.Send("y"));
    QTRY_COMPARE(port.received, QByteArray("xy"));
}

void TestCPortEvents::handlerExceptionReportedOnce()
{
    ErrorCollector errors;
    PtyPair pty;
    EventPort port(pty);
    port.inRxChar = [&](int) {
        if (port.rxCalls == 1)
            throw std::runtime_error("handler failed");
    };
    port.Open();
    QVERIFY(pty.Send("a"));
    QTRY_COMPARE(errors.messages, QStringList({"handler failed"}));
    QVERIFY(errors.onOwner);
    // The monitor goes on.
    QVERIFY(pty.Send("b"));
    QTRY_COMPARE(port.received, QByteArray("ab"));
    QCOMPARE(errors.messages.size(), 1);
}

void TestCPortEvents::unplugWhileIdle()
{
    ErrorCollector errors;
    PtyPair pty;
    EventPort port(pty);
    const int threads = ThreadCount();
    port.Open();
    QCOMPARE(ThreadCount(), threads + 1);

    pty.CloseMaster();
    QTRY_COMPARE(ThreadCount(), threads); // the monitor has ended, not spinning
    QVERIFY(port.Connected());
    try {
        port.WriteText("x");
        QFAIL("wrote on a line that has gone");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 2);
        QCOMPARE(e.WinCode(), EIO);
        // The user reads what happened, not only the failed call.
        QCOMPARE(QString::fromStdString(e.Message()),
                 QStringLiteral("Błąd funkcji WriteFile (win error code: 5)\rPołączenie z portem "
                                "zostało zerwane (odłączona przejściówka USB?). Podłącz ją i "
                                "powtórz operację."));
    }
    try {
        QByteArray text;
        port.ReadText(text, 1);
        QFAIL("read on a line that has gone");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 3);
        QCOMPARE(e.WinCode(), EIO);
        QVERIFY(QString::fromStdString(e.Message())
                    .startsWith(QStringLiteral("Błąd funkcji ReadFile (win error code: 5)\rPołą")));
    }
    port.Close();
    QVERIFY(!port.Connected());
    QCOMPARE(port.log, QStringList({"close"}));
    QCOMPARE(errors.messages, QStringList());

    // The device is back (a new line under the same name).
    PtyPair back;
    qputenv("ZVX_COM9", back.SlavePath().toLocal8Bit());
    port.SetPort("COM9");
    port.Open();
    QVERIFY(back.Send("z"));
    QTRY_COMPARE(port.received, QByteArray("z"));
    qunsetenv("ZVX_COM9");
}

void TestCPortEvents::unplugDuringWrite()
{
    PtyPair pty;
    EventPort port(pty);
    port.Open();
    const int threads = ThreadCount();
    // The far end takes a little of a long write, then goes away.
    std::thread farEnd([&pty] {
        pty.Receive(1000);
        pty.CloseMaster();
    });
    try {
        port.WriteText(QByteArray(4 * 1024 * 1024, 'w'));
        farEnd.join();
        QFAIL("a write outlived its line");
    } catch (const EComPort& e) {
        farEnd.join();
        QCOMPARE(e.Code(), 2);
        QCOMPARE(e.WinCode(), EIO);
    }
    QTRY_COMPARE(ThreadCount(), threads - 1);
    port.Close();
    QVERIFY(!port.Connected());
}

void TestCPortEvents::unplugInsideHandler()
{
    ErrorCollector errors;
    PtyPair pty;
    EventPort port(pty, false);
    const int threads = ThreadCount();
    port.inRxChar = [&](int) {
        pty.CloseMaster();
        QByteArray text;
        port.ReadText(text, 10);
    };
    port.Open();
    QVERIFY(pty.Send("x"));
    QTRY_COMPARE(errors.messages.size(), 1);
    QVERIFY(errors.messages.first().startsWith(QString::fromUtf8("Błąd funkcji ReadFile")));
    QTRY_COMPARE(ThreadCount(), threads);
    port.Close();
    QVERIFY(!port.Connected());
}

void TestCPortEvents::syncNoneRunsOnMonitor()
{
    ErrorCollector errors;
    PtyPair pty;
    TComPort port;
    port.SetPort(pty.SlavePath());
    port.SetSyncMethod(smNone);
    std::atomic<int> calls{0};
    std::atomic<bool> onMonitor{true};
    port.OnRxChar = [&](TCustomComPort*, int) {
        onMonitor = onMonitor && QThread::currentThread() != qApp->thread();
        if (++calls == 1)
            throw std::runtime_error("from the monitor");
    };
    port.Open();
    QVERIFY(pty.Send("a"));
    QTRY_COMPARE(errors.messages, QStringList({"from the monitor"}));
    QVERIFY(errors.onOwner); // reported on the owning thread, not where it was raised
    QVERIFY(onMonitor);
    port.Close();
}

void TestCPortEvents::windowSyncRunsOnOwner()
{
    PtyPair pty;
    EventPort port(pty);
    port.SetSyncMethod(smWindowSync);
    port.Open();
    QVERIFY(pty.Send("abc"));
    QTRY_COMPARE(port.received, QByteArray("abc"));
    QVERIFY(port.onOwner);
}

QTEST_GUILESS_MAIN(TestCPortEvents)
#include "tst_cport_events.moc"
