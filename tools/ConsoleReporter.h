#pragma once

#include "device/OutcomeReporter.h"

#include <QTextStream>

// The dialer link's messages as console lines: information on standard output, errors
// on standard error, and a load confirmation answered OK after printing its text (the
// record 0 text the window would ask about, on one line whatever it holds). How an exchange ended
// is the document's outcome, not which of these was called.
class ConsoleReporter : public OutcomeReporter
{
public:
    ConsoleReporter(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

    void Information(const QString& text) override;
    void Error(const QString& text) override;
    bool Confirm(const QString& text) override;

    // One of our messages as console lines: its line breaks (a lone carriage return in
    // the port's two-line messages) end lines; every other control character is shown,
    // never sent raw (PrintableText).
    static QString ConsoleText(const QString& text);

private:
    QTextStream& m_out;
    QTextStream& m_err;
};
