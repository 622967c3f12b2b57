// The port's data model: rate table, settings objects, setters and their re-applies,
// port names, messages and the settings text form. No device is opened here.

#include "CountingPort.h"

#include "resources/ConstsZVX.h"
#include "serial/ComBackend.h"
#include "serial/ComSettingsText.h"

#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(TFlowControl)
Q_DECLARE_METATYPE(TRTSFlowControl)

class TestCPortModel : public QObject
{
    Q_OBJECT

private slots:
    void rateTable_data();
    void rateTable();
    void defaults();
    void eventMaskOfAllEvents();
    void errorsFromFlags_data();
    void errorsFromFlags();

    void flowControlReads_data();
    void flowControlReads();
    void flowControlWrites_data();
    void flowControlWrites();
    void flowControlWriteAlwaysReapplies();

    void setterReapplies_data();
    void setterReapplies();
    void assignCopiesWithoutApplying();
    void syncMethodWhileClosedIsStored();

    void normalizePortName_data();
    void normalizePortName();
    void devicePath_data();
    void devicePath();
    void setPortNormalises();

    void messages_data();
    void messages();

    void settingsTextRoundTrip();
    void settingsTextReading_data();
    void settingsTextReading();
};

void TestCPortModel::rateTable_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bitsPerSecond");
    const int expected[] = {110,   300,   600,   1200,  2400,   4800,   9600,   14400,
                            19200, 38400, 56000, 57600, 115200, 128000, 256000, 1339};
    for (int i = 0; i <= int(br1339); ++i)
        QTest::addRow("%d", expected[i]) << i << expected[i];
}

void TestCPortModel::rateTable()
{
    QFETCH(int, rate);
    QFETCH(int, bitsPerSecond);
    QCOMPARE(BaudRateValue(TBaudRate(rate)), bitsPerSecond);
    QCOMPARE(ComSettingsText::BaudRateText(TBaudRate(rate)), QString::number(bitsPerSecond));
}

void TestCPortModel::defaults()
{
    TComPort port;
    QVERIFY(!port.Connected());
    QCOMPARE(port.Port(), QString("COM1"));
    QCOMPARE(port.BaudRate(), br9600);
    QCOMPARE(port.DataBits(), dbEight);
    QCOMPARE(port.StopBits(), sbOneStopBit);
    QCOMPARE(port.Parity().Bits(), prNone);
    QCOMPARE(port.FlowControl().FlowControl(), fcNone);
    QCOMPARE(port.FlowControl().XonChar(), std::uint8_t(17));
    QCOMPARE(port.FlowControl().XoffChar(), std::uint8_t(19));
    QCOMPARE(port.Timeouts().ReadInterval(), -1);
    QCOMPARE(port.Timeouts().WriteTotalMultiplier(), 100);
    QCOMPARE(port.Timeouts().WriteTotalConstant(), 1000);
    QCOMPARE(port.Buffer().InputSize(), 1024);
    QCOMPARE(port.Buffer().OutputSize(), 1024);
    QCOMPARE(port.Events(), TComEvents::All());
    QCOMPARE(port.SyncMethod(), smThreadSync);
    // Back-references are set by the port for its own four objects.
    QCOMPARE(port.Parity().ComPort(), &port);
    QCOMPARE(port.FlowControl().ComPort(), &port);
    QCOMPARE(port.Timeouts().ComPort(), &port);
    QCOMPARE(port.Buffer().ComPort(), &port);
}

void TestCPortModel::eventMaskOfAllEvents()
{
    QCOMPARE(ComEventBit::MaskOf(TComEvents::All()), 0x05FFu);
    QCOMPARE(ComEventBit::MaskOf({evRxChar, evRx80Full}), 0x0401u);
    QCOMPARE(ComEventBit::MaskOf({}), 0u);
}

