#pragma once

#include "archive/ArchiveDatabase.h"
#include "settings/ProgramSettings.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

// Takes the program's events into the archive without ever standing in the way of the
// dialer: an archive out of reach (a server down, a folder that cannot be written) makes
// Record keep the entry in a local queue (a SQLite file beside the default archive), and
// the next Record or Flush that reaches the archive sends the queue first, oldest first.
// Problem() then says so in one line. After a failure Record does not try the archive
// again for RetryPause (a server out of reach costs its connection timeout each time);
// Flush always tries. Never throws.
//
// One thread: the one that made it.
class ArchiveRecorder
{
public:
    static constexpr int RetryPause = 30000; // ms

    // The archive the options name; queueFile: the local queue (default: QueuePath()).
    explicit ArchiveRecorder(ArchiveOptions options, QString queueFile = QString());
    ~ArchiveRecorder();

    // Keeps entry; true when it reached the archive (then it has its id), false when it
    // waits in the queue (or, with the queue out of reach too, is lost: Problem says).
    bool Record(ArchiveEntry& entry);
    // Sends what waits in the queue; true when nothing waits any more.
    bool Flush();
    // How many entries wait in the queue.
    qint64 Waiting();
    const ArchiveOptions& Options() const { return m_options; }
    const QString& QueueFile() const { return m_queueFile; }
    // One line for the status bar or standard error; empty when all went well.
    const QString& Problem() const { return m_problem; }

    // The archive itself, opened on first use; nullptr when it cannot be reached
    // (Problem says why).
    ArchiveDatabase* Database();

    // ~/.local/share/zorvex/archiwum.sqlite (XDG_DATA_HOME) and the queue beside it.
    static QString DefaultPath();
    static QString QueuePath();
    // The database the options name (not yet opened). A connection string that holds a
    // password is refused: it would sit in zorvex.ini in plain text.
    static std::unique_ptr<ArchiveDatabase> Make(const ArchiveOptions& options,
                                                 QString* problem = nullptr);

private:
    bool OpenQueue();
    bool Queue(ArchiveEntry& entry);

    ArchiveOptions m_options;
    QString m_queueFile;
    std::unique_ptr<ArchiveDatabase> m_db;
    std::unique_ptr<ArchiveDatabase> m_queue;
    QString m_problem;
    QString m_unreachable;        // the archive's own reason, from the last try
    QElapsedTimer m_sinceFailure; // valid after a failure to reach the archive
};
