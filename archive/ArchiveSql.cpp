#include "archive/ArchiveSql.h"

#include "resources/ConstsZVX.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace ArchiveSql {

bool Begin(QSqlDatabase& db, ArchiveDatabase::Kind kind, QString& error)
{
    QSqlQuery q(db);
    const bool ok = kind == ArchiveDatabase::Kind::SQLite
                        ? q.exec(QStringLiteral("BEGIN IMMEDIATE"))
                        : q.exec(QStringLiteral("BEGIN"));
    if (!ok)
        error = Failure(QStringLiteral("Błąd archiwum"), q, db);
    return ok;
}

bool Commit(QSqlDatabase& db, QString& error)
{
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("COMMIT")))
        return true;
    error = Failure(QStringLiteral("Błąd zapisu do archiwum"), q, db);
    Rollback(db);
    return false;
}

void Rollback(QSqlDatabase& db)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("ROLLBACK"));
}

QString Failure(const QString& what, const QSqlQuery& query, const QSqlDatabase& db)
{
    QString reason = Reason(query.lastError());
    if (reason.isEmpty())
        reason = Reason(db.lastError());
    return QStringLiteral("%1: %2").arg(what, reason);
}

// SQLite's primary result code (its extended codes keep it in the low byte); -1 for a
// PostgreSQL SQLSTATE, which is always five characters, often all digits ("53100"),
// where SQLite's codes, extended ones included, have four digits at most.
int SqliteCode(const QSqlError& error)
{
    const QString native = error.nativeErrorCode();
    bool numeric = false;
    const int code = native.toInt(&numeric);
    return numeric && native.size() < 5 ? code & 0xFF : -1;
}

QString Reason(const QSqlError& error)
{
    const QString sqlState = error.nativeErrorCode();
    const char* plain = nullptr;
    switch (SqliteCode(error)) {
    case 13: // SQLITE_FULL
        plain = ConstsZVX::ArchiveDiskFull;
        break;
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        plain = ConstsZVX::ArchiveLocked;
        break;
    case 3:  // SQLITE_PERM
    case 8:  // SQLITE_READONLY
    case 23: // SQLITE_AUTH
        plain = ConstsZVX::ArchiveReadOnly;
        break;
    case 10: // SQLITE_IOERR
        plain = ConstsZVX::ArchiveDiskError;
        break;
    case -1:
        if (sqlState == QLatin1String("53100")) // disk_full
            plain = ConstsZVX::ArchiveDiskFull;
        else if (sqlState == QLatin1String("55P03")) // lock_not_available: lock_timeout
            plain = ConstsZVX::ArchiveLocked;
        else if (sqlState == QLatin1String("57014")) // query_canceled: statement_timeout
            return Message(ConstsZVX::ArchiveTimedOut,
                           {QString::number(ArchiveDatabase::StatementMs / 1000)});
        break;
    default:
        break;
    }
    if (plain)
        return QString::fromUtf8(plain);
    return error.text().simplified();
}

QString Message(const char* pattern, const QStringList& values)
{
    static const QRegularExpression directive(QStringLiteral("%[sd]"));
    const QStringList pieces = QString::fromUtf8(pattern).split(directive);
    QString text = pieces.first();
    for (qsizetype i = 1; i < pieces.size(); ++i)
        text += values.value(i - 1) + pieces[i];
    return text;
}

bool NotADatabase(const QSqlError& error)
{
    const int code = SqliteCode(error);
    return code == 26 || code == 11; // SQLITE_NOTADB, SQLITE_CORRUPT
}

} // namespace ArchiveSql
