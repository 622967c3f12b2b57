#pragma once

#include <QString>

#include <functional>

class QSqlDatabase;

// What the archive does to a connection beneath Qt's driver, through the client library
// that very driver uses (looked up at run time in the driver's own plugin: never a second
// copy of the library, no new dependency of the program). Where that library cannot be
// reached the call does nothing and says so. Made on the thread that opened db.
namespace DriverHandle {

// SQLite: the last connection to close leaves the write-ahead log to the next writer
// instead of copying it into the database (a copy costs several disk syncs each time a
// short-lived "zvx" ends). What was committed is as safe in the log as in the database.
bool KeepLogOnClose(const QSqlDatabase& db);

// A call that, made from any thread while db is open, makes the database call waiting
// on db fail at once: PostgreSQL's connection is cut (every later call fails too), a
// SQLite statement is interrupted. Empty when the driver's library cannot be reached.
std::function<void()> Breaker(const QSqlDatabase& db);

// For a PostgreSQL connection about to be made, before the driver hands out its
// connection (Qt's driver talks to the server inside its open(), and a server silent
// there would hold it for ever): a call that, made from any thread, cuts off the stream
// sockets this process has opened since toward a database server (a local socket named
// .s.PGSQL.*, or TCP). Made on the opening thread just before the open.
std::function<void()> ConnectingBreaker();

// The user's words for a Qt SQL driver (QSQLITE, QPSQL) this program cannot load: which
// package or file would bring it, or that this platform's program has no such archive.
QString MissingDriverText(const QString& driver, bool postgres);

} // namespace DriverHandle
