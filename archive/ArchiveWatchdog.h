#pragma once

#include <QDeadlineTimer>

#include <condition_variable>
#include <mutex>
#include <thread>

class ArchiveDatabase;

// Bounds the time an act on the archive may take, whatever the database does meanwhile
// (a server that accepts a query and never answers holds its client for ever): a thread
// of its own that aborts the armed database (ArchiveDatabase::Abort) once the armed
// deadline has passed, or at once when the wake descriptor becomes readable (a signal
// that ends the command-line tool's command; the descriptor is never read here).
//
// Arm and Disarm on the thread that uses the database; the watchdog never touches a
// database after Disarm has returned.
class ArchiveWatchdog
{
public:
    // wakeFd: readable once the work must end now; -1 for none.
    explicit ArchiveWatchdog(int wakeFd = -1);
    ~ArchiveWatchdog();
    ArchiveWatchdog(const ArchiveWatchdog&) = delete;
    ArchiveWatchdog& operator=(const ArchiveWatchdog&) = delete;

    // From now until Disarm, db is aborted when deadline passes (at once when it has, or
    // when the wake descriptor has become readable).
    void Arm(ArchiveDatabase& db, QDeadlineTimer deadline);
    void Disarm();
    // Whether an armed deadline ran out since the last Arm.
    bool Expired() const;
    // Whether the wake descriptor has become readable (for good).
    bool Woken() const;

private:
    void Run();
    void Poke();

    int m_wakeFd;
    int m_pipe[2] = {-1, -1};   // pokes the thread when the arming changes or it must stop
    std::condition_variable m_changed; // the same on Windows, which has no pipe to poll
    mutable std::mutex m_mutex; // guards everything below
    ArchiveDatabase* m_armed = nullptr;
    QDeadlineTimer m_deadline;
    bool m_expired = false;
    bool m_woken = false;
    bool m_stop = false;
    std::thread m_thread;
};
