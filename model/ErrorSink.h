#pragma once

#include <exception>
#include <functional>

// Where an error goes that nobody above could catch: an exception escaping a serial
// port handler, a timer tick or the dialer link's reply handling. The program installs
// its error guard here (an error box titled "Zorvex"); the command-line tool prints the
// message. Until something is installed the message goes to stderr.
//
// Call only on the thread that owns the user interface.
namespace ErrorSink {

using Handler = std::function<void(std::exception_ptr)>;

// Replaces the handler; returns the previous one (so tests can restore it).
Handler Install(Handler handler);
// Hands the current exception (or the given one) to the handler. Never throws.
void Report(std::exception_ptr error);

} // namespace ErrorSink
