#pragma once

#include "archive/ArchiveRecorder.h"
#include "document/DocumentObserver.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// How the archive stands, as the window's status bar tells it.
struct ArchiveStatus
{
    // The recorder's line, the archive's own words in it; empty when all went well.
    QString problem;
    qint64 waiting = 0; // entries waiting in the local queue while there is a problem
    // An entry could be kept neither in the archive nor in the local queue (since the
    // problem began).
    bool lost = false;

    bool operator==(const ArchiveStatus&) const = default;
};

// Keeps every event of a document in the archive, as the window needs it: at once and on
// a thread of its own (the command-line tool holds its entries until it is done:
// DeferredArchiver). Hand it to ConfigDocument::SetObserver.
// When the archive cannot be reached the entry waits in the local queue and
// problemChanged tells the status bar in one line; an empty line when all is well again
// (statusChanged: the same with the count of entries waiting).
//
// Threads: made, called and destroyed on the UI thread. The archive is written on a
// thread of its own, in the order of the events: a server out of reach or silent costs
// up to ArchiveRecorder::Patience per entry, and that must never freeze the window. The
// signals come on the UI thread once an entry has been kept.
class DocumentArchiver : public QObject, public DocumentObserver
{
    Q_OBJECT

public:
    explicit DocumentArchiver(ArchiveOptions options, QString queueFile = QString(),
                              QObject* parent = nullptr);
    // Waits until every entry handed over is in the archive or the local queue.
    ~DocumentArchiver() override;

    void DocumentEventHappened(const DocumentEvent& event) override;
    // From the next entry on, keeps them in the archive options names.
    void SetOptions(const ArchiveOptions& options);
    // Sends what waits in the local queue (in the background, like an entry).
    void Flush();
    // Waits until everything handed over so far has been done, then emits its signals.
    void Settle();
    // How many entries wait in the local queue (waits for what was handed over first).
    qint64 Waiting();
    // The line the status bar shows; empty when all went well.
    const QString& Problem() const { return m_shown.problem; }
    const ArchiveStatus& Status() const { return m_shown; }

signals:
    void problemChanged(const QString& line);
    // The status has changed: a problem came or went, or the count waiting moved.
    void statusChanged(const ArchiveStatus& status);
    // An entry has been kept (in the archive or the queue): an open list is due.
    void recorded(const ArchiveEntry& entry);

private slots:
    // UI thread: takes what the archive's thread has done and tells of it.
    void Deliver();

private:
    // Runs on the archive's thread; may put another recorder in place.
    using Job = std::function<void(std::unique_ptr<ArchiveRecorder>&)>;
    void Post(Job job);
    void Run(ArchiveOptions options, QString queueFile);

    std::mutex m_mutex;             // guards everything below up to m_thread
    std::condition_variable m_wake; // a job or the end for the archive's thread
    std::condition_variable m_idle; // the archive's thread has nothing left to do
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    QList<ArchiveEntry> m_kept; // done, not yet told
    ArchiveStatus m_status;     // after the last job
    qint64 m_waiting = 0;       // the answer of the last Waiting job
    std::thread m_thread;

    bool m_recordFailed = false; // the archive's thread: the last entry missed the archive

    ArchiveStatus m_shown; // UI thread
};

// The archive's entry of a document event, stamped now; the file's name made absolute
// (what a relative name meant is lost once the program has ended). Both front ends make
// their entries here.
ArchiveEntry ArchiveEntryOf(const DocumentEvent& event);
