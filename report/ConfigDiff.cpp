#include "report/ConfigDiff.h"

#include "editors/fields/EditorAreas.h"
#include "model/TZorvexSettings.h"
#include "report/AreaSections.h"
#include "resources/ConstsZVX.h"

#include <array>
#include <cstdint>

namespace {

using ByteMask = std::array<std::uint8_t, TCfg::Size>;

// The image bits an area's dialog edits (its fields' and those it writes unshown). A
// difference there that none of the area's fields shows is listed as the byte itself
// under the area.
ByteMask OwnedBy(const QString& area)
{
    const EditorArea* editor = FindEditorArea(area.toStdString());
    return editor ? editor->OwnedMask() : ByteMask{};
}

// The bits of bytes 1..255 that no area owns (byte 0 is the checksum).
ByteMask NotEdited()
{
    ByteMask mask;
    mask.fill(0xFF);
    mask[0] = 0;
    for (const EditorArea* area : EditorAreas()) {
        const ByteMask owned = area->OwnedMask();
        for (int i = 0; i < TCfg::Size; ++i)
            mask[i] &= ~owned[i];
    }
    return mask;
}

QList<ConfigDifference> ByteDifferences(const QString& area, const ByteMask& mask, const TCfg& a,
                                        const TCfg& b)
{
    QList<ConfigDifference> out;
    for (int i = 0; i < TCfg::Size; ++i) {
        const int x = a.GetByte(i);
        const int y = b.GetByte(i);
        if ((x ^ y) & mask[i])
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
            rows = ByteDifferences(x[i].caption, OwnedBy(x[i].key), a.Cfg, b.Cfg);
        out << rows;
    }
    out << ByteDifferences(QString::fromUtf8(ConstsZVX::DiffNotEditedArea), NotEdited(), a.Cfg,
                           b.Cfg);
    return out;
}
