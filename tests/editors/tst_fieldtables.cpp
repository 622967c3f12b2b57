#include "editors/fields/AlarmInFields.h"
#include "editors/fields/AlarmOutFields.h"
#include "editors/fields/CodeFields.h"
#include "editors/fields/ConfigFields.h"
#include "editors/fields/DelayFields.h"
#include "editors/fields/EditorAreas.h"
#include "editors/fields/EventCodeFields.h"
#include "editors/fields/HistoryFields.h"
#include "editors/fields/PhoneParamFields.h"
#include "editors/fields/PhonesFields.h"
#include "editors/fields/PolpagerFields.h"
#include "editors/fields/StationFields.h"
#include "editors/fields/SystemOptionsFields.h"
#include "model/Cp1250.h"
#include "tests/editors/FieldsTestKit.h"

#include <QtTest>

#include <array>
#include <cstdint>
#include <functional>

namespace {

using Pokes = QList<QPair<int, int>>; // image offset, value set before the write

// Configurations every field is tried on: the factory one, and images no dialog would
// make (blank dialer, all bits set, bytes from a fixed sequence).
QList<QPair<const char*, TZorvexSettings>> Images()
{
    QList<QPair<const char*, TZorvexSettings>> images{{"factory", Factory()}};
    for (const auto& [name, fill] : {std::pair{"zeros", 0x00}, std::pair{"ff", 0xFF}}) {
        TZorvexSettings s;
        s.Cfg.Fill(0, std::uint8_t(fill), TCfg::Size);
        images.append({name, s});
    }
    TZorvexSettings noise;
    std::uint32_t seed = 7;
    for (int i = 0; i < TCfg::Size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise.Cfg.SetByte(i, std::uint8_t(seed >> 24));
    }
    images.append({"noise", noise});
    return images;
}

// Texts worth writing into a field of its kind: its own items, edge numbers, codes.
QStringList Candidates(const EditorField& field)
{
    QStringList texts;
    for (const std::string& item : field.items)
        texts << QString::fromStdString(item);
    switch (field.kind) {
    case fkNumber:
        texts << ""
              << "0" << QString::number(field.maximum) << "255"
              << "256"
              << "x";
        break;
    case fkText:
        texts << ""
              << "12"
              << "1234"
              << "58210793"
              << "ŁÓDŹ 7"
              << "1F23" << QString(200, u'9');
        break;
    case fkTime:
        texts << "00:00"
              << "23:59"
              << "7:30"
              << "24:00";
        break;
    case fkFlags:
        texts << "brak"
              << "" << QString::fromStdString(field.items.front() + ", " + field.items.back());
        break;
    case fkDisplay:
        texts << "NIE BYŁO"
              << "12:00";
        break;
    case fkList:
        texts << "";
        break;
    default:
        break;
    }
    return texts;
}

// The image bits that differ between a and b outside mask, as "offset:bits" (empty: none).
QString OutsideMask(const TCfg& a, const TCfg& b, const std::array<std::uint8_t, 256>& mask)
{
    QStringList out;
    for (int i = 0; i < TCfg::Size; ++i)
        if ((a.GetByte(i) ^ b.GetByte(i)) & ~mask[i])
            out << QStringLiteral("%1:%2").arg(i).arg((a.GetByte(i) ^ b.GetByte(i)) & ~mask[i], 0,
                                                      16);
    return out.join(u' ');
}

std::array<std::uint8_t, 256> MaskOf(const EditorField& field)
{
    std::array<std::uint8_t, 256> mask{};
    for (const OwnedBits& bits : field.owned)
        mask[bits.offset] |= bits.mask;
    return mask;
}

bool SameRecords(const TComment& a, const TComment& b, int except)
{
    for (int i = 0; i < TComment::Count; ++i) {
        TComment::Record x;
        TComment::Record y;
        a.GetRecord(i, x);
        b.GetRecord(i, y);
        if (i != except && x != y)
            return false;
    }
    return true;
}

const EditorField& Field(const QString& fullKey)
{
    const EditorField* field = FindEditorField(fullKey.toStdString());
    if (!field)
        qFatal("no field %s", qPrintable(fullKey));
    return *field;
}

} // namespace

