#include "editors/fields/EditorAreas.h"
#include "editors/fields/FieldText.h"
#include "model/TZorvexSettings.h"
#include "report/ConfigReport.h"
#include "report/JsonChanges.h"
#include "report/ReportJson.h"

#include <QJsonObject>
#include <QtTest>

#include <random>

namespace {

TZorvexSettings Factory()
{
    TZorvexSettings s;
    s.LoadDefaults();
    return s;
}

// Any image and any records, as a dialer or a damaged file may give them.
TZorvexSettings RandomSettings(std::mt19937& random)
{
    TZorvexSettings s;
    std::uniform_int_distribution<int> byte(0, 255);
    // Half the bytes near the values dialogs store, so fields also show ordinary values.
    for (int i = 0; i < TCfg::Size; ++i)
        s.Cfg.SetByte(i, std::uint8_t(random() % 2 ? byte(random) : byte(random) % 16));
    for (int r = 0; r < TComment::Count; ++r) {
        TComment::Record record;
        const int length = byte(random) % 60;
        for (int i = 0; i < TComment::RecordSize; ++i)
            record[i] = i == length ? 0 : std::uint8_t(byte(random));
        s.Comment.SetRecord(r, record);
    }
    return s;
}

// A configuration made by entering random texts into random fields of the factory one.
TZorvexSettings Edited(std::mt19937& random)
{
    TZorvexSettings s = Factory();
    std::vector<const EditorField*> fields;
    for (const EditorArea* area : EditorAreas())
        for (const EditorField& field : area->fields)
            fields.push_back(&field);
    const char* texts[] = {"",         "0",   "1",       "12",        "255",      "4711",
                           "58210793", "12B", "ALARM 1", "07:30",     "NIE BYŁO", "TAK",
                           "3",        "14",  "Łódź",    "NR 1, NR 8"};
    for (int n = 0; n < 40; ++n) {
        const EditorField& field = *fields[random() % fields.size()];
        std::string text = field.items.empty() || random() % 2
                               ? texts[random() % std::size(texts)]
                               : field.items[random() % field.items.size()];
        (void)WriteTyped(field, s, text);
    }
    return s;
}

QJsonObject Document(const TZorvexSettings& s, bool masked)
{
    ReportOptions options;
    options.masked = masked;
    // Through the text, as a pipe between two commands carries it.
    return QJsonDocument::fromJson(ReportJson(ConfigReport(s, options)).toJson()).object();
}

// "" when the image bytes 1..255 and the record texts agree, else the first difference.
QString Difference(const TZorvexSettings& a, const TZorvexSettings& b)
{
    for (int i = 1; i < TCfg::Size; ++i)
        if (a.Cfg.GetByte(i) != b.Cfg.GetByte(i))
            return QStringLiteral("byte %1: %2 / %3")
                .arg(i)
                .arg(a.Cfg.GetByte(i), 2, 16)
                .arg(b.Cfg.GetByte(i), 2, 16);
    for (int r = 0; r < TComment::Count; ++r)
        if (a.Comment.GetText(r) != b.Comment.GetText(r))
            return QStringLiteral("record %1").arg(r);
    return {};
}

QString Failures(const std::vector<FieldFailure>& failures)
{
    QStringList lines;
    for (const FieldFailure& f : failures)
        lines << QString::fromStdString(f.key + ": " + f.message);
    return lines.join(u'\n');
}

} // namespace

Q_DECLARE_METATYPE(TZorvexSettings)

// "zvx show --json A | zvx apply FACTORY" gives A back: image bytes 1..255 and records,
// also where A holds values no control can enter.
class TstJsonRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void maskedKeepsCodes();
    void changedValueBeatsStored();
};

void TstJsonRoundTrip::roundTrip_data()
{
    QTest::addColumn<TZorvexSettings>("original");
    std::mt19937 random(20261208);
    QTest::newRow("factory") << Factory();
    for (int n = 0; n < 150; ++n)
        QTest::addRow("random image %d", n) << RandomSettings(random);
    for (int n = 0; n < 150; ++n)
        QTest::addRow("edited %d", n) << Edited(random);
}

void TstJsonRoundTrip::roundTrip()
{
    QFETCH(TZorvexSettings, original);
    const JsonChanges changes = ReadJsonChanges(Document(original, false));
    QVERIFY2(changes.problems.isEmpty(), qPrintable(changes.problems.join(u'\n')));
    TZorvexSettings target = Factory();
    const auto failures = ApplyJsonChanges(changes, target);
    QVERIFY2(failures.empty(), qPrintable(Failures(failures)));
    QCOMPARE(Difference(original, target), QString());
}

void TstJsonRoundTrip::maskedKeepsCodes()
{
    std::mt19937 random(7);
    const TZorvexSettings original = Edited(random);
    TZorvexSettings target = Factory();
    const JsonChanges changes = ReadJsonChanges(Document(original, true));
    QVERIFY(changes.problems.isEmpty());
    QVERIFY(changes.ignored.contains(QStringLiteral("codes.ku0")));
    QVERIFY(ApplyJsonChanges(changes, target).empty());
    // Everything but the codes came over; the codes are the target's own.
    for (const EditorArea* area : EditorAreas())
        for (const EditorField& field : area->fields)
            QCOMPARE(QString::fromStdString(field.read(target)),
                     QString::fromStdString(field.read(field.secret ? Factory() : original)));
}

void TstJsonRoundTrip::changedValueBeatsStored()
{
    // A stored value no control can enter (count 9 where the dialog takes 1..4) travels as
    // bytes; once the document's value is edited, the value is entered as typed.
    TZorvexSettings original = Factory();
    original.Cfg.SetByte(47, 9);
    QJsonObject document = Document(original, false);
    QJsonObject areas = document["areas"].toObject();
    QJsonObject params = areas["phoneParams"].toObject();
    QCOMPARE(params["stored"].toObject()["notifications"].toString(), QStringLiteral("09"));
    QJsonObject fields = params["fields"].toObject();
    fields["notifications"] = QStringLiteral("3");
    params["fields"] = fields;
    areas["phoneParams"] = params;
    document["areas"] = areas;
    TZorvexSettings target = Factory();
    QVERIFY(ApplyJsonChanges(ReadJsonChanges(document), target).empty());
    QCOMPARE(int(target.Cfg.GetByte(47)), 3);
}

QTEST_GUILESS_MAIN(TstJsonRoundTrip)
#include "tst_jsonroundtrip.moc"
