// The Windows backend's own logic on any system, through a fake of the Windows calls:
// the line record and time-outs it hands over, the port's errors where a call fails,
// the outcomes of transfers, and the monitor's wait.

#include "FakeWin32Api.h"

#include "resources/ConstsZVX.h"
#include "serial/ComBackendWin32.h"
#include "serial/EComPort.h"
#include "serial/TCustomComPort.h"
#include "serial/Win32Errors.h"
#include "serial/Win32EventWaiter.h"

#include <QtTest>

#include <functional>

namespace {

// A port on the Windows backend over a fake, without an event monitor.
class Win32Port : public TCustomComPort
{
public:
    explicit Win32Port(FakeWin32Api& api) : TCustomComPort(std::make_unique<ComBackendWin32>(api))
    {
        SetEvents(TComEvents());
    }
};

// The record in one line, its fields in their order.
QString Describe(const DCB& d)
{
    return QString::asprintf(
        "%u bit/s %u-%u-%u bin%u par%u cts%u dsr%u dtr%u dsrs%u txc%u outx%u inx%u errc%u "
        "null%u rts%u abort%u lim%u/%u xon%d/%d err%d evt%d",
        d.BaudRate, d.ByteSize, d.Parity, d.StopBits, d.fBinary, d.fParity, d.fOutxCtsFlow,
        d.fOutxDsrFlow, d.fDtrControl, d.fDsrSensitivity, d.fTXContinueOnXoff, d.fOutX, d.fInX,
        d.fErrorChar, d.fNull, d.fRtsControl, d.fAbortOnError, d.XonLim, d.XoffLim, d.XonChar,
        d.XoffChar, d.ErrorChar, d.EvtChar);
}

// The port's message for a code and a Windows error, as the user reads it.
QString Message(int code, int winCode)
{
    return QString::fromStdString(EComPort::MessageFor(code, winCode));
}

using Setup = std::function<void(TCustomComPort&)>;

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(FakeWin32Api::Step)

class TestWin32Backend : public QObject
{
    Q_OBJECT

private slots:
    void lineRecord_data();
    void lineRecord();
    void timeouts_data();
    void timeouts();
    void failingCalls_data();
    void failingCalls();
    void deviceNames_data();
    void deviceNames();
    void openProblems_data();
    void openProblems();
    void transfers_data();
    void transfers();
    void lineErrorsSurviveACountRead();
    void monitorWait_data();
    void monitorWait();
};

void TestWin32Backend::lineRecord_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("dcb");
    const QString rest = QStringLiteral(" lim256/256 xon17/19 err0 evt0");
    QTest::newRow("the dialer's line")
        << Setup([](TCustomComPort& p) { p.SetBaudRate(br1339); })
        << "1339 bit/s 8-0-0 bin1 par0 cts0 dsr0 dtr0 dsrs0 txc0 outx0 inx0 errc0 null0 rts0 "
           "abort0" +
               rest;
    QTest::newRow("hardware flow")
        << Setup([](TCustomComPort& p) { p.FlowControl().SetFlowControl(fcHardware); })
        << "9600 bit/s 8-0-0 bin1 par0 cts1 dsr0 dtr0 dsrs0 txc0 outx0 inx0 errc0 null0 rts2 "
           "abort0" +
               rest;
    QTest::newRow("software flow, own characters")
        << Setup([](TCustomComPort& p) {
               p.FlowControl().SetFlowControl(fcSoftware);
               p.FlowControl().SetXonChar(1);
               p.FlowControl().SetXoffChar(2);
           })
        << "9600 bit/s 8-0-0 bin1 par0 cts0 dsr0 dtr0 dsrs0 txc0 outx1 inx1 errc0 null0 rts0 "
           "abort0 lim256/256 xon1/2 err0 evt0";
    QTest::newRow("even parity checked, replaced by ?")
        << Setup([](TCustomComPort& p) {
               p.Parity().SetBits(prEven);
               p.Parity().SetCheck(true);
               p.Parity().SetReplace(true);
               p.Parity().SetReplaceChar('?');
           })
        << "9600 bit/s 8-2-0 bin1 par1 cts0 dsr0 dtr0 dsrs0 txc0 outx0 inx0 errc1 null0 rts0 "
           "abort0 lim256/256 xon17/19 err63 evt0";
    QTest::newRow("replacement without a check: none")
        << Setup([](TCustomComPort& p) {
               p.Parity().SetReplace(true);
               p.Parity().SetReplaceChar('?');
           })
        << "9600 bit/s 8-0-0 bin1 par0 cts0 dsr0 dtr0 dsrs0 txc0 outx0 inx0 errc0 null0 rts0 "
           "abort0" +
               rest;
    QTest::newRow("5 bits, space, 2 stop bits")
        << Setup([](TCustomComPort& p) {
               p.SetDataBits(dbFive);
               p.Parity().SetBits(prSpace);
               p.SetStopBits(sbTwoStopBits);
           })
        << "9600 bit/s 5-4-2 bin1 par0 cts0 dsr0 dtr0 dsrs0 txc0 outx0 inx0 errc0 null0 rts0 "
           "abort0" +
               rest;
    QTest::newRow("DTR handshake, RTS toggle, DSR flow and sensitivity, go on after XOFF")
        << Setup([](TCustomComPort& p) {
               p.FlowControl().SetControlDTR(dtrHandshake);
               p.FlowControl().SetControlRTS(rtsToggle);
               p.FlowControl().SetOutDSRFlow(true);
               p.FlowControl().SetDSRSensitivity(true);
               p.FlowControl().SetTxContinueOnXoff(true);
           })
        << "9600 bit/s 8-0-0 bin1 par0 cts0 dsr1 dtr2 dsrs1 txc1 outx0 inx0 errc0 null0 rts3 "
           "abort0" +
               rest;
    QTest::newRow("queue of 4002 bytes, nulls dropped, event character ~")
        << Setup([](TCustomComPort& p) {
               p.Buffer().SetInputSize(4002);
               p.SetDiscardNull(true);
               p.SetEventChar('~');
               p.SetBaudRate(br256000);
           })
        << "256000 bit/s 8-0-0 bin1 par0 cts0 dsr0 dtr0 dsrs0 txc0 outx0 inx0 errc0 null1 rts0 "
           "abort0 lim1000/1000 xon17/19 err0 evt126";
}