void TestCPortModel::errorsFromFlags_data()
{
    QTest::addColumn<uint>("flags");
    QTest::addColumn<bool>("parityCheck");
    QTest::addColumn<uint>("errors");
    QTest::newRow("frame") << 0x0008u << false << 0x01u;
    QTest::newRow("parity checked") << 0x0004u << true << 0x02u;
    QTest::newRow("parity unchecked: empty set") << 0x0004u << false << 0x00u;
    QTest::newRow("overrun") << 0x0002u << false << 0x04u;
    QTest::newRow("break") << 0x0010u << false << 0x08u;
    QTest::newRow("io") << 0x0400u << false << 0x10u;
    QTest::newRow("mode") << 0x8000u << false << 0x20u;
    QTest::newRow("rx over") << 0x0001u << false << 0x40u;
    QTest::newRow("tx full") << 0x0100u << false << 0x80u;
    QTest::newRow("other flags ignored") << 0x0020u << true << 0x00u;
}

void TestCPortModel::errorsFromFlags()
{
    QFETCH(uint, flags);
    QFETCH(bool, parityCheck);
    QFETCH(uint, errors);
    QCOMPARE(ComErrorFlag::ToComErrors(flags, parityCheck).Bits(), errors);
}

void TestCPortModel::flowControlReads_data()
{
    QTest::addColumn<TRTSFlowControl>("rts");
    QTest::addColumn<bool>("cts");
    QTest::addColumn<bool>("xonIn");
    QTest::addColumn<bool>("xonOut");
    QTest::addColumn<TFlowControl>("reads");
    QTest::newRow("hardware") << rtsHandshake << true << false << false << fcHardware;
    QTest::newRow("software") << rtsDisable << false << true << true << fcSoftware;
    QTest::newRow("none") << rtsDisable << false << false << false << fcNone;
    QTest::newRow("handshake with xon out") << rtsHandshake << true << false << true << fcCustom;
    QTest::newRow("rts enabled") << rtsEnable << false << false << false << fcCustom;
    QTest::newRow("xon in only") << rtsDisable << false << true << false << fcCustom;
    QTest::newRow("cts without handshake") << rtsDisable << true << false << false << fcCustom;
}

void TestCPortModel::flowControlReads()
{
    QFETCH(TRTSFlowControl, rts);
    QFETCH(bool, cts);
    QFETCH(bool, xonIn);
    QFETCH(bool, xonOut);
    QFETCH(TFlowControl, reads);
    TComFlowControl flow;
    flow.SetControlRTS(rts);
    flow.SetOutCTSFlow(cts);
    flow.SetXonXoffIn(xonIn);
    flow.SetXonXoffOut(xonOut);
    // Fields outside the four take no part.
    flow.SetOutDSRFlow(true);
    flow.SetControlDTR(dtrHandshake);
    QCOMPARE(flow.FlowControl(), reads);
}

void TestCPortModel::flowControlWrites_data()
{
    QTest::addColumn<TFlowControl>("value");
    QTest::addColumn<TRTSFlowControl>("rts");
    QTest::addColumn<bool>("cts");
    QTest::addColumn<bool>("xonIn");
    QTest::addColumn<bool>("xonOut");
    // Starting from a custom mix (rtsEnable, CTS flow, XON/XOFF out).
    QTest::newRow("hardware") << fcHardware << rtsHandshake << true << false << false;
    QTest::newRow("software") << fcSoftware << rtsDisable << false << true << true;
    QTest::newRow("none") << fcNone << rtsDisable << false << false << false;
    QTest::newRow("custom changes nothing") << fcCustom << rtsEnable << true << false << true;
}

void TestCPortModel::flowControlWrites()
{
    QFETCH(TFlowControl, value);
    QFETCH(TRTSFlowControl, rts);
    QFETCH(bool, cts);
    QFETCH(bool, xonIn);
    QFETCH(bool, xonOut);
    TComFlowControl flow;
    flow.SetControlRTS(rtsEnable);
    flow.SetOutCTSFlow(true);
    flow.SetXonXoffOut(true);
    flow.SetOutDSRFlow(true);
    flow.SetControlDTR(dtrEnable);

    flow.SetFlowControl(value);
    QCOMPARE(flow.ControlRTS(), rts);
    QCOMPARE(flow.OutCTSFlow(), cts);
    QCOMPARE(flow.XonXoffIn(), xonIn);
    QCOMPARE(flow.XonXoffOut(), xonOut);
    QCOMPARE(flow.OutDSRFlow(), true);
    QCOMPARE(flow.ControlDTR(), dtrEnable);
}

