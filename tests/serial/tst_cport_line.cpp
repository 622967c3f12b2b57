// Opening, closing and the line itself, on pseudo-terminal pairs: notifications and
// their order, the exact rate, the raw line, text transfer, exclusive use, failures.

#include "CountingPort.h"
#include "PtyPair.h"

#include "resources/ConstsZVX.h"
#include "serial/PosixTermios2.h"

#include <QtTest>

#include <fcntl.h>
#include <functional>
#include <termios.h>
#include <unistd.h>

namespace {

const QStringList OpenLog = {"open", "cts:0", "dsr:0", "rlsd:0"};
const QStringList CloseLog = {"cts:0", "dsr:0", "rlsd:0", "close"};

QString OpenMessage(int winCode)
{
    return QString::fromUtf8(ConstsZVX::ComPortErrors[1]) +
           QStringLiteral(" (win error code: %1)").arg(winCode);
}

// The dialer's line, as the dialer link sets it.
void SetDialerLine(TComPort& port)
{
    port.SetBaudRate(br1339);
    port.SetDataBits(dbEight);
    port.SetStopBits(sbOneStopBit);
    port.Parity().SetBits(prNone);
    port.FlowControl().SetFlowControl(fcNone);
    port.Timeouts().SetReadInterval(-1);
}

// A descriptor of the slave held by the test, opened before the port takes it, to look
// at the settings the port put on the terminal.
class SlaveView
{
public:
    explicit SlaveView(const QString& path)
        : m_fd(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {}
    ~SlaveView()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    std::uint32_t Rate() const
    {
        std::uint32_t out = 0;
        std::uint32_t in = 0;
        return PosixTermios2::ReadRates(m_fd, out, in) == 0 && in == out ? out : 0;
    }

    // The control flags the terminal holds now; 0 when they cannot be read. A
    // pseudo-terminal always reports 8 bits without parity enabled, but keeps PARODD,
    // CMSPAR, CSTOPB and CRTSCTS as set.
    tcflag_t ControlFlags() const
    {
        termios t{};
        return tcgetattr(m_fd, &t) == 0 ? t.c_cflag : 0;
    }

private:
    int m_fd;
};

} // namespace

class TestCPortLine : public QObject
{
    Q_OBJECT

private slots:
    void notifications_data();
    void notifications();
    void portChangeWhileOpen();
    void portNameThroughEnvironmentAndLookup();

    void rateReadBack_data();
    void rateReadBack();
    void rateSetWhileClosedTouchesNothing();
    void framingReachesTheLine_data();
    void framingReachesTheLine();

    void everyByteBothWays();
    void readReturnsWhatIsWaiting_data();
    void readReturnsWhatIsWaiting();
    void discardNullDropsZeroBytes();
    void writeStopsAtItsTimeout();

