#include "archive/ArchiveDatabase.h"

#include "archive/ArchiveColumns.h"
#include "archive/ArchiveFileAccess.h"
#include "archive/ArchiveSchema.h"
#include "archive/ArchiveSql.h"
#include "archive/ConnectionString.h"
#include "archive/DriverHandle.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

namespace {

QAtomicInteger<quint64> s_connections;

// Where an entry came from, as the repeat check and Previous compare it: the same file
// (whatever port a write or a check of it went through), or with no file the same port.
// Two forms, so that each uses the index on (file_name, port, id).
QString SameSource(const ArchiveEntry& entry)
{
    return entry.fileName.isEmpty() ? QStringLiteral("file_name = '' AND port = ?")
                                    : QStringLiteral("file_name = ?");
}

QString SourceKey(const ArchiveEntry& entry)
{
    // Never a null text: Qt would bind it as NULL, which equals nothing.
    const QString& key = entry.fileName.isEmpty() ? entry.port : entry.fileName;
    return key.isNull() ? QStringLiteral("") : key;
}

// A search text as the text index's query: one phrase, every character literal (a quote
// doubled), which matches where the text stands whole.
QString Phrase(QString text)
{
    return QLatin1Char('"') + text.replace(u'"', QStringLiteral("\"\"")) + QLatin1Char('"');
}

QtMessageHandler g_previousHandler = nullptr;

// Qt's PostgreSQL driver warns on standard error when it cannot free a prepared statement
// of a connection that has failed or been cut off, when a cut-off connection is used, and
// when it does not know the server's version: the failure is told already, in the user's
// words and once. Every other message goes where it went.
void QuietDriverWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    static const QLatin1String noise[] = {
        QLatin1String("Unable to free statement"),
        QLatin1String("no connection to the server"),
        QLatin1String("This version of PostgreSQL is not supported"),
    };
    if (type == QtWarningMsg)
        for (const QLatin1String& start : noise)
            if (text.startsWith(start))
                return;
    if (g_previousHandler)
        g_previousHandler(type, context, text);
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
    {
        // Before the connection's descriptor is closed and its number can be reused.
        const std::lock_guard lock(m_abortMutex);
        m_breaker = nullptr;
    }
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
}

void ArchiveDatabase::Abort()
{
    const std::lock_guard lock(m_abortMutex);
    m_aborted = true;
    if (m_breaker)
        m_breaker();
}

void ArchiveDatabase::Resume()
{
    const std::lock_guard lock(m_abortMutex);
    m_aborted = false;
}

bool ArchiveDatabase::Aborted()
{
    const std::lock_guard lock(m_abortMutex);
    return m_aborted;
}

bool ArchiveDatabase::Fail(const QString& what)
{
    m_error = what;
    return false;
}

bool ArchiveDatabase::Fail(const QString& what, const QSqlQuery& query)
{
    return Fail(ArchiveSql::Failure(what, query, m_db));
}

bool ArchiveDatabase::Exec(QSqlQuery& query, const QString& what)
{
    // Once broken off, nothing more waits: the act has run out of time.
    if (Aborted())
        return Fail(what);
    // A statement the database would not prepare (PostgreSQL plans it at once, and may
    // time out on a lock there) is not executed: its own error is the one to tell.
    if (query.lastError().isValid())
        return Fail(what, query);
    if (m_watch)
        m_watch(query.lastQuery(), query.boundValues());
    return query.exec() || Fail(what, query);
}

