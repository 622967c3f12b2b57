#include "archive/ArchiveRecorder.h"

#include "resources/ConstsZVX.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

ArchiveRecorder::ArchiveRecorder(ArchiveOptions options, QString queueFile)
    : m_options(std::move(options)),
      m_queueFile(queueFile.isEmpty() ? QueuePath() : std::move(queueFile))
{}

ArchiveRecorder::~ArchiveRecorder() = default;

QString ArchiveRecorder::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zorvex/archiwum.sqlite");
}

QString ArchiveRecorder::QueuePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zorvex/kolejka.sqlite");
}

std::unique_ptr<ArchiveDatabase> ArchiveRecorder::Make(const ArchiveOptions& options,
                                                       QString* problem)
{
    if (!options.postgres) {
        return std::make_unique<ArchiveDatabase>(
            ArchiveDatabase::Kind::SQLite, options.file.isEmpty() ? DefaultPath() : options.file);
    }
    static const QRegularExpression password(QStringLiteral("(^|\\s)password\\s*="),
                                             QRegularExpression::CaseInsensitiveOption);
    if (options.connection.contains(password)) {
        if (problem)
            *problem = QString::fromUtf8(ConstsZVX::ArchivePasswordRefused);
        return nullptr;
    }
    return std::make_unique<ArchiveDatabase>(ArchiveDatabase::Kind::PostgreSQL, options.connection);
}

ArchiveDatabase* ArchiveRecorder::Database()
{
    if (!m_db) {
        m_db = Make(m_options, &m_problem);
        if (!m_db)
            return nullptr;
    }
    if (!m_db->IsOpen() && !m_db->Open()) {
        m_problem = m_db->Error();
        return nullptr;
    }
    return m_db.get();
}

bool ArchiveRecorder::OpenQueue()
{
    if (!m_queue)
        m_queue = std::make_unique<ArchiveDatabase>(ArchiveDatabase::Kind::SQLite, m_queueFile);
    return m_queue->IsOpen() || m_queue->Open();
}

qint64 ArchiveRecorder::Waiting()
{
    if (!QFileInfo::exists(m_queueFile) || !OpenQueue())
        return 0;
    return m_queue->Count().value_or(0);
}

bool ArchiveRecorder::Flush()
{
    if (!QFileInfo::exists(m_queueFile))
        return true;
    ArchiveDatabase* db = Database();
    if (!db) {
        m_sinceFailure.start();
        return false;
    }
    if (!OpenQueue()) {
        m_problem = m_queue->Error();
        m_sinceFailure.start();
        return false;
    }
    ArchiveQuery all;
    all.limit = 0;
    std::optional<QList<ArchiveEntry>> waiting = m_queue->Find(all);
    if (!waiting)
        return false;
    for (auto it = waiting->rbegin(); it != waiting->rend(); ++it) {
        ArchiveEntry entry = *it;
        const qint64 queuedId = entry.id;
        entry.id = 0;
        if (!db->Append(entry)) {
            m_problem = db->Error();
            db->Close(); // opened afresh next time: the server may have gone away
            m_sinceFailure.start();
            return false;
        }
        // A failure here sends the entry twice, never loses it.
        m_queue->Remove(queuedId);
    }
    m_sinceFailure.invalidate();
    m_problem.clear();
    return true;
}

bool ArchiveRecorder::Record(ArchiveEntry& entry)
{
    if (m_sinceFailure.isValid() && !m_sinceFailure.hasExpired(RetryPause))
        return Queue(entry);
    if (ArchiveDatabase* db = Database(); db && Flush()) {
        if (db->Append(entry)) {
            m_problem.clear();
            m_sinceFailure.invalidate();
            return true;
        }
        m_problem = db->Error();
        db->Close();
    }
    m_unreachable = m_problem;
    m_sinceFailure.start();
    return Queue(entry);
}

bool ArchiveRecorder::Queue(ArchiveEntry& entry)
{
    // Why the archive could not be reached when it was last tried: during the pause the
    // problem line already tells of the queue, and must not be nested in itself.
    const QString& reason = m_unreachable;
    ArchiveEntry waiting = entry;
    if (OpenQueue() && m_queue->Append(waiting, false)) {
        m_problem = QStringLiteral("Archiwum niedostępne (%1); wpisy czekają w kolejce: %2")
                        .arg(reason)
                        .arg(m_queue->Count().value_or(1));
    } else {
        m_problem = QStringLiteral("Archiwum niedostępne (%1); wpis nie został zachowany: %2")
                        .arg(reason, m_queue->Error());
    }
    return false;
}
