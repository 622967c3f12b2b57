#pragma once

#include "archive/ArchiveDatabase.h"

#include <QString>

class QSqlDatabase;
class QSqlQuery;

// What the archive's queries and its schema both need of a connection: a transaction that
// writes, and a failure in one line. The thread that opened the connection.
namespace ArchiveSql {

// Starts a transaction that will write. SQLite takes the write lock at once, so that two
// writers wait for each other (busy timeout) instead of one failing when it upgrades a
// read lock. False with error set when it cannot start.
bool Begin(QSqlDatabase& db, ArchiveDatabase::Kind kind, QString& error);
// Commits; on failure rolls back and sets error.
bool Commit(QSqlDatabase& db, QString& error);
void Rollback(QSqlDatabase& db);
// "what: the database's reason", on one line.
QString Failure(const QString& what, const QSqlQuery& query, const QSqlDatabase& db);

} // namespace ArchiveSql