void TestCPortModel::flowControlWriteAlwaysReapplies()
{
    CountingPort port;
    port.FlowControl().SetFlowControl(fcNone); // already fcNone
    port.FlowControl().SetFlowControl(fcCustom);
    QCOMPARE(port.lineApplies, 2);
}

void TestCPortModel::setterReapplies_data()
{
    // Applies are counted as line/time-outs/queues; a closed port only stores, but the
    // group is still asked for (it does nothing while closed).
    QTest::addColumn<std::function<void(TComPort&)>>("change");
    QTest::addColumn<QString>("applies");
    using F = std::function<void(TComPort&)>;
    QTest::newRow("baud rate") << F([](TComPort& p) { p.SetBaudRate(br1339); }) << "100";
    QTest::newRow("baud rate unchanged") << F([](TComPort& p) { p.SetBaudRate(br9600); }) << "000";
    QTest::newRow("data bits") << F([](TComPort& p) { p.SetDataBits(dbSeven); }) << "100";
    QTest::newRow("stop bits") << F([](TComPort& p) { p.SetStopBits(sbTwoStopBits); }) << "100";
    QTest::newRow("discard null") << F([](TComPort& p) { p.SetDiscardNull(true); }) << "100";
    QTest::newRow("event char") << F([](TComPort& p) { p.SetEventChar(13); }) << "100";
    QTest::newRow("parity bits") << F([](TComPort& p) { p.Parity().SetBits(prEven); }) << "100";
    QTest::newRow("parity check") << F([](TComPort& p) { p.Parity().SetCheck(true); }) << "100";
    QTest::newRow("xon char") << F([](TComPort& p) { p.FlowControl().SetXonChar(1); }) << "100";
    QTest::newRow("xon char unchanged")
        << F([](TComPort& p) { p.FlowControl().SetXonChar(17); }) << "000";
    QTest::newRow("read interval")
        << F([](TComPort& p) { p.Timeouts().SetReadInterval(5); }) << "010";
    QTest::newRow("write constant")
        << F([](TComPort& p) { p.Timeouts().SetWriteTotalConstant(7); }) << "010";
    QTest::newRow("input size") << F([](TComPort& p) { p.Buffer().SetInputSize(4096); }) << "001";
    QTest::newRow("events only stored") << F([](TComPort& p) { p.SetEvents({evRxChar}); }) << "000";
    QTest::newRow("parity as a whole, equal")
        << F([](TComPort& p) { p.SetParity(TComParity()); }) << "100";
    QTest::newRow("flow control as a whole")
        << F([](TComPort& p) { p.SetFlowControl(TComFlowControl()); }) << "100";
    QTest::newRow("time-outs as a whole")
        << F([](TComPort& p) { p.SetTimeouts(TComTimeouts()); }) << "010";
    QTest::newRow("buffer as a whole")
        << F([](TComPort& p) { p.SetBuffer(TComBuffer()); }) << "001";
}

void TestCPortModel::setterReapplies()
{
    QFETCH(std::function<void(TComPort&)>, change);
    QFETCH(QString, applies);
    CountingPort port;
    change(port);
    QCOMPARE(port.Applies(), applies);
    QVERIFY(!port.Connected());
}

