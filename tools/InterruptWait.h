#pragma once

#include <QObject>

#include <functional>
#include <memory>

// The numbers the command-line tool gives the signals that end it (its exit status is 128
// plus the number), as Linux numbers them; Windows's console events take the same ones:
// Ctrl+C and Ctrl+Break are Interrupt, closing the console HangUp, logging off or shutting
// down Terminate.
namespace InterruptSignal {
inline constexpr int HangUp = 1;
inline constexpr int Interrupt = 2;
inline constexpr int Terminate = 15;
} // namespace InterruptSignal

// Lets a command run until the user interrupts it (SIGINT, SIGTERM, SIGHUP) and then
// clean up. While an object exists the three signals are blocked in the thread that made
// it, and so in every thread started afterwards (the port's monitor, the emulated
// dialer): a signal stays pending until Caught() or Wait() takes it, and WakeFd() is
// readable meanwhile. No handler runs for them on those threads, so a signal is never
// lost in a window where a handler would be deferred (ThreadSanitizer's runtime drops one
// that lands while it sets up a thread's first blocking call), and nothing they block in
// sees EINTR because of one. A thread that ran before the object and does not block them
// has a handler that only passes the signal on to the owning thread. When the object
// goes, the previous handlers and mask come back, and a signal nobody took is delivered
// to them, not swallowed. One object at a time; main thread only.
class InterruptWait
{
public:
    InterruptWait();
    ~InterruptWait();
    InterruptWait(const InterruptWait&) = delete;
    InterruptWait& operator=(const InterruptWait&) = delete;

    // Blocks until one of the signals has arrived (also one that came before the call);
    // returns its number.
    int Wait();

    // For an event loop (QSocketNotifier): readable while a signal is pending (a
    // signalfd); -1 when none could be made (then only Caught() and Wait() notice them),
    // and always on Windows, which has no such descriptor.
    int WakeFd() const;
    // Calls onSignal from the owning thread's event loop once a signal is pending, while
    // the returned object lives; nullptr when the platform cannot tell (then only Caught()
    // and Wait() notice them).
    std::unique_ptr<QObject> Notifier(std::function<void()> onSignal) const;
    // The first signal that has arrived since construction, or 0; takes it if pending.
    int Caught() const;
};
