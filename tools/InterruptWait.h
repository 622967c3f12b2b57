#pragma once

#include <csignal>

// Lets a command run until the user interrupts it (SIGINT, SIGTERM, SIGHUP) and then
// clean up. While an object exists the three signals only wake Wait() (or an event loop
// watching WakeFd()); the previous handlers come back when it is destroyed. The handler
// does nothing but what is safe in a signal handler: it records the number and writes
// to an eventfd. One object at a time; main thread only.
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

    // For an event loop (QSocketNotifier): readable once a signal has arrived; -1 when
    // no eventfd could be made (then only Wait() notices signals).
    int WakeFd() const;
    // The signal that has arrived since construction, or 0.
    int Caught() const;

private:
    struct sigaction m_old[3];
};
