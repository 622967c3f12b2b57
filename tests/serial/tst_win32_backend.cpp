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

using Step = FakeWin32Api::Step;
using Setup = std::function<void(TCustomComPort&)>;

// A port on the Windows backend over a fake, without an event monitor.
class Win32Port : public TCustomComPort
{
public:
    explicit Win32Port(FakeWin32Api& api) : TCustomComPort(std::make_unique<ComBackendWin32>(api))
    {
        SetEvents(TComEvents());
    }
};

// The record in one line: rate, bits-parity-stop, the flags that are set, the rest.
QString Describe(const DCB& d)
{
    QString text = QString::asprintf("%u %u-%u-%u", d.BaudRate, d.ByteSize, d.Parity, d.StopBits);
    const std::pair<const char*, unsigned> flags[] = {
        {"bin", d.fBinary},           {"par", d.fParity},     {"cts", d.fOutxCtsFlow},
        {"dsr", d.fOutxDsrFlow},      {"dtr", d.fDtrControl}, {"dsrs", d.fDsrSensitivity},
        {"txc", d.fTXContinueOnXoff}, {"outx", d.fOutX},      {"inx", d.fInX},
        {"errc", d.fErrorChar},       {"null", d.fNull},      {"rts", d.fRtsControl},
        {"abort", d.fAbortOnError}};
    for (const auto& [name, value] : flags)
        if (value)
            text += QString::asprintf(" %s%u", name, value);
    return text + QString::asprintf(" lim%u/%u xon%d/%d err%d evt%d", d.XonLim, d.XoffLim,
                                    d.XonChar, d.XoffChar, d.ErrorChar, d.EvtChar);
}

