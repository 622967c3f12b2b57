#include "report/ReportText.h"

#include "report/ConfigReport.h"

#include <algorithm>

namespace {

constexpr int kIndent = 2;

QString Clean(QString text)
{
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    return text;
}

// Rows under a heading inside a section stand further in.
QList<int> Indents(const ReportSection& section)
{
    QList<int> indents;
    bool grouped = false;
    for (const ReportRow& row : section.rows) {
        if (row.kind == ReportRow::rkGroup) {
            grouped = true;
            indents << kIndent;
        } else {
            indents << (grouped ? 2 * kIndent : kIndent);
        }
    }
    return indents;
}

QString LabelText(const ReportRow& row)
{
    return row.label.isEmpty() ? QString() : Clean(row.label) + u':';
}

QString ValueText(const ReportRow& row)
{
    QString value = Clean(row.value);
    if (!row.note.isEmpty())
        value += (value.isEmpty() ? QString() : QStringLiteral("  ")) + Clean(row.note);
    return value;
}

QList<const ReportSection*> AllSections(const ConfigReport& report)
{
    QList<const ReportSection*> sections{&report.Header()};
    for (const ReportSection& area : report.Areas())
        sections << &area;
    return sections;
}

} // namespace

QStringList ReportTextLines(const ConfigReport& report)
{
    QStringList lines;
    for (const ReportSection* section : AllSections(report)) {
        if (!lines.isEmpty())
            lines << QString();
        const QString caption = Clean(section->caption);
        lines << caption << QString(caption.size(), section == &report.Header() ? u'=' : u'-');
        const QList<int> indents = Indents(*section);
        qsizetype width = 0;
        for (int i = 0; i < section->rows.size(); ++i)
            if (section->rows[i].kind == ReportRow::rkField)
                width = std::max(width, indents[i] + LabelText(section->rows[i]).size());
        for (int i = 0; i < section->rows.size(); ++i) {
            const ReportRow& row = section->rows[i];
            const QString indent(indents[i], u' ');
            if (row.kind == ReportRow::rkGroup) {
                lines << indent + Clean(row.label);
                continue;
            }
            const QString value = ValueText(row);
            const QString label = (indent + LabelText(row)).leftJustified(width);
            lines << (value.isEmpty() ? label.trimmed().prepend(indent)
                                      : label + QStringLiteral("  ") + value);
        }
    }
    return lines;
}

QStringList ReportPrintLines(const ConfigReport& report)
{
    QStringList lines;
    for (const ReportSection* section : AllSections(report)) {
        if (!lines.isEmpty())
            lines << QString();
        lines << Clean(section->caption);
        const QList<int> indents = Indents(*section);
        for (int i = 0; i < section->rows.size(); ++i) {
            const ReportRow& row = section->rows[i];
            const QString indent(indents[i], u' ');
            if (row.kind == ReportRow::rkGroup)
                lines << indent + Clean(row.label);
            else
                lines << indent + LabelText(row) + u'\t' + ValueText(row);
        }
    }
    return lines;
}