bool ArchiveDatabase::Open()
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { g_previousHandler = qInstallMessageHandler(QuietDriverWarnings); });
    Close();
    m_error.clear();
    m_notAnArchive = false;
    if (Aborted())
        return Fail(QStringLiteral("Nie można połączyć się z archiwum"));
    const QString driver = ArchiveDriverName(m_kind);
    if (!QSqlDatabase::isDriverAvailable(driver))
        return Fail(DriverHandle::MissingDriverText(driver, m_kind == Kind::PostgreSQL));
    if (m_kind == Kind::SQLite) {
        const ArchiveFileAccess::Outcome prepared = ArchiveFileAccess::Prepare(m_target, m_error);
        m_notAnArchive = prepared == ArchiveFileAccess::Outcome::NotRegular;
        if (prepared != ArchiveFileAccess::Outcome::Ready)
            return false;
    } else if (const QString problem = ConnectionString::Problem(m_target); !problem.isEmpty()) {
        return Fail(problem);
    }
    if (m_kind == Kind::PostgreSQL) {
        // Until the driver hands out its connection, a server silent inside the driver's
        // own opening is cut off by its socket.
        const std::lock_guard lock(m_abortMutex);
        m_breaker = DriverHandle::ConnectingBreaker();
    }
    m_db = QSqlDatabase::addDatabase(driver, m_connection);
    if (m_kind == Kind::SQLite) {
        m_db.setDatabaseName(m_target);
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(LockWaitMs));
    } else {
        // The whole libpq connection string goes through the options (the driver joins
        // them with blanks), with the program's own bound on connecting.
        m_db.setConnectOptions(ConnectionString::WithLimits(m_target, ConnectSeconds));
    }
    if (!m_db.open()) {
        Fail(QStringLiteral("Nie można połączyć się z archiwum: %1")
                 .arg(ArchiveSql::Reason(m_db.lastError())));
        Close();
        return false;
    }
    {
        const std::lock_guard lock(m_abortMutex);
        m_breaker = DriverHandle::Breaker(m_db);
        if (m_aborted && m_breaker)
            m_breaker();
    }
    if (Aborted()) {
        Close();
        return false;
    }
    if (!Prepared()) {
        Close();
        return false;
    }
    m_open = true;
    return true;
}

// A connection just made, ready for the archive's calls: bounded, quiet, the tables at
// this version.
bool ArchiveDatabase::Prepared()
{
    QSqlQuery q(m_db);
    bool upgrade = true;
    if (m_kind == Kind::PostgreSQL) {
        // Every wait bounded by the server too, whatever the connection string or a
        // service file says; its notices would reach standard error through libpq.
        q.prepare(QStringLiteral("SELECT set_config('lock_timeout', ?, false), "
                                 "set_config('statement_timeout', ?, false), "
                                 "set_config('client_min_messages', 'error', false)"));
        q.addBindValue(QString::number(LockWaitMs));
        q.addBindValue(QString::number(StatementMs));
        if (!Exec(q, QStringLiteral("Nie można połączyć się z archiwum")))
            return false;
    } else {
        // Read first, change nothing: a file that is something else stays as it was.
        ArchiveSchema schema(m_db, m_kind, m_target);
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
            m_notAnArchive = ArchiveSql::NotADatabase(q.lastError());
            return m_notAnArchive
                       ? Fail(QStringLiteral("To nie jest plik archiwum: %1").arg(m_target))
                       : Fail(QStringLiteral("Nie można otworzyć archiwum %1").arg(m_target), q);
        }
        if (!schema.Inspect()) {
            m_notAnArchive = schema.Foreign();
            return Fail(schema.Error());
        }
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
            !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL")))
            return Fail(QStringLiteral("Nie można otworzyć archiwum %1").arg(m_target), q);
        DriverHandle::KeepLogOnClose(m_db);
        upgrade = !schema.UpToDate();
    }
    if (ArchiveSchema schema(m_db, m_kind, m_target); upgrade && !schema.Upgrade()) {
        m_notAnArchive = schema.Foreign();
        return Fail(schema.Error());
    }
    return true;
}

