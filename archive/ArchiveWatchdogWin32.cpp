#include "archive/ArchiveWatchdog.h"

#include "archive/ArchiveDatabase.h"

#include <algorithm>
#include <chrono>

// Windows has no descriptor a console's Ctrl+C makes readable (InterruptWait::WakeFd() is
// -1 there): only the deadline ends an act, and the thread hears of a change of arming
// through a condition variable instead of a pipe.

ArchiveWatchdog::ArchiveWatchdog(int wakeFd) : m_wakeFd(wakeFd)
{
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
}

void ArchiveWatchdog::Poke()
{
    m_changed.notify_all();
}

void ArchiveWatchdog::Arm(ArchiveDatabase& db, QDeadlineTimer deadline)
{
    {
        const std::lock_guard lock(m_mutex);
        m_expired = false;
        db.Resume();
        if (deadline.hasExpired()) {
            m_expired = true;
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
        // A deadline that never passes (remainingTime() -1) waits as long as nothing is armed.
        if (m_armed && !m_deadline.isForever())
            m_changed.wait_for(lock, std::chrono::milliseconds(
                                         std::clamp<qint64>(m_deadline.remainingTime(), 0, 60000)));
        else
            m_changed.wait(lock);
        if (m_armed && m_deadline.hasExpired()) {
            m_expired = true;
            m_armed->Abort(); // under the lock: Disarm cannot return meanwhile
            m_armed = nullptr;
        }
    }
}
