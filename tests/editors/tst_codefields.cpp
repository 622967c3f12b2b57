#include "editors/fields/CodeFields.h"
#include "editors/fields/EventCodeFields.h"
#include "model/TZorvexSettings.h"
#include "resources/ConstsZVX.h"

#include "tests/editors/FieldsTestKit.h"

#include <QtTest>

namespace {

// Eleven different codes of four or more digits, in check order.
CodeFields ValidCodes()
{
    CodeFields f;
    f.codes = {"1000", "1001", "1002", "1003", "1004",    "1005",
               "1006", "1007", "2000", "2001", "30000000"};
    return f;
}

} // namespace

// Mappings of the access codes (with their checks) and of the event codes and test time.
class TstCodeFields : public QObject
{
    Q_OBJECT

private slots:
    void factoryCodesInCheckOrder();
    void check_data();
    void check();
    void codesStored_data();
    void codesStored();
    void optionBitOnly_data();
    void optionBitOnly();
    void codesStoreOwnBytesOnly();

    void eventCodes_data();
    void eventCodes();
    void testTime_data();
    void testTime();
    void timeStored_data();
    void timeStored();
};

void TstCodeFields::factoryCodesInCheckOrder()
{
    const CodeFields f = CodeFields::Load(Factory());
    QCOMPARE(f.codes, (std::array<std::string, 11>{"9358", "8974", "9246", "0976", "4919", "8387",
                                                   "8011", "9143", "0791", "0812", "9179"}));
    QVERIFY(!f.Check());
}

void TstCodeFields::check_data()
{
    // Changes to ValidCodes() as (field, text) pairs -> message and field to focus.
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("message"); // empty: passes
    QTest::addColumn<int>("focus");
    const QString bad = ConstsZVX::BadData;
    const QString repeated = ConstsZVX::CodesRepeated;

    QTest::newRow("all different") << QList<int>{} << QStringList{} << QString() << -1;
    QTest::newRow("empty installer code") << QList<int>{10} << QStringList{""} << bad << 10;
    QTest::newRow("three digits") << QList<int>{4} << QStringList{"123"} << bad << 4;
    QTest::newRow("KU0 equals KU4") << QList<int>{4} << QStringList{"1000"} << repeated << 4;
    QTest::newRow("KU9 equals KU2, focus on KU9")
        << QList<int>{9} << QStringList{"1002"} << repeated << 9;
    QTest::newRow("short KU0 before equal KU1, KU2")
        << QList<int>{0, 1} << QStringList{"123", "1002"} << bad << 0;
    QTest::newRow("equal KU0, KU1 before short KU2")
        << QList<int>{1, 2} << QStringList{"1000", "123"} << repeated << 1;
    QTest::newRow("installer equals KU8: KU8 checked first")
        << QList<int>{10} << QStringList{"2000"} << repeated << 10;
    QTest::newRow("a later pair found from the earlier field")
        << QList<int>{3, 7} << QStringList{"5555", "5555"} << repeated << 7;
    QTest::newRow("4 and 8 digits with the same start differ")
        << QList<int>{0, 1} << QStringList{"1234", "12345678"} << QString() << -1;
    QTest::newRow("two empty codes: too short, not equal")
        << QList<int>{5, 6} << QStringList{"", ""} << bad << 5;
}

void TstCodeFields::check()
{
    QFETCH(QList<int>, fields);
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    QFETCH(int, focus);
    CodeFields f = ValidCodes();
    for (int i = 0; i < fields.size(); ++i)
        f.codes[fields[i]] = texts[i].toStdString();
    const auto failure = f.Check();
    QCOMPARE(bool(failure), !message.isEmpty());
    if (failure) {
        QCOMPARE(QString(failure->message), message);
        QCOMPARE(failure->field, focus);
    }
}

void TstCodeFields::codesStored_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("KU0, four digits") << 0 << "1234" << 80 << QByteArray::fromHex("1234FFFF");
    QTest::newRow("KU7, eight digits") << 7 << "98765432" << 108 << QByteArray::fromHex("98765432");
    QTest::newRow("KU8") << 8 << "0001" << 68 << QByteArray::fromHex("0001FFFF");
    QTest::newRow("KU9") << 9 << "4444" << 72 << QByteArray::fromHex("4444FFFF");
    QTest::newRow("installer, five digits")
        << 10 << "55555" << 76 << QByteArray::fromHex("55555FFF");
}

void TstCodeFields::codesStored()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    TZorvexSettings s = Factory();
    CodeFields f = CodeFields::Load(s);
    f.codes[field] = text.toStdString();
    f.Store(s);
    QCOMPARE(Read(s.Cfg, offset, 4), bytes);
    QCOMPARE(QString::fromStdString(CodeFields::Load(s).codes[field]), text);
}

void TstCodeFields::optionBitOnly_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("written");
    QTest::newRow("0B shows NIE, TAK writes 0F") << 0x0B << 0 << 1 << 0x0F;
    QTest::newRow("FF shows TAK, NIE writes FB") << 0xFF << 1 << 0 << 0xFB;
    QTest::newRow("04 unchanged") << 0x04 << 1 << 1 << 0x04;
    QTest::newRow("F0 unchanged") << 0xF0 << 0 << 0 << 0xF0;
}

