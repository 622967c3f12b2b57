#include "editors/fields/AlarmOutFields.h"
#include "editors/fields/ByteText.h"
#include "editors/fields/DelayFields.h"
#include "editors/fields/PhoneParamFields.h"
#include "model/Exception.h"
#include "model/TZorvexSettings.h"

#include "tests/editors/FieldsTestKit.h"

#include <QtTest>

namespace {
QString ConvertMessage(const std::string& text)
{
    try {
        ByteFromText(text);
    } catch (const EConvertError& e) {
        return QString::fromStdString(e.Message());
    }
    return {};
}
} // namespace

// Mappings of the dialogs whose fields are one-byte numbers: dialing parameters, PGM
// outputs, delays, and the text rule they share.
class TstNumberFields : public QObject
{
    Q_OBJECT

private slots:
    void byteText_data();
    void byteText();
    void appendedDigit_data();
    void appendedDigit();

    void phoneParamOptions_data();
    void phoneParamOptions();
    void phoneParamNumbers_data();
    void phoneParamNumbers();
    void phoneParamBadTextWritesNothing();

    void pgmTriggers_data();
    void pgmTriggers();
    void pgmTimes();
    void pgmBadTextWritesNothing();

    void delaysRowOrder();
    void delaysEmptyAndBad();
};

void TstNumberFields::byteText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -1: refused
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("max") << "255" << 255;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("256") << "256" << -1;
    QTest::newRow("typed in the middle") << "2505" << -1;
    QTest::newRow("huge") << "99999999999999999999" << -1;
    QTest::newRow("word") << "abc" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("sign") << "-1" << -1;
    QTest::newRow("blank") << " 5" << -1;
}

void TstNumberFields::byteText()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    const std::string t = text.toStdString();
    if (value < 0) {
        QCOMPARE(ConvertMessage(t), QString("'%1' is not a valid integer value").arg(text));
    } else {
        QCOMPARE(int(ByteFromText(t)), value);
        QCOMPARE(ByteToText(value), std::to_string(value));
    }
}

void TstNumberFields::appendedDigit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("digit");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<bool>("fits");
    QTest::newRow("25 then 5") << "25" << QChar('5') << 0 << 255 << true;
    QTest::newRow("25 then 6") << "25" << QChar('6') << 0 << 255 << false;
    QTest::newRow("0 into empty 1..4") << "" << QChar('0') << 1 << 4 << false;
    QTest::newRow("0 into empty 0..9") << "" << QChar('0') << 0 << 9 << true;
    QTest::newRow("3 after 2 in 1..4") << "2" << QChar('3') << 1 << 4 << false;
    QTest::newRow("after pasted word") << "x" << QChar('1') << 0 << 255 << false;
}

void TstNumberFields::appendedDigit()
{
    QFETCH(QString, text);
    QFETCH(QChar, digit);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(bool, fits);
    QCOMPARE(AppendedDigitFits(text.toStdString(), char(digit.unicode()), minimum, maximum), fits);
}

void TstNumberFields::phoneParamOptions_data()
{
    QTest::addColumn<int>("byte46");
    QTest::addColumn<QList<bool>>("shown");
    QTest::addColumn<int>("changeGroup"); // -1: no change
    QTest::addColumn<int>("written");
    QTest::newRow("F5 unchanged") << 0xF5 << QList<bool>{true, false, true, false} << -1 << 0xF5;
    QTest::newRow("F5 group 2 TAK") << 0xF5 << QList<bool>{true, false, true, false} << 1 << 0xF7;
    QTest::newRow("0F group 4 NIE") << 0x0F << QList<bool>{true, true, true, true} << 3 << 0x07;
    QTest::newRow("factory") << 0x00 << QList<bool>{false, false, false, false} << -1 << 0x00;
}

void TstNumberFields::phoneParamOptions()
{
    QFETCH(int, byte46);
    QFETCH(QList<bool>, shown);
    QFETCH(int, changeGroup);
    QFETCH(int, written);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(46, byte46);
    PhoneParamFields f = PhoneParamFields::Load(s);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(f.options[i], shown[i]);
    if (changeGroup >= 0)
        f.options[changeGroup] = !f.options[changeGroup];
    s.Cfg.SetByte(46, 0x00); // bits 4..7 come from what was read, not from the image now
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(46)), written);
}

void TstNumberFields::phoneParamNumbers_data()
{
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<QStringList>("typed"); // empty list: left as shown
    QTest::addColumn<QList<int>>("written");
    QTest::addColumn<QStringList>("filled");
    QTest::newRow("factory") << QList<int>{2, 4, 0} << QStringList{} << QList<int>{2, 4, 0}
                             << QStringList{"2", "4", "0"};
    QTest::newRow("all emptied") << QList<int>{3, 7, 200} << QStringList{"", "", ""}
                                 << QList<int>{1, 0, 0} << QStringList{"1", "0", "0"};
    QTest::newRow("outside the spin ranges kept")
        << QList<int>{0, 12, 255} << QStringList{} << QList<int>{0, 12, 255}
        << QStringList{"0", "12", "255"};
    QTest::newRow("47 = 9 kept") << QList<int>{9, 0, 1} << QStringList{} << QList<int>{9, 0, 1}
                                 << QStringList{"9", "0", "1"};
}