    void exclusiveUse();
    void missingDevice();
    void notATerminal();
    void failedApplyLeavesPortClosed();
    void syncMethodRefusedWhileOpen();
    void transfersOnClosedPort();
};

void TestCPortLine::notifications_data()
{
    QTest::addColumn<std::function<void(TComPort&)>>("action");
    QTest::addColumn<QStringList>("log");
    using F = std::function<void(TComPort&)>;
    QTest::newRow("open") << F([](TComPort& p) { p.Open(); }) << OpenLog;
    QTest::newRow("open, close") << F([](TComPort& p) {
        p.Open();
        p.Close();
    }) << OpenLog + CloseLog;
    QTest::newRow("second open does nothing") << F([](TComPort& p) {
        p.Open();
        p.Open();
    }) << OpenLog;
    QTest::newRow("close on closed port does nothing")
        << F([](TComPort& p) { p.Close(); }) << QStringList();
    QTest::newRow("connected property") << F([](TComPort& p) {
        p.SetConnected(true);
        p.SetConnected(true);
        p.SetConnected(false);
        p.SetConnected(false);
    }) << OpenLog + CloseLog;
    QTest::newRow("no events: no monitor, same notifications") << F([](TComPort& p) {
        p.SetEvents({});
        const int threads = ThreadCount();
        p.Open();
        QCOMPARE(ThreadCount(), threads);
        p.Close();
    }) << OpenLog + CloseLog;
}

void TestCPortLine::notifications()
{
    QFETCH(std::function<void(TComPort&)>, action);
    QFETCH(QStringList, log);
    PtyPair pty;
    QVERIFY(pty.IsValid());
    CountingPort port;
    port.SetPort(pty.SlavePath());
    action(port);
    QCOMPARE(port.log, log);
}

void TestCPortLine::portChangeWhileOpen()
{
    PtyPair first;
    PtyPair second;
    qputenv("ZVX_COM2", first.SlavePath().toLocal8Bit());
    qputenv("ZVX_COM3", second.SlavePath().toLocal8Bit());
    CountingPort port;
    port.SetPort("COM2");
    port.Open();
    port.Reset();

    port.SetPort("COM2");
    QCOMPARE(port.log, QStringList());

    port.SetPort("com3");
    QCOMPARE(port.Port(), QString("COM3"));
    QCOMPARE(port.log, CloseLog + OpenLog);
    QVERIFY(port.Connected());
    // The port is really on the second line now.
    QCOMPARE(port.WriteText("3"), 1);
    QCOMPARE(second.Receive(1), QByteArray("3"));
    qunsetenv("ZVX_COM2");
    qunsetenv("ZVX_COM3");
}

void TestCPortLine::portNameThroughEnvironmentAndLookup()
{
    PtyPair byEnvironment;
    PtyPair byLookup;
    qputenv("ZVX_COM7", byEnvironment.SlavePath().toLocal8Bit());
    TComPort port;
    port.SetPort("COM7");
    port.Open();
    port.WriteText("e");
    QCOMPARE(byEnvironment.Receive(1), QByteArray("e"));
    port.Close();

    const QString lookedUp = byLookup.SlavePath();
    TCustomComPort::SetPortNameLookup(
        [lookedUp](const QString& com) { return com == "COM7" ? lookedUp : QString(); });
    port.Open();
    port.WriteText("l");
    QCOMPARE(byLookup.Receive(1), QByteArray("l"));
    port.Close();
    TCustomComPort::SetPortNameLookup({});
    qunsetenv("ZVX_COM7");
}

void TestCPortLine::rateReadBack_data()
{
    QTest::addColumn<int>("rate");
    for (int i = 0; i <= int(br1339); ++i)
        QTest::addRow("%d", BaudRateValue(TBaudRate(i))) << i;
}

void TestCPortLine::rateReadBack()
{
    QFETCH(int, rate);
    PtyPair pty;
    SlaveView view(pty.SlavePath());
    TComPort port;
    port.SetPort(pty.SlavePath());
    SetDialerLine(port);
    port.Open();
    QCOMPARE(view.Rate(), 1339u);
    port.SetBaudRate(TBaudRate(rate)); // re-applied while open
    QCOMPARE(view.Rate(), std::uint32_t(BaudRateValue(TBaudRate(rate))));
}

void TestCPortLine::rateSetWhileClosedTouchesNothing()
{
    PtyPair pty;
    SlaveView view(pty.SlavePath());
    TComPort port;
    port.SetPort(pty.SlavePath());
    port.SetBaudRate(br1339);
    port.Open();
    port.Close();
    port.SetBaudRate(br300);
    QCOMPARE(view.Rate(), 1339u);
    port.Open();
    QCOMPARE(view.Rate(), 300u);
}

void TestCPortLine::framingReachesTheLine_data()
{
    QTest::addColumn<int>("parity");   // TParityBits
    QTest::addColumn<int>("stopBits"); // TStopBits
    QTest::addColumn<int>("rts");      // TRTSFlowControl
    QTest::addColumn<int>("flags");    // of PARODD | CMSPAR | CSTOPB | CRTSCTS

    QTest::newRow("dialer line") << int(prNone) << int(sbOneStopBit) << int(rtsDisable) << 0;
    QTest::newRow("odd") << int(prOdd) << int(sbOneStopBit) << int(rtsDisable) << int(PARODD);
    QTest::newRow("even") << int(prEven) << int(sbOneStopBit) << int(rtsDisable) << 0;
    QTest::newRow("mark") << int(prMark) << int(sbOneStopBit) << int(rtsDisable)
                          << int(PARODD | CMSPAR);
    QTest::newRow("space") << int(prSpace) << int(sbOneStopBit) << int(rtsDisable) << int(CMSPAR);
    QTest::newRow("two stop bits")
        << int(prNone) << int(sbTwoStopBits) << int(rtsDisable) << int(CSTOPB);
    QTest::newRow("one and a half")
        << int(prNone) << int(sbOne5StopBits) << int(rtsDisable) << int(CSTOPB);
    QTest::newRow("RTS handshake")
        << int(prNone) << int(sbOneStopBit) << int(rtsHandshake) << int(CRTSCTS);
    QTest::newRow("RTS held on") << int(prNone) << int(sbOneStopBit) << int(rtsEnable) << 0;
    QTest::newRow("RTS toggle") << int(prNone) << int(sbOneStopBit) << int(rtsToggle) << 0;
}

void TestCPortLine::framingReachesTheLine()
{
    QFETCH(int, parity);
    QFETCH(int, stopBits);
    QFETCH(int, rts);
    QFETCH(int, flags);
    PtyPair pty;
    SlaveView view(pty.SlavePath());
    TComPort port;
    port.SetPort(pty.SlavePath());
    SetDialerLine(port);
    port.Open();
    port.Parity().SetBits(TParityBits(parity));
    port.SetStopBits(TStopBits(stopBits));
    port.FlowControl().SetControlRTS(TRTSFlowControl(rts));
    const tcflag_t watched = PARODD | CMSPAR | CSTOPB | CRTSCTS;
    QCOMPARE(int(view.ControlFlags() & watched), flags);
    QCOMPARE(view.Rate(), 1339u);
}

void TestCPortLine::everyByteBothWays()
{
    PtyPair pty;
    TComPort port;
    port.SetPort(pty.SlavePath());
    SetDialerLine(port);
    port.SetEvents({});
    port.Open();

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    // Twice, so CR LF and XON/XOFF pairs and every byte after every other show up.
    const QByteArray text = all + all;

    QCOMPARE(port.WriteText(text), text.size());
    QCOMPARE(pty.Receive(text.size()), text);

    QVERIFY(pty.Send(text));
    QByteArray received;
    QDeadlineTimer limit(10000);
    while (received.size() < text.size() && !limit.hasExpired()) {
        QByteArray chunk;
        port.ReadText(chunk, text.size() - int(received.size()));
        received += chunk;
    }
    QCOMPARE(received, text);
}

void TestCPortLine::readReturnsWhatIsWaiting_data()
{
    QTest::addColumn<QByteArray>("waiting");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QByteArray>("read");
    QTest::newRow("fewer waiting than asked") << QByteArray("ab") << 5 << QByteArray("ab");
    QTest::newRow("none waiting") << QByteArray() << 5 << QByteArray();
    QTest::newRow("more waiting than asked") << QByteArray("abcdefg") << 5 << QByteArray("abcde");
    QTest::newRow("zero asked") << QByteArray("ab") << 0 << QByteArray();
}

void TestCPortLine::readReturnsWhatIsWaiting()
{
    QFETCH(QByteArray, waiting);
    QFETCH(int, asked);
    QFETCH(QByteArray, read);
    PtyPair pty;
    TComPort port;
    port.SetPort(pty.SlavePath());
    SetDialerLine(port);
    port.SetEvents({});
    port.Open();
    if (!waiting.isEmpty())
        QVERIFY(pty.Send(waiting));
    QByteArray text("stale");
    QCOMPARE(port.ReadText(text, asked), int(read.size()));
    QCOMPARE(text, read);
}

void TestCPortLine::discardNullDropsZeroBytes()
{
    PtyPair pty;
    TComPort port;
    port.SetPort(pty.SlavePath());
    port.SetEvents({});
    port.SetDiscardNull(true);
    port.Open();
    QVERIFY(pty.Send(QByteArray("a\0b\0", 4)));
    QByteArray text;
    QCOMPARE(port.ReadText(text, 10), 2);
    QCOMPARE(text, QByteArray("ab"));
}

void TestCPortLine::writeStopsAtItsTimeout()
{
    PtyPair pty;
    TComPort port;
    port.SetPort(pty.SlavePath());
    port.SetEvents({});
    port.Timeouts().SetWriteTotalMultiplier(0);
    port.Timeouts().SetWriteTotalConstant(20);
    port.Open();
    // Nobody reads the far end: the terminal's buffers fill up long before this.
    const QByteArray text(4 * 1024 * 1024, 'x');
    const int written = port.WriteText(text);
    QVERIFY(written > 0);
    QVERIFY(written < text.size());
}

void TestCPortLine::exclusiveUse()
{
    PtyPair pty;
    CountingPort first;
    first.SetPort(pty.SlavePath());
    first.Open();

    CountingPort second;
    second.SetPort(pty.SlavePath());
    try {
        second.Open();
        QFAIL("a second port opened the same device");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 1);
        QVERIFY(e.WinCode() > 0); // EBUSY, or EWOULDBLOCK from the lock when root
        QCOMPARE(QString::fromStdString(e.Message()), OpenMessage(e.WinCode()));
    }
    QVERIFY(!second.Connected());
    QCOMPARE(second.log, QStringList());

