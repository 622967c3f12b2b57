#include "editors/fields/AlarmInFields.h"
#include "editors/fields/ConfigFields.h"
#include "editors/fields/HistoryFields.h"
#include "editors/fields/SystemOptionsFields.h"
#include "model/TZorvexSettings.h"
#include "tests/common/FactorySettings.h"

#include <QtTest>

// Mappings of the option dialogs (alarm inputs, system options), the event history and
// the description records.
class TstOptionFields : public QObject
{
    Q_OBJECT

private slots:
    void alarmInputs_data();
    void alarmInputs();
    void alarmInputsFromScratch();

    void systemOptions_data();
    void systemOptions();

    void historyRender_data();
    void historyRender();
    void historyReset();

    void configFactory();
    void configFullRecord();
    void configPolishRoundTrip();
};

void TstOptionFields::alarmInputs_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("function");
    QTest::addColumn<bool>("fast");
    QTest::addColumn<bool>("nc");
    QTest::addColumn<int>("written");
    QTest::newRow("A1 0C alarm") << 0 << 0x0C << 1 << false << false << 0x0C;
    QTest::newRow("A2 24 informational") << 1 << 0x24 << 2 << false << false << 0x04;
    QTest::newRow("A1 08 inactive") << 0 << 0x08 << 0 << false << false << 0x00;
    QTest::newRow("A2 08 inactive") << 1 << 0x08 << 0 << false << false << 0x00;
    QTest::newRow("A3 13 arming") << 2 << 0x13 << 3 << true << true << 0x13;
    QTest::newRow("A1 C3 bits 6, 7 dropped") << 0 << 0xC3 << 0 << true << true << 0x03;
    QTest::newRow("A2 20 mains") << 1 << 0x20 << 3 << false << false << 0x20;
    QTest::newRow("A2 10 not its bit") << 1 << 0x12 << 0 << false << true << 0x02;
    QTest::newRow("A3 20 not its bit") << 2 << 0x21 << 0 << true << false << 0x01;
    QTest::newRow("A1 30 never looked at") << 0 << 0x30 << 0 << false << false << 0x00;
    QTest::newRow("A3 1C alarm hides arming") << 2 << 0x1C << 1 << false << false << 0x0C;
    QTest::newRow("A2 FF") << 1 << 0xFF << 1 << true << true << 0x0F;
}

void TstOptionFields::alarmInputs()
{
    QFETCH(int, line);
    QFETCH(int, stored);
    QFETCH(int, function);
    QFETCH(bool, fast);
    QFETCH(bool, nc);
    QFETCH(int, written);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(39 + line, stored);
    const AlarmInFields f = AlarmInFields::Load(s);
    QCOMPARE(f.lines[line].function, function);
    QCOMPARE(f.lines[line].fast, fast);
    QCOMPARE(f.lines[line].normallyClosed, nc);
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(39 + line)), written);
}

void TstOptionFields::alarmInputsFromScratch()
{
    TZorvexSettings s = Factory();
    AlarmInFields f;
    f.lines[0] = {2, true, false};
    f.lines[1] = {3, false, true};
    f.lines[2] = {-1, true, true}; // no selection counts as inactive
    s.Cfg.Fill(39, 0xFF, 3);
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(39)), 0x05);
    QCOMPARE(int(s.Cfg.GetByte(40)), 0x22);
    QCOMPARE(int(s.Cfg.GetByte(41)), 0x03);
    QCOMPARE(int(s.Cfg.GetByte(38)), 0x00);
    QCOMPARE(int(s.Cfg.GetByte(42)), 0x00);
}

void TstOptionFields::systemOptions_data()
{
    QTest::addColumn<int>("b55");
    QTest::addColumn<int>("b44");
    QTest::addColumn<QString>("shown"); // rows 1..8, T = TAK
    QTest::addColumn<int>("row");       // 1-based row toggled, 0 none
    QTest::addColumn<int>("w55");
    QTest::addColumn<int>("w44");
    QTest::newRow("55 E5 row 1 to NIE") << 0xE5 << 0x00 << "TNTNNNNN" << 1 << 0xE4 << 0x00;
    QTest::newRow("44 04 kept") << 0x00 << 0x04 << "NNNNNNNN" << 0 << 0x00 << 0x04;
    QTest::newRow("44 0B row 8 to NIE") << 0x00 << 0x0B << "NNNNNTTT" << 8 << 0x00 << 0x03;
    QTest::newRow("44 F0 row 6") << 0x00 << 0xF0 << "NNNNNNNN" << 6 << 0x00 << 0xF1;
    QTest::newRow("44 F0 row 8") << 0x00 << 0xF0 << "NNNNNNNN" << 8 << 0x00 << 0xF8;
    QTest::newRow("55 1F row 5") << 0x1F << 0xFF << "TTTTTTTT" << 5 << 0x0F << 0xFF;
    QTest::newRow("44 FF row 7") << 0xE0 << 0xFF << "NNNNNTTT" << 7 << 0xE0 << 0xFD;
}