using StoreFunction = std::function<void(TZorvexSettings&)>;

template <class Mapping> void OkUnchanged(TZorvexSettings& s)
{
    Mapping::Load(s).Store(s);
}

Q_DECLARE_METATYPE(TZorvexSettings)
Q_DECLARE_METATYPE(Pokes)
Q_DECLARE_METATYPE(StoreFunction)

// The field tables: every field's write keeps to its own bits, is all or nothing, reads
// back as written, refuses what its dialog refuses with the dialog's words; the tables
// own every bit the dialogs write, and each bit once.
class TstFieldTables : public QObject
{
    Q_OBJECT

private slots:
    void writeKeepsToItsField_data();
    void writeKeepsToItsField();
    void storeStaysInOwnedBits_data();
    void storeStaysInOwnedBits();
    void bitsHaveOneOwner();
    void writes_data();
    void writes();
    void refusals_data();
    void refusals();
    void lookup_data();
    void lookup();
};

void TstFieldTables::writeKeepsToItsField_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TZorvexSettings>("start");
    for (const auto& [image, settings] : Images())
        for (const EditorArea* area : EditorAreas())
            for (const EditorField& field : area->fields) {
                const QString key = QString::fromStdString(area->key + "." + field.key);
                QStringList texts = Candidates(field);
                texts.prepend(QString::fromStdString(field.read(settings))); // written back
                for (const QString& text : texts)
                    QTest::addRow("%s %s '%s'", image, qPrintable(key), qPrintable(text.left(12)))
                        << key << text << settings;
            }
}

void TstFieldTables::writeKeepsToItsField()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(TZorvexSettings, start);
    const EditorField& field = Field(key);
    const EditorArea& area = *FindEditorArea(key.section(u'.', 0, 0).toStdString());

    TZorvexSettings s = start;
    const auto error = field.write(s, text.toStdString());
    if (error) {
        // Refused: nothing changed, and the user is told why.
        QVERIFY(!error->empty());
        QVERIFY(s.Cfg == start.Cfg);
        QVERIFY(SameRecords(s.Comment, start.Comment, -1));
        return;
    }
    QCOMPARE(OutsideMask(start.Cfg, s.Cfg, MaskOf(field)), QString());
    QVERIFY(SameRecords(s.Comment, start.Comment, field.record));
    // The other fields of the dialog read as they did.
    for (const EditorField& other : area.fields)
        if (&other != &field)
            QCOMPARE(QString::fromStdString(other.read(s)),
                     QString::fromStdString(other.read(start)));
    // What the field now shows is what it keeps: writing it again changes nothing. A
    // pasted "F" is the exception, as in the dialog: it ends a number or code when shown,
    // so the next write drops the digits behind it, pads the subscriber code again, or is
    // refused as too short a code; one more write then changes nothing.
    const std::string shown = field.read(s);
    TZorvexSettings again = s;
    if (text.contains(u'F') && field.kind == fkText) {
        if (field.write(again, shown))
            return;
        TZorvexSettings third = again;
        QVERIFY(!field.write(third, field.read(again)));
        QVERIFY(third.Cfg == again.Cfg);
        return;
    }
    QVERIFY(!field.write(again, shown));
    QVERIFY(again.Cfg == s.Cfg);
    QVERIFY(SameRecords(again.Comment, s.Comment, -1));
}

