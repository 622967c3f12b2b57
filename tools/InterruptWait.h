#pragma once

#include <csignal>

// Lets a command run until the user interrupts it (SIGINT, SIGTERM, SIGHUP) and then
// clean up. While an object exists the three signals only wake Wait(); the previous
// handlers come back when it is destroyed. One object at a time; main thread only.
class TInterruptWait
{
public:
    TInterruptWait();
    ~TInterruptWait();
    TInterruptWait(const TInterruptWait&) = delete;
    TInterruptWait& operator=(const TInterruptWait&) = delete;

    // Blocks until one of the signals has arrived (also one that came before the call);
    // returns its number.
    int Wait();

private:
    struct sigaction m_old[3];
};