void TestCPortModel::assignCopiesWithoutApplying()
{
    CountingPort port;
    TComFlowControl flow;
    flow.SetFlowControl(fcHardware);
    flow.SetXoffChar(0x93);
    TComTimeouts timeouts;
    timeouts.SetReadTotalConstant(250);
    TComParity parity;
    parity.SetBits(prMark);
    parity.SetReplaceChar('?');
    TComBuffer buffer;
    buffer.SetOutputSize(64);

    port.FlowControl().Assign(flow);
    port.Timeouts().Assign(timeouts);
    port.Parity().Assign(parity);
    port.Buffer().Assign(buffer);
    QCOMPARE(port.Applies(), QString("000"));
    QCOMPARE(port.FlowControl().FlowControl(), fcHardware);
    QCOMPARE(port.FlowControl().XoffChar(), std::uint8_t(0x93));
    QCOMPARE(port.Timeouts().ReadTotalConstant(), 250);
    QCOMPARE(port.Parity().Bits(), prMark);
    QCOMPARE(port.Parity().ReplaceChar(), std::uint8_t('?'));
    QCOMPARE(port.Buffer().OutputSize(), 64);
    // The copy keeps its own owner; the source stays free-standing.
    QCOMPARE(port.FlowControl().ComPort(), &port);
    QCOMPARE(flow.ComPort(), nullptr);

    TComFlowControl saved;
    saved.Assign(port.FlowControl());
    QCOMPARE(saved.FlowControl(), fcHardware);
    QCOMPARE(saved.ComPort(), nullptr);
}

void TestCPortModel::syncMethodWhileClosedIsStored()
{
    TComPort port;
    port.SetSyncMethod(smNone);
    QCOMPARE(port.SyncMethod(), smNone);
}

void TestCPortModel::normalizePortName_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("normalised");
    QTest::newRow("lower case") << "com3"
                                << "COM3";
    QTest::newRow("bare number") << "4"
                                 << "COM4";
    QTest::newRow("sixteen") << "COM16"
                             << "COM16";
    QTest::newRow("above range") << "COM17"
                                 << "COM1";
    QTest::newRow("zero") << "COM0"
                          << "COM1";
    QTest::newRow("not a number") << "COMA"
                                  << "COM1";
    QTest::newRow("empty") << ""
                           << "COM1";
    QTest::newRow("negative") << "-2"
                              << "COM1";
    QTest::newRow("device path kept") << "/dev/ttyUSB0"
                                      << "/dev/ttyUSB0";
}

void TestCPortModel::normalizePortName()
{
    QFETCH(QString, given);
    QFETCH(QString, normalised);
    QCOMPARE(PortNames::NormalizePortName(given), normalised);
}

void TestCPortModel::devicePath_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("withLookup");
    QTest::addColumn<QString>("device");
    // The lookup maps COM3 only; the environment sets ZVX_COM3 and ZVX_COM5.
    QTest::newRow("lookup first") << "COM3" << true << "/dev/ttyUSB0";
    QTest::newRow("environment without lookup") << "COM3" << false << "/dev/pts/env3";
    QTest::newRow("environment when lookup has none") << "COM5" << true << "/dev/pts/env5";
    QTest::newRow("default") << "COM2" << true << "/dev/ttyS1";
    QTest::newRow("default sixteen") << "COM16" << false << "/dev/ttyS15";
    QTest::newRow("path") << "/dev/pts/7" << true << "/dev/pts/7";
}

void TestCPortModel::devicePath()
{
    QFETCH(QString, port);
    QFETCH(bool, withLookup);
    QFETCH(QString, device);
    qputenv("ZVX_COM3", "/dev/pts/env3");
    qputenv("ZVX_COM5", "/dev/pts/env5");
    qunsetenv("ZVX_COM2");
    qunsetenv("ZVX_COM16");
    PortNames::Lookup lookup;
    if (withLookup)
        lookup = [](const QString& com) { return com == "COM3" ? "/dev/ttyUSB0" : QString(); };
    QCOMPARE(PortNames::DevicePath(port, lookup), device);
    qunsetenv("ZVX_COM3");
    qunsetenv("ZVX_COM5");
}

void TestCPortModel::setPortNormalises()
{
    TComPort port;
    port.SetPort("com3");
    QCOMPARE(port.Port(), QString("COM3"));
    port.SetPort("COM0");
    QCOMPARE(port.Port(), QString("COM1"));
    port.SetPort("/dev/pts/3");
    QCOMPARE(port.Port(), QString("/dev/pts/3"));
}

