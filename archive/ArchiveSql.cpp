#include "archive/ArchiveSql.h"

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
    QString reason = query.lastError().text().simplified();
    if (reason.isEmpty())
        reason = db.lastError().text().simplified();
    return QStringLiteral("%1: %2").arg(what, reason);
}

} // namespace ArchiveSql
