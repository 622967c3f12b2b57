#pragma once

#include <QString>
#include <QTextStream>

// The command-line tool's progress display for an exchange: one line redrawn in place
// with a bar, the percentage, the retransmissions so far and, while an exchange that
// resent a frame checks the dialer's image, what it is doing. Drawn only when the stream
// is a terminal, so scripts and logs get the outcome lines alone.
class ProgressBar
{
public:
    explicit ProgressBar(QTextStream& stream);

    bool Enabled() const { return m_enabled; }

    void Start();
    // 0..100, or -1 for a retransmission.
    void Progress(int percent);
    // The exchange is being confirmed; what is told after the bar from now on (the
    // window's own message line, e.g. "Proszę czekać, trwa sprawdzanie zapisu... ").
    void Confirm(const QString& what);
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
    QString m_note; // what the exchange is doing, when it is more than moving data
};
