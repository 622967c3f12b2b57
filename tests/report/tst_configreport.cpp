#include "ReportSample.h"

#include "device/ConfigFileFormat.h"
#include "model/ConfigIdentity.h"
#include "model/Cp1250.h"
#include "report/AreaSections.h"
#include "report/ConfigReport.h"
#include "report/ReportJson.h"
#include "report/ReportText.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

namespace {

ReportOptions Options(bool masked = false)
{
    ReportOptions options;
    options.fileName = QStringLiteral("/srv/obiekty/sklep.zvx");
    options.printedAt = QDateTime(QDate(2026, 3, 5), QTime(9, 15));
    options.masked = masked;
    return options;
}

// The lines of the section headed by caption, up to the next empty line.
QStringList SectionLines(const QStringList& lines, const QString& caption)
{
    const qsizetype at = lines.indexOf(caption);
    if (at < 0)
        return {};
    QStringList section;
    for (qsizetype i = at + 1; i < lines.size() && !lines[i].isEmpty(); ++i)
        section << lines[i];
    return section;
}

// Whether a line of the section reads "label:", blanks, then the value (and maybe a note).
bool HasRow(const QStringList& section, const QString& label, const QString& value)
{
    const QRegularExpression row(
        QStringLiteral("^ *%1: +%2( {2}.*)?$")
            .arg(QRegularExpression::escape(label), QRegularExpression::escape(value)));
    for (const QString& line : section)
        if (row.match(line).hasMatch())
            return true;
    return false;
}

} // namespace

// The report of a configuration: each value as its dialog shows it, the customer's copy
// without codes, the JSON for scripts, and the fingerprint.
class TstConfigReport : public QObject
{
    Q_OBJECT

private slots:
    void valuesAsDialogsShowThem_data();
    void valuesAsDialogsShowThem();
    void sectionsInMenuOrder();
    void headerListsOnlyFilledRecords();
    void headerFileAndCustomerCopy_data();
    void headerFileAndCustomerCopy();
    void printLinesSplitLabelAndValue();
    void maskedCopyHoldsNoCode();
    void jsonRoundTripsImageAndRecords();
    void jsonFieldsMatchReport();
    void maskedJsonHoldsNoCode();
    void controlCharactersInRecordsAreBlanked();
    void anyImageGivesAReport_data();
    void anyImageGivesAReport();
    void crc32KnownValue();
    void fingerprintIsTheFilesImage();
    void fingerprintFollowsContents();
    void plainLabel_data();
    void plainLabel();
};

