#include "editors/fields/AreaCopy.h"
#include "editors/fields/EditorAreas.h"
#include "editors/fields/FieldBatch.h"
#include "editors/fields/FieldText.h"
#include "tests/editors/FieldsTestKit.h"

#include <QtTest>

namespace {

const EditorField& Field(const char* key)
{
    const EditorField* field = FindEditorField(key);
    if (!field)
        qFatal("no field %s", key);
    return *field;
}

using Entries = QList<QPair<QString, QString>>; // full key, text

std::vector<FieldEntry> Make(const Entries& entries)
{
    std::vector<FieldEntry> made;
    for (const auto& [key, text] : entries)
        made.push_back({&Field(qPrintable(key)), key.toStdString(), text.toStdString(), {}});
    return made;
}

} // namespace

Q_DECLARE_METATYPE(Entries)

// Texts entered as a person types them into a dialog: what the controls let through, all or
// nothing over several fields, and areas copied whole.
class TstFieldText : public QObject
{
    Q_OBJECT

private slots:
    void typed_data();
    void typed();
    void batch_data();
    void batch();
    void copyAreas();
    void fieldlessBits();
};

void TstFieldText::typed_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result"); // the text as typed in, or the message
    QTest::addColumn<bool>("accepted");
    QTest::newRow("number lower case") << "phones.number1"
                                       << "12b"
                                       << "12B" << true;
    QTest::newRow("number letter A")
        << "phones.number1"
        << "1A"
        << "'A': w to pole można wpisać tylko znaki 0123456789BCD" << false;
    QTest::newRow("number 17 digits") << "phones.number1" << QString(17, u'1')
                                      << "'11111111111111111': w to pole można wpisać najwyżej "
                                         "16 znaków"
                                      << false;
    QTest::newRow("code letters") << "codes.ku0"
                                  << "12a4"
                                  << "'a': w to pole można wpisać tylko znaki 0123456789" << false;
    QTest::newRow("count in range") << "phoneParams.notifications"
                                    << "4"
                                    << "4" << true;
    QTest::newRow("count above") << "phoneParams.notifications"
                                 << "9"
                                 << "'9': w to pole można wpisać liczbę z zakresu 1..4" << false;
    QTest::newRow("count zero") << "phoneParams.notifications"
                                << "0"
                                << "'0': w to pole można wpisać liczbę z zakresu 1..4" << false;
    QTest::newRow("rings 10") << "phoneParams.rings"
                              << "10"
                              << "'10': w to pole można wpisać liczbę z zakresu 0..9" << false;
    QTest::newRow("delay 255") << "delays.alarmEntry"
                               << "255"
                               << "255" << true;
    QTest::newRow("delay 256") << "delays.alarmEntry"
                               << "256"
                               << "'256': w to pole można wpisać liczbę z zakresu 0..255" << false;
    QTest::newRow("delay sign") << "delays.alarmEntry"
                                << "-1"
                                << "'-1' is not a valid integer value" << false;
    QTest::newRow("empty number") << "delays.alarmEntry"
                                  << ""
                                  << "" << true;
    QTest::newRow("event code hex") << "eventCodes.inputA1"
                                    << "3a"
                                    << "3A" << true;
    QTest::newRow("event code G") << "eventCodes.inputA1"
                                  << "G"
                                  << "'G': w to pole można wpisać tylko znaki 0123456789ABCDEF"
                                  << false;
    QTest::newRow("message") << "polpager.message"
                             << "alarm 1"
                             << "ALARM 1" << true;
    QTest::newRow("message Q") << "polpager.message"
                               << "Q"
                               << "'Q': w to pole można wpisać tylko znaki "
                                  " 0123456789ABCDEFGHIJKLMNOPRSTUVWXY"
                               << false;
    QTest::newRow("message Polish") << "polpager.message"
                                    << "Ż"
                                    << "'Ż': w to pole można wpisać tylko znaki "
                                       " 0123456789ABCDEFGHIJKLMNOPRSTUVWXY"
                                    << false;
    QTest::newRow("description any") << "description.objectName"
                                     << "Sklep „Pod Lipą”"
                                     << "Sklep „Pod Lipą”" << true;
    QTest::newRow("description 51")
        << "description.address1" << QString(51, u'ą')
        << QString(51, u'ą') + "': w to pole można wpisać najwyżej 50 znaków" << false;
    QTest::newRow("format by number") << "stations.sma1Format"
                                      << "14"
                                      << "14:RADIONICS 2300 EXTENDED WITH PARITY" << true;
    QTest::newRow("format 0") << "stations.sma1Format"
                              << "0"
                              << "  0:SILENT KNIGHT/ADEMCO SLOW" << true;
    QTest::newRow("mode by number") << "stations.mode"
                                    << "4"
                                    << "DUAL" << true;
    QTest::newRow("mode too far") << "stations.mode"
                                  << "5"
                                  << "5" << true; // write refuses it
    QTest::newRow("yes by number") << "systemOptions.keypadLock"
                                   << "1"
                                   << "TAK" << true;
    QTest::newRow("station text wins") << "phones.polpager1"
                                       << "8"
                                       << "8" << true;
    QTest::newRow("station none by number") << "phones.polpager1"
                                            << "Brak"
                                            << "Brak" << true;
}