void TstOptionFields::systemOptions()
{
    QFETCH(int, b55);
    QFETCH(int, b44);
    QFETCH(QString, shown);
    QFETCH(int, row);
    QFETCH(int, w55);
    QFETCH(int, w44);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(55, b55);
    s.Cfg.SetByte(44, b44);
    SystemOptionsFields f = SystemOptionsFields::Load(s);
    QString seen;
    for (bool b : f.options)
        seen += b ? 'T' : 'N';
    QCOMPARE(seen, shown);
    if (row > 0)
        f.options[row - 1] = !f.options[row - 1];
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(55)), w55);
    QCOMPARE(int(s.Cfg.GetByte(44)), w44);
}

void TstOptionFields::historyRender_data()
{
    QTest::addColumn<QByteArray>("bytes"); // image bytes 6..13
    QTest::addColumn<QStringList>("rows");
    const QString no = "NIE BYŁO";
    QTest::newRow("factory") << QByteArray(8, char(0xFF)) << QStringList{no, no, no, no};
    QTest::newRow("alarm 21:05") << QByteArray::fromHex("FFFFFFFFFFFF2105")
                                 << QStringList{"21:05", no, no, no};
    QTest::newRow("hour FF, minute set")
        << QByteArray::fromHex("FFFFFFFFFF30FFFF") << QStringList{no, no, no, no};
    QTest::newRow("AC 00:FF") << QByteArray::fromHex("00FFFFFFFFFFFFFF")
                              << QStringList{no, no, "00:FF", no};
    QTest::newRow("row order") << QByteArray::fromHex("0102030405060708")
                               << QStringList{"07:08", "05:06", "01:02", "03:04"};
    QTest::newRow("not BCD") << QByteArray::fromHex("2A3BFFFFFFFFFFFF")
                             << QStringList{no, no, "2A:3B", no};
}

void TstOptionFields::historyRender()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    TZorvexSettings s = Factory();
    s.Cfg.WriteBytes(6, reinterpret_cast<const std::uint8_t*>(bytes.constData()), 8);
    const HistoryFields f = HistoryFields::Load(s);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(QString::fromStdString(f.times[i]), rows[i]);

    // Displaying and confirming without a reset writes nothing.
    const TZorvexSettings before = s;
    f.Store(s);
    QVERIFY(s == before);
}

void TstOptionFields::historyReset()
{
    TZorvexSettings s = Factory();
    const auto t = QByteArray::fromHex("0102030405060708");
    s.Cfg.WriteBytes(6, reinterpret_cast<const std::uint8_t*>(t.constData()), 8);
    s.Cfg.SetByte(5, 0x11);
    s.Cfg.SetByte(14, 0x22);
    HistoryFields f = HistoryFields::Load(s);
    f.Reset();
    for (const auto& text : f.times)
        QCOMPARE(QString::fromStdString(text), QString("NIE BYŁO"));
    f.Store(s);
    for (int i = 6; i <= 13; ++i)
        QCOMPARE(int(s.Cfg.GetByte(i)), 0xFF);
    QCOMPARE(int(s.Cfg.GetByte(5)), 0x11);
    QCOMPARE(int(s.Cfg.GetByte(14)), 0x22);
}

void TstOptionFields::configFactory()
{
    const ConfigFields f = ConfigFields::Load(Factory());
    QCOMPARE(f.texts[0], std::string("Dialer MEDRA ZVX-A"));
    for (int i = 1; i < ConfigFields::Count; ++i)
        QVERIFY(f.texts[i].empty());
}

void TstOptionFields::configFullRecord()
{
    // A record of 50 bytes without a zero byte, Polish letters among them.
    TZorvexSettings s = Factory();
    TComment::Record r;
    r.fill('x');
    r[0] = 0xA3;  // Ł
    r[49] = 0xBF; // ż
    s.Comment.SetRecord(5, r);
    const ConfigFields f = ConfigFields::Load(s);
    const QString shown = QString::fromStdString(f.texts[5]);
    QCOMPARE(shown.size(), 50);
    QCOMPARE(shown, QString("Ł") + QString(48, 'x') + QString("ż"));

    f.Store(s);
    TComment::Record back;
    s.Comment.GetRecord(5, back);
    QVERIFY(back == r);
}

void TstOptionFields::configPolishRoundTrip()
{
    TZorvexSettings s = Factory();
    ConfigFields f = ConfigFields::Load(s);
    f.texts[1] = "ul. Źródlana 5, Łódź";
    f.texts[13] = "zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ";
    f.texts[2] = "emoji \xF0\x9F\x98\x80 end"; // not in the code page
    f.Store(s);
    QCOMPARE(s.Comment.GetText(1).size(), std::size_t(20));     // one byte per letter
    QCOMPARE(int(std::uint8_t(s.Comment.GetText(1)[4])), 0x8F); // Ź in Windows-1250
    const ConfigFields back = ConfigFields::Load(s);
    QCOMPARE(back.texts[1], f.texts[1]);
    QCOMPARE(back.texts[13], f.texts[13]);
    QCOMPARE(back.texts[2], std::string("emoji ? end"));
}

QTEST_APPLESS_MAIN(TstOptionFields)
#include "tst_optionfields.moc"