void TstConfigReport::valuesAsDialogsShowThem_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("value");
    auto row = [](const char* name, const char* caption, const char* label, const char* value) {
        QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromUtf8(label)
                            << QString::fromUtf8(value);
    };
    row("object", "Programator dialera Zorvex", "Nazwa obiektu", "Sklep „Pod Lipą” Żółć");
    row("address", "Programator dialera Zorvex", "Adres", "90-001 Łódź, ul. Ściegiennego 5");
    row("description", "Programator dialera Zorvex", "Opis", "Czujki: ruch, dym");
    row("file", "Programator dialera Zorvex", "Plik", "/srv/obiekty/sklep.zvx");
    row("printed", "Programator dialera Zorvex", "Data wydruku", "05.03.2026 09:15");
    row("phone 1", "Telefony", "NR 1", "0221234567");
    row("phone 8", "Telefony", "NR 8", "12B");
    row("phone locks", "Telefony", "Zakaz programowania", "NR 1, NR 8");
    row("station 1", "Telefony", "St. Polpager1", "1");
    row("station 2", "Telefony", "St. Polpager2", "Brak");
    row("dialing option", "Parametry współpracy z linią telefoniczną",
        "Tonowe wybieranie numeru telef. (DTMF)", "NIE");
    row("notifications", "Parametry współpracy z linią telefoniczną",
        "Liczba powiadomień komunikatem", "2");
    row("pager station", "Komunikat do stacji POLPAGER", "Nr telefoniczny do stacji POLPAGER 1",
        "(1)  0221234567");
    row("pager none", "Komunikat do stacji POLPAGER", "Nr telefoniczny do stacji POLPAGER 2",
        "NIEZDEFINIOWANY");
    row("message", "Komunikat do stacji POLPAGER", "Komunikat", "ALARM 1");
    row("KU0", "Kody dostępu", "KU0", "4711");
    row("KU7", "Kody dostępu", "KU7", "24680");
    row("KU8", "Kody dostępu", "(PGM1) KU8", "3141");
    row("installer", "Kody dostępu", "Kod Instalatora", "97531246");
    row("code locks", "Kody dostępu", "Zakaz programowania", "KU0, KU3");
    row("TRC", "Kody dostępu", "Stosowanie KU0 w trybie TRC", "TAK");
    row("A1 function", "Linie wejściowe", "Funkcja wejścia A1", "Wejście alarmowe");
    row("A1 speed", "Linie wejściowe", "Szybkość", "SZYBKA");
    row("A1 contact", "Linie wejściowe", "NO/NC", "NC");
    row("PGM1", "Wyjścia programowalne PGM", "Czas PGM1 [s]", "0");
    row("delay", "Zwłoki", "Na wejście do trybu alarmu", "30");
    row("pause", "Zwłoki", "Pauza między alarmami", "5");
    row("self-arming", "Opcje systemowe", "Funkcja samouzbrajania", "NIE");
    row("mode", "Stacje monitorujące", "Tryby monitoringu", "DUAL");
    row("SMA number", "Stacje monitorujące", "Nr telefonu SMA", "582107");
    row("SMA code", "Stacje monitorujące", "Kod SMA", "6060");
    row("format 14", "Stacje monitorujące", "Format SMA1",
        "14:RADIONICS 2300 EXTENDED WITH PARITY");
    row("event code", "Kody zdarzeń", "Kod wejścia A1", "3A");
    row("test time", "Kody zdarzeń", "Godzina transmisji testu", "07:30");
    row("alarm time", "Historia zdarzeń", "Godzina rozpoczęcia alarmu", "21:05");
    row("not set", "Historia zdarzeń", "Godzina odcięcia linii telefonicznej", "NIE BYŁO");
    row("not BCD", "Historia zdarzeń", "Godzina utraty AC", "00:FF");
}

void TstConfigReport::valuesAsDialogsShowThem()
{
    QFETCH(QString, caption);
    QFETCH(QString, label);
    QFETCH(QString, value);
    const QStringList lines = ReportTextLines(ConfigReport(ReportSample::Settings(), Options()));
    const QStringList section = SectionLines(lines, caption);
    QVERIFY2(!section.isEmpty(), qPrintable(lines.join(u'\n')));
    QVERIFY2(HasRow(section, label, value), qPrintable(section.join(u'\n')));
}

void TstConfigReport::sectionsInMenuOrder()
{
    const ConfigReport report(ReportSample::Settings(), Options());
    QStringList captions;
    for (const ReportSection& area : report.Areas())
        captions << area.caption;
    QCOMPARE(captions,
             (QStringList{"Telefony", "Parametry współpracy z linią telefoniczną",
                          "Komunikat do stacji POLPAGER", "Kody dostępu", "Linie wejściowe",
                          "Wyjścia programowalne PGM", "Zwłoki", "Opcje systemowe",
                          "Stacje monitorujące", "Kody zdarzeń", "Historia zdarzeń"}));
    // Every section of the text is headed by its caption, underlined.
    const QStringList lines = ReportTextLines(report);
    QCOMPARE(lines.first(), QStringLiteral("Programator dialera Zorvex"));
    for (const QString& caption : captions) {
        const qsizetype at = lines.indexOf(caption);
        QVERIFY2(at > 0 && lines[at - 1].isEmpty(), qPrintable(caption));
        QCOMPARE(lines[at + 1], QString(caption.size(), u'-'));
    }
}