void TstCodeFields::optionBitOnly()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, chosen);
    QFETCH(int, written);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(44, std::uint8_t(stored));
    CodeFields f = CodeFields::Load(s);
    QCOMPARE(f.trc, shown);
    f.trc = chosen;
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(44)), written);
}

void TstCodeFields::codesStoreOwnBytesOnly()
{
    TZorvexSettings s = Factory();
    for (int i = 0; i < TCfg::Size; ++i)
        s.Cfg.SetByte(i, std::uint8_t(i * 13 + 1));
    s.Cfg.SetByte(59, 0x01);
    const TCfg before = s.Cfg;
    CodeFields f = CodeFields::Load(s);
    QCOMPARE(f.locked,
             (std::array<bool, 8>{true, false, false, false, false, false, false, false}));
    f = ValidCodes();
    f.locked[7] = true;
    f.Store(s);
    for (int i = 0; i < TCfg::Size; ++i)
        if (i != 44 && i != 59 && (i < 68 || i > 111))
            QCOMPARE(s.Cfg.GetByte(i), before.GetByte(i));
    QCOMPARE(int(s.Cfg.GetByte(59)), 0x80);
    QCOMPARE(Read(s.Cfg, 68, 12), QByteArray::fromHex("2000FFFF2001FFFF30000000"));
}

void TstCodeFields::eventCodes_data()
{
    // Byte 176 + index -> text shown; text put in -> byte after OK.
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("written");
    QTest::newRow("3A unchanged") << 0 << 0x3A << "3A"
                                  << "3A" << 0x3A;
    QTest::newRow("FF unchanged") << 15 << 0xFF << "FF"
                                  << "FF" << 0xFF;
    QTest::newRow("00") << 7 << 0x00 << "00"
                        << "00" << 0x00;
    QTest::newRow("single 5") << 3 << 0x12 << "12"
                              << "5" << 0x5F;
    QTest::newRow("emptied") << 9 << 0x12 << "12"
                             << "" << 0x00;
    QTest::newRow("pasted G") << 4 << 0x12 << "12"
                              << "G1" << 0x01;
    QTest::newRow("pasted *") << 5 << 0x12 << "12"
                              << "*5" << 0xE5;
}

void TstCodeFields::eventCodes()
{
    QFETCH(int, index);
    QFETCH(int, stored);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(int, written);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(176 + index, std::uint8_t(stored));
    EventCodeFields f = EventCodeFields::Load(s);
    QCOMPARE(QString::fromStdString(f.codes[index]), shown);
    f.codes[index] = typed.toStdString();
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(176 + index)), written);
    for (int i = 176; i < 192; ++i)
        if (i != 176 + index)
            QCOMPARE(int(s.Cfg.GetByte(i)), 0);
}

void TstCodeFields::testTime_data()
{
    QTest::addColumn<int>("hourByte");
    QTest::addColumn<int>("minuteByte");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::newRow("7:30") << 0x07 << 0x30 << 7 << 30;
    QTest::newRow("midnight") << 0x00 << 0x00 << 0 << 0;
    QTest::newRow("23:59") << 0x23 << 0x59 << 23 << 59;
    QTest::newRow("hour cut at F") << 0x1F << 0x05 << 1 << 5;
    // Not a time of day: opens at 00:00 instead of failing before the dialog shows.
    QTest::newRow("hour 24") << 0x24 << 0x00 << 0 << 0;
    QTest::newRow("FF FF") << 0xFF << 0xFF << 0 << 0;
    QTest::newRow("minute 60") << 0x07 << 0x60 << 0 << 0;
    QTest::newRow("hex digit") << 0x0A << 0x10 << 0 << 0;
    QTest::newRow("empty minute") << 0x12 << 0xF3 << 0 << 0;
}

void TstCodeFields::testTime()
{
    QFETCH(int, hourByte);
    QFETCH(int, minuteByte);
    QFETCH(int, hour);
    QFETCH(int, minute);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(62, std::uint8_t(hourByte));
    s.Cfg.SetByte(63, std::uint8_t(minuteByte));
    const EventCodeFields f = EventCodeFields::Load(s);
    QCOMPARE(f.hour, hour);
    QCOMPARE(f.minute, minute);
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(62)), (hour / 10) << 4 | hour % 10);
    QCOMPARE(int(s.Cfg.GetByte(63)), (minute / 10) << 4 | minute % 10);
}

void TstCodeFields::timeStored_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("7:05") << 7 << 5 << QByteArray::fromHex("0705");
    QTest::newRow("23:59") << 23 << 59 << QByteArray::fromHex("2359");
    QTest::newRow("10:40") << 10 << 40 << QByteArray::fromHex("1040");
}

void TstCodeFields::timeStored()
{
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(QByteArray, bytes);
    TZorvexSettings s = Factory();
    EventCodeFields f = EventCodeFields::Load(s);
    f.hour = hour;
    f.minute = minute;
    f.Store(s);
    QCOMPARE(Read(s.Cfg, 62, 2), bytes);
}

QTEST_APPLESS_MAIN(TstCodeFields)
#include "tst_codefields.moc"