void TestWin32Backend::lineRecord()
{
    QFETCH(Setup, setup);
    QFETCH(QString, dcb);
    FakeWin32Api api;
    Win32Port port(api);
    setup(port);
    port.Open();
    QCOMPARE(Describe(api.dcb), dcb);
    QCOMPARE(api.dcb.DCBlength, DWORD(sizeof(DCB)));
}

void TestWin32Backend::timeouts_data()
{
    QTest::addColumn<QList<int>>("set"); // ms, in field order
    QTest::addColumn<QList<uint>>("handed");
    QTest::newRow("defaults: reads return at once")
        << QList<int>{-1, 0, 0, 100, 1000} << QList<uint>{0xFFFFFFFFu, 0, 0, 100, 1000};
    QTest::newRow("a 3000 ms read, no write limit")
        << QList<int>{0, 10, 3000, 0, 0} << QList<uint>{0, 10, 3000, 0, 0};
}

void TestWin32Backend::timeouts()
{
    QFETCH(QList<int>, set);
    QFETCH(QList<uint>, handed);
    FakeWin32Api api;
    Win32Port port(api);
    port.Open();
    port.Timeouts().SetReadInterval(set[0]);
    port.Timeouts().SetReadTotalMultiplier(set[1]);
    port.Timeouts().SetReadTotalConstant(set[2]);
    port.Timeouts().SetWriteTotalMultiplier(set[3]);
    port.Timeouts().SetWriteTotalConstant(set[4]);
    const COMMTIMEOUTS& t = api.timeouts;
    QCOMPARE((QList<uint>{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                          t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                          t.WriteTotalTimeoutConstant}),
             handed);
}

void TestWin32Backend::failingCalls_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<uint>("error");
    QTest::addColumn<int>("code");
    QTest::newRow("no such port") << "OpenComm" << 2u << 1;
    QTest::newRow("port held by another program") << "OpenComm" << 5u << 1;
    QTest::newRow("line record refused") << "SetCommState" << 87u << 7;
    QTest::newRow("time-outs refused") << "SetCommTimeouts" << 87u << 8;
    QTest::newRow("queue sizes refused") << "SetupComm" << 87u << 9;
}

