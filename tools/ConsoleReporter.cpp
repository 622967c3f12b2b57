#include "tools/ConsoleReporter.h"

#include "device/FileNames.h"

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
    m_out << ConsoleText(text) << '\n';
    m_out.flush();
    return true;
}

QString ConsoleReporter::ConsoleText(const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return PrintableText(lines);
}
