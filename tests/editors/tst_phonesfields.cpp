#include "editors/fields/PhonesFields.h"
#include "editors/fields/StationFields.h"
#include "model/TZorvexSettings.h"

#include "tests/editors/FieldsTestKit.h"

#include <QtTest>

namespace {

void Write(TCfg& cfg, int offset, const QByteArray& bytes)
{
    cfg.WriteBytes(offset, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                   int(bytes.size()));
}

// Every offset not in owned is as it was.
bool OnlyRegionChanged(const TCfg& before, const TCfg& after, const QList<int>& owned)
{
    for (int i = 0; i < TCfg::Size; ++i)
        if (!owned.contains(i) && before.GetByte(i) != after.GetByte(i))
            return false;
    return true;
}

QList<int> Span(int first, int last)
{
    QList<int> list;
    for (int i = first; i <= last; ++i)
        list << i;
    return list;
}

} // namespace

// Mappings of the telephone numbers and of the monitoring stations: packed numbers that
// stop at the first F, and choice bytes that may hold values no control can show.
class TstPhonesFields : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data();
    void numbers();
    void numberTextStored_data();
    void numberTextStored();
    void stationChoice_data();
    void stationChoice();
    void locks();
    void phonesStoreOwnBytesOnly();

    void stationNumbers_data();
    void stationNumbers();
    void subscriberCodes_data();
    void subscriberCodes();
    void formatsAndMode_data();
    void formatsAndMode();
    void stationsStoreOwnBytesOnly();
};

void TstPhonesFields::numbers_data()
{
    // Bytes of number 4 -> text shown -> bytes after OK without changes.
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("written");
    const QByteArray ff6(6, '\xFF');
    QTest::newRow("12B") << QByteArray::fromHex("12BF") + ff6 << "12B"
                         << QByteArray::fromHex("12BF") + ff6;
    QTest::newRow("16 digits") << QByteArray::fromHex("0123456789BCD987") << "0123456789BCD987"
                               << QByteArray::fromHex("0123456789BCD987");
    QTest::newRow("digits behind an F are lost") << QByteArray::fromHex("1F23FFFFFFFFFFFF") << "1"
                                                 << QByteArray::fromHex("1FFFFFFFFFFFFFFF");
    QTest::newRow("eight zero bytes")
        << QByteArray(8, '\0') << QString(16, '0') << QByteArray(8, '\0');
    QTest::newRow("empty") << QByteArray(8, '\xFF') << "" << QByteArray(8, '\xFF');
    QTest::newRow("nibbles 10 and 14 kept") << QByteArray::fromHex("A1E2FFFFFFFFFFFF") << "A1E2"
                                            << QByteArray::fromHex("A1E2FFFFFFFFFFFF");
}

void TstPhonesFields::numbers()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QFETCH(QByteArray, written);
    TZorvexSettings s = Factory();
    Write(s.Cfg, 136, stored);
    const PhonesFields f = PhonesFields::Load(s);
    QCOMPARE(QString::fromStdString(f.numbers[3]), shown);
    f.Store(s);
    QCOMPARE(Read(s.Cfg, 136, 8), written);
}

void TstPhonesFields::numberTextStored_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("12B") << "12B" << QByteArray::fromHex("12BFFFFFFFFFFFFF");
    QTest::newRow("emptied") << "" << QByteArray(8, '\xFF');
    // Pasted past the filter: 16 characters kept, each by its digit value.
    QTest::newRow("pasted, too long")
        << "12345678901234567" << QByteArray::fromHex("1234567890123456");
    QTest::newRow("pasted lower case and signs")
        << "b*#-" << QByteArray::fromHex("0EF0FFFFFFFFFFFF");
}

void TstPhonesFields::numberTextStored()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    TZorvexSettings s = Factory();
    PhonesFields f = PhonesFields::Load(s);
    f.numbers[7] = text.toStdString();
    f.Store(s);
    QCOMPARE(Read(s.Cfg, 168, 8), bytes);
}

void TstPhonesFields::stationChoice_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("written");
    QTest::newRow("none") << 0 << 8 << 0;
    QTest::newRow("1") << 1 << 0 << 1;
    QTest::newRow("3") << 3 << 2 << 3;
    QTest::newRow("8") << 8 << 7 << 8;
    QTest::newRow("9 becomes none") << 9 << 8 << 0;
    QTest::newRow("255 becomes none") << 255 << 8 << 0;
}

void TstPhonesFields::stationChoice()
{
    QFETCH(int, stored);
    QFETCH(int, item);
    QFETCH(int, written);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(56, std::uint8_t(stored));
    s.Cfg.SetByte(66, std::uint8_t(stored));
    PhonesFields f = PhonesFields::Load(s);
    QCOMPARE(f.station1, item);
    QCOMPARE(f.station2, item);
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(56)), written);
    QCOMPARE(int(s.Cfg.GetByte(66)), written);
    // "Brak" and no selection at all both write 0; station 2 on its own.
    f.station1 = 4;
    f.station2 = -1;
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(56)), 5);
    QCOMPARE(int(s.Cfg.GetByte(66)), 0);
}

void TstPhonesFields::locks()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(58, 0x81);
    PhonesFields f = PhonesFields::Load(s);
    QCOMPARE(f.locked, (std::array<bool, 8>{true, false, false, false, false, false, false, true}));
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(58)), 0x81);
    f.locked[0] = false;
    f.locked[2] = true;
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(58)), 0x84);
}