void TestWin32Backend::failingCalls()
{
    QFETCH(QString, call);
    QFETCH(uint, error);
    QFETCH(int, code);
    FakeWin32Api api;
    api.fails[call] = {error};
    Win32Port port(api);
    try {
        port.Open();
        QFAIL("opened");
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), code);
        QCOMPARE(e.WinCode(), int(error));
        QCOMPARE(QString::fromStdString(e.Message()), Message(code, int(error)));
    }
    // Closed, with the device let go when it had been opened.
    QVERIFY(!port.Connected());
    QCOMPARE(api.calls.count(QStringLiteral("CloseHandle")), call == "OpenComm" ? 0 : 1);
}

void TestWin32Backend::deviceNames_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("opened");
    QTest::newRow("COM3") << "COM3"
                          << R"(\\.\COM3)";
    QTest::newRow("COM12 needs the prefix") << "COM12"
                                            << R"(\\.\COM12)";
    QTest::newRow("a full name as it is") << R"(\\.\COM4)"
                                          << R"(\\.\COM4)";
}

void TestWin32Backend::deviceNames()
{
    QFETCH(QString, device);
    QFETCH(QString, opened);
    FakeWin32Api api;
    ComBackendWin32 backend(api);
    QCOMPARE(backend.Open(device), 0);
    QCOMPARE(QString::fromStdWString(api.path), opened);
}

void TestWin32Backend::openProblems_data()
{
    QTest::addColumn<uint>("error");
    QTest::addColumn<QString>("words");
    QTest::newRow("none") << 0u << QString();
    QTest::newRow("file not found") << 2u << "brak urządzenia";
    QTest::newRow("access denied: opened by another") << 5u << "port zajęty przez inny program";
    QTest::newRow("sharing violation") << 32u << "port zajęty przez inny program";
    QTest::newRow("adapter removed") << 1617u << "brak urządzenia";
    QTest::newRow("bad parameter: the system's own text") << 87u << QString();
}

void TestWin32Backend::openProblems()
{
    QFETCH(uint, error);
    QFETCH(QString, words);
    QCOMPARE(Win32Errors::OpenProblem(error), words);
}

void TestWin32Backend::transfers_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<FakeWin32Api::Step>("step");
    QTest::addColumn<int>("count");     // bytes transferred, or -1 for an exception
    QTest::addColumn<QString>("error"); // its message
    const QString gone = Message(2, 22) + "\r" + ConstsZVX::PortGone;
    QTest::newRow("write done at once") << true << FakeWin32Api::Step{0, 5} << 5 << QString();
    QTest::newRow("write completed later") << true << FakeWin32Api::Step{997, 5} << 5 << QString();
    QTest::newRow("write time-out ran out after 2")
        << true << FakeWin32Api::Step{997, 2, 0} << 2 << QString();
    QTest::newRow("write time-out said as an error")
        << true << FakeWin32Api::Step{997, 3, 121} << 3 << QString();
    QTest::newRow("write refused") << true << FakeWin32Api::Step{87} << -1 << Message(2, 87);
    QTest::newRow("write on an adapter pulled out") << true << FakeWin32Api::Step{22} << -1 << gone;
    QTest::newRow("write aborted")
        << true << FakeWin32Api::Step{997, 0, 995} << -1 << Message(2, 995);
    QTest::newRow("read of what is there")
        << false << FakeWin32Api::Step{0, 2, 0, 0, 1, "ab"} << 2 << QString();
    QTest::newRow("read with nothing there") << false << FakeWin32Api::Step{0, 0} << 0 << QString();
    QTest::newRow("read completed later")
        << false << FakeWin32Api::Step{997, 3, 0, 0, 1, "abc"} << 3 << QString();
    QTest::newRow("read refused") << false << FakeWin32Api::Step{87} << -1 << Message(3, 87);
}

void TestWin32Backend::transfers()
{
    QFETCH(bool, write);
    QFETCH(FakeWin32Api::Step, step);
    QFETCH(int, count);
    QFETCH(QString, error);
    FakeWin32Api api;
    Win32Port port(api);
    port.Open();
    api.transfers = {step};
    QByteArray text;
    try {
        const int done = write ? port.WriteText("12345") : port.ReadText(text, 5);
        QCOMPARE(done, count);
        QCOMPARE(text, step.data.left(count));
    } catch (const EComPort& e) {
        QCOMPARE(QString::fromStdString(e.Message()), error);
        QCOMPARE(count, -1);
    }
    // A started transfer is waited for to its end; its event never outlives it.
    QCOMPARE(api.calls.contains(QStringLiteral("GetOverlappedResult wait")),
             step.start == 0 || step.start == 997);
    QCOMPARE(api.openEvents, 0);
    QVERIFY(port.Connected());
}

