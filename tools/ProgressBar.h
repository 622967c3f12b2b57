#pragma once

#include <QString>
#include <QTextStream>

// The command-line tool's progress display for an exchange: one line redrawn in place
// with a bar, the percentage and the retransmissions so far. Drawn only when the stream
// is a terminal, so scripts and logs get the outcome lines alone.
class ProgressBar
{
public:
    explicit ProgressBar(QTextStream& stream);

    bool Enabled() const { return m_enabled; }

    void Start();
    // 0..100, or -1 for a retransmission.
    void Progress(int percent);
    // Wipes the line, so that the outcome is printed on a clean one.
    void End();

private:
    void Draw();

    QTextStream& m_stream;
    bool m_enabled = false;
    bool m_shown = false;
    QString m_line; // as last drawn
    int m_percent = 0;
    int m_retries = 0;
};