void TstFieldText::typed()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, result);
    QFETCH(bool, accepted);
    std::string typed = text.toStdString();
    const auto error = TypedText(Field(qPrintable(key)), typed);
    QCOMPARE(!error, accepted);
    if (accepted)
        QCOMPARE(QString::fromStdString(typed), result);
    else if (key == QLatin1String("description.address1"))
        QVERIFY(QString::fromStdString(*error).endsWith(result.section(u'\'', 1)));
    else
        QCOMPARE(QString::fromStdString(*error), result);
}

void TstFieldText::batch_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QStringList>("failures"); // "key: message"; empty: all written
    QTest::addColumn<Entries>("shown");        // read() afterwards when written
    QTest::newRow("several areas")
        << Entries{{"delays.alarmEntry", "30"}, {"stations.mode", "SPLIT"}} << QStringList()
        << Entries{{"delays.alarmEntry", "30"}, {"stations.mode", "SPLIT"}};
    QTest::newRow("one bad value writes nothing")
        << Entries{{"delays.alarmEntry", "30"}, {"delays.armedEntry", "x"}}
        << QStringList{"delays.armedEntry: 'x' is not a valid integer value"} << Entries{};
    QTest::newRow("every bad value told")
        << Entries{{"codes.ku0", "12"}, {"eventCodes.testTime", "25:00"}}
        << QStringList{"codes.ku0: Błędne dane",
                       "eventCodes.testTime: '25:00' nie jest godziną w postaci GG:MM"}
        << Entries{};
    QTest::newRow("later entry wins")
        << Entries{{"delays.alarmEntry", "30"}, {"delays.alarmEntry", "40"}} << QStringList()
        << Entries{{"delays.alarmEntry", "40"}};
    QTest::newRow("codes swapped")
        << Entries{{"codes.ku0", "2222"}, {"codes.ku1", "1111"}} << QStringList()
        << Entries{{"codes.ku0", "2222"}, {"codes.ku1", "1111"}};
    QTest::newRow("code taken from one being replaced")
        << Entries{{"codes.ku0", "1111"}, {"codes.ku1", "3333"}} << QStringList()
        << Entries{{"codes.ku0", "1111"}, {"codes.ku1", "3333"}};
    QTest::newRow("codes repeated")
        << Entries{{"codes.ku2", "5555"}, {"codes.ku3", "5555"}}
        << QStringList{"codes.ku3: Kody nie mogą się powtarzać"} << Entries{};
}

void TstFieldText::batch()
{
    QFETCH(Entries, entries);
    QFETCH(QStringList, failures);
    QFETCH(Entries, shown);
    TZorvexSettings s = Factory();
    QVERIFY(!WriteTyped(Field("codes.ku0"), s, "1111"));
    QVERIFY(!WriteTyped(Field("codes.ku1"), s, "2222"));
    const TZorvexSettings before = s;
    const std::vector<FieldEntry> made = Make(entries);
    QStringList got;
    for (const FieldFailure& f : WriteFields(s, made))
        got << QString::fromStdString(f.key + ": " + f.message);
    QCOMPARE(got, failures);
    if (!failures.isEmpty()) {
        QVERIFY(s.Cfg == before.Cfg);
        return;
    }
    for (const auto& [key, text] : shown)
        QCOMPARE(QString::fromStdString(Field(qPrintable(key)).read(s)), text);
}

void TstFieldText::copyAreas()
{
    TZorvexSettings from = Factory();
    from.Cfg.Fill(1, 0x5A, TCfg::Size - 1);
    from.Comment.SetText(4, "opis z wzoru");
    TZorvexSettings to = Factory();
    const TZorvexSettings before = to;
    CopyAreas(from, to, {FindEditorArea("phoneParams"), FindEditorArea("description")});
    const auto mask = FindEditorArea("phoneParams")->OwnedMask();
    for (int i = 1; i < TCfg::Size; ++i) {
        const std::uint8_t expected =
            (before.Cfg.GetByte(i) & ~mask[i]) | (from.Cfg.GetByte(i) & mask[i]);
        QCOMPARE(int(to.Cfg.GetByte(i)), int(expected));
    }
    // Bits 4..7 of byte 46, which the dialog keeps, come with the area.
    QCOMPARE(int(to.Cfg.GetByte(46)), 0x5A);
    QCOMPARE(QString::fromStdString(to.Comment.GetText(4)), QStringLiteral("opis z wzoru"));
    QCOMPARE(to.Comment.GetText(0), from.Comment.GetText(0));
}

void TstFieldText::fieldlessBits()
{
    const auto& free = FieldlessBits();
    QCOMPARE(int(free[0]), 0);     // the checksum
    QCOMPARE(int(free[44]), 0xF0); // bits 0..3 are the options' and the codes'
    QCOMPARE(int(free[46]), 0xF0); // kept as read by the dialing parameters
    QCOMPARE(int(free[47]), 0x00);
    QCOMPARE(int(free[39]), 0xC0); // cleared by the alarm inputs
}

QTEST_GUILESS_MAIN(TstFieldText)
#include "tst_fieldtext.moc"