void TestWin32Backend::lineErrorsSurviveACountRead()
{
    // Reading the receive count resets the flags too: those it saw are not lost.
    FakeWin32Api api;
    ComBackendWin32 backend(api);
    backend.Open(QStringLiteral("COM1"));
    api.commErrors = {0x0008, 0x0002};
    api.inQueue = 7;
    int count = 0;
    std::uint32_t flags = 0;
    QCOMPARE(backend.ReceiveCount(count), 0);
    QCOMPARE(count, 7);
    QCOMPARE(backend.TakeErrors(flags), 0);
    QCOMPARE(flags, 0x000Au);
    QCOMPARE(backend.TakeErrors(flags), 0);
    QCOMPARE(flags, 0u);
}

void TestWin32Backend::monitorWait_data()
{
    using Step = FakeWin32Api::Step;
    QTest::addColumn<QList<Step>>("waits"); // {start, -, fetch result, word, signalled}
    QTest::addColumn<bool>("stopFirst");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<uint>("word");
    QTest::addColumn<bool>("cancelled");
    const int events = int(ComEventWaiter::Outcome::Events);
    const int stopped = int(ComEventWaiter::Outcome::Stopped);
    const int ended = int(ComEventWaiter::Outcome::Ended);
    QTest::newRow("events there at once, outside the mask dropped")
        << QList<Step>{{0, 0, 0, 0x0805}} << false << events << 0x0005u << false;
    QTest::newRow("events later") << QList<Step>{{997, 0, 0, 0x0001}} << false << events << 0x0001u
                                  << false;
    QTest::newRow("stop while waiting")
        << QList<Step>{{997, 0, 0, 0x0001, 0}} << false << stopped << 0u << true;
    QTest::newRow("stopped before") << QList<Step>{} << true << stopped << 0u << false;
    QTest::newRow("the wait itself fails")
        << QList<Step>{{997, 0, 0, 0, WAIT_FAILED}} << false << ended << 0u << true;
    QTest::newRow("cannot start: no spin, nothing old")
        << QList<Step>{{5, 0, 0, 0x0001}} << false << ended << 0u << false;
    QTest::newRow("a failed fetch is passed over")
        << QList<Step>{{997, 0, 87, 0x0004}, {997, 0, 0, 0x0001}} << false << events << 0x0001u
        << false;
    QTest::newRow("three failed fetches end it")
        << QList<Step>{{997, 0, 87}, {997, 0, 87}, {997, 0, 87}, {997, 0, 0, 1}} << false << ended
        << 0u << false;
    QTest::newRow("adapter pulled out")
        << QList<Step>{{997, 0, 22, 1}} << false << ended << 0u << false;
}

void TestWin32Backend::monitorWait()
{
    QFETCH(QList<FakeWin32Api::Step>, waits);
    QFETCH(bool, stopFirst);
    QFETCH(int, outcome);
    QFETCH(uint, word);
    QFETCH(bool, cancelled);
    FakeWin32Api api;
    api.waits.assign(waits.begin(), waits.end());
    int error = -1;
    auto waiter = Win32EventWaiter::Create(api, INVALID_HANDLE_VALUE, 0x05FF, error);
    QCOMPARE(error, 0);
    QVERIFY(api.calls.contains(QStringLiteral("SetCommMask 0x5ff")));
    if (stopFirst)
        waiter->Stop();
    std::uint32_t got = 0xDEAD;
    QCOMPARE(int(waiter->Wait(got)), outcome);
    QCOMPARE(got, word);
    // A wait given up is cancelled and its end waited for before its record can go.
    QCOMPARE(api.calls.contains(QStringLiteral("CancelIo")), cancelled);
    QCOMPARE(api.calls.contains(QStringLiteral("GetOverlappedResult wait")), cancelled);
    waiter.reset();
    QCOMPARE(api.openEvents, 0);
}

QTEST_GUILESS_MAIN(TestWin32Backend)
#include "tst_win32_backend.moc"