void TestCPortModel::messages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("winCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("open with code")
        << 1 << 2
        << QString::fromUtf8("Nie można otworzyć portu COM\r(port niedostępny lub otwarty przez "
                             "inną aplikację) (win error code: 2)");
    QTest::newRow("write") << 2 << 5
                           << QString::fromUtf8("Błąd funkcji WriteFile (win error code: 5)");
    QTest::newRow("read") << 3 << 5
                          << QString::fromUtf8("Błąd funkcji ReadFile (win error code: 5)");
    QTest::newRow("async, no code") << 4 << -1 << QString::fromUtf8("Nieprawidłowy parametr Async");
    QTest::newRow("line settings")
        << 7 << 22 << QString::fromUtf8("Błąd funkcji SetCommState (win error code: 22)");
    QTest::newRow("sync method") << 14 << -1
                                 << QString::fromUtf8("Nie można wywołać SyncMethod dopóki "
                                                      "trwa połączenie");
    QTest::newRow("last") << 19 << -1
                          << QString::fromUtf8("Nie można zmienić stanu led dopóki ComPort "
                                               "jest wybrany");
}

void TestCPortModel::messages()
{
    QFETCH(int, code);
    QFETCH(int, winCode);
    QFETCH(QString, message);
    const EComPort error(code, winCode);
    QCOMPARE(error.Code(), code);
    QCOMPARE(error.WinCode(), winCode);
    QCOMPARE(QString::fromStdString(error.Message()), message);
    QCOMPARE(QString::fromUtf8(error.what()), message);
}

void TestCPortModel::settingsTextRoundTrip()
{
    TComPort source;
    source.SetPort("COM4");
    source.SetBaudRate(br1339);
    source.SetStopBits(sbOne5StopBits);
    source.SetDataBits(dbSeven);
    source.Parity().SetBits(prSpace);
    source.Parity().SetCheck(true);
    source.Parity().SetReplaceChar(63);
    source.FlowControl().SetFlowControl(fcSoftware);
    source.FlowControl().SetControlDTR(dtrHandshake);
    source.FlowControl().SetXonChar(1);
    source.Timeouts().SetReadTotalConstant(300);
    source.Buffer().SetInputSize(2048);
    source.SetEventChar(13);
    source.SetDiscardNull(true);

    QMap<QString, QString> basic;
    source.StoreSettings(basic);
    QCOMPARE(basic.size(), 6);
    QCOMPARE(basic["BaudRate"], QString("1339"));
    QCOMPARE(basic["StopBits"], QString("1.5"));
    QCOMPARE(basic["Parity"], QString("Space"));
    QCOMPARE(basic["FlowControl"], QString("Software"));

    QMap<QString, QString> all;
    source.StoreSettings(all, TStoredProps::All());
    QCOMPARE(all["DiscardNull"], QString("Yes"));
    QCOMPARE(all["FlowControl.ControlDTR"], QString("Handshake"));
    QCOMPARE(all["Parity.Replace"], QString("No"));

    TComPort copy;
    copy.LoadSettings(all, TStoredProps::All());
    QMap<QString, QString> again;
    copy.StoreSettings(again, TStoredProps::All());
    QCOMPARE(again, all);
}

void TestCPortModel::settingsTextReading_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("case ignored") << "Parity"
                                  << "eVeN"
                                  << "Even";
    QTest::newRow("unknown rate") << "BaudRate"
                                  << "1338"
                                  << "9600";
    QTest::newRow("unknown flow control: custom, which changes nothing") << "FlowControl"
                                                                         << "Both"
                                                                         << "None";
    QTest::newRow("unknown stop bits") << "StopBits"
                                       << "3"
                                       << "1";
    QTest::newRow("unknown data bits") << "DataBits"
                                       << "9"
                                       << "8";
}

void TestCPortModel::settingsTextReading()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    TComPort port;
    port.SetBaudRate(br1339);
    port.SetStopBits(sbTwoStopBits);
    port.SetDataBits(dbFive);
    port.LoadSettings({{key, text}});
    QMap<QString, QString> entries;
    port.StoreSettings(entries);
    QCOMPARE(entries[key], stored);
    QVERIFY(ComSettingsText::BoolFrom("yes"));
    QVERIFY(!ComSettingsText::BoolFrom("True"));
}

QTEST_GUILESS_MAIN(TestCPortModel)
#include "tst_cport_model.moc"
