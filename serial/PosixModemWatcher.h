#pragma once

// Private: waits for modem-signal changes on drivers that support TIOCMIWAIT, which no
// poll or epoll shows. The waiting thread sits in that call and wakes the event monitor
// through its eventfd after each change; it costs nothing while the signals stay put.

#include <condition_variable>
#include <mutex>
#include <thread>

class PosixModemWatcher
{
public:
    // lines: TIOCM_* bits to wait for. wakeFd: an eventfd the monitor waits on.
    PosixModemWatcher(int fd, int lines, int wakeFd);
    // Interrupts the wait and joins the thread.
    ~PosixModemWatcher();
    PosixModemWatcher(const PosixModemWatcher&) = delete;
    PosixModemWatcher& operator=(const PosixModemWatcher&) = delete;

private:
    void Run();

    int m_fd;
    int m_signals;
    int m_wakeFd;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_stop = false;
    bool m_done = false;
    std::thread m_thread;
};
