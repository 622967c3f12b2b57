#include "archive/ArchiveDatabase.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <set>

#include <fcntl.h>
#include <unistd.h>

namespace {

QAtomicInteger<quint64> s_connections;

constexpr const char* kColumns =
    "id, at_ms, utc_offset, event, succeeded, outcome, image, records, fingerprint, "
    "file_name, port, user_name, host, version, repeat_of, site, address";

// Qt binds a null QString as NULL; the text columns are NOT NULL.
QVariant Text(const QString& text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

ArchiveEntry EntryFrom(const QSqlQuery& q)
{
    ArchiveEntry e;
    e.id = q.value(0).toLongLong();
    e.when = QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong(), Qt::UTC);
    e.utcOffset = q.value(2).toInt();
    e.event = q.value(3).toString();
    e.succeeded = q.value(4).toInt() != 0;
    e.outcome = q.value(5).toString();
    e.image = q.value(6).toByteArray();
    e.records = q.value(7).toByteArray();
    e.fingerprint = q.value(8).toString();
    e.fileName = q.value(9).toString();
    e.port = q.value(10).toString();
    e.user = q.value(11).toString();
    e.host = q.value(12).toString();
    e.version = q.value(13).toString();
    e.repeatOf = q.value(14).isNull() ? 0 : q.value(14).toLongLong();
    e.site = q.value(15).toString();
    e.address = q.value(16).toString();
    return e;
}

// Creates the file with mode 0600 before SQLite does (SQLite would follow the umask),
// and its folder with 0700: the archive holds the customers' access codes. The
// write-ahead log and its index take the file's mode.
bool PrepareFile(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        error = QStringLiteral("Nie można utworzyć folderu archiwum: %1").arg(info.absolutePath());
        return false;
    }
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = QStringLiteral("Nie można otworzyć archiwum: %1 (%2)")
                    .arg(path, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    ::close(fd);
    return true;
}

} // namespace

QString ArchiveDriverName(ArchiveDatabase::Kind kind)
{
    return kind == ArchiveDatabase::Kind::SQLite ? QStringLiteral("QSQLITE")
                                                 : QStringLiteral("QPSQL");
}

ArchiveDatabase::ArchiveDatabase(Kind kind, QString target)
    : m_kind(kind), m_target(std::move(target)),
      m_connection(QStringLiteral("zvx-archive-%1").arg(++s_connections))
{}

ArchiveDatabase::~ArchiveDatabase()
{
    Close();
}

void ArchiveDatabase::Close()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
}

bool ArchiveDatabase::Fail(const QString& what)
{
    m_error = what;
    return false;
}

bool ArchiveDatabase::Fail(const QString& what, const QSqlQuery& query)
{
    QString reason = query.lastError().text().simplified();
    if (reason.isEmpty())
        reason = m_db.lastError().text().simplified();
    return Fail(QStringLiteral("%1: %2").arg(what, reason));
}

bool ArchiveDatabase::Exec(QSqlQuery& query, const QString& what)
{
    return query.exec() || Fail(what, query);
}

bool ArchiveDatabase::Begin()
{
    QSqlQuery q(m_db);
    // SQLite: take the write lock at once, so that two writers wait for each other
    // (busy timeout) instead of one failing when it upgrades a read lock.
    const bool ok = m_kind == Kind::SQLite ? q.exec(QStringLiteral("BEGIN IMMEDIATE"))
                                           : q.exec(QStringLiteral("BEGIN"));
    return ok || Fail(QStringLiteral("Błąd archiwum"), q);
}

bool ArchiveDatabase::Commit()
{
    QSqlQuery q(m_db);
    if (q.exec(QStringLiteral("COMMIT")))
        return true;
    Fail(QStringLiteral("Błąd zapisu do archiwum"), q);
    Rollback();
    return false;
}

void ArchiveDatabase::Rollback()
{
    QSqlQuery q(m_db);
    q.exec(QStringLiteral("ROLLBACK"));
}

QStringList ArchiveDatabase::Migration(Kind kind, int version)
{
    const bool lite = kind == Kind::SQLite;
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
    default:
        return {};
    }
}

