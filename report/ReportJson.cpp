#include "report/ReportJson.h"

#include "editors/fields/FieldText.h"
#include "report/ConfigReport.h"
#include "resources/ConstsZVX.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QJsonObject Area(const ReportSection& section)
{
    QJsonObject fields;
    QJsonObject labels;
    QJsonObject notes;
    QJsonArray order;
    for (const ReportRow& row : section.rows) {
        if (row.kind != ReportRow::rkField || row.key.isEmpty())
            continue;
        fields.insert(row.key, row.value);
        labels.insert(row.key, row.label);
        if (!row.note.isEmpty())
            notes.insert(row.key, row.note);
        order.append(row.key);
    }
    QJsonObject area{{QStringLiteral("caption"), section.caption},
                     {QStringLiteral("fields"), fields},
                     {QStringLiteral("labels"), labels},
                     {QStringLiteral("order"), order}};
    if (!notes.isEmpty())
        area.insert(QStringLiteral("notes"), notes);
    if (!section.stored.isEmpty()) {
        QJsonObject stored;
        for (auto it = section.stored.begin(); it != section.stored.end(); ++it)
            stored.insert(it.key(), it.value());
        area.insert(QStringLiteral("stored"), stored);
    }
    return area;
}

// Image bytes holding bits no field owns, by offset: the whole byte as two hex digits.
QJsonObject Unedited(const QByteArray& image)
{
    QJsonObject unedited;
    const std::array<std::uint8_t, 256>& free = FieldlessBits();
    for (int i = 1; i < image.size() && i < int(free.size()); ++i)
        if (free[i])
            unedited.insert(QString::number(i),
                            QString::fromLatin1(image.mid(i, 1).toHex().toUpper()));
    return unedited;
}

} // namespace

QJsonDocument ReportJson(const ConfigReport& report)
{
    const ReportOptions& options = report.Options();
    QJsonObject areas;
    QJsonArray areaOrder;
    for (const ReportSection& section : report.Areas()) {
        areas.insert(section.key, Area(section));
        areaOrder.append(section.key);
    }
    areas.insert(report.Description().key, Area(report.Description()));
    areaOrder.append(report.Description().key);

    QJsonObject root{
        {QStringLiteral("format"), QStringLiteral("zvx-configuration")},
        {QStringLiteral("version"), ReportJsonVersion},
        {QStringLiteral("program"), QString::fromUtf8(ConstsZVX::ProgramCaption)},
        {QStringLiteral("file"),
         options.fileName.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(options.fileName)},
        {QStringLiteral("masked"), options.masked},
        {QStringLiteral("fingerprint"),
         options.masked ? QJsonValue(QJsonValue::Null) : QJsonValue(report.Fingerprint())},
        {QStringLiteral("image"),
         options.masked ? QJsonValue(QJsonValue::Null)
                        : QJsonValue(QString::fromLatin1(report.Image().toHex().toUpper()))},
        {QStringLiteral("records"), QJsonArray::fromStringList(report.Records())},
        {QStringLiteral("areas"), areas},
        {QStringLiteral("areaOrder"), areaOrder},
        {QStringLiteral("unedited"), Unedited(report.Image())},
    };
    return QJsonDocument(root);
}
