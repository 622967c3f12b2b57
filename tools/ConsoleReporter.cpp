#include "tools/ConsoleReporter.h"

#include "device/FileNames.h"

#include <QRegularExpression>

void ConsoleReporter::Information(const QString& text)
{
    m_out << ConsoleText(text) << '\n';
    m_out.flush();
}

void ConsoleReporter::Error(const QString& text)
{
    m_err << ConsoleText(text) << '\n';
    m_err.flush();
}

bool ConsoleReporter::Confirm(const QString& text)
{
    m_out << PrintableText(text) << '\n';
    m_out.flush();
    return true;
}

QString ConsoleReporter::ConsoleText(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    for (QString& line : lines)
        line = PrintableText(line);
    return lines.join(u'\n');
}