bool ArchiveDatabase::Open()
{
    Close();
    m_error.clear();
    const QString driver = ArchiveDriverName(m_kind);
    if (!QSqlDatabase::isDriverAvailable(driver))
        return Fail(QStringLiteral("Brak sterownika bazy danych %1 (pakiet %2)")
                        .arg(driver, m_kind == Kind::SQLite ? QStringLiteral("libqt6sql6-sqlite")
                                                            : QStringLiteral("libqt6sql6-psql")));
    if (m_kind == Kind::SQLite && !PrepareFile(m_target, m_error))
        return false;
    m_db = QSqlDatabase::addDatabase(driver, m_connection);
    if (m_kind == Kind::SQLite) {
        m_db.setDatabaseName(m_target);
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    } else {
        // The whole libpq connection string goes through the options (the driver joins
        // them with blanks); an archive out of reach must not hold the window for long.
        QString options = m_target;
        if (!options.contains(QLatin1String("connect_timeout")))
            options += QStringLiteral(" connect_timeout=5");
        m_db.setConnectOptions(options);
    }
    if (!m_db.open()) {
        Fail(QStringLiteral("Nie można połączyć się z archiwum: %1")
                 .arg(m_db.lastError().text().simplified()));
        Close();
        return false;
    }
    if (m_kind == Kind::SQLite) {
        QSqlQuery q(m_db);
        // Read first, change nothing: a file that is something else stays as it was.
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) || !Inspect()) {
            if (m_error.isEmpty())
                Fail(QStringLiteral("To nie jest plik archiwum: %1").arg(m_target), q);
            Close();
            return false;
        }
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
            !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
            Fail(QStringLiteral("To nie jest plik archiwum: %1").arg(m_target), q);
            Close();
            return false;
        }
    }
    if (!Upgrade()) {
        Close();
        return false;
    }
    m_open = true;
    return true;
}

// The tables where ours are or would be made. Qt names a PostgreSQL table outside
// "public" with its schema in front: a company's archive in a schema of its own (the
// usual grant since PostgreSQL 15 made "public" its owner's) would read as another
// program's database. Ours live in the first schema of the search path, where an
// unqualified CREATE TABLE puts them.
QStringList ArchiveDatabase::Tables()
{
    if (m_kind == Kind::SQLite)
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

bool ArchiveDatabase::Inspect()
{
    QSqlQuery q(m_db);
    const QStringList tables = Tables();
    if (tables.isEmpty())
        return true;
    if (!tables.contains(QStringLiteral("zvx_schema")))
        return Fail(QStringLiteral("To nie jest archiwum konfiguracji: %1").arg(m_target));
    if (!q.exec(QStringLiteral("SELECT MAX(version) FROM zvx_schema")) || !q.next())
        return Fail(QStringLiteral("Uszkodzone archiwum"), q);
    if (q.value(0).toInt() > SchemaVersion)
        return Fail(QStringLiteral("Archiwum pochodzi z nowszej wersji programu (schemat %1)")
                        .arg(q.value(0).toInt()));
    return true;
}

bool ArchiveDatabase::Upgrade()
{
    if (!Begin())
        return false;
    QSqlQuery q(m_db);
    if (m_kind == Kind::PostgreSQL &&
        !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7236118)"))) {
        Rollback();
        return Fail(QStringLiteral("Błąd archiwum"), q);
    }
    const QStringList tables = Tables();
    int version = 0;
    if (tables.contains(QStringLiteral("zvx_schema"))) {
        if (!q.exec(QStringLiteral("SELECT MAX(version) FROM zvx_schema")) || !q.next()) {
            Rollback();
            return Fail(QStringLiteral("Uszkodzone archiwum"), q);
        }
        version = q.value(0).toInt();
    } else if (!tables.isEmpty()) {
        Rollback();
        return Fail(QStringLiteral("To nie jest archiwum konfiguracji: %1").arg(m_target));
    }
    if (version > SchemaVersion) {
        Rollback();
        return Fail(QStringLiteral("Archiwum pochodzi z nowszej wersji programu (schemat %1)")
                        .arg(version));
    }
    for (int step = version + 1; step <= SchemaVersion; ++step) {
        for (const QString& statement : Migration(m_kind, step)) {
            if (!q.exec(statement)) {
                Fail(QStringLiteral("Nie można uaktualnić archiwum"), q);
                Rollback();
                return false;
            }
        }
        if (step == 2 && !FillSearchText()) {
            Rollback();
            return false;
        }
        q.prepare(QStringLiteral("UPDATE zvx_schema SET version = ?"));
        q.addBindValue(step);
        if (!Exec(q, QStringLiteral("Nie można uaktualnić archiwum"))) {
            Rollback();
            return false;
        }
    }
    if (m_kind == Kind::PostgreSQL)
        IndexSearchText();
    return Commit();
}

