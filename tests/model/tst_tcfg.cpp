#include "model/ERangeError.h"
#include "model/TCfg.h"

#include <QtTest>

class TstTCfg : public QObject
{
    Q_OBJECT

private slots:
    void checkRange_data();
    void checkRange();
    void failingCallsChangeNothing();
    void fillCountZeroOrBelow();
    void setDigits_data();
    void setDigits();
    void getDigits_data();
    void getDigits();
    void digitValue_data();
    void digitValue();
    void getDigitsOutputEmptyOnRangeError();
};

void TstTCfg::checkRange_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("message"); // empty: passes

    QTest::newRow("last byte") << 255 << 1 << QString();
    QTest::newRow("whole image") << 0 << 256 << QString();
    QTest::newRow("count 0 in range") << 100 << 0 << QString();
    QTest::newRow("negative count in range") << 10 << -5 << QString();
    QTest::newRow("256") << 256 << 0 << "Index 256 poza prawidłowym zakresem: 0..255";
    QTest::newRow("-1") << -1 << 1 << "Index -1 poza prawidłowym zakresem: 0..255";
    QTest::newRow("end 259") << 250 << 10 << "Index + Count 259 poza prawidłowym zakresem: 0..255";
    QTest::newRow("end 256") << 0 << 257 << "Index + Count 256 poza prawidłowym zakresem: 0..255";
    QTest::newRow("huge count does not wrap")
        << 200 << 2147483647 << "Index + Count 2147483647 poza prawidłowym zakresem: 0..255";
}

void TstTCfg::checkRange()
{
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(QString, message);
    TCfg cfg;
    try {
        QVERIFY(cfg.CheckRange(index, count));
        QVERIFY2(message.isEmpty(), "expected ERangeError");
    } catch (const ERangeError& e) {
        QCOMPARE(QString::fromStdString(e.Message()), message);
    }
}

void TstTCfg::failingCallsChangeNothing()
{
    TCfg cfg;
    cfg.Fill(0, 0x5A, 256);
    const TCfg before = cfg;
    const std::uint8_t src[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QVERIFY_THROWS_EXCEPTION(ERangeError, cfg.Fill(250, 0, 10));
    QVERIFY_THROWS_EXCEPTION(ERangeError, cfg.WriteBytes(250, src, 10));
    QVERIFY_THROWS_EXCEPTION(ERangeError, cfg.SetDigits("1234", 255, 2));
    QVERIFY_THROWS_EXCEPTION(ERangeError, cfg.SetByte(256, 1));
    QVERIFY_THROWS_EXCEPTION(ERangeError, cfg.GetByte(-1));
    QVERIFY(cfg == before);
}

void TstTCfg::fillCountZeroOrBelow()
{
    TCfg cfg;
    cfg.Fill(10, 7, 0);
    cfg.Fill(10, 7, -3);
    QVERIFY(cfg == TCfg());
}

void TstTCfg::setDigits_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("12 in 2 bytes") << QByteArray("12") << 2 << QByteArray::fromHex("12FF");
    QTest::newRow("1*#") << QByteArray("1*#") << 2 << QByteArray::fromHex("1EFF");
    QTest::newRow("nine digits in 4 bytes")
        << QByteArray("123456789") << 4 << QByteArray::fromHex("12345678");
    QTest::newRow("lower-case a is 0") << QByteArray("a1") << 1 << QByteArray::fromHex("01");
    QTest::newRow("upper-case hex") << QByteArray("ABCDEF") << 3 << QByteArray::fromHex("ABCDEF");
    QTest::newRow("blank and other chars are 0")
        << QByteArray(" x") << 1 << QByteArray::fromHex("00");
    QTest::newRow("empty text fills F") << QByteArray() << 3 << QByteArray::fromHex("FFFFFF");
    QTest::newRow("12B in a phone field")
        << QByteArray("12B") << 8 << QByteArray::fromHex("12BFFFFFFFFFFFFF");
}

void TstTCfg::setDigits()
{
    QFETCH(QByteArray, text);
    QFETCH(int, count);
    QFETCH(QByteArray, bytes);
    TCfg cfg;
    cfg.Fill(100, 0x77, 20);
    cfg.SetDigits(text.toStdString(), 100, count);
    for (int i = 0; i < count; ++i)
        QCOMPARE(cfg.GetByte(100 + i), static_cast<std::uint8_t>(bytes[i]));
    QCOMPARE(cfg.GetByte(100 + count), std::uint8_t(0x77)); // nothing written past the field
}

void TstTCfg::getDigits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("stopAtF");
    QTest::addColumn<QString>("text");

    QTest::newRow("stop in low nibble") << QByteArray::fromHex("123F") << true << "123";
    QTest::newRow("no stop") << QByteArray::fromHex("123F") << false << "123F";
    QTest::newRow("F0 reads empty") << QByteArray::fromHex("F012") << true << "";
    QTest::newRow("stop at first F only") << QByteArray::fromHex("1F23FFFF") << true << "1";
    QTest::newRow("zeros with stop") << QByteArray::fromHex("000000") << true << "000000";
    QTest::newRow("zeros without stop") << QByteArray::fromHex("000000") << false << "000000";
    QTest::newRow("E stays E, # ends") << QByteArray::fromHex("1EF0") << true << "1E";
    QTest::newRow("A and E") << QByteArray::fromHex("AE") << true << "AE";
    QTest::newRow("16 digits whole")
        << QByteArray::fromHex("0123456789012345") << true << "0123456789012345";
}

void TstTCfg::getDigits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, stopAtF);
    QFETCH(QString, text);
    TCfg cfg;
    cfg.WriteBytes(40, reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
    std::string out = "garbage";
    cfg.GetDigits(40, bytes.size(), out, stopAtF);
    QCOMPARE(QString::fromStdString(out), text);
}

void TstTCfg::digitValue_data()
{
    QTest::addColumn<char>("c");
    QTest::addColumn<int>("value");
    QTest::newRow("#") << '#' << 15;
    QTest::newRow("*") << '*' << 14;
    QTest::newRow("0") << '0' << 0;
    QTest::newRow("9") << '9' << 9;
    QTest::newRow("A") << 'A' << 10;
    QTest::newRow("F") << 'F' << 15;
    QTest::newRow("G") << 'G' << 0;
    QTest::newRow("a") << 'a' << 0;
    QTest::newRow("f") << 'f' << 0;
    QTest::newRow("blank") << ' ' << 0;
}

void TstTCfg::digitValue()
{
    QFETCH(char, c);
    QFETCH(int, value);
    QCOMPARE(DigitValue(c), value);
    QCOMPARE(int(DigitPairValue(c, '1')), value * 16 + 1);
}

void TstTCfg::getDigitsOutputEmptyOnRangeError()
{
    TCfg cfg;
    std::string out = "old";
    QVERIFY_THROWS_EXCEPTION(ERangeError, cfg.GetDigits(250, 10, out, false));
    QVERIFY(out.empty());
}

QTEST_APPLESS_MAIN(TstTCfg)
#include "tst_tcfg.moc"
