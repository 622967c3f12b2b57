#include "archive/ArchiveRecorder.h"

#include "archive/ArchiveFileAccess.h"
#include "archive/ArchiveSql.h"
#include "archive/ConnectionString.h"
#include "resources/ConstsZVX.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

// Holds the queue's lock file for a scope, unless the recorder holds it already.
class QueueLock
{
public:
    QueueLock(QLockFile& lock, int waitMs) : m_lock(lock)
    {
        m_mine = !m_lock.isLocked() && m_lock.tryLock(waitMs);
    }
    ~QueueLock()
    {
        if (m_mine)
            m_lock.unlock();
    }
    bool Held() const { return m_lock.isLocked(); }

private:
    QLockFile& m_lock;
    bool m_mine = false;
};

} // namespace

ArchiveRecorder::ArchiveRecorder(ArchiveOptions options, QString queueFile, int wakeFd)
    : m_options(std::move(options)),
      m_queueFile(queueFile.isEmpty() ? QueuePath() : std::move(queueFile)), m_watchdog(wakeFd),
      m_queueLock(m_queueFile + QStringLiteral(".lock"))
{
    // Held only while a program sends the queue: its process ending frees it at once.
    m_queueLock.setStaleLockTime(0);
}

ArchiveRecorder::~ArchiveRecorder() = default;

QString ArchiveRecorder::DefaultPath()
{
    return ArchiveFileAccess::ProgramDataFolder() + QStringLiteral("/archiwum.sqlite");
}

QString ArchiveRecorder::QueuePath()
{
    return ArchiveFileAccess::ProgramDataFolder() + QStringLiteral("/kolejka.sqlite");
}

std::unique_ptr<ArchiveDatabase> ArchiveRecorder::Make(const ArchiveOptions& options,
                                                       QString* problem)
{
    QString refused = options.databaseProblem;
    if (refused.isEmpty() && options.postgres)
        refused = ConnectionString::Problem(options.connection);
    if (!refused.isEmpty()) {
        if (problem)
            *problem = refused;
        return nullptr;
    }
    if (!options.postgres) {
        return std::make_unique<ArchiveDatabase>(
            ArchiveDatabase::Kind::SQLite, options.file.isEmpty() ? DefaultPath() : options.file);
    }
    return std::make_unique<ArchiveDatabase>(ArchiveDatabase::Kind::PostgreSQL, options.connection);
}

ArchiveDatabase* ArchiveRecorder::Reach(QDeadlineTimer deadline)
{
    if (!m_db) {
        m_db = Make(m_options, &m_unreachable);
        if (!m_db)
            return nullptr;
    }
    m_watchdog.Arm(*m_db, deadline);
    if (!m_db->IsOpen() && !m_db->Open())
        return nullptr;
    return m_db.get();
}

void ArchiveRecorder::Unreachable(ArchiveDatabase* db)
{
    if (m_watchdog.Woken())
        m_unreachable = QString::fromUtf8(ConstsZVX::ArchiveInterrupted);
    else if (m_watchdog.Expired())
        m_unreachable =
            ArchiveSql::Message(ConstsZVX::ArchiveTimedOut, {QString::number(Patience / 1000)});
    else if (m_db)
        m_unreachable = m_db->Error();
    if (db)
        db->Close(); // opened afresh next time: the server may have gone away
    m_sinceFailure.start();
}

ArchiveDatabase* ArchiveRecorder::Database()
{
    ArchiveDatabase* db = Reach(QDeadlineTimer(Patience));
    m_watchdog.Disarm();
    if (!db) {
        Unreachable(nullptr);
        m_problem = m_unreachable;
    }
    return db;
}

bool ArchiveRecorder::OpenQueue()
{
    if (!m_queue)
        m_queue = std::make_unique<ArchiveDatabase>(ArchiveDatabase::Kind::SQLite, m_queueFile);
    if (m_queue->IsOpen() || m_queue->Open())
        return true;
    return m_queue->NotAnArchive() && SetQueueAside() && m_queue->Open();
}

