#include "document/DocumentArchiver.h"

#include "model/ErrorSink.h"

#include <QFileInfo>

DocumentArchiver::DocumentArchiver(ArchiveOptions options, QString queueFile, QObject* parent)
    : QObject(parent)
{
    m_thread = std::thread(&DocumentArchiver::Run, this, std::move(options), std::move(queueFile));
}

DocumentArchiver::~DocumentArchiver()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

// The recorder and its database connections are made, used and closed on this thread
// only: Qt's connections belong to the thread that opened them.
void DocumentArchiver::Run(ArchiveOptions options, QString queueFile)
{
    auto recorder = std::make_unique<ArchiveRecorder>(std::move(options), std::move(queueFile));
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return; // stopped with nothing left: every entry is kept
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        ArchiveStatus status;
        try {
            m_recordFailed = false;
            job(recorder);
            // What the recorder had to say once (a broken queue set aside) comes with its
            // problem, so the status bar's details show both.
            QStringList lines = recorder->TakeNotices();
            if (!recorder->Problem().isEmpty())
                lines << recorder->Problem();
            status.problem = lines.join(QStringLiteral("; "));
            if (!status.problem.isEmpty()) {
                status.waiting = recorder->Waiting();
                // Missed the archive and the queue holds nothing: the queue failed too.
                status.lost = m_status.lost || (m_recordFailed && status.waiting == 0);
            }
        } catch (...) { // the recorder never throws; memory may run out all the same
            status.problem = QStringLiteral("Błąd archiwum: wpis nie został zachowany");
            status.lost = true;
        }
        lock.lock();
        m_busy = false;
        m_status = status;
        if (m_jobs.empty())
            m_idle.notify_all();
        // Only Qt holds the pointer: a queued call to an object already gone is dropped.
        QMetaObject::invokeMethod(this, "Deliver", Qt::QueuedConnection);
    }
}

void DocumentArchiver::Post(Job job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void DocumentArchiver::SetOptions(const ArchiveOptions& options)
{
    // In turn: the entries handed over before go where they were meant to.
    Post([options](std::unique_ptr<ArchiveRecorder>& recorder) {
        if (options != recorder->Options())
            recorder = std::make_unique<ArchiveRecorder>(options, recorder->QueueFile());
        recorder->Flush(); // what waits in the queue goes to the archive now chosen
    });
}

void DocumentArchiver::Flush()
{
    Post([](std::unique_ptr<ArchiveRecorder>& recorder) { recorder->Flush(); });
}

void DocumentArchiver::Settle()
{
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
    }
    Deliver();
}

qint64 DocumentArchiver::Waiting()
{
    Post([this](std::unique_ptr<ArchiveRecorder>& recorder) {
        const qint64 waiting = recorder->Waiting();
        const std::lock_guard lock(m_mutex);
        m_waiting = waiting;
    });
    Settle();
    const std::lock_guard lock(m_mutex);
    return m_waiting;
}

void DocumentArchiver::Deliver()
{
    QList<ArchiveEntry> kept;
    ArchiveStatus status;
    {
        const std::lock_guard lock(m_mutex);
        kept.swap(m_kept);
        status = m_status;
    }
    if (status != m_shown) {
        const bool lineChanged = status.problem != m_shown.problem;
        m_shown = status;
        if (lineChanged)
            emit problemChanged(m_shown.problem);
        emit statusChanged(m_shown);
    }
    for (const ArchiveEntry& entry : kept)
        emit recorded(entry);
}

ArchiveEntry ArchiveEntryOf(const DocumentEvent& event)
{
    ArchiveEntry entry = ArchiveEntry::Now(event.event, event.settings);
    entry.succeeded = event.succeeded;
    // One line, as a list shows it: a message box's line break ("portu COM\r(port ...")
    // becomes a blank.
    entry.outcome = event.message.simplified();
    entry.fileName =
        event.fileName.isEmpty() ? QString() : QFileInfo(event.fileName).absoluteFilePath();
    entry.port = event.port;
    return entry;
}

void DocumentArchiver::DocumentEventHappened(const DocumentEvent& event)
{
    // The archive never stands in the way of the dialer: nothing escapes from here.
    try {
        ArchiveEntry entry = ArchiveEntryOf(event);
        Post([this, entry](std::unique_ptr<ArchiveRecorder>& recorder) mutable {
            m_recordFailed = !recorder->Record(entry);
            const std::lock_guard lock(m_mutex);
            m_kept.append(entry);
        });
    } catch (...) {
        ErrorSink::Report(std::current_exception());
    }
}