QString Message(int code, int winCode)
{
    return QString::fromStdString(EComPort::MessageFor(code, winCode));
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(FakeWin32Api::Step)

class TestWin32Backend : public QObject
{
    Q_OBJECT

private slots:
    void lineRecord_data();
    void lineRecord();
    void failingCalls_data();
    void failingCalls();
    void names_data();
    void names();
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
    QTest::newRow("the dialer's line") << Setup([](TCustomComPort& p) { p.SetBaudRate(br1339); })
                                       << "1339 8-0-0 bin1 lim256/256 xon17/19 err0 evt0";
    QTest::newRow("hardware flow")
        << Setup([](TCustomComPort& p) { p.FlowControl().SetFlowControl(fcHardware); })
        << "9600 8-0-0 bin1 cts1 rts2 lim256/256 xon17/19 err0 evt0";
    QTest::newRow("software flow, own characters") << Setup([](TCustomComPort& p) {
        p.FlowControl().SetFlowControl(fcSoftware);
        p.FlowControl().SetXonChar(1);
        p.FlowControl().SetXoffChar(2);
    }) << "9600 8-0-0 bin1 outx1 inx1 lim256/256 xon1/2 err0 evt0";
    QTest::newRow("every other setting")
        << Setup([](TCustomComPort& p) {
               p.SetBaudRate(br256000);
               p.SetDataBits(dbFive);
               p.SetStopBits(sbTwoStopBits);
               p.Parity().SetBits(prSpace);
               p.Parity().SetCheck(true);
               p.Parity().SetReplace(true);
               p.Parity().SetReplaceChar('?');
               p.FlowControl().SetControlDTR(dtrHandshake);
               p.FlowControl().SetControlRTS(rtsToggle);
               p.FlowControl().SetOutDSRFlow(true);
               p.FlowControl().SetDSRSensitivity(true);
               p.FlowControl().SetTxContinueOnXoff(true);
               p.Buffer().SetInputSize(4002);
               p.SetDiscardNull(true);
               p.SetEventChar('~');
           })
        << "256000 5-4-2 bin1 par1 dsr1 dtr2 dsrs1 txc1 errc1 null1 rts3 lim1000/1000 xon17/19 "
           "err63 evt126";
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
    // The port's default time-outs: reads return at once (-1 as all ones).
    const COMMTIMEOUTS& t = api.timeouts;
    QCOMPARE((QList<DWORD>{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                           t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                           t.WriteTotalTimeoutConstant}),
             (QList<DWORD>{0xFFFFFFFFu, 0, 0, 100, 1000}));
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
    QString message;
    try {
        port.Open();
    } catch (const EComPort& e) {
        QCOMPARE(e.WinCode(), int(error));
        message = QString::fromStdString(e.Message());
    }
    QCOMPARE(message, Message(code, int(error)));
    // Closed, with the device let go when it had been opened.
    QVERIFY(!port.Connected());
    QCOMPARE(api.calls.count(QStringLiteral("CloseHandle")), call == "OpenComm" ? 0 : 1);
}

void TestWin32Backend::names_data()
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

void TestWin32Backend::names()
{
    QFETCH(QString, device);
    QFETCH(QString, opened);
    FakeWin32Api api;
    ComBackendWin32 backend(api);
    QCOMPARE(backend.Open(device), 0);
    QCOMPARE(QString::fromStdWString(api.path), opened);
    // What port listing says when an open fails.
    QCOMPARE(Win32Errors::OpenProblem(ERROR_FILE_NOT_FOUND), "brak urządzenia");
    QCOMPARE(Win32Errors::OpenProblem(ERROR_DEVICE_REMOVED), "brak urządzenia");
    QCOMPARE(Win32Errors::OpenProblem(ERROR_ACCESS_DENIED), "port zajęty przez inny program");
    QCOMPARE(Win32Errors::OpenProblem(ERROR_INVALID_PARAMETER), QString()); // the system's
}

void TestWin32Backend::transfers_data()
{
    QTest::addColumn<int>("waiting"); // bytes in the receive queue; -1: a write
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("count");     // bytes transferred, or -1 for an exception
    QTest::addColumn<QString>("error"); // its message
    const QString gone = Message(2, 22) + "\r" + ConstsZVX::PortGone;
    QTest::newRow("write done at once") << -1 << Step{0, 5} << 5 << QString();
    QTest::newRow("write completed later") << -1 << Step{997, 5} << 5 << QString();
    QTest::newRow("write time-out ran out after 2") << -1 << Step{997, 2} << 2 << QString();
    QTest::newRow("write time-out as an error") << -1 << Step{997, 3, 121} << 3 << QString();
    QTest::newRow("write refused") << -1 << Step{87} << -1 << Message(2, 87);
    QTest::newRow("write, adapter pulled out") << -1 << Step{22} << -1 << gone;
    QTest::newRow("read what is there") << 2 << Step{0, 2, 0, 0, 1, "ab"} << 2 << QString();
    QTest::newRow("read, nothing there: none started") << 0 << Step{} << 0 << QString();
    QTest::newRow("read completed later") << 3 << Step{997, 3, 0, 0, 1, "abc"} << 3 << "";
    QTest::newRow("read refused") << 1 << Step{87} << -1 << Message(3, 87);
}

void TestWin32Backend::transfers()
{
    QFETCH(int, waiting);
    QFETCH(Step, step);
    QFETCH(int, count);
    QFETCH(QString, error);
    FakeWin32Api api;
    Win32Port port(api);
    port.Open();
    api.transfers = {step};
    api.inQueue = DWORD(std::max(waiting, 0));
    const bool write = waiting < 0;
    QByteArray text;
    int done = -1;
    QString message;
    try {
        done = write ? port.WriteText("12345") : port.ReadText(text, 5);
    } catch (const EComPort& e) {
        message = QString::fromStdString(e.Message());
    }
    QCOMPARE(done, count);
    QCOMPARE(message, error);
    QCOMPARE(text, write || count < 0 ? QByteArray() : step.data);
    // A started transfer is waited for to its end; its event never outlives it.
    QCOMPARE(api.calls.contains("GetOverlappedResult wait"),
             waiting != 0 && (step.start == 0 || step.start == 997));
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
    QTest::addColumn<QList<Step>>("waits"); // {start, -, fetch result, word, signalled}
    QTest::addColumn<bool>("stopFirst");
    QTest::addColumn<int>("outcome"); // ComEventWaiter::Outcome: events, stopped, ended
    QTest::addColumn<uint>("word");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("events there at once, those outside the mask dropped")
        << QList<Step>{{0, 0, 0, 0x0805}} << false << 0 << 0x0005u << false;
    QTest::newRow("stop while waiting")
        << QList<Step>{{997, 0, 0, 1, 0}} << false << 1 << 0u << true;
    QTest::newRow("stopped before") << QList<Step>{} << true << 1 << 0u << false;
    QTest::newRow("the wait itself fails")
        << QList<Step>{{997, 0, 0, 0, WAIT_FAILED}} << false << 2 << 0u << true;
    QTest::newRow("cannot start: no spin, nothing old")
        << QList<Step>{{5, 0, 0, 1}} << false << 2 << 0u << false;
    QTest::newRow("no modem lines: the rest watched")
        << QList<Step>{{50}, {997, 0, 0, 1}} << false << 0 << 1u << false;
    QTest::newRow("a failed fetch is passed over")
        << QList<Step>{{997, 0, 87, 4}, {997, 0, 0, 1}} << false << 0 << 1u << false;
    QTest::newRow("adapter pulled out")
        << QList<Step>{{997, 0, 22, 1}} << false << 2 << 0u << false;
}

void TestWin32Backend::monitorWait()
{
    QFETCH(QList<Step>, waits);
    QFETCH(bool, stopFirst);
    QFETCH(int, outcome);
    QFETCH(uint, word);
    QFETCH(bool, cancelled);
    FakeWin32Api api;
    api.waits.assign(waits.begin(), waits.end());
    int error = -1;
    auto waiter = Win32EventWaiter::Create(api, INVALID_HANDLE_VALUE, 0x05FF, error);
    QCOMPARE(error, 0);
    QVERIFY(api.calls.contains("SetCommMask 0x5ff"));
    if (stopFirst)
        waiter->Stop();
    std::uint32_t got = 0xDEAD;
    QCOMPARE(int(waiter->Wait(got)), outcome);
    QCOMPARE(got, word);
    // A wait given up is cancelled and its end waited for before its record can go.
    QCOMPARE(api.calls.contains("CancelIo"), cancelled);
    QCOMPARE(api.calls.contains("GetOverlappedResult wait"), cancelled);
    waiter.reset();
    QCOMPARE(api.openEvents, 0);
}

QTEST_GUILESS_MAIN(TestWin32Backend)
#include "tst_win32_backend.moc"