void TstConfigReport::headerListsOnlyFilledRecords()
{
    TZorvexSettings settings = ReportSample::Settings();
    settings.Comment.SetText(7, "   ");
    const ConfigReport report(settings, Options());
    QStringList labels;
    QStringList values;
    for (const ReportRow& row : report.Header().rows) {
        labels << row.label;
        values << row.value;
    }
    // Record 1 is empty: the address label goes with record 2; record 7 is blank.
    QCOMPARE(labels.mid(0, 3), (QStringList{"Nazwa obiektu", "Adres", "Opis"}));
    QCOMPARE(values.mid(0, 3),
             (QStringList{"Sklep „Pod Lipą” Żółć", "90-001 Łódź, ul. Ściegiennego 5",
                          "Czujki: ruch, dym"}));
    QCOMPARE(labels.mid(3), (QStringList{"Plik", "Data wydruku", "Suma kontrolna (CRC-32)"}));

    // Continuation lines of a block carry no label.
    settings.Comment.SetText(6, Utf8ToCp1250("Klawiatura przy wejściu"));
    const QStringList lines = ReportTextLines(ConfigReport(settings, Options()));
    const qsizetype at = lines.indexOf(QRegularExpression(QStringLiteral("^ *Opis: +Czujki.*")));
    QVERIFY(at > 0);
    QCOMPARE(lines[at + 1].trimmed(), QStringLiteral("Klawiatura przy wejściu"));
    QCOMPARE(lines[at + 1].indexOf(u'K'), lines[at].indexOf(u'C'));
}

void TstConfigReport::headerFileAndCustomerCopy_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("differs");
    QTest::addColumn<bool>("masked");
    QTest::addColumn<QStringList>("expected"); // header labels after the description
    QTest::addColumn<QString>("fileValue");
    QTest::newRow("from a file") << "a.zvx" << false << false
                                 << QStringList{"Plik", "Data wydruku", "Suma kontrolna (CRC-32)"}
                                 << "a.zvx";
    QTest::newRow("changed since") << "a.zvx" << true << false
                                   << QStringList{"Plik", "Data wydruku", "Suma kontrolna (CRC-32)"}
                                   << "a.zvx (konfiguracja różni się od zapisanej w pliku)";
    QTest::newRow("no file") << "" << false << false
                             << QStringList{"Data wydruku", "Suma kontrolna (CRC-32)"} << "";
    QTest::newRow("customer copy")
        << "" << false
        << true
        // No fingerprint: it would give the codes away.
        << QStringList{"Kopia dla klienta (bez kodów dostępu)", "Data wydruku"} << "";
}

void TstConfigReport::headerFileAndCustomerCopy()
{
    QFETCH(QString, file);
    QFETCH(bool, differs);
    QFETCH(bool, masked);
    QFETCH(QStringList, expected);
    QFETCH(QString, fileValue);
    TZorvexSettings settings = ReportSample::Settings();
    settings.Comment.Clear();
    ReportOptions options = Options(masked);
    options.fileName = file;
    options.fileDiffers = differs;
    const ConfigReport report(settings, options);
    QStringList labels;
    for (const ReportRow& row : report.Header().rows) {
        labels << row.label;
        if (row.key == QLatin1String("file"))
            QCOMPARE(row.value, fileValue);
    }
    QCOMPARE(labels, expected);
}

void TstConfigReport::printLinesSplitLabelAndValue()
{
    const QStringList lines = ReportPrintLines(ConfigReport(ReportSample::Settings(), Options()));
    QCOMPARE(lines.first(), QStringLiteral("Programator dialera Zorvex"));
    QVERIFY(lines.contains(QStringLiteral("  NR 1:\t0221234567")));
    QVERIFY(lines.contains(QStringLiteral("  Na wejście do trybu alarmu:\t30  (0..255 s)")));
    QVERIFY(lines.contains(QStringLiteral("  A1")));
    QVERIFY(lines.contains(QStringLiteral("    Szybkość:\tSZYBKA")));
    // Twelve blocks: the header and the eleven areas, each starting with its caption.
    QCOMPARE(lines.count(QString()), 11);
    QCOMPARE(lines[lines.indexOf(QString()) + 1], QStringLiteral("Telefony"));
    for (const QString& line : lines)
        QVERIFY2(line.count(u'\t') <= 1, qPrintable(line));
}

