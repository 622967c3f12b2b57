#pragma once

#include <QString>

// How the dialer link tells its user how an exchange or a file load ended. The window
// answers with modal message boxes, the command-line tool with console lines.
//
// Every call is synchronous: it returns only when the user has taken the message in
// (closed the box), because the link acts on some outcomes only afterwards. Called on
// the thread that owns the link. Implementations should not throw; if one does, the
// link treats it like any other error of the exchange.
class OutcomeReporter
{
public:
    virtual ~OutcomeReporter() = default;

    // An information box (single button OK), e.g. "Konfiguracja odczytana poprawnie".
    virtual void Information(const QString& text) = 0;
    // An error box (single button OK), e.g. "Błędna suma kontrolna rekordu".
    virtual void Error(const QString& text) = 0;
    // A confirmation box with OK and Cancel; true for OK. Used before a loaded file
    // replaces the configuration, with the file's record 0 text as the question.
    virtual bool Confirm(const QString& text) = 0;
};