std::optional<ArchiveEntry> ArchiveDatabase::Latest(const ArchiveEntry& like)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT %1 FROM zvx_entries WHERE %2 ORDER BY id DESC LIMIT 1")
                  .arg(ArchiveColumns::SelectList(), SameSource(like)));
    q.addBindValue(SourceKey(like));
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    if (!q.next())
        return ArchiveEntry{};
    ArchiveEntry latest = ArchiveColumns::Reader(q).Entry();
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
    entry.image = q.value(QStringLiteral("image")).toByteArray();
    entry.records = q.value(QStringLiteral("records")).toByteArray();
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
            lock.addBindValue(
                (entry.fileName.isEmpty() ? QStringLiteral("port\n") : QStringLiteral("file\n")) +
                SourceKey(entry));
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
    q.prepare(QStringLiteral("INSERT INTO zvx_entries (%1) VALUES (%2) RETURNING id")
                  .arg(ArchiveColumns::InsertList(), ArchiveColumns::InsertPlaceholders()));
    ArchiveColumns::BindInsert(q, entry);
    if (!Exec(q, QStringLiteral("Błąd zapisu do archiwum")))
        return false;
    if (!q.next())
        return Fail(QStringLiteral("Błąd zapisu do archiwum: brak numeru wpisu"));
    entry.id = q.value(QStringLiteral("id")).toLongLong();
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
    if (!ArchiveSql::Begin(m_db, m_kind, m_error))
        return false;
    for (ArchiveEntry& entry : entries) {
        if (!Insert(entry, detectRepeat)) {
            const QString error = m_error;
            ArchiveSql::Rollback(m_db);
            for (ArchiveEntry& e : entries)
                e.id = 0;
            return Fail(error);
        }
    }
    return ArchiveSql::Commit(m_db, m_error);
}

bool ArchiveDatabase::TextIndexed(const QString& text) const
{
    // The trigram index holds every run of three characters: a shorter text is in none.
    return m_kind == Kind::SQLite && text.toUcs4().size() >= 3;
}

