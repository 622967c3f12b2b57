#include "archive/ArchiveSchema.h"

#include "archive/ArchiveColumns.h"
#include "archive/ArchiveSql.h"

#include <QSqlQuery>
#include <QVariant>

#include <utility>

ArchiveSchema::ArchiveSchema(QSqlDatabase& db, ArchiveDatabase::Kind kind, const QString& target)
    : m_db(db), m_kind(kind), m_target(target)
{}

bool ArchiveSchema::Fail(const QString& what)
{
    m_error = what;
    return false;
}

bool ArchiveSchema::Fail(const QString& what, const QSqlQuery& query)
{
    return Fail(ArchiveSql::Failure(what, query, m_db));
}

QStringList ArchiveSchema::Migration(ArchiveDatabase::Kind kind, int version)
{
    const bool lite = kind == ArchiveDatabase::Kind::SQLite;
    switch (version) {
    case 1:
        return {
            QStringLiteral("CREATE TABLE zvx_schema (version INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO zvx_schema (version) VALUES (0)"),
            QStringLiteral("CREATE TABLE zvx_entries ("
                           "id %1, at_ms BIGINT NOT NULL, utc_offset INTEGER NOT NULL, "
                           "event TEXT NOT NULL, succeeded INTEGER NOT NULL, "
                           "outcome TEXT NOT NULL, image %2, records %2, "
                           "fingerprint TEXT NOT NULL, file_name TEXT NOT NULL, "
                           "port TEXT NOT NULL, user_name TEXT NOT NULL, host TEXT NOT NULL, "
                           "version TEXT NOT NULL, repeat_of BIGINT, site TEXT NOT NULL, "
                           "address TEXT NOT NULL)")
                .arg(lite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                          : QStringLiteral("BIGSERIAL PRIMARY KEY"),
                     lite ? QStringLiteral("BLOB") : QStringLiteral("BYTEA")),
        };
    case 2:
        // The search text, and the indexes a list by time and the repeat check use.
        return {
            QStringLiteral("ALTER TABLE zvx_entries ADD COLUMN search TEXT NOT NULL DEFAULT ''"),
            QStringLiteral("CREATE INDEX zvx_entries_at ON zvx_entries (at_ms)"),
            QStringLiteral("CREATE INDEX zvx_entries_source ON zvx_entries (file_name, port, id)"),
            QStringLiteral("CREATE INDEX zvx_entries_repeat ON zvx_entries (repeat_of)"),
        };
    case 3:
        // SQLite: the search texts in an index of their own, which a search reads instead
        // of the whole rows with their images (about a third of the bytes).
        if (lite)
            return {QStringLiteral("CREATE INDEX zvx_entries_search ON zvx_entries (search)")};
        return {};
    case 4: {
        // The event filter and its count from an index, newest first within an event.
        QStringList steps{
            QStringLiteral("CREATE INDEX zvx_entries_event ON zvx_entries (event, at_ms, id)")};
        if (!lite) {
            // Newest first, ties by number, walked from the index without a sort (SQLite's
            // index on at_ms ends with the row number already).
            return steps + QStringList{
                               QStringLiteral("CREATE INDEX zvx_entries_time ON zvx_entries "
                                              "(at_ms, id)"),
                               QStringLiteral("DROP INDEX zvx_entries_at"),
                           };
        }
        // SQLite: every three letters of the search texts point to the entries that hold
        // them, so a search of three letters or more reads only the entries that can
        // match. The text indexed is the folded one the search compares (Polish letters
        // included), compared as it is: the index finds what a plain substring test would.
        // It keeps no copy of the texts (they stay in zvx_entries), and the triggers keep
        // it current in the transaction of each write.
        return steps + QStringList{
                           QStringLiteral("CREATE VIRTUAL TABLE zvx_entries_text USING fts5("
                                          "search, content='zvx_entries', content_rowid='id', "
                                          "tokenize='trigram case_sensitive 1')"),
                           QStringLiteral("INSERT INTO zvx_entries_text (zvx_entries_text) "
                                          "VALUES ('rebuild')"),
                           QStringLiteral("CREATE TRIGGER zvx_entries_text_insert AFTER INSERT "
                                          "ON zvx_entries BEGIN INSERT INTO zvx_entries_text "
                                          "(rowid, search) VALUES (new.id, new.search); END"),
                           QStringLiteral("CREATE TRIGGER zvx_entries_text_delete AFTER DELETE "
                                          "ON zvx_entries BEGIN INSERT INTO zvx_entries_text "
                                          "(zvx_entries_text, rowid, search) VALUES "
                                          "('delete', old.id, old.search); END"),
                           QStringLiteral("CREATE TRIGGER zvx_entries_text_update AFTER UPDATE "
                                          "OF search ON zvx_entries BEGIN INSERT INTO "
                                          "zvx_entries_text (zvx_entries_text, rowid, search) "
                                          "VALUES ('delete', old.id, old.search); INSERT INTO "
                                          "zvx_entries_text (rowid, search) VALUES (new.id, "
                                          "new.search); END"),
                       };
    }
    default:
        return {};
    }
}

