#include "report/ConfigDiff.h"

#include "model/TZorvexSettings.h"
#include "report/AreaSections.h"
#include "resources/ConstsZVX.h"

#include <cstdint>
#include <span>

namespace {

// Image bytes (and bits of them) that an area's dialog edits. A difference there that
// none of the area's fields shows is listed as the byte itself under the area.
struct Span
{
    int first;
    int last;
    std::uint8_t bits = 0xFF;
};

struct Region
{
    const char* area; // section key
    std::span<const Span> spans;
};

constexpr Span kPhones[] = {{56, 56}, {58, 58}, {66, 66}, {112, 175}};
constexpr Span kPhoneParams[] = {{46, 49}};
constexpr Span kPolpager[] = {{57, 57}, {192, 255}};
constexpr Span kCodes[] = {{44, 44, 0x04}, {59, 59}, {68, 111}};
constexpr Span kAlarmInputs[] = {{39, 41}};
constexpr Span kPgmOutputs[] = {{50, 53}};
constexpr Span kDelays[] = {{42, 43}, {45, 45}};
constexpr Span kSystemOptions[] = {{44, 44, 0x0B}, {55, 55}};
constexpr Span kStations[] = {{16, 38}};
constexpr Span kEventCodes[] = {{62, 63}, {176, 191}};
constexpr Span kHistory[] = {{6, 13}};
constexpr Span kNotEdited[] = {{1, 5},   {14, 15}, {44, 44, 0xF0}, {54, 54},
                               {60, 61}, {64, 65}, {67, 67}};

constexpr Region kRegions[] = {
    {"phones", kPhones},           {"phoneParams", kPhoneParams},
    {"polpager", kPolpager},       {"codes", kCodes},
    {"alarmInputs", kAlarmInputs}, {"pgmOutputs", kPgmOutputs},
    {"delays", kDelays},           {"systemOptions", kSystemOptions},
    {"stations", kStations},       {"eventCodes", kEventCodes},
    {"history", kHistory},
};

std::span<const Span> SpansOf(const QString& area)
{
    for (const Region& region : kRegions)
        if (area == QLatin1String(region.area))
            return region.spans;
    return {};
}

QList<ConfigDifference> ByteDifferences(const QString& area, std::span<const Span> spans,
                                        const TCfg& a, const TCfg& b)
{
    QList<ConfigDifference> out;
    for (const Span& span : spans)
        for (int i = span.first; i <= span.last; ++i) {
            const int x = a.GetByte(i);
            const int y = b.GetByte(i);
            if ((x ^ y) & span.bits)
                out << ConfigDifference{area, QString::asprintf(ConstsZVX::DiffByte, i),
                                        DiffByteText(x), DiffByteText(y)};
        }
    return out;
}

// Inside a group ("A1", "SMA2") a label that does not name the group itself gets it in
// front, so that "Szybkość" of A1 and of A3 can be told apart.
QString FieldName(const QString& group, const QString& label)
{
    if (group.isEmpty() || label.contains(group))
        return label;
    return QStringLiteral("%1: %2").arg(group, label);
}

QList<ConfigDifference> RowDifferences(const ReportSection& a, const ReportSection& b)
{
    QList<ConfigDifference> out;
    QString group;
    for (qsizetype i = 0; i < a.rows.size() && i < b.rows.size(); ++i) {
        const ReportRow& x = a.rows[i];
        const ReportRow& y = b.rows[i];
        if (x.kind == ReportRow::rkGroup) {
            group = x.label;
            continue;
        }
        if (x.value != y.value)
            out << ConfigDifference{a.caption, FieldName(group, x.label), x.value, y.value};
    }
    return out;
}

QList<ConfigDifference> RecordDifferences(const TZorvexSettings& a, const TZorvexSettings& b)
{
    const ReportSection x = DescriptionSection(a);
    const ReportSection y = DescriptionSection(b);
    QList<ConfigDifference> out;
    QString block;
    int line = 0;
    for (int i = 0; i < TComment::Count && i < x.rows.size() && i < y.rows.size(); ++i) {
        if (!x.rows[i].label.isEmpty()) {
            block = x.rows[i].label;
            line = 0;
        }
        ++line;
        // The record bytes decide, not the text shown: a byte Windows-1250 leaves
        // undefined reads alike whatever it is.
        if (a.Comment.GetText(i) == b.Comment.GetText(i))
            continue;
        const bool severalLines =
            line > 1 || (i + 1 < x.rows.size() && x.rows[i + 1].label.isEmpty());
        const QString field = severalLines ? QString::asprintf(ConstsZVX::DiffRecordLine,
                                                               block.toUtf8().constData(), line)
                                           : block;
        out << ConfigDifference{x.caption, field, x.rows[i].value, y.rows[i].value};
    }
    return out;
}

} // namespace

QString DiffByteText(int value)
{
    return QStringLiteral("0x") +
           QString::number(value & 0xFF, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

QList<ConfigDifference> ConfigDifferences(const TZorvexSettings& a, const TZorvexSettings& b,
                                          TDiffScope scope)
{
    QList<ConfigDifference> out;
    if (scope == dsConfiguration)
        out << RecordDifferences(a, b);
    const QList<ReportSection> x = AreaSections(a, false);
    const QList<ReportSection> y = AreaSections(b, false);
    for (qsizetype i = 0; i < x.size() && i < y.size(); ++i) {
        QList<ConfigDifference> rows = RowDifferences(x[i], y[i]);
        if (rows.isEmpty())
            rows = ByteDifferences(x[i].caption, SpansOf(x[i].key), a.Cfg, b.Cfg);
        out << rows;
    }
    out << ByteDifferences(QString::fromUtf8(ConstsZVX::DiffNotEditedArea), kNotEdited, a.Cfg,
                           b.Cfg);
    return out;
}
