#include "tools/ProgressBar.h"

#include <QFile>

#include <unistd.h>

namespace {
constexpr int kWidth = 30;
}

ProgressBar::ProgressBar(QTextStream& stream) : m_stream(stream)
{
    const auto* file = qobject_cast<const QFile*>(stream.device());
    m_enabled = file && file->handle() >= 0 && isatty(file->handle());
}

void ProgressBar::Start()
{
    m_percent = 0;
    m_retries = 0;
    m_note.clear();
    Draw();
}

void ProgressBar::Confirm(const QString& what)
{
    // Without the trailing dots, and instead of the retransmissions (they are why it
    // confirms), so that the line fits 80 columns.
    m_note = what.trimmed();
    while (m_note.endsWith(QLatin1Char('.')))
        m_note.chop(1);
    m_percent = 0;
    Draw();
}

void ProgressBar::Progress(int percent)
{
    if (percent < 0)
        ++m_retries;
    else
        m_percent = qBound(0, percent, 100);
    Draw();
}

void ProgressBar::End()
{
    if (!m_enabled || !m_shown)
        return;
    m_stream << '\r' << QString(m_line.size(), QLatin1Char(' ')) << '\r';
    m_stream.flush();
    m_shown = false;
}

void ProgressBar::Draw()
{
    if (!m_enabled)
        return;
    const int filled = m_percent * kWidth / 100;
    QString line = QStringLiteral("[") + QString(filled, QLatin1Char('#')) +
                   QString(kWidth - filled, QLatin1Char('.')) + QStringLiteral("] ") +
                   QString::number(m_percent).rightJustified(3) + QLatin1Char('%');
    if (!m_note.isEmpty())
        line += QStringLiteral("  ") + m_note;
    else if (m_retries > 0)
        line += QStringLiteral("  ponowienia: ") + QString::number(m_retries);
    // Progress comes with every chunk of a reply; the terminal needs only the changes.
    if (m_shown && line == m_line)
        return;
    // A shorter line must not leave the end of a longer one behind.
    m_stream << '\r' << line.leftJustified(m_shown ? m_line.size() : 0);
    m_stream.flush();
    m_line = line;
    m_shown = true;
}