// PostgreSQL: a trigram index lets a substring search skip the rows that cannot hold it
// (a full scan of 100,000 entries takes about 70 ms, the goal is 50 ms). Its extension
// may be missing (the server's contrib files) or not ours to create (a user without
// CREATE on the database): the search then scans, slower but with the same results, and
// the next opening tries again, so an administrator's CREATE EXTENSION pg_trgm is
// enough. Not a schema step: an older program works with the index as with none. Runs
// inside the upgrade's transaction, under its lock.
void ArchiveDatabase::IndexSearchText()
{
    QSqlQuery q(m_db);
    // A failed statement spoils the whole transaction: undo just this attempt.
    if (!q.exec(QStringLiteral("SAVEPOINT zvx_trgm")))
        return;
    const bool indexed =
        q.exec(QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() "
                              "AND indexname = 'zvx_entries_search_trgm'")) &&
        q.next();
    // The server's notice that the extension exists would reach zvx's standard error.
    if (indexed || (q.exec(QStringLiteral("SET LOCAL client_min_messages = warning")) &&
                    q.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm")) &&
                    q.exec(QStringLiteral("CREATE INDEX zvx_entries_search_trgm ON zvx_entries "
                                          "USING gin (search gin_trgm_ops)"))))
        q.exec(QStringLiteral("RELEASE SAVEPOINT zvx_trgm"));
    else
        q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT zvx_trgm"));
}

// Entries from before the search text existed get theirs.
bool ArchiveDatabase::FillSearchText()
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM zvx_entries WHERE repeat_of IS NULL")
                    .arg(QLatin1String(kColumns))))
        return Fail(QStringLiteral("Nie można uaktualnić archiwum"), q);
    QList<std::pair<qint64, QString>> texts;
    while (q.next()) {
        const ArchiveEntry entry = EntryFrom(q);
        texts.append({entry.id, entry.SearchText()});
    }
    QSqlQuery u(m_db);
    u.prepare(QStringLiteral("UPDATE zvx_entries SET search = ? WHERE id = ? OR repeat_of = ?"));
    for (const auto& [id, text] : texts) {
        u.addBindValue(text);
        u.addBindValue(id);
        u.addBindValue(id);
        if (!Exec(u, QStringLiteral("Nie można uaktualnić archiwum")))
            return false;
    }
    return true;
}

std::optional<ArchiveEntry> ArchiveDatabase::Latest(const ArchiveEntry& like)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT %1 FROM zvx_entries WHERE file_name = ? AND port = ? "
                             "ORDER BY id DESC LIMIT 1")
                  .arg(QLatin1String(kColumns)));
    q.addBindValue(Text(like.fileName));
    q.addBindValue(Text(like.fileName.isEmpty() ? like.port : QString()));
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    if (!q.next())
        return ArchiveEntry{};
    ArchiveEntry latest = EntryFrom(q);
    if (!ResolveImage(latest))
        return std::nullopt;
    return latest;
}

bool ArchiveDatabase::ResolveImage(ArchiveEntry& entry)
{
    if (entry.repeatOf == 0)
        return true;
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT image, records FROM zvx_entries WHERE id = ?"));
    q.addBindValue(entry.repeatOf);
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return false;
    if (!q.next())
        return Fail(QStringLiteral("Uszkodzone archiwum: brak wpisu %1").arg(entry.repeatOf));
    entry.image = q.value(0).toByteArray();
    entry.records = q.value(1).toByteArray();
    return true;
}