void TstFieldTables::storeStaysInOwnedBits_data()
{
    QTest::addColumn<QString>("area");
    QTest::addColumn<StoreFunction>("ok");
    QTest::addColumn<TZorvexSettings>("start");
    const QList<QPair<const char*, StoreFunction>> dialogs{
        {"phones", OkUnchanged<PhonesFields>},
        {"phoneParams", OkUnchanged<PhoneParamFields>},
        {"polpager", [](TZorvexSettings& s) { (void)PolpagerFields::Load(s).Store(s); }},
        {"codes", OkUnchanged<CodeFields>},
        {"alarmInputs", OkUnchanged<AlarmInFields>},
        {"pgmOutputs", OkUnchanged<AlarmOutFields>},
        {"delays", OkUnchanged<DelayFields>},
        {"systemOptions", OkUnchanged<SystemOptionsFields>},
        {"stations", OkUnchanged<StationFields>},
        {"eventCodes", OkUnchanged<EventCodeFields>},
        {"history",
         [](TZorvexSettings& s) {
             HistoryFields f = HistoryFields::Load(s);
             f.Reset();
             f.Store(s);
         }},
        {"description", OkUnchanged<ConfigFields>},
    };
    QCOMPARE(dialogs.size(), qsizetype(EditorAreas().size()));
    for (const auto& [image, settings] : Images())
        for (const auto& [area, ok] : dialogs)
            QTest::addRow("%s %s", image, area) << QString(area) << ok << settings;
}

void TstFieldTables::storeStaysInOwnedBits()
{
    // OK in a dialog (its mapping's Load and Store) changes no bit its table does not own.
    QFETCH(QString, area);
    QFETCH(StoreFunction, ok);
    QFETCH(TZorvexSettings, start);
    TZorvexSettings s = start;
    ok(s);
    QCOMPARE(OutsideMask(start.Cfg, s.Cfg, FindEditorArea(area.toStdString())->OwnedMask()),
             QString());
}

void TstFieldTables::bitsHaveOneOwner()
{
    std::array<std::uint8_t, 256> seen{};
    for (const EditorArea* area : EditorAreas()) {
        std::array<std::uint8_t, 256> areaBits{};
        for (const EditorField& field : area->fields)
            for (const OwnedBits& bits : field.owned) {
                QVERIFY2(bits.offset >= 1 && bits.offset < TCfg::Size, field.key.c_str());
                QVERIFY2(!(seen[bits.offset] & bits.mask),
                         qPrintable(QStringLiteral("%1.%2 byte %3")
                                        .arg(QString::fromStdString(area->key),
                                             QString::fromStdString(field.key))
                                        .arg(bits.offset)));
                seen[bits.offset] |= bits.mask;
                areaBits[bits.offset] |= bits.mask;
            }
        for (const OwnedBits& bits : area->unshown) {
            QVERIFY2(!(seen[bits.offset] & bits.mask), area->key.c_str());
            seen[bits.offset] |= bits.mask;
        }
    }
    // Byte 44 is shared: bit 2 the access codes', bits 0, 1, 3 the system options'.
    QCOMPARE(int(FindEditorArea("codes")->OwnedMask()[44]), 0x04);
    QCOMPARE(int(FindEditorArea("systemOptions")->OwnedMask()[44]), 0x0B);
    // The description records are not in the image.
    for (const EditorField& field : FindEditorArea("description")->fields) {
        QVERIFY(field.owned.empty());
        QVERIFY(field.record >= 0 && field.record < TComment::Count);
    }
}