// The tables where ours are or would be made. Qt names a PostgreSQL table outside
// "public" with its schema in front: a company's archive in a schema of its own (the
// usual grant since PostgreSQL 15 made "public" its owner's) would read as another
// program's database. Ours live in the first schema of the search path, where an
// unqualified CREATE TABLE puts them.
QStringList ArchiveSchema::Tables()
{
    if (m_kind == ArchiveDatabase::Kind::SQLite)
        return m_db.tables(QSql::Tables);
    QStringList names;
    QSqlQuery q(m_db);
    if (q.exec(QStringLiteral("SELECT tablename FROM pg_tables "
                              "WHERE schemaname = current_schema()"))) {
        while (q.next())
            names << q.value(0).toString();
    }
    return names;
}

std::optional<int> ArchiveSchema::StoredVersion()
{
    const QStringList tables = Tables();
    if (tables.isEmpty())
        return 0;
    if (!tables.contains(QStringLiteral("zvx_schema"))) {
        m_foreign = true;
        Fail(QStringLiteral("To nie jest archiwum konfiguracji: %1").arg(m_target));
        return std::nullopt;
    }
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT MAX(version) FROM zvx_schema")) || !q.next()) {
        Fail(QStringLiteral("Uszkodzone archiwum"), q);
        return std::nullopt;
    }
    const int version = q.value(0).toInt();
    if (version > Version) {
        m_foreign = true;
        Fail(QStringLiteral("Archiwum pochodzi z nowszej wersji programu (schemat %1)")
                 .arg(version));
        return std::nullopt;
    }
    return version;
}

bool ArchiveSchema::Inspect()
{
    const std::optional<int> version = StoredVersion();
    m_version = version.value_or(-1);
    return version.has_value();
}

bool ArchiveSchema::Upgrade()
{
    if (!ArchiveSql::Begin(m_db, m_kind, m_error))
        return false;
    if (!Steps()) {
        ArchiveSql::Rollback(m_db);
        return false;
    }
    if (m_kind == ArchiveDatabase::Kind::PostgreSQL)
        IndexSearchText();
    return ArchiveSql::Commit(m_db, m_error);
}

// Inside Upgrade's transaction.
bool ArchiveSchema::Steps()
{
    QSqlQuery q(m_db);
    if (m_kind == ArchiveDatabase::Kind::PostgreSQL &&
        !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7236118)")))
        return Fail(QStringLiteral("Błąd archiwum"), q);
    const std::optional<int> version = StoredVersion();
    if (!version)
        return false;
    for (int step = *version + 1; step <= Version; ++step) {
        for (const QString& statement : Migration(m_kind, step))
            if (!q.exec(statement))
                return Fail(QStringLiteral("Nie można uaktualnić archiwum"), q);
        if (step == 2 && !FillSearchText())
            return false;
        q.prepare(QStringLiteral("UPDATE zvx_schema SET version = ?"));
        q.addBindValue(step);
        if (!q.exec())
            return Fail(QStringLiteral("Nie można uaktualnić archiwum"), q);
    }
    return true;
}

// PostgreSQL: a trigram index lets a substring search skip the rows that cannot hold it
// (a full scan of 100,000 entries takes about 70 ms, the goal is 50 ms). Its extension
// may be missing (the server's contrib files) or not ours to create (a user without
// CREATE on the database): the search then scans, slower but with the same results, and
// the next opening tries again, so an administrator's CREATE EXTENSION pg_trgm is
// enough. Not a schema step: an older program works with the index as with none. Runs
// inside the upgrade's transaction, under its lock, for at most a second: an archive that
// grew large before the extension came is indexed by an administrator's CREATE INDEX
// rather than hold up every opening (and the entry it was opened for) until it is done.
void ArchiveSchema::IndexSearchText()
{
    QSqlQuery q(m_db);
    // A failed statement spoils the whole transaction: undo just this attempt.
    if (!q.exec(QStringLiteral("SAVEPOINT zvx_trgm")))
        return;
    const bool indexed =
        q.exec(QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() "
                              "AND indexname = 'zvx_entries_search_trgm'")) &&
        q.next();
    if (indexed || (q.exec(QStringLiteral("SET LOCAL statement_timeout = 1000")) &&
                    q.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm")) &&
                    q.exec(QStringLiteral("CREATE INDEX zvx_entries_search_trgm ON zvx_entries "
                                          "USING gin (search gin_trgm_ops)"))))
        q.exec(QStringLiteral("RELEASE SAVEPOINT zvx_trgm"));
    else
        q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT zvx_trgm"));
}

// Entries from before the search text existed get theirs.
bool ArchiveSchema::FillSearchText()
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM zvx_entries WHERE repeat_of IS NULL")
                    .arg(ArchiveColumns::SelectList())))
        return Fail(QStringLiteral("Nie można uaktualnić archiwum"), q);
    QList<std::pair<qint64, QString>> texts;
    const ArchiveColumns::Reader rows(q);
    while (q.next()) {
        const ArchiveEntry entry = rows.Entry();
        texts.append({entry.id, entry.SearchText()});
    }
    QSqlQuery u(m_db);
    u.prepare(QStringLiteral("UPDATE zvx_entries SET search = ? WHERE id = ? OR repeat_of = ?"));
    for (const auto& [id, text] : texts) {
        u.addBindValue(text);
        u.addBindValue(id);
        u.addBindValue(id);
        if (!u.exec())
            return Fail(QStringLiteral("Nie można uaktualnić archiwum"), u);
    }
    return true;
}
