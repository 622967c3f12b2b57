#include "model/TZorvexSettings.h"

#include <QtTest>

class TstSettings : public QObject
{
    Q_OBJECT

private slots:
    void factoryDigits_data();
    void factoryDigits();
    void factoryRecords();
    void defaultsLeaveNoTrace();
};

void TstSettings::factoryDigits_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("digits");
    QTest::newRow("installer code") << 76 << 4 << "9179";
    QTest::newRow("first code") << 68 << 4 << "0791";
    QTest::newRow("last code") << 108 << 4 << "9143";
    QTest::newRow("phone 1 empty") << 112 << 8 << "";
    QTest::newRow("station 1 empty") << 16 << 8 << "";
    QTest::newRow("Polpager empty") << 192 << 64 << "";
}

void TstSettings::factoryDigits()
{
    QFETCH(int, offset);
    QFETCH(int, count);
    QFETCH(QString, digits);
    TZorvexSettings s;
    s.LoadDefaults();
    std::string text;
    s.Cfg.GetDigits(offset, count, text, true);
    QCOMPARE(QString::fromStdString(text), digits);
}

void TstSettings::factoryRecords()
{
    TZorvexSettings s;
    s.LoadDefaults();
    QCOMPARE(s.Comment.GetText(0), std::string("Dialer MEDRA ZVX-A"));
    TComment::Record r;
    s.Comment.GetRecord(0, r);
    for (int i = 18; i < TComment::RecordSize; ++i)
        QCOMPARE(r[i], std::uint8_t(0));
    for (int k = 1; k < TComment::Count; ++k)
        QVERIFY(s.Comment.GetText(k).empty());
}

void TstSettings::defaultsLeaveNoTrace()
{
    TZorvexSettings fresh;
    fresh.LoadDefaults();

    TZorvexSettings used;
    used.Cfg.Fill(0, 0xA5, 256);
    TComment::Record junk;
    junk.fill('x');
    for (int k = 0; k < TComment::Count; ++k)
        used.Comment.SetRecord(k, junk);
    used.LoadDefaults();
    QVERIFY(used == fresh);
    QCOMPARE(used.Cfg.GetByte(0), std::uint8_t(0));
    QCOMPARE(used.Cfg.GetByte(54), std::uint8_t(0));
}

QTEST_APPLESS_MAIN(TstSettings)
#include "tst_settings.moc"
