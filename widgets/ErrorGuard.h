#pragma once

#include "model/ErrorSink.h"

#include <QString>

#include <exception>
#include <functional>

// The one place where an error the program did not expect reaches the user: an error box
// titled "Zorvex" with the exception's message and OK, after which the program goes on.
// Every action, dialog handler, timer tick and port handler runs inside it, either
// explicitly (RunGuarded) or through GuardedApplication, which guards every event.
//
// Call only on the thread that owns the user interface.
namespace ErrorGuard {

// The text the user reads for an error: the message of our Exception hierarchy, what() of
// any other std::exception, a generic Polish text for anything else.
QString MessageOf(std::exception_ptr error);

// Shows the error box for error (through MessageDlg, kind mkProgram). Never throws.
void Show(std::exception_ptr error);

// Runs action; an exception escaping it is shown and swallowed.
// Returns true when the action ended normally.
bool RunGuarded(const std::function<void()>& action);

// Makes Show the handler of ErrorSink (errors raised where nobody above can catch them).
// Returns the previous handler, so that tests can put it back.
ErrorSink::Handler InstallAsErrorSink();

} // namespace ErrorGuard
