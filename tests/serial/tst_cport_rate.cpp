// The rate a driver really puts on the line: a port whose driver rounds 1339 bit/s too
// far is not used, and the message names both rates.

#include "RoundingBackend.h"

#include "serial/EComPort.h"

#include <QtTest>

class TestCPortRate : public QObject
{
    Q_OBJECT

private slots:
    void openJudgesTheRateSet_data();
    void openJudgesTheRateSet();
    void rateChangedWhileOpen();
};

void TestCPortRate::openJudgesTheRateSet_data()
{
    QTest::addColumn<uint>("actual"); // what the driver makes of 1339 bit/s
    QTest::addColumn<bool>("kept");
    // 2 % of 1339 is 26.78 bit/s.
    QTest::newRow("exact") << 1339u << true;
    QTest::newRow("16550 divisor 86 (1339.5)") << 1340u << true;
    QTest::newRow("26 above") << 1365u << true;
    QTest::newRow("27 above") << 1366u << false;
    QTest::newRow("26 below") << 1313u << true;
    QTest::newRow("27 below") << 1312u << false;
    QTest::newRow("rounded to 1200") << 1200u << false;
    QTest::newRow("custom rates refused: the old 9600") << 9600u << false;
    QTest::newRow("platform cannot tell") << 0u << true;
}

void TestCPortRate::openJudgesTheRateSet()
{
    QFETCH(uint, actual);
    QFETCH(bool, kept);
    RoundingPort port([actual](std::uint32_t) { return actual; });
    port.SetBaudRate(br1339);
    QString message;
    try {
        port.Open();
    } catch (const EComPort& e) {
        QCOMPARE(e.Code(), EComPort::CodeLineSettings);
        QCOMPARE(e.WinCode(), -1);
        message = QString::fromStdString(e.Message());
    }
    const QString refused =
        QStringLiteral("Przejściówka nie obsługuje prędkości 1339 bit/s (ustawiła %1 bit/s)")
            .arg(actual);
    QCOMPARE(message, kept ? QString() : refused);
    // A refused port is not used: nothing stays open behind it.
    QCOMPARE(port.Connected(), kept);
    QCOMPARE(port.Backend().IsOpen(), kept);
}

void TestCPortRate::rateChangedWhileOpen()
{
    // Standard rates are kept, 1339 becomes 1200.
    RoundingPort port([](std::uint32_t asked) { return asked == 1339 ? 1200u : asked; });
    port.SetBaudRate(br9600);
    port.Open();
    try {
        port.SetBaudRate(br1339);
        QFAIL("a rate the driver rounds to 1200 was taken");
    } catch (const EComPort& e) {
        QCOMPARE(QString::fromStdString(e.Message()),
                 QStringLiteral("Przejściówka nie obsługuje prędkości 1339 bit/s (ustawiła "
                                "1200 bit/s)"));
    }
    // As any failed apply on an open port: the new value is stored, the port stays open,
    // and the next Open (after Close) refuses it again.
    QCOMPARE(port.BaudRate(), br1339);
    QVERIFY(port.Connected());
    port.Close();
    QVERIFY_THROWS_EXCEPTION(EComPort, port.Open());
    QVERIFY(!port.Connected());
}

QTEST_GUILESS_MAIN(TestCPortRate)
#include "tst_cport_rate.moc"
