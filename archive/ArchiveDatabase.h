#pragma once

#include "archive/ArchiveEntry.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>
#include <mutex>
#include <optional>

class QSqlQuery;

// The order of a list. Added: as the entries were added (the local queue sends them so);
// Time: by the entry's time (when its configuration was read, written or saved, or an
// imported file's time); the others by what the archive window's column shows (the
// event and the outcome in the user's words, the file or else the port, user@host).
// Entries alike in the key follow newest first.
enum class ArchiveOrder
{
    Added,
    Time,
    Site,
    Address,
    Event,
    Outcome,
    Source,
    User,
};

// What a list of the archive shows: entries whose search text holds text (records,
// phone numbers, fingerprint; any case), of one event, in a time range, in an order
// (newest first by default), a page of them.
struct ArchiveQuery
{
    QString text;                     // empty: any
    std::optional<ConfigEvent> event; // nothing: any
    QDateTime since;                  // invalid: from the first
    QDateTime until;                  // invalid: to the last (exclusive)
    ArchiveOrder order = ArchiveOrder::Added;
    bool ascending = false; // false: the greatest key (the newest) first
    int offset = 0;         // the first this many in the order are left out
    int limit = 1000;       // at most this many; 0: all
};

// One archive of configurations in a database, through Qt SQL: a SQLite file (QSQLITE,
// one machine: several windows and "zvx" at once, write-ahead log, busy timeout) or a
// PostgreSQL database (QPSQL, a team). The program creates the tables and upgrades them
// (ArchiveSchema). Entries are only added;
// Prune is the only deletion.
//
// No call waits long, whatever the connection string or another program does: a lock
// held elsewhere is waited for LockWaitMs, a PostgreSQL statement runs StatementMs at
// most, connecting to a server takes ConnectSeconds per host at most; a server that
// stops answering in between is cut off by Abort (ArchiveWatchdog).
//
// Calls return false (or nothing) on failure, with the reason in Error(); they never
// throw. One thread: the one that opened it (Abort: any thread).
class ArchiveDatabase
{
public:
    enum class Kind
    {
        SQLite,
        PostgreSQL,
    };
    // target: the SQLite file's path (created with mode 0600, its folder 0700), or a
    // libpq connection string ("service=zorvex", "host=/run/pg dbname=zvx"); passwords
    // belong in ~/.pgpass or the service file, never here.
    ArchiveDatabase(Kind kind, QString target);

    // The bounds the program sets whatever the connection string says.
    static constexpr int ConnectSeconds = 3; // connecting, per host (libpq's least is 2)
    static constexpr int LockWaitMs = 2000;  // a lock another program holds
    static constexpr int StatementMs = 5000; // one PostgreSQL statement
    ~ArchiveDatabase();
    ArchiveDatabase(const ArchiveDatabase&) = delete;
    ArchiveDatabase& operator=(const ArchiveDatabase&) = delete;

    Kind GetKind() const { return m_kind; }
    const QString& Target() const { return m_target; }
    // Connects and brings the tables to this version's (ArchiveSchema). Refuses a database that is
    // not an archive (other tables, a file that is no SQLite database) and one written by a newer
    // program.
    bool Open();
    bool IsOpen() const { return m_open; }
    void Close();
    // The last failure in the user's words, one line.
    const QString& Error() const { return m_error; }
    // Whether the last Open refused the database as no archive of this program's: not a
    // regular file, no SQLite database or a damaged one, another program's tables, a
    // newer program's archive. Such a database is left as it is.
    bool NotAnArchive() const { return m_notAnArchive; }

    // Any thread: breaks off the call waiting on this connection now, and makes every
    // later one fail until Resume (or the next Open, for one begun after Abort returned
    // before the connection was made).
    void Abort();
    // The opening thread: calls may wait again.
    void Resume();

