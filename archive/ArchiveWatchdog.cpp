#include "archive/ArchiveWatchdog.h"

#include "archive/ArchiveDatabase.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

ArchiveWatchdog::ArchiveWatchdog(int wakeFd) : m_wakeFd(wakeFd)
{
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        m_pipe[0] = m_pipe[1] = -1; // then only the deadline counts, found late
    m_thread = std::thread(&ArchiveWatchdog::Run, this);
}

ArchiveWatchdog::~ArchiveWatchdog()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        m_armed = nullptr;
    }
    Poke();
    m_thread.join();
    for (const int fd : m_pipe)
        if (fd >= 0)
            ::close(fd);
}

void ArchiveWatchdog::Poke()
{
    const char one = 1;
    if (m_pipe[1] >= 0) [[maybe_unused]]
        const ssize_t ignored = ::write(m_pipe[1], &one, 1);
}

void ArchiveWatchdog::Arm(ArchiveDatabase& db, QDeadlineTimer deadline)
{
    {
        const std::lock_guard lock(m_mutex);
        m_expired = false;
        db.Resume();
        if (m_woken || deadline.hasExpired()) {
            m_expired = !m_woken;
            db.Abort();
            return;
        }
        m_armed = &db;
        m_deadline = deadline;
    }
    Poke();
}

void ArchiveWatchdog::Disarm()
{
    const std::lock_guard lock(m_mutex);
    m_armed = nullptr;
}

bool ArchiveWatchdog::Expired() const
{
    const std::lock_guard lock(m_mutex);
    return m_expired;
}

bool ArchiveWatchdog::Woken() const
{
    const std::lock_guard lock(m_mutex);
    return m_woken;
}

void ArchiveWatchdog::Run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        pollfd fds[2] = {{m_pipe[0], POLLIN, 0}, {m_woken ? -1 : m_wakeFd, POLLIN, 0}};
        // Without a pipe, arming is noticed within 100 ms instead of at once.
        int timeout = m_pipe[0] < 0 ? 100 : -1;
        if (m_armed) {
            const int left = int(qMin<qint64>(m_deadline.remainingTime(), 60000));
            if (timeout < 0 || left < timeout)
                timeout = left;
        }
        lock.unlock();
        const int ready = ::poll(fds, 2, timeout);
        if (ready > 0 && (fds[0].revents & POLLIN)) {
            char drain[64];
            while (::read(m_pipe[0], drain, sizeof drain) > 0) {
            }
        }
        lock.lock();
        if (ready > 0 && fds[1].fd >= 0 && fds[1].revents != 0)
            m_woken = true;
        if (m_armed && (m_woken || m_deadline.hasExpired())) {
            m_expired = !m_woken;
            m_armed->Abort(); // under the lock: Disarm cannot return meanwhile
            m_armed = nullptr;
        }
    }
}
