#include "tools/DiffLines.h"

namespace {

QString Printable(QString text)
{
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return text;
}

QString Quoted(const QString& value)
{
    return u'"' + Printable(value) + u'"';
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