    // Adds an entry (id and, for a repeat, repeatOf are set on it). With detectRepeat,
    // an entry whose configuration equals the latest one of the same file (or, with no
    // file, the same port) is stored as a repeat without its own image.
    bool Append(ArchiveEntry& entry, bool detectRepeat = true);
    // Several in one transaction (an import): all or none.
    bool AppendAll(QList<ArchiveEntry>& entries, bool detectRepeat = true);
    // Newest first; entries carry their configuration (a repeat's from the entry it
    // names) unless withImages is false.
    std::optional<QList<ArchiveEntry>> Find(const ArchiveQuery& query, bool withImages = true);
    std::optional<ArchiveEntry> Get(qint64 id);
    // The entry before this one of the same file (or, with no file, the same port).
    std::optional<ArchiveEntry> Previous(const ArchiveEntry& entry);
    // Deletes entries older than before (invalid: none by age) and all but the newest
    // keepCount (0: no limit). A kept repeat of a deleted entry takes its image over.
    // Returns how many went, or nothing on failure.
    std::optional<int> Prune(const QDateTime& before, int keepCount);
    // Removes one entry outright: for the local queue, whose entries move on.
    bool Remove(qint64 id);
    std::optional<qint64> Count();
    // How many entries the query's filters match (its order, offset and limit aside).
    std::optional<qint64> Count(const ArchiveQuery& query);

    // Tests: sees each statement of the calls above, with its values, before it runs.
    void WatchStatements(std::function<void(const QString& sql, const QVariantList& values)> see)
    {
        m_watch = std::move(see);
    }

private:
    bool OpenFile();
    bool Prepared();
    bool Aborted();
    bool Fail(const QString& what, const QSqlQuery& query);
    bool Fail(const QString& what);
    bool Exec(QSqlQuery& query, const QString& what);
    bool Insert(ArchiveEntry& entry, bool detectRepeat);
    std::optional<ArchiveEntry> Latest(const ArchiveEntry& like);
    bool ResolveImage(ArchiveEntry& entry);
    bool PruneIds(const QList<qint64>& ids);
    bool ForIds(const QString& sql, const QList<qint64>& ids,
                const std::function<void(const QSqlQuery&)>& row);
    // How a filter tests the search text: from the text index where it can answer (a
    // scan of the search texts alone where it cannot), on each row in turn, or not at all.
    enum class TextTest
    {
        Index,
        Scan,
        None,
    };
    // The most entries, in the list's order, a search walks before it turns to the text
    // index (about 40 ms on SQLite).
    static constexpr qint64 WalkRows = 50000;
    // Matches of the text index that are sorted sooner than walked for (a few ms).
    static constexpr int FewMatches = 2000;
    // Whether the text index can answer a search for text (trimmed, any case).
    bool TextIndexed(const QString& text) const;
    // " WHERE ..." for the query's filters (empty for none), their values in values.
    QString Filter(const ArchiveQuery& query, QVariantList& values, TextTest test) const;
    QString OrderBy(const ArchiveQuery& query) const;
    // " LIMIT ... OFFSET ..." for the query's page.
    QString Page(const ArchiveQuery& query) const;
    std::optional<QList<ArchiveEntry>> Select(const QString& sql, const QVariantList& values);
    // The page from a walk of the newest entries, when it finds a whole one there.
    std::optional<QList<ArchiveEntry>> Walked(const ArchiveQuery& query);

    Kind m_kind;
    QString m_target;
    QString m_connection;
    QSqlDatabase m_db;
    bool m_open = false;
    bool m_notAnArchive = false;
    QString m_error;
    std::mutex m_abortMutex; // guards the two below, which Abort uses from any thread
    bool m_aborted = false;
    std::function<void()> m_breaker; // cuts the open connection off; empty when closed
    std::function<void(const QString&, const QVariantList&)> m_watch;
};

// Qt SQL's driver name for kind ("QSQLITE", "QPSQL").
QString ArchiveDriverName(ArchiveDatabase::Kind kind);