bool ArchiveDatabase::Insert(ArchiveEntry& entry, bool detectRepeat)
{
    entry.repeatOf = 0;
    if (detectRepeat) {
        if (m_kind == Kind::PostgreSQL) {
            // Two installers saving the same file at once see each other's entry.
            QSqlQuery lock(m_db);
            lock.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(7236119, hashtext(?))"));
            lock.addBindValue(entry.fileName + QLatin1Char('\n') + entry.port);
            if (!Exec(lock, QStringLiteral("Błąd zapisu do archiwum")))
                return false;
        }
        const std::optional<ArchiveEntry> latest = Latest(entry);
        if (!latest)
            return false;
        if (latest->id != 0 && latest->SameConfiguration(entry))
            entry.repeatOf = latest->repeatOf != 0 ? latest->repeatOf : latest->id;
    }
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("INSERT INTO zvx_entries (at_ms, utc_offset, event, succeeded, "
                             "outcome, image, records, fingerprint, file_name, port, user_name, "
                             "host, version, repeat_of, site, address, search) VALUES "
                             "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"));
    const bool repeat = entry.repeatOf != 0;
    q.addBindValue(entry.when.toMSecsSinceEpoch());
    q.addBindValue(entry.utcOffset);
    q.addBindValue(Text(entry.event));
    q.addBindValue(entry.succeeded ? 1 : 0);
    q.addBindValue(Text(entry.outcome));
    q.addBindValue(repeat ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(entry.image));
    q.addBindValue(repeat ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(entry.records));
    q.addBindValue(Text(entry.fingerprint));
    q.addBindValue(Text(entry.fileName));
    q.addBindValue(Text(entry.port));
    q.addBindValue(Text(entry.user));
    q.addBindValue(Text(entry.host));
    q.addBindValue(Text(entry.version));
    q.addBindValue(repeat ? QVariant(entry.repeatOf) : QVariant(QMetaType(QMetaType::LongLong)));
    q.addBindValue(Text(entry.site));
    q.addBindValue(Text(entry.address));
    q.addBindValue(Text(entry.SearchText()));
    if (!Exec(q, QStringLiteral("Błąd zapisu do archiwum")))
        return false;
    if (!q.next())
        return Fail(QStringLiteral("Błąd zapisu do archiwum: brak numeru wpisu"));
    entry.id = q.value(0).toLongLong();
    return true;
}

bool ArchiveDatabase::Append(ArchiveEntry& entry, bool detectRepeat)
{
    QList<ArchiveEntry> one{entry};
    if (!AppendAll(one, detectRepeat))
        return false;
    entry = one.first();
    return true;
}

bool ArchiveDatabase::AppendAll(QList<ArchiveEntry>& entries, bool detectRepeat)
{
    if (!m_open)
        return Fail(m_error.isEmpty() ? QStringLiteral("Archiwum nie jest otwarte") : m_error);
    if (!Begin())
        return false;
    for (ArchiveEntry& entry : entries) {
        if (!Insert(entry, detectRepeat)) {
            const QString error = m_error;
            Rollback();
            for (ArchiveEntry& e : entries)
                e.id = 0;
            return Fail(error);
        }
    }
    return Commit();
}

std::optional<QList<ArchiveEntry>> ArchiveDatabase::Find(const ArchiveQuery& query, bool withImages)
{
    if (!m_open) {
        Fail(QStringLiteral("Archiwum nie jest otwarte"));
        return std::nullopt;
    }
    QStringList where;
    QVariantList values;
    if (!query.text.trimmed().isEmpty()) {
        const QString text = query.text.trimmed().toLower();
        if (m_kind == Kind::SQLite) {
            // A plain substring test: faster than LIKE, and no character is a wildcard.
            where << QStringLiteral("id IN (SELECT id FROM zvx_entries INDEXED BY "
                                    "zvx_entries_search WHERE instr(search, ?) > 0)");
            values << text;
        } else {
            // LIKE, which the trigram index serves; its wildcards taken literally.
            QString pattern = text;
            pattern.replace(u'\\', QStringLiteral("\\\\"))
                .replace(u'%', QStringLiteral("\\%"))
                .replace(u'_', QStringLiteral("\\_"));
            where << QStringLiteral("search LIKE ? ESCAPE '\\'");
            values << QStringLiteral("%") + pattern + QStringLiteral("%");
        }
    }
    if (query.event) {
        where << QStringLiteral("event = ?");
        values << QString::fromLatin1(ConfigEventName(*query.event));
    }
    if (query.since.isValid()) {
        where << QStringLiteral("at_ms >= ?");
        values << query.since.toMSecsSinceEpoch();
    }
    if (query.until.isValid()) {
        where << QStringLiteral("at_ms < ?");
        values << query.until.toMSecsSinceEpoch();
    }
    QString sql = QStringLiteral("SELECT %1 FROM zvx_entries").arg(QLatin1String(kColumns));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY id DESC");
    if (query.limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(query.limit);
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    QList<ArchiveEntry> found;
    while (q.next())
        found.append(EntryFrom(q));
    if (withImages) {
        for (ArchiveEntry& e : found) {
            if (!ResolveImage(e))
                return std::nullopt;
        }
    }
    return found;
}

std::optional<ArchiveEntry> ArchiveDatabase::Get(qint64 id)
{
    if (!m_open) {
        Fail(QStringLiteral("Archiwum nie jest otwarte"));
        return std::nullopt;
    }
    QSqlQuery q(m_db);
    q.prepare(
        QStringLiteral("SELECT %1 FROM zvx_entries WHERE id = ?").arg(QLatin1String(kColumns)));
    q.addBindValue(id);
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    if (!q.next()) {
        Fail(QStringLiteral("Brak wpisu %1 w archiwum").arg(id));
        return std::nullopt;
    }
    ArchiveEntry entry = EntryFrom(q);
    if (!ResolveImage(entry))
        return std::nullopt;
    return entry;
}

std::optional<ArchiveEntry> ArchiveDatabase::Previous(const ArchiveEntry& entry)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT %1 FROM zvx_entries WHERE file_name = ? AND port = ? "
                             "AND id < ? ORDER BY id DESC LIMIT 1")
                  .arg(QLatin1String(kColumns)));
    q.addBindValue(Text(entry.fileName));
    q.addBindValue(Text(entry.fileName.isEmpty() ? entry.port : QString()));
    q.addBindValue(entry.id);
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    if (!q.next()) {
        Fail(QStringLiteral("Brak wcześniejszego wpisu tego pliku lub portu"));
        return std::nullopt;
    }
    ArchiveEntry previous = EntryFrom(q);
    if (!ResolveImage(previous))
        return std::nullopt;
    return previous;
}

