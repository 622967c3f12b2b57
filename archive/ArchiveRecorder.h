#pragma once

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWatchdog.h"
#include "settings/ProgramSettings.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>

// Takes the program's events into the archive without ever standing in the way of the
// dialer: an archive out of reach (a server down or silent, a folder that cannot be
// written, a lock another program holds) makes Record keep the entry in a local queue (a
// SQLite file beside the default archive), and the next Record or Flush that reaches the
// archive sends the queue first, oldest first. Problem() then says so in one line. After
// a failure Record does not try the archive again for RetryPause (a server out of reach
// costs its connection time-out each time); Flush always tries.
//
// No call waits on the archive past its deadline (Patience unless given): the watchdog
// breaks the database off and the entry goes to the queue. One program at a time sends
// a queue (a lock file beside it), so that each entry arrives once; the others send their
// own entries straight on. A queue that is no queue (garbage, a folder in its place) is
// set aside under another name, said once (TakeNotices), and a new one is begun. Never
// throws.
//
// One thread: the one that made it.
class ArchiveRecorder
{
public:
    static constexpr int RetryPause = 30000; // ms
    static constexpr int Patience = 5000;    // ms: the longest one act waits on the archive

    // The archive the options name; queueFile: the local queue (default: QueuePath()).
    // wakeFd: readable once the work must end now (a signal that ends a command): the
    // archive is then broken off, and every entry from then on goes to the queue; -1: none.
    explicit ArchiveRecorder(ArchiveOptions options, QString queueFile = QString(),
                             int wakeFd = -1);
    ~ArchiveRecorder();

    // Keeps entry; true when it reached the archive (then it has its id), false when it
    // waits in the queue (or, with the queue out of reach too, is lost: Problem says).
    bool Record(ArchiveEntry& entry, QDeadlineTimer deadline = QDeadlineTimer(Patience));
    // Sends what waits in the queue; false when the archive could not be reached (true
    // also while another program is sending the queue).
    bool Flush(QDeadlineTimer deadline = QDeadlineTimer(Patience));
    // How many entries wait in the queue.
    qint64 Waiting();
    const ArchiveOptions& Options() const { return m_options; }
    const QString& QueueFile() const { return m_queueFile; }
    // One line for the status bar or standard error: why the last entry waits in the queue
    // or is lost; empty when it reached the archive, or waits only because the work was
    // ended (wakeFd).
    const QString& Problem() const { return m_problem; }
    // Lines to be told once (a broken queue set aside); taken, they are gone.
    QStringList TakeNotices();

    // The archive itself, opened on first use (within Patience); nullptr when it cannot
    // be reached (Problem says why).
    ArchiveDatabase* Database();

    // ~/.local/share/zorvex/archiwum.sqlite (XDG_DATA_HOME) and the queue beside it.
    static QString DefaultPath();
    static QString QueuePath();
    // The database the options name (not yet opened). Refused: a Database= the program
    // does not know, a connection string that holds a password (it would sit in
    // zorvex.ini in plain text) or that libpq could not read (ConnectionString::Problem).
    static std::unique_ptr<ArchiveDatabase> Make(const ArchiveOptions& options,
                                                 QString* problem = nullptr);

private:
    // The archive opened under the watchdog's deadline; nullptr when it is out of reach.
    ArchiveDatabase* Reach(QDeadlineTimer deadline);
    // Sends the queue to db; false when db failed (the queue itself is not db's failure).
    bool SendQueue(ArchiveDatabase& db);
    void Unreachable(ArchiveDatabase* db);
    bool OpenQueue();
    bool SetQueueAside();
    bool Queue(ArchiveEntry& entry);

    ArchiveOptions m_options;
    QString m_queueFile;
    ArchiveWatchdog m_watchdog;
    QLockFile m_queueLock; // held while this program sends the queue or sets it aside
    std::unique_ptr<ArchiveDatabase> m_db;
    std::unique_ptr<ArchiveDatabase> m_queue;
    QString m_problem;
    QStringList m_notices;
    QString m_unreachable;        // the archive's own reason, from the last try
    QElapsedTimer m_sinceFailure; // valid after a failure to reach the archive
};