QString ArchiveDatabase::Filter(const ArchiveQuery& query, QVariantList& values,
                                TextTest test) const
{
    QStringList where;
    const QString text = query.text.trimmed().toLower();
    if (!text.isEmpty() && test != TextTest::None) {
        if (m_kind == Kind::SQLite && test == TextTest::Index && TextIndexed(text)) {
            // The text as one quoted phrase: every character literal, a quote doubled.
            where << QStringLiteral("id IN (SELECT rowid FROM zvx_entries_text WHERE "
                                    "zvx_entries_text MATCH ?)");
            values << Phrase(text);
        } else if (m_kind == Kind::SQLite) {
            // A plain substring test: faster than LIKE, and no character is a wildcard.
            where << (test == TextTest::Index
                          ? QStringLiteral("id IN (SELECT id FROM zvx_entries INDEXED BY "
                                           "zvx_entries_search WHERE instr(search, ?) > 0)")
                          : QStringLiteral("instr(search, ?) > 0"));
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
    QStringList dates;
    if (query.since.isValid()) {
        dates << QStringLiteral("at_ms >= ?");
        values << query.since.toMSecsSinceEpoch();
    }
    if (query.until.isValid()) {
        dates << QStringLiteral("at_ms < ?");
        values << query.until.toMSecsSinceEpoch();
    }
    // SQLite would rather walk every entry in the order they were added than sort the
    // few of those days: the numbers of those days' entries, from the index on the time,
    // are taken in order instead.
    if (!dates.isEmpty() && m_kind == Kind::SQLite && query.order == ArchiveOrder::Added)
        where << QStringLiteral("id IN (SELECT id FROM zvx_entries WHERE %1)")
                     .arg(dates.join(QStringLiteral(" AND ")));
    else
        where << dates;
    return where.isEmpty() ? QString()
                           : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
}

QString ArchiveDatabase::OrderBy(const ArchiveQuery& query) const
{
    const QString direction = query.ascending ? QStringLiteral("ASC") : QStringLiteral("DESC");
    if (query.order == ArchiveOrder::Added)
        return QStringLiteral(" ORDER BY id ") + direction;
    // Texts in any case together (SQLite folds only ASCII letters; PostgreSQL as the
    // database's locale has it).
    const auto fold = [this](const QString& text) {
        return m_kind == Kind::SQLite ? text + QStringLiteral(" COLLATE NOCASE")
                                      : QStringLiteral("lower(%1)").arg(text);
    };
    QString key;
    switch (query.order) {
    case ArchiveOrder::Added:
    case ArchiveOrder::Time:
        break;
    case ArchiveOrder::Site:
        key = fold(QStringLiteral("site"));
        break;
    case ArchiveOrder::Address:
        key = fold(QStringLiteral("address"));
        break;
    case ArchiveOrder::Event: {
        // By the words the user reads, not the stored names; our own constants, no input.
        key = QStringLiteral("CASE event");
        for (const ConfigEvent event : AllConfigEvents)
            key += QStringLiteral(" WHEN '%1' THEN '%2'")
                       .arg(QLatin1String(ConfigEventName(event)),
                            QString::fromUtf8(ConfigEventText(event)));
        key += QStringLiteral(" ELSE event END");
        break;
    }
    case ArchiveOrder::Outcome:
        key = fold(QStringLiteral("CASE WHEN succeeded <> 0 THEN 'OK' ELSE outcome END"));
        break;
    case ArchiveOrder::Source:
        key = fold(QStringLiteral("CASE WHEN file_name <> '' THEN file_name ELSE port END"));
        break;
    case ArchiveOrder::User:
        key = fold(QStringLiteral("user_name || '@' || host"));
        break;
    }
    QString order = QStringLiteral(" ORDER BY ");
    if (!key.isEmpty())
        order += key + QLatin1Char(' ') + direction + QStringLiteral(", at_ms DESC, id DESC");
    else
        order += QStringLiteral("at_ms %1, id %1").arg(direction);
    return order;
}

std::optional<QList<ArchiveEntry>> ArchiveDatabase::Select(const QString& sql,
                                                           const QVariantList& values)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    QList<ArchiveEntry> found;
    const ArchiveColumns::Reader rows(q);
    while (q.next())
        found.append(rows.Entry());
    return found;
}

QString ArchiveDatabase::Page(const ArchiveQuery& query) const
{
    QString sql;
    if (query.limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(query.limit);
    else if (query.offset > 0 && m_kind == Kind::SQLite)
        sql += QStringLiteral(" LIMIT -1"); // SQLite takes an offset only after a limit
    if (query.offset > 0)
        sql += QStringLiteral(" OFFSET %1").arg(query.offset);
    return sql;
}

// A search whose text many entries hold (a town, a street, the start of every phone
// number) finds a page of them among the newest few thousand: walking the list in its
// order from an index and testing each entry's text stops there, where the text index
// would hand over every entry that matches to be sorted. A text the text index holds
// only a few times is looked up there at once; a rare one too short for it walks the few
// thousand in vain first. SQLite only: PostgreSQL's planner weighs the two ways itself
// from the trigram index's estimate (walking the index on time and id when many match).
std::optional<QList<ArchiveEntry>> ArchiveDatabase::Walked(const ArchiveQuery& query)
{
    // A text in one entry of twenty fills the page from twenty times its entries.
    const qint64 walk = 20 * (qint64(query.offset) + query.limit);
    if (m_kind != Kind::SQLite || query.text.trimmed().isEmpty() || query.limit <= 0 ||
        walk > WalkRows ||
        (query.order != ArchiveOrder::Time && query.order != ArchiveOrder::Added))
        return std::nullopt;
    const QString text = query.text.trimmed().toLower();
    if (TextIndexed(text)) {
        // Whether the text index holds more than a few of it, for the price of a few.
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT COUNT(*) FROM (SELECT rowid FROM zvx_entries_text "
                                 "WHERE zvx_entries_text MATCH ? LIMIT %1)")
                      .arg(FewMatches));
        q.addBindValue(Phrase(text));
        if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")) || !q.next() ||
            q.value(0).toInt() < FewMatches)
            return std::nullopt;
    }
    QVariantList values;
    const QString inner = Filter(query, values, TextTest::None);
    QVariantList textValues;
    ArchiveQuery textOnly;
    textOnly.text = query.text;
    const QString outer = Filter(textOnly, textValues, TextTest::Scan);
    const QString sql = QStringLiteral("SELECT %1 FROM (SELECT * FROM zvx_entries%2%3 LIMIT %4) "
                                       "AS newest%5%3")
                            .arg(ArchiveColumns::SelectList(), inner, OrderBy(query))
                            .arg(walk)
                            .arg(outer) +
                        Page(query);
    std::optional<QList<ArchiveEntry>> found = Select(sql, values + textValues);
    // A short page may have missed entries beyond the walk; an error is told by the
    // search that follows.
    if (found && found->size() == query.limit)
        return found;
    return std::nullopt;
}