    // The first port is untouched, and the device is free again once it closes.
    QCOMPARE(first.WriteText("1"), 1);
    QCOMPARE(pty.Receive(1), QByteArray("1"));
    first.Close();
    second.Open();
    QVERIFY(second.Connected());
}

void TestCPortLine::missingDevice()
{
    CountingPort port;
    port.SetPort("/dev/zvx-no-such-port");
    const int threads = ThreadCount();
    try {
        port.Open();
        QFAIL("opened a missing device");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 1);
        QCOMPARE(e.WinCode(), ENOENT);
        QCOMPARE(QString::fromStdString(e.Message()), OpenMessage(ENOENT));
    }
    QVERIFY(!port.Connected());
    QCOMPARE(ThreadCount(), threads);
    QCOMPARE(port.log, QStringList());
    port.Close(); // closed: nothing happens
    QCOMPARE(port.log, QStringList());
}

void TestCPortLine::notATerminal()
{
    CountingPort port;
    port.SetPort("/dev/null");
    try {
        port.Open();
        QFAIL("opened a device that is no terminal");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 1);
        QCOMPARE(e.WinCode(), ENOTTY);
    }
    QVERIFY(!port.Connected());
}

void TestCPortLine::failedApplyLeavesPortClosed()
{
    PtyPair pty;
    CountingPort port;
    port.SetPort(pty.SlavePath());
    port.Buffer().SetInputSize(0); // only stored while closed
    const int threads = ThreadCount();
    try {
        port.Open();
        QFAIL("opened with a queue size the port refuses");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 9);
        QCOMPARE(e.WinCode(), EINVAL);
    }
    QVERIFY(!port.Connected());
    QCOMPARE(ThreadCount(), threads);
    QCOMPARE(port.log, QStringList());
    // No handle was left behind: another port takes the device.
    TComPort other;
    other.SetPort(pty.SlavePath());
    other.Open();
    QVERIFY(other.Connected());
}

void TestCPortLine::syncMethodRefusedWhileOpen()
{
    PtyPair pty;
    TComPort port;
    port.SetPort(pty.SlavePath());
    port.Open();
    port.SetSyncMethod(smThreadSync); // its current value: nothing
    try {
        port.SetSyncMethod(smNone);
        QFAIL("SyncMethod changed while open");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 14);
        QCOMPARE(e.WinCode(), -1);
        QCOMPARE(QString::fromStdString(e.Message()),
                 QString::fromUtf8("Nie można wywołać SyncMethod dopóki trwa połączenie"));
    }
    QCOMPARE(port.SyncMethod(), smThreadSync);
}

void TestCPortLine::transfersOnClosedPort()
{
    TComPort port;
    QByteArray text;
    try {
        port.WriteText("x");
        QFAIL("wrote on a closed port");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 2);
    }
    try {
        port.ReadText(text, 1);
        QFAIL("read on a closed port");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), 3);
    }
}

QTEST_GUILESS_MAIN(TestCPortLine)
#include "tst_cport_line.moc"