void TstPhonesFields::phonesStoreOwnBytesOnly()
{
    TZorvexSettings s = Factory();
    for (int i = 0; i < TCfg::Size; ++i)
        s.Cfg.SetByte(i, std::uint8_t(i * 7 + 3));
    const TCfg before = s.Cfg;
    PhonesFields f = PhonesFields::Load(s);
    f.numbers.fill("5");
    f.locked.fill(true);
    f.station1 = f.station2 = 1;
    f.Store(s);
    QVERIFY(OnlyRegionChanged(before, s.Cfg, Span(112, 175) << 56 << 58 << 66));
}

void TstPhonesFields::stationNumbers_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("582107") << QByteArray::fromHex("582107FFFFFFFFFF") << "582107"
                            << "582107" << QByteArray::fromHex("582107FFFFFFFFFF");
    QTest::newRow("emptied") << QByteArray::fromHex("582107FFFFFFFFFF") << "582107"
                             << "" << QByteArray(8, '\xFF');
    QTest::newRow("16 digits") << QByteArray(8, '\xFF') << ""
                               << "1234567890123456" << QByteArray::fromHex("1234567890123456");
    QTest::newRow("B C D") << QByteArray(8, '\xFF') << ""
                           << "B1C2D" << QByteArray::fromHex("B1C2DFFFFFFFFFFF");
    QTest::newRow("pasted * # G") << QByteArray(8, '\xFF') << ""
                                  << "1*#G2" << QByteArray::fromHex("1EF02FFFFFFFFFFF");
}

void TstPhonesFields::stationNumbers()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QByteArray, written);
    TZorvexSettings s = Factory();
    Write(s.Cfg, 24, stored);
    StationFields f = StationFields::Load(s);
    QCOMPARE(QString::fromStdString(f.numbers[1]), shown);
    f.numbers[1] = typed.toStdString();
    f.Store(s);
    QCOMPARE(Read(s.Cfg, 24, 8), written);
    QCOMPARE(Read(s.Cfg, 16, 8), QByteArray(8, '\xFF'));
}

void TstPhonesFields::subscriberCodes_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("12 padded with zeros") << QByteArray::fromHex("0000") << "0000"
                                          << "12" << QByteArray::fromHex("1200");
    QTest::newRow("1200 shown whole") << QByteArray::fromHex("1200") << "1200"
                                      << "1200" << QByteArray::fromHex("1200");
    QTest::newRow("emptied") << QByteArray::fromHex("4321") << "4321"
                             << "" << QByteArray::fromHex("0000");
    QTest::newRow("stored F cuts, OK pads") << QByteArray::fromHex("123F") << "123"
                                            << "123" << QByteArray::fromHex("1230");
    QTest::newRow("B C D") << QByteArray::fromHex("FFFF") << ""
                           << "BCD" << QByteArray::fromHex("BCD0");
    QTest::newRow("pasted #") << QByteArray::fromHex("FFFF") << ""
                              << "1#" << QByteArray::fromHex("1F00");
}

void TstPhonesFields::subscriberCodes()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QByteArray, written);
    TZorvexSettings s = Factory();
    Write(s.Cfg, 34, stored);
    StationFields f = StationFields::Load(s);
    QCOMPARE(QString::fromStdString(f.subscribers[0]), shown);
    f.subscribers[0] = typed.toStdString();
    f.Store(s);
    QCOMPARE(Read(s.Cfg, 34, 2), written);
    QCOMPARE(Read(s.Cfg, 36, 2), QByteArray::fromHex("0000"));
}

void TstPhonesFields::formatsAndMode_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("formatWritten");
    QTest::addColumn<int>("modeWritten");
    QTest::newRow("0") << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("4") << 4 << 4 << 4 << 4 << 4;
    QTest::newRow("5") << 5 << 5 << 4 << 5 << 4;
    QTest::newRow("7 shows DUAL") << 7 << 7 << 4 << 7 << 4;
    QTest::newRow("14") << 14 << 14 << 4 << 14 << 4;
    QTest::newRow("15: no format") << 15 << -1 << 4 << 255 << 4;
    QTest::newRow("FF: no format") << 255 << -1 << 4 << 255 << 4;
}

void TstPhonesFields::formatsAndMode()
{
    QFETCH(int, stored);
    QFETCH(int, format);
    QFETCH(int, mode);
    QFETCH(int, formatWritten);
    QFETCH(int, modeWritten);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(33, std::uint8_t(stored));
    s.Cfg.SetByte(38, std::uint8_t(stored));
    const StationFields f = StationFields::Load(s);
    QCOMPARE(f.formats[0], 0);
    QCOMPARE(f.formats[1], format);
    QCOMPARE(f.mode, mode);
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(32)), 0);
    QCOMPARE(int(s.Cfg.GetByte(33)), formatWritten);
    QCOMPARE(int(s.Cfg.GetByte(38)), modeWritten);
}

void TstPhonesFields::stationsStoreOwnBytesOnly()
{
    TZorvexSettings s = Factory();
    for (int i = 0; i < TCfg::Size; ++i)
        s.Cfg.SetByte(i, std::uint8_t(i * 11 + 5));
    const TCfg before = s.Cfg;
    StationFields f = StationFields::Load(s);
    f.numbers = {"1", "2"};
    f.subscribers = {"3", "4"};
    f.formats = {1, 2};
    f.mode = 3;
    f.Store(s);
    QVERIFY(OnlyRegionChanged(before, s.Cfg, Span(16, 38)));
    QCOMPARE(Read(s.Cfg, 16, 23),
             QByteArray::fromHex("1FFFFFFFFFFFFFFF2FFFFFFFFFFFFFFF01023000400003"));
}

QTEST_APPLESS_MAIN(TstPhonesFields)
#include "tst_phonesfields.moc"