void TstFieldTables::writes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<Pokes>("pokes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes"); // hex, from offset
    QTest::addColumn<QString>("shown");    // read() afterwards

    QTest::newRow("phone number") << "phones.number8" << Pokes{} << "12B" << 168
                                  << QByteArray("12BFFFFFFFFFFFFF") << "12B";
    QTest::newRow("phone locks") << "phones.locked" << Pokes{{58, 0x7E}} << "NR 8, NR 1" << 58
                                 << QByteArray("81") << "NR 1, NR 8";
    QTest::newRow("no locks") << "phones.locked" << Pokes{{58, 0x7E}} << "brak" << 58
                              << QByteArray("00") << "brak";
    QTest::newRow("station none") << "phones.polpager2" << Pokes{{66, 9}} << "Brak" << 66
                                  << QByteArray("00") << "Brak";
    QTest::newRow("empty count is 1")
        << "phoneParams.notifications" << Pokes{} << "" << 47 << QByteArray("01") << "1";
    QTest::newRow("count out of range")
        << "phoneParams.notifications" << Pokes{} << "9" << 47 << QByteArray("09") << "9";
    QTest::newRow("dialing option keeps bits 4..7")
        << "phoneParams.ignoreMissingDialTone" << Pokes{{46, 0xF5}} << "TAK" << 46
        << QByteArray("F7") << "TAK";
    QTest::newRow("message") << "polpager.message" << Pokes{} << "AB" << 57 << QByteArray("08")
                             << "AB";
    QTest::newRow("message cleared")
        << "polpager.message" << Pokes{{57, 2}} << "" << 57 << QByteArray("00") << "";
    QTest::newRow("code") << "codes.ku3" << Pokes{} << "58210793" << 92 << QByteArray("58210793")
                          << "58210793";
    QTest::newRow("PGM code cut to 4")
        << "codes.ku8" << Pokes{} << "123456" << 68 << QByteArray("1234FFFF") << "1234";
    QTest::newRow("TRC keeps byte 44")
        << "codes.trc" << Pokes{{44, 0xF3}} << "TAK" << 44 << QByteArray("F7") << "TAK";
    QTest::newRow("A2 mains") << "alarmInputs.a2Function" << Pokes{{40, 0xC3}}
                              << "Nadzór napięcia sieci AC" << 40 << QByteArray("E3")
                              << "Nadzór napięcia sieci AC";
    QTest::newRow("A3 speed keeps function") << "alarmInputs.a3Speed" << Pokes{{41, 0x1C}}
                                             << "SZYBKA" << 41 << QByteArray("1D") << "SZYBKA";
    QTest::newRow("PGM no trigger") << "pgmOutputs.pgm1Trigger" << Pokes{{50, 0x04}} << "" << 50
                                    << QByteArray("00") << "Wyjście nieaktywne";
    QTest::newRow("PGM trigger") << "pgmOutputs.pgm2Trigger" << Pokes{}
                                 << "Sterowanie przez użytkownika" << 51 << QByteArray("20")
                                 << "Sterowanie przez użytkownika";
    QTest::newRow("empty delay") << "delays.pauseBetweenAlarms" << Pokes{{45, 9}} << "" << 45
                                 << QByteArray("00") << "0";
    QTest::newRow("delay") << "delays.armedEntry" << Pokes{} << "255" << 43 << QByteArray("FF")
                           << "255";
    QTest::newRow("self-arming") << "systemOptions.selfArming" << Pokes{{44, 0x04}} << "TAK" << 44
                                 << QByteArray("0C") << "TAK";
    QTest::newRow("mode") << "stations.mode" << Pokes{{38, 7}} << "SPLIT" << 38 << QByteArray("02")
                          << "SPLIT";
    QTest::newRow("subscriber padded")
        << "stations.sma1Code" << Pokes{} << "12" << 34 << QByteArray("1200") << "1200";
    QTest::newRow("no format") << "stations.sma2Format" << Pokes{{33, 3}} << "" << 33
                               << QByteArray("FF") << "";
    QTest::newRow("empty event code")
        << "eventCodes.inputA1" << Pokes{{176, 0x3A}} << "" << 176 << QByteArray("00") << "00";
    QTest::newRow("test time") << "eventCodes.testTime" << Pokes{} << "07:30" << 62
                               << QByteArray("0730") << "07:30";
    QTest::newRow("history row cleared")
        << "history.lineCut" << Pokes{{10, 0x21}, {11, 0x05}, {12, 0x13}} << "NIE BYŁO" << 10
        << QByteArray("FFFF13") << "NIE BYŁO";
}

void TstFieldTables::writes()
{
    QFETCH(QString, key);
    QFETCH(Pokes, pokes);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    TZorvexSettings s = Factory();
    for (const auto& [at, value] : pokes)
        s.Cfg.SetByte(at, std::uint8_t(value));
    const auto error = Field(key).write(s, text.toStdString());
    QVERIFY2(!error, error ? error->c_str() : "");
    const QByteArray expected = QByteArray::fromHex(bytes);
    QCOMPARE(Read(s.Cfg, offset, int(expected.size())).toHex().toUpper(),
             expected.toHex().toUpper());
    QCOMPARE(QString::fromStdString(Field(key).read(s)), shown);
}

