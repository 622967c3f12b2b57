#include "serial/PosixModemWatcher.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <pthread.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// TIOCMIWAIT can only be left by a signal. This one has a handler that does nothing and
// no SA_RESTART, so the call returns EINTR.
int InterruptSignal()
{
    static const int number = [] {
        const int sig = SIGRTMIN + 3;
        struct sigaction action
        {
        };
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(sig, &action, nullptr);
        return sig;
    }();
    return number;
}

} // namespace

PosixModemWatcher::PosixModemWatcher(int fd, int lines, int wakeFd)
    : m_fd(fd), m_signals(lines), m_wakeFd(wakeFd)
{
    InterruptSignal();
    m_thread = std::thread(&PosixModemWatcher::Run, this);
}

PosixModemWatcher::~PosixModemWatcher()
{
    std::unique_lock lock(m_mutex);
    m_stop = true;
    // The signal may land just before the thread enters the wait; then it is sent again.
    // This happens only while closing a port with a modem-capable driver.
    auto delay = std::chrono::milliseconds(1);
    while (!m_done) {
        pthread_kill(m_thread.native_handle(), InterruptSignal());
        m_ended.wait_for(lock, delay);
        delay = std::min(delay * 2, std::chrono::milliseconds(100));
    }
    lock.unlock();
    m_thread.join();
}

void PosixModemWatcher::Run()
{
    // Named so that a look at the process (top -H, /proc) tells it from the monitor.
    pthread_setname_np(pthread_self(), "zvx-modem");
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_stop)
                break;
        }
        if (ioctl(m_fd, TIOCMIWAIT, m_signals) == 0) {
            const std::uint64_t one = 1;
            [[maybe_unused]] ssize_t n = write(m_wakeFd, &one, sizeof one);
            continue;
        }
        if (errno != EINTR)
            break; // not supported after all, or the line went away
    }
    std::lock_guard lock(m_mutex);
    m_done = true;
    m_ended.notify_all();
}
