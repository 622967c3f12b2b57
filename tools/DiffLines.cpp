#include "tools/DiffLines.h"

#include "device/FileNames.h"

namespace {

QString Quoted(const QString& value)
{
    return u'"' + PrintableText(value) + u'"';
}

} // namespace

QStringList DiffLines(const QList<ConfigDifference>& differences)
{
    QStringList lines;
    const QString bar = QStringLiteral(" | ");
    for (const ConfigDifference& d : differences)
        lines << d.area + bar + d.field + bar + Quoted(d.a) + bar + Quoted(d.b);
    return lines;
}