void TstConfigReport::maskedCopyHoldsNoCode()
{
    const ConfigReport report(ReportSample::Settings(), Options(true));
    const QString text = ReportTextLines(report).join(u'\n');
    const QString printed = ReportPrintLines(report).join(u'\n');
    for (const QString& code : ReportSample::Codes) {
        QVERIFY2(!text.contains(code), qPrintable(code));
        QVERIFY2(!printed.contains(code), qPrintable(code));
    }
    const QStringList codes = SectionLines(ReportTextLines(report), QStringLiteral("Kody dostępu"));
    QCOMPARE(codes.filter(QRegularExpression(QStringLiteral(": +\\*\\*\\*\\*$"))).size(), 11);
    QVERIFY(HasRow(codes, QStringLiteral("Zakaz programowania"), QStringLiteral("KU0, KU3")));
    QVERIFY(text.contains(QStringLiteral("Kopia dla klienta (bez kodów dostępu)")));
    // Everything else is as in the installer's copy.
    QVERIFY(HasRow(SectionLines(ReportTextLines(report), QStringLiteral("Telefony")),
                   QStringLiteral("NR 1"), QStringLiteral("0221234567")));
}

void TstConfigReport::jsonRoundTripsImageAndRecords()
{
    const TZorvexSettings settings = ReportSample::Settings();
    const QByteArray json = ReportJson(ConfigReport(settings, Options())).toJson();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject root = doc.object();
    QCOMPARE(root.value(QStringLiteral("version")).toInt(), 1);
    QCOMPARE(root.value(QStringLiteral("file")).toString(),
             QStringLiteral("/srv/obiekty/sklep.zvx"));
    QVERIFY(!root.contains(QStringLiteral("printed")));

    TZorvexSettings back;
    const QByteArray image =
        QByteArray::fromHex(root.value(QStringLiteral("image")).toString().toLatin1());
    QCOMPARE(image.size(), TCfg::Size);
    back.Cfg.WriteBytes(0, reinterpret_cast<const std::uint8_t*>(image.constData()), TCfg::Size);
    const QJsonArray records = root.value(QStringLiteral("records")).toArray();
    QCOMPARE(records.size(), TComment::Count);
    for (int i = 0; i < TComment::Count; ++i)
        back.Comment.SetText(i, Utf8ToCp1250(records[i].toString().toStdString()));
    QVERIFY(back.Cfg == settings.Cfg);
    for (int i = 0; i < TComment::Count; ++i)
        QCOMPARE(back.Comment.GetText(i), settings.Comment.GetText(i));

    // The same configuration gives the same document, whenever it is made.
    ReportOptions later = Options();
    later.printedAt = later.printedAt.addDays(40);
    QCOMPARE(ReportJson(ConfigReport(settings, later)).toJson(), json);
}