std::optional<QList<ArchiveEntry>> ArchiveDatabase::Find(const ArchiveQuery& query, bool withImages)
{
    if (!m_open) {
        Fail(QStringLiteral("Archiwum nie jest otwarte"));
        return std::nullopt;
    }
    std::optional<QList<ArchiveEntry>> found = Walked(query);
    if (!found) {
        QVariantList values;
        found =
            Select(QStringLiteral("SELECT %1 FROM zvx_entries").arg(ArchiveColumns::SelectList()) +
                       Filter(query, values, TextTest::Index) + OrderBy(query) + Page(query),
                   values);
    }
    if (found && withImages) {
        for (ArchiveEntry& e : *found) {
            if (!ResolveImage(e))
                return std::nullopt;
        }
    }
    return found;
}

std::optional<qint64> ArchiveDatabase::Count(const ArchiveQuery& query)
{
    if (!m_open) {
        Fail(QStringLiteral("Archiwum nie jest otwarte"));
        return std::nullopt;
    }
    QVariantList values;
    QString sql =
        QStringLiteral("SELECT COUNT(*) FROM zvx_entries") + Filter(query, values, TextTest::Index);
    const QString text = query.text.trimmed().toLower();
    if (!query.event && !query.since.isValid() && !query.until.isValid() && TextIndexed(text)) {
        // The text index counts its own matches without reading an entry.
        sql = QStringLiteral("SELECT COUNT(*) FROM zvx_entries_text WHERE zvx_entries_text "
                             "MATCH ?");
        values = {Phrase(text)};
    }
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    if (!q.next()) {
        Fail(QStringLiteral("Błąd odczytu archiwum"), q);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<ArchiveEntry> ArchiveDatabase::Get(qint64 id)
{
    if (!m_open) {
        Fail(QStringLiteral("Archiwum nie jest otwarte"));
        return std::nullopt;
    }
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT %1 FROM zvx_entries WHERE id = ?")
                  .arg(ArchiveColumns::SelectList()));
    q.addBindValue(id);
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    if (!q.next()) {
        Fail(QStringLiteral("Brak wpisu %1 w archiwum").arg(id));
        return std::nullopt;
    }
    ArchiveEntry entry = ArchiveColumns::Reader(q).Entry();
    if (!ResolveImage(entry))
        return std::nullopt;
    return entry;
}

std::optional<ArchiveEntry> ArchiveDatabase::Previous(const ArchiveEntry& entry)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT %1 FROM zvx_entries WHERE %2 AND id < ? ORDER BY id DESC "
                             "LIMIT 1")
                  .arg(ArchiveColumns::SelectList(), SameSource(entry)));
    q.addBindValue(SourceKey(entry));
    q.addBindValue(entry.id);
    if (!Exec(q, QStringLiteral("Błąd odczytu archiwum")))
        return std::nullopt;
    if (!q.next()) {
        Fail(QStringLiteral("Brak wcześniejszego wpisu tego pliku lub portu"));
        return std::nullopt;
    }
    ArchiveEntry previous = ArchiveColumns::Reader(q).Entry();
    if (!ResolveImage(previous))
        return std::nullopt;
    return previous;
}