bool ArchiveDatabase::PruneIds(const QList<qint64>& ids)
{
    QSqlQuery q(m_db);
    for (const qint64 id : ids) {
        // The oldest kept repeat of this entry becomes the holder of its configuration.
        q.prepare(QStringLiteral("SELECT MIN(id) FROM zvx_entries WHERE repeat_of = ?"));
        q.addBindValue(id);
        if (!Exec(q, QStringLiteral("Błąd archiwum")) || !q.next())
            return false;
        if (!q.value(0).isNull()) {
            const qint64 heir = q.value(0).toLongLong();
            q.prepare(QStringLiteral("UPDATE zvx_entries SET image = (SELECT image FROM "
                                     "zvx_entries WHERE id = ?), records = (SELECT records "
                                     "FROM zvx_entries WHERE id = ?), repeat_of = NULL "
                                     "WHERE id = ?"));
            q.addBindValue(id);
            q.addBindValue(id);
            q.addBindValue(heir);
            if (!Exec(q, QStringLiteral("Błąd archiwum")))
                return false;
            q.prepare(QStringLiteral("UPDATE zvx_entries SET repeat_of = ? WHERE repeat_of = ?"));
            q.addBindValue(heir);
            q.addBindValue(id);
            if (!Exec(q, QStringLiteral("Błąd archiwum")))
                return false;
        }
        q.prepare(QStringLiteral("DELETE FROM zvx_entries WHERE id = ?"));
        q.addBindValue(id);
        if (!Exec(q, QStringLiteral("Błąd archiwum")))
            return false;
    }
    return true;
}

std::optional<int> ArchiveDatabase::Prune(const QDateTime& before, int keepCount)
{
    if (!m_open || !Begin())
        return std::nullopt;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    std::set<qint64> ids;
    // Oldest first: a repeat that takes an image over is never itself deleted later in
    // the same pass before its own repeats have moved on.
    q.prepare(QStringLiteral("SELECT id FROM zvx_entries ORDER BY id ASC"));
    if (!Exec(q, QStringLiteral("Błąd archiwum"))) {
        Rollback();
        return std::nullopt;
    }
    QList<qint64> all;
    while (q.next())
        all.append(q.value(0).toLongLong());
    const qsizetype overCount =
        keepCount > 0 && all.size() > keepCount ? all.size() - keepCount : 0;
    for (qsizetype i = 0; i < overCount; ++i)
        ids.insert(all[i]);
    if (before.isValid()) {
        q.prepare(QStringLiteral("SELECT id FROM zvx_entries WHERE at_ms < ? ORDER BY id ASC"));
        q.addBindValue(before.toMSecsSinceEpoch());
        if (!Exec(q, QStringLiteral("Błąd archiwum"))) {
            Rollback();
            return std::nullopt;
        }
        while (q.next())
            ids.insert(q.value(0).toLongLong());
    }
    if (!PruneIds(QList<qint64>(ids.begin(), ids.end()))) {
        Rollback();
        return std::nullopt;
    }
    if (!Commit())
        return std::nullopt;
    return static_cast<int>(ids.size());
}

bool ArchiveDatabase::Remove(qint64 id)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("DELETE FROM zvx_entries WHERE id = ?"));
    q.addBindValue(id);
    return Exec(q, QStringLiteral("Błąd archiwum"));
}

std::optional<qint64> ArchiveDatabase::Count()
{
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM zvx_entries")) || !q.next()) {
        Fail(QStringLiteral("Błąd odczytu archiwum"), q);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}
