#pragma once

#include "archive/ArchiveDatabase.h"

#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;
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
// The database's reason for a failure in the user's words: a full disk, a lock held by
// another program, a file that may not be written, a disk error, a statement that ran out
// of time; the driver's own text for anything else. One line.
QString Reason(const QSqlError& error);
// Whether the failure says the file is no SQLite database at all, or a damaged one.
bool NotADatabase(const QSqlError& error);
// A message of ConstsZVX with its "%s" and "%d" filled with values in turn (a value that
// itself holds one is never filled again).
QString Message(const char* pattern, const QStringList& values);

} // namespace ArchiveSql