void TstFieldTables::refusals_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("count not a number") << "phoneParams.rings"
                                        << "4a"
                                        << "'4a' is not a valid integer value";
    QTest::newRow("delay above a byte") << "delays.alarmEntry"
                                        << "256"
                                        << "'256' is not a valid integer value";
    QTest::newRow("PGM time signed") << "pgmOutputs.pgm2Time"
                                     << "-1"
                                     << "'-1' is not a valid integer value";
    QTest::newRow("short code") << "codes.installer"
                                << "123"
                                << "Błędne dane";
    QTest::newRow("empty code") << "codes.ku0"
                                << ""
                                << "Błędne dane";
    QTest::newRow("repeated code") << "codes.ku1"
                                   << "CODE_OF_KU0"
                                   << "Kody nie mogą się powtarzać";
    QTest::newRow("message too long") << "polpager.message" << QString(60, u'A') + QString(60, u'1')
                                      << "Za długi komunikat do Polpagera";
    QTest::newRow("yes/no") << "systemOptions.keypadLock"
                            << "tak"
                            << "'tak' nie jest jedną z wartości: NIE, TAK";
    QTest::newRow("radio") << "stations.mode"
                           << "DUAL "
                           << "'DUAL ' nie jest jedną z wartości: "
                              "BRAK SMA, TYLKO SMA1, SPLIT, BACKUP, DUAL";
    QTest::newRow("radio has no empty") << "alarmInputs.a1Contact"
                                        << ""
                                        << "'' nie jest jedną z wartości: NO, NC";
    QTest::newRow("flag name") << "codes.locked"
                               << "KU1, KU8"
                               << "'KU8' nie jest jedną z wartości: KU0, KU1, KU2, KU3, KU4, KU5, "
                                  "KU6, KU7";
    QTest::newRow("hour 24") << "eventCodes.testTime"
                             << "24:00"
                             << "'24:00' nie jest godziną w postaci GG:MM";
    QTest::newRow("no colon") << "eventCodes.testTime"
                              << "0730"
                              << "'0730' nie jest godziną w postaci GG:MM";
    QTest::newRow("history time") << "history.alarmStart"
                                  << "12:00"
                                  << "Godzinę zdarzenia można tylko wyzerować: NIE BYŁO";
    QTest::newRow("station line") << "polpager.station1"
                                  << "(1)  123"
                                  << "Tego pola nie można zmienić (pokazuje: 'NIEZDEFINIOWANY')";
}

void TstFieldTables::refusals()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TZorvexSettings s = Factory();
    const EditorField& ku0 = Field("codes.ku0");
    QVERIFY(!ku0.write(s, "4711"));
    if (text == QLatin1String("CODE_OF_KU0"))
        text = "4711";
    const TZorvexSettings before = s;
    const auto error = Field(key).write(s, text.toStdString());
    QVERIFY(error);
    QCOMPARE(QString::fromStdString(*error), message);
    QVERIFY(s.Cfg == before.Cfg);
}

void TstFieldTables::lookup_data()
{
    QTest::addColumn<QString>("fullKey");
    QTest::addColumn<bool>("found");
    QTest::newRow("delay") << "delays.alarmEntry" << true;
    QTest::newRow("installer") << "codes.installer" << true;
    QTest::newRow("description line") << "description.description11" << true;
    QTest::newRow("area alone") << "delays" << false;
    QTest::newRow("no such number") << "phones.number9" << false;
    QTest::newRow("no such area") << "telefony.number1" << false;
    QTest::newRow("trailing dot") << "phones." << false;
    QTest::newRow("empty") << "" << false;
}

void TstFieldTables::lookup()
{
    QFETCH(QString, fullKey);
    QFETCH(bool, found);
    const EditorField* field = FindEditorField(fullKey.toStdString());
    QCOMPARE(field != nullptr, found);
    if (field)
        QCOMPARE(QString::fromStdString(field->key), fullKey.section(u'.', 1));
    // Every field is found by its own full key, and keys are unique within an area.
    for (const EditorArea* area : EditorAreas())
        for (const EditorField& f : area->fields)
            QCOMPARE(FindEditorField(area->key + "." + f.key), &f);
}

QTEST_GUILESS_MAIN(TstFieldTables)
#include "tst_fieldtables.moc"
