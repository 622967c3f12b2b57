#include "editors/fields/EditorAreas.h"
#include "model/TZorvexSettings.h"
#include "report/ConfigReport.h"
#include "report/ReportJson.h"

#include <QFile>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

namespace {

QString Document()
{
    QFile file(QStringLiteral(ZVX_SOURCE_DIR "/docs/report-json.md"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The cells of the table rows under heading that name a key (header rows name none).
QList<QStringList> Rows(const QString& document, const QString& heading)
{
    QList<QStringList> rows;
    const QString section =
        document.section(heading + '\n', 1).section(QStringLiteral("\n## "), 0, 0);
    for (const QString& line : section.split('\n'))
        if (line.startsWith(QLatin1String("| `")))
            rows << line.split('|').mid(1, line.count('|') - 1);
    return rows;
}

// The keys a cell names in backticks; `number1`…`number8` names the numbers between, and
// quoted values ("NR 1, NR 8") are examples, not keys.
QStringList KeysIn(const QString& cell)
{
    static const QRegularExpression numbered(QStringLiteral("^(\\D+)(\\d+)$"));
    QStringList keys;
    const QStringList parts = cell.split('`');
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        if (parts[i].startsWith('"'))
            continue;
        if (i + 2 < parts.size() && parts[i + 1] == QStringLiteral("…")) {
            const auto first = numbered.match(parts[i]);
            const auto last = numbered.match(parts[i + 2]);
            for (int n = first.captured(2).toInt(); n <= last.captured(2).toInt(); ++n)
                keys << first.captured(1) + QString::number(n);
            i += 2;
            continue;
        }
        keys << parts[i];
    }
    return keys;
}

QStringList Sorted(QStringList list)
{
    std::sort(list.begin(), list.end());
    return list;
}

// A document with every key it can hold: notes, and a stored value no control can enter
// (a notification count of 9).
QJsonObject Generated()
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    settings.Cfg.SetByte(47, 9);
    return ReportJson(ConfigReport(settings, ReportOptions())).object();
}

} // namespace

// docs/report-json.md against the program: every key the document lists exists, and
// every key the program writes or a field table holds is listed.
class TstReportJsonDoc : public QObject
{
    Q_OBJECT

private slots:
    void keysDocumented_data();
    void keysDocumented();
};

void TstReportJsonDoc::keysDocumented_data()
{
    QTest::addColumn<QStringList>("documented");
    QTest::addColumn<QStringList>("program");

    const QString document = Document();
    const QJsonObject json = Generated();

    QStringList top;
    for (const QStringList& row : Rows(document, QStringLiteral("## Top level")))
        top << KeysIn(row[0]);
    QTest::newRow("top level") << Sorted(top) << Sorted(json.keys());

    // Under "Areas": the keys of an area object (two columns), then the areas (three).
    QStringList areaKeys;
    QList<QStringList> areas;
    for (const QStringList& row : Rows(document, QStringLiteral("## Areas"))) {
        if (row.size() == 2)
            areaKeys << KeysIn(row[0]);
        else
            areas << row;
    }
    QStringList written;
    for (const QJsonValue area : json[QStringLiteral("areas")].toObject())
        for (const QString& key : area.toObject().keys())
            if (!written.contains(key))
                written << key;
    QTest::newRow("an area's keys") << Sorted(areaKeys) << Sorted(written);

    for (const EditorArea* area : EditorAreas()) {
        const QString key = QString::fromStdString(area->key);
        QStringList documented{QStringLiteral("<no row>")};
        for (const QStringList& row : areas)
            if (KeysIn(row[0]) == QStringList{key})
                documented = QStringList{row[1].trimmed()} + Sorted(KeysIn(row[2]));
        QStringList fields;
        for (const EditorField& field : area->fields)
            fields << QString::fromStdString(field.key);
        QTest::addRow("%s", area->key.c_str())
            << documented << QStringList{QString::fromStdString(area->caption)} + Sorted(fields);
    }

    // "delays.alarmEntry", "codes.fields.ku0", jq's ".areas.phones.fields.number1".
    QStringList areaNames;
    for (const EditorArea* area : EditorAreas())
        areaNames << QString::fromStdString(area->key);
    const QRegularExpression reference(
        QStringLiteral("(?<![A-Za-z0-9])(%1)\\.(?:fields\\.)?(\\w+)").arg(areaNames.join('|')));
    QStringList named;
    QStringList existing;
    for (auto it = reference.globalMatch(document); it.hasNext();) {
        const auto match = it.next();
        const QString full = match.captured(1) + '.' + match.captured(2);
        named << full;
        if (FindEditorField(full.toStdString()))
            existing << full;
    }
    QTest::newRow("fields named in the text") << named << existing;
}

void TstReportJsonDoc::keysDocumented()
{
    QFETCH(QStringList, documented);
    QFETCH(QStringList, program);
    QVERIFY2(!documented.isEmpty(), "nothing found in docs/report-json.md");
    QCOMPARE(documented, program);
}

QTEST_APPLESS_MAIN(TstReportJsonDoc)
#include "tst_reportjsondoc.moc"