// Runs sql with "(?, ?, ...)" in place of %1 for each group of ids in turn, calling row for
// each row it gives: a statement per few hundred entries rather than per entry.
bool ArchiveDatabase::ForIds(const QString& sql, const QList<qint64>& ids,
                             const std::function<void(const QSqlQuery&)>& row)
{
    constexpr qsizetype group = 500;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    for (qsizetype from = 0; from < ids.size(); from += group) {
        const QList<qint64> some = ids.mid(from, group);
        QStringList marks(some.size(), QStringLiteral("?"));
        q.prepare(sql.arg(QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')')));
        for (const qint64 id : some)
            q.addBindValue(id);
        if (!Exec(q, QStringLiteral("Błąd archiwum")))
            return false;
        while (row && q.next())
            row(q);
    }
    return true;
}

// ids: ascending.
bool ArchiveDatabase::PruneIds(const QList<qint64>& ids)
{
    // The repeats of the entries that go, oldest first: the oldest one kept of each
    // becomes the holder of its configuration, and the others kept name it instead.
    std::map<qint64, QList<qint64>> repeats;
    if (!ForIds(QStringLiteral("SELECT id, repeat_of FROM zvx_entries WHERE repeat_of IN %1"), ids,
                [&](const QSqlQuery& q) {
                    repeats[q.value(1).toLongLong()].append(q.value(0).toLongLong());
                }))
        return false;
    const std::set<qint64> going(ids.begin(), ids.end());
    QSqlQuery q(m_db);
    for (auto& [holder, list] : repeats) {
        std::sort(list.begin(), list.end());
        const auto heir =
            std::find_if(list.begin(), list.end(), [&](qint64 id) { return !going.contains(id); });
        if (heir == list.end())
            continue;
        q.prepare(QStringLiteral("UPDATE zvx_entries SET image = (SELECT image FROM "
                                 "zvx_entries WHERE id = ?), records = (SELECT records "
                                 "FROM zvx_entries WHERE id = ?), repeat_of = NULL "
                                 "WHERE id = ?"));
        q.addBindValue(holder);
        q.addBindValue(holder);
        q.addBindValue(*heir);
        if (!Exec(q, QStringLiteral("Błąd archiwum")))
            return false;
        q.prepare(QStringLiteral("UPDATE zvx_entries SET repeat_of = ? WHERE repeat_of = ?"));
        q.addBindValue(*heir);
        q.addBindValue(holder);
        if (!Exec(q, QStringLiteral("Błąd archiwum")))
            return false;
    }
    return ForIds(QStringLiteral("DELETE FROM zvx_entries WHERE id IN %1"), ids, nullptr);
}

std::optional<int> ArchiveDatabase::Prune(const QDateTime& before, int keepCount)
{
    if (!m_open || !ArchiveSql::Begin(m_db, m_kind, m_error))
        return std::nullopt;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    std::set<qint64> ids;
    const auto take = [&]() {
        if (!Exec(q, QStringLiteral("Błąd archiwum")))
            return false;
        while (q.next())
            ids.insert(q.value(0).toLongLong());
        return true;
    };
    bool read = true;
    if (keepCount > 0) {
        // The newest entry over the count, found from the newest end, and every one
        // before it.
        q.prepare(QStringLiteral("SELECT id FROM zvx_entries WHERE id <= (SELECT id FROM "
                                 "zvx_entries ORDER BY id DESC LIMIT 1 OFFSET ?)"));
        q.addBindValue(keepCount);
        read = take();
    }
    if (read && before.isValid()) {
        q.prepare(QStringLiteral("SELECT id FROM zvx_entries WHERE at_ms < ?"));
        q.addBindValue(before.toMSecsSinceEpoch());
        read = take();
    }
    if (!read || !PruneIds(QList<qint64>(ids.begin(), ids.end()))) {
        ArchiveSql::Rollback(m_db);
        return std::nullopt;
    }
    if (!ArchiveSql::Commit(m_db, m_error))
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