void TstConfigReport::jsonFieldsMatchReport()
{
    const ConfigReport report(ReportSample::Settings(), Options());
    const QJsonObject areas = ReportJson(report).object().value(QStringLiteral("areas")).toObject();
    const QJsonArray order =
        ReportJson(report).object().value(QStringLiteral("areaOrder")).toArray();
    QCOMPARE(order.size(), 12);
    QCOMPARE(order.first().toString(), QStringLiteral("phones"));
    QCOMPARE(order.last().toString(), QStringLiteral("description"));
    for (const ReportSection& section : report.Areas()) {
        const QJsonObject area = areas.value(section.key).toObject();
        QCOMPARE(area.value(QStringLiteral("caption")).toString(), section.caption);
        const QJsonObject fields = area.value(QStringLiteral("fields")).toObject();
        const QJsonObject labels = area.value(QStringLiteral("labels")).toObject();
        int count = 0;
        for (const ReportRow& row : section.rows) {
            if (row.kind != ReportRow::rkField)
                continue;
            ++count;
            QCOMPARE(fields.value(row.key).toString(), row.value);
            QCOMPARE(labels.value(row.key).toString(), row.label);
        }
        QCOMPARE(fields.size(), count); // keys are unique within an area
        QCOMPARE(area.value(QStringLiteral("order")).toArray().size(), count);
    }
    const QJsonObject description = areas.value(QStringLiteral("description")).toObject();
    QCOMPARE(description.value(QStringLiteral("fields")).toObject().size(), 14);
    QCOMPARE(
        description.value(QStringLiteral("fields")).toObject().value(QStringLiteral("address2")),
        QJsonValue(QStringLiteral("90-001 Łódź, ul. Ściegiennego 5")));
    const QJsonObject stations = areas.value(QStringLiteral("stations")).toObject();
    QCOMPARE(
        stations.value(QStringLiteral("fields")).toObject().value(QStringLiteral("sma1Format")),
        QJsonValue(QStringLiteral("14:RADIONICS 2300 EXTENDED WITH PARITY")));
    const QJsonObject delays = areas.value(QStringLiteral("delays")).toObject();
    QCOMPARE(delays.value(QStringLiteral("notes")).toObject().value(QStringLiteral("alarmEntry")),
             QJsonValue(QStringLiteral("(0..255 s)")));
}

void TstConfigReport::maskedJsonHoldsNoCode()
{
    const QByteArray json =
        ReportJson(ConfigReport(ReportSample::Settings(), Options(true))).toJson();
    for (const QString& code : ReportSample::Codes)
        QVERIFY2(!json.contains(code.toLatin1()), qPrintable(code));
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    QVERIFY(root.value(QStringLiteral("masked")).toBool());
    QVERIFY(root.value(QStringLiteral("image")).isNull());
    const QJsonObject codes = root.value(QStringLiteral("areas"))
                                  .toObject()
                                  .value(QStringLiteral("codes"))
                                  .toObject()
                                  .value(QStringLiteral("fields"))
                                  .toObject();
    QCOMPARE(codes.value(QStringLiteral("installer")).toString(), QStringLiteral("****"));
}

void TstConfigReport::controlCharactersInRecordsAreBlanked()
{
    TZorvexSettings settings = ReportSample::Settings();
    settings.Comment.SetText(0, "Sklep\x1b[2J\tA\r\nB");
    const ConfigReport report(settings, Options());
    for (const QString& line : ReportTextLines(report) + ReportPrintLines(report)) {
        for (const QChar c : line)
            QVERIFY2(c == u'\t' || c.unicode() >= 0x20, qPrintable(line));
    }
    QVERIFY(ReportTextLines(report).join(u'\n').contains(QStringLiteral("Sklep [2J A  B")));
    // The JSON keeps the record as it is; JSON escapes it.
    QCOMPARE(report.Records().first(), QStringLiteral("Sklep\x1b[2J\tA\r\nB"));
}

void TstConfigReport::anyImageGivesAReport_data()
{
    // Images from a blank dialer, a damaged file or another program: values no dialog
    // would store (format 0xFF, mode 7, a message length of 200, BCD that is not).
    QTest::addColumn<QByteArray>("image");
    QTest::newRow("zeros") << QByteArray(TCfg::Size, '\0');
    QTest::newRow("FF") << QByteArray(TCfg::Size, '\xFF');
    QTest::newRow("AA") << QByteArray(TCfg::Size, '\xAA');
    QByteArray counting(TCfg::Size, '\0');
    for (int i = 0; i < TCfg::Size; ++i)
        counting[i] = char(i * 37 + 11);
    QTest::newRow("counting") << counting;
}