// A queue that can never be read again (another file, a folder in its place) would keep
// every later entry from the queue, and so from the archive: it goes aside, whole, under
// a name of its own, and a new queue begins. Under the queue's lock, so that two programs
// finding it broken at once never set aside the new queue the other has just begun.
bool ArchiveRecorder::SetQueueAside()
{
    const QueueLock lock(m_queueLock, ArchiveDatabase::LockWaitMs);
    if (!lock.Held())
        return false;
    if (m_queue->Open())
        return true; // set aside by another program meanwhile
    if (!m_queue->NotAnArchive())
        return false;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_queueFile + QStringLiteral(".uszkodzona-") + stamp;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = m_queueFile + QStringLiteral(".uszkodzona-%1-%2").arg(stamp).arg(n);
    if (!QDir().rename(m_queueFile, aside))
        return false;
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString companion = m_queueFile + QLatin1String(suffix);
        if (QFileInfo::exists(companion))
            QDir().rename(companion, aside + QLatin1String(suffix));
    }
    m_notices << ArchiveSql::Message(ConstsZVX::ArchiveQueueSetAside, {aside});
    return true;
}

QStringList ArchiveRecorder::TakeNotices()
{
    return std::exchange(m_notices, {});
}

qint64 ArchiveRecorder::Waiting()
{
    if (!QFileInfo::exists(m_queueFile) || !OpenQueue())
        return 0;
    return m_queue->Count().value_or(0);
}

bool ArchiveRecorder::SendQueue(ArchiveDatabase& db)
{
    if (!QFileInfo::exists(m_queueFile))
        return true;
    // One program at a time: two sending the same queue would send each entry twice.
    // The others go on with their own entries.
    const QueueLock lock(m_queueLock, 0);
    if (!lock.Held() || !OpenQueue())
        return true; // the queue's own trouble is no failure of the archive
    ArchiveQuery all;
    all.limit = 0;
    const std::optional<QList<ArchiveEntry>> waiting = m_queue->Find(all);
    if (!waiting)
        return true;
    for (auto it = waiting->rbegin(); it != waiting->rend(); ++it) {
        ArchiveEntry entry = *it;
        const qint64 queuedId = entry.id;
        entry.id = 0;
        if (!db.Append(entry))
            return false;
        // A failure here sends the entry twice, never loses it.
        m_queue->Remove(queuedId);
    }
    return true;
}

bool ArchiveRecorder::Flush(QDeadlineTimer deadline)
{
    if (!QFileInfo::exists(m_queueFile))
        return true;
    ArchiveDatabase* db = Reach(deadline);
    const bool sent = db && SendQueue(*db);
    m_watchdog.Disarm();
    if (!sent) {
        Unreachable(db);
        m_problem = m_unreachable;
        return false;
    }
    m_sinceFailure.invalidate();
    m_problem.clear();
    return true;
}

bool ArchiveRecorder::Record(ArchiveEntry& entry, QDeadlineTimer deadline)
{
    const bool pausing = m_sinceFailure.isValid() && !m_sinceFailure.hasExpired(RetryPause);
    if (pausing || deadline.hasExpired() || m_watchdog.Woken()) {
        if (!pausing)
            Unreachable(nullptr);
        return Queue(entry);
    }
    ArchiveDatabase* db = Reach(deadline);
    const bool sent = db && SendQueue(*db) && db->Append(entry);
    m_watchdog.Disarm();
    if (sent) {
        m_problem.clear();
        m_sinceFailure.invalidate();
        return true;
    }
    Unreachable(db);
    return Queue(entry);
}

bool ArchiveRecorder::Queue(ArchiveEntry& entry)
{
    // Why the archive could not be reached when it was last tried: during the pause the
    // problem line already tells of the queue, and must not be nested in itself.
    const QString& reason = m_unreachable;
    ArchiveEntry waiting = entry;
    if (OpenQueue() && m_queue->Append(waiting, false)) {
        // Ended on purpose: nothing is wrong with the archive, the entry follows later.
        m_problem = m_watchdog.Woken()
                        ? QString()
                        : QStringLiteral("Archiwum niedostępne (%1); wpisy czekają w kolejce: %2")
                              .arg(reason)
                              .arg(m_queue->Count().value_or(1));
    } else {
        m_problem = QStringLiteral("Archiwum niedostępne (%1); wpis nie został zachowany: %2")
                        .arg(reason, m_queue->Error());
    }
    return false;
}