void TstNumberFields::phoneParamNumbers()
{
    QFETCH(QList<int>, stored);
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, written);
    QFETCH(QStringList, filled);
    TZorvexSettings s = Factory();
    for (int i = 0; i < 3; ++i)
        s.Cfg.SetByte(47 + i, stored[i]);
    PhoneParamFields f = PhoneParamFields::Load(s);
    for (int i = 0; i < typed.size(); ++i)
        f.numbers[i] = typed[i].toStdString();
    f.Store(s);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(int(s.Cfg.GetByte(47 + i)), written[i]);
    f.FillEmptyNumbers();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(QString::fromStdString(f.numbers[i]), filled[i]);
}

void TstNumberFields::phoneParamBadTextWritesNothing()
{
    TZorvexSettings s = Factory();
    PhoneParamFields f = PhoneParamFields::Load(s);
    f.options = {true, true, true, true};
    f.numbers = {"3", "5", "x"};
    const TZorvexSettings before = s;
    QVERIFY_THROWS_EXCEPTION(EConvertError, f.Store(s));
    QVERIFY(s == before);
}

void TstNumberFields::pgmTriggers_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("written"); // after OK without a choice
    QTest::newRow("00 inactive") << 0x00 << 7 << 0x00;
    QTest::newRow("01 line voltage") << 0x01 << 0 << 0x01;
    QTest::newRow("08 unconfirmed") << 0x08 << 3 << 0x08;
    QTest::newRow("40 system") << 0x40 << 6 << 0x40;
    QTest::newRow("03 two bits") << 0x03 << -1 << 0x00;
    QTest::newRow("80 unknown bit") << 0x80 << -1 << 0x00;
    QTest::newRow("FF") << 0xFF << -1 << 0x00;
}

void TstNumberFields::pgmTriggers()
{
    QFETCH(int, stored);
    QFETCH(int, item);
    QFETCH(int, written);
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(51, stored);
    const AlarmOutFields f = AlarmOutFields::Load(s);
    QCOMPARE(f.triggers[1], item);
    QCOMPARE(f.triggers[0], 7); // factory 0x00
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(51)), written);
    QCOMPARE(int(s.Cfg.GetByte(50)), 0);
}

void TstNumberFields::pgmTimes()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(52, 255);
    s.Cfg.SetByte(53, 255);
    AlarmOutFields f = AlarmOutFields::Load(s);
    QCOMPARE(f.times[0], std::string("255"));
    QCOMPARE(f.times[1], std::string("255"));
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(52)), 255);
    QCOMPARE(int(s.Cfg.GetByte(53)), 255);

    f.times = {"", "17"};
    f.triggers = {4, 5};
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(50)), 0x10);
    QCOMPARE(int(s.Cfg.GetByte(51)), 0x20);
    QCOMPARE(int(s.Cfg.GetByte(52)), 0);
    QCOMPARE(int(s.Cfg.GetByte(53)), 17);
}

void TstNumberFields::pgmBadTextWritesNothing()
{
    // A pasted word in the second time field: the triggers before it must not be written.
    TZorvexSettings s = Factory();
    AlarmOutFields f = AlarmOutFields::Load(s);
    f.triggers = {1, 2};
    f.times = {"9", "1O"};
    const TZorvexSettings before = s;
    QVERIFY_THROWS_EXCEPTION(EConvertError, f.Store(s));
    QVERIFY(s == before);
    f.times = {"300", "1"};
    QVERIFY_THROWS_EXCEPTION(EConvertError, f.Store(s));
    QVERIFY(s == before);
}

void TstNumberFields::delaysRowOrder()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(42, 30);
    s.Cfg.SetByte(45, 5);
    s.Cfg.SetByte(43, 60);
    s.Cfg.SetByte(44, 0xA5);
    DelayFields f = DelayFields::Load(s);
    QCOMPARE(f.delays, (std::array<std::string, 3>{"30", "5", "60"}));
    f.delays = {"1", "2", "3"};
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(42)), 1);
    QCOMPARE(int(s.Cfg.GetByte(45)), 2);
    QCOMPARE(int(s.Cfg.GetByte(43)), 3);
    QCOMPARE(int(s.Cfg.GetByte(44)), 0xA5);
}

void TstNumberFields::delaysEmptyAndBad()
{
    TZorvexSettings s = Factory();
    s.Cfg.SetByte(42, 30);
    DelayFields f = DelayFields::Load(s);
    f.delays = {"", "7", ""};
    f.Store(s);
    QCOMPARE(int(s.Cfg.GetByte(42)), 0);
    QCOMPARE(int(s.Cfg.GetByte(45)), 7);
    QCOMPARE(int(s.Cfg.GetByte(43)), 0);

    // The third row is converted before the first is written.
    f.delays = {"8", "9", "zero"};
    const TZorvexSettings before = s;
    try {
        f.Store(s);
        QFAIL("a word was written as a delay");
    } catch (const EConvertError& e) {
        QCOMPARE(QString::fromStdString(e.Message()),
                 QString("'zero' is not a valid integer value"));
    }
    QVERIFY(s == before);
}

QTEST_APPLESS_MAIN(TstNumberFields)
#include "tst_numberfields.moc"
