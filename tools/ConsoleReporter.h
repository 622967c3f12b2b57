#pragma once

#include "device/OutcomeReporter.h"

#include <QTextStream>

// The dialer link's messages as console lines: information on standard output, errors
// on standard error, and a load confirmation answered OK after printing its text (the
// record 0 text the window would ask about). How an exchange ended is the document's
// outcome, not which of these was called.
class ConsoleReporter : public OutcomeReporter
{
public:
    ConsoleReporter(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

    void Information(const QString& text) override;
    void Error(const QString& text) override;
    bool Confirm(const QString& text) override;

    // A message as console lines: a lone carriage return (the port's two-line
    // messages) becomes a line feed; other control characters are shown, never sent
    // raw (a load confirmation carries record 0 from a file).
    static QString ConsoleText(const QString& text);

private:
    QTextStream& m_out;
    QTextStream& m_err;
};