void TstConfigReport::anyImageGivesAReport()
{
    QFETCH(QByteArray, image);
    TZorvexSettings settings;
    settings.Cfg.WriteBytes(0, reinterpret_cast<const std::uint8_t*>(image.constData()),
                            TCfg::Size);
    for (int i = 0; i < TComment::Count; ++i) {
        TComment::Record record;
        record.fill(std::uint8_t(image[i]));
        settings.Comment.SetRecord(i, record);
    }
    const ConfigReport report(settings, Options());
    QCOMPARE(report.Areas().size(), 11);
    QVERIFY(ReportTextLines(report).size() > 100);
    const QJsonObject root = ReportJson(report).object();
    QCOMPARE(QByteArray::fromHex(root.value(QStringLiteral("image")).toString().toLatin1()), image);
    QCOMPARE(root.value(QStringLiteral("records")).toArray().size(), TComment::Count);
}

void TstConfigReport::crc32KnownValue()
{
    const QByteArray check("123456789");
    QCOMPARE(Crc32(reinterpret_cast<const std::uint8_t*>(check.constData()), 9), 0xCBF43926u);
    QCOMPARE(Crc32(nullptr, 0), 0u);
}

void TstConfigReport::fingerprintIsTheFilesImage()
{
    // Byte 0 in memory is stale until a write or a save; the fingerprint is of the image
    // as the file holds it.
    TZorvexSettings settings = ReportSample::Settings();
    settings.Cfg.SetByte(0, 0x5A);
    const ConfigFile::Bytes file = ConfigFile::Build(settings);
    const QString expected =
        QStringLiteral("%1")
            .arg(Crc32(file.data() + ConfigFile::ImageOffset, TCfg::Size), 8, 16, QLatin1Char('0'))
            .toUpper();
    QCOMPARE(QString::fromStdString(ImageFingerprint(settings.Cfg)), expected);
    QCOMPARE(ConfigReport(settings, Options()).Fingerprint(), expected);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]{8}$")).match(expected).hasMatch());
}

void TstConfigReport::fingerprintFollowsContents()
{
    const TZorvexSettings settings = ReportSample::Settings();
    TZorvexSettings stale = settings;
    stale.Cfg.SetByte(0, std::uint8_t(settings.Cfg.GetByte(0) + 1));
    QCOMPARE(ImageFingerprint(stale.Cfg), ImageFingerprint(settings.Cfg));
    QVERIFY(SameConfiguration(stale, settings));

    TZorvexSettings edited = settings;
    edited.Cfg.SetByte(45, std::uint8_t(settings.Cfg.GetByte(45) + 1));
    QVERIFY(ImageFingerprint(edited.Cfg) != ImageFingerprint(settings.Cfg));
    QVERIFY(!SameConfiguration(edited, settings));

    TZorvexSettings described = settings;
    described.Comment.SetText(9, "x");
    QCOMPARE(ImageFingerprint(described.Cfg), ImageFingerprint(settings.Cfg));
    QVERIFY(!SameConfiguration(described, settings));
}

void TstConfigReport::plainLabel_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("plain");
    QTest::newRow("accelerator") << "KU&0"
                                 << "KU0";
    QTest::newRow("colon") << "Kod &Instalatora:"
                           << "Kod Instalatora";
    QTest::newRow("literal ampersand") << "A&&B:"
                                       << "A&B";
    QTest::newRow("inner colon kept") << "NO/NC:"
                                      << "NO/NC";
    QTest::newRow("parentheses") << "&8 kolejek telefonowania (normalnie 4):"
                                 << "8 kolejek telefonowania (normalnie 4)";
    QTest::newRow("no label") << ""
                              << "";
}

void TstConfigReport::plainLabel()
{
    QFETCH(QString, dialog);
    QFETCH(QString, plain);
    QCOMPARE(PlainLabel(dialog.toUtf8().constData()), plain);
}

QTEST_GUILESS_MAIN(TstConfigReport)
#include "tst_configreport.moc"
