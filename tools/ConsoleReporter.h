#pragma once

#include "device/OutcomeReporter.h"

#include <QTextStream>

// The dialer link's outcomes as console lines: information on standard output, errors
// on standard error, and a load confirmation answered OK after printing its text (the
// record 0 text the window would ask about).
class ConsoleReporter : public OutcomeReporter
{
public:
    ConsoleReporter(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

    void Information(const QString& text) override;
    void Error(const QString& text) override;
    bool Confirm(const QString& text) override;

    // What the last exchange outcome was.
    bool SawInformation() const { return m_information; }
    bool SawError() const { return m_error; }
    // The last error's text (for the archive's entry).
    const QString& LastError() const { return m_lastError; }

    // A message as console lines: a lone carriage return (the port's two-line
    // messages) becomes a line feed; other control characters are shown, never sent
    // raw (a load confirmation carries record 0 from a file).
    static QString ConsoleText(const QString& text);

private:
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_information = false;
    bool m_error = false;
    QString m_lastError;
};
