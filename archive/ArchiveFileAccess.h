#pragma once

#include <QString>

// The archive's files on this machine hold the customers' access codes: the SQLite
// archive, the local queue and their write-ahead logs are the user's own and readable by
// nobody else, and the program's data folder is the user's alone (0700). Every file and
// folder rule of the archive lives here, the one place that knows the platform's owners
// and modes. Any thread.
namespace ArchiveFileAccess {

// The program's data folder: $XDG_DATA_HOME/zorvex (~/.local/share/zorvex).
QString ProgramDataFolder();

enum class Outcome
{
    Ready,      // SQLite may open it
    NotRegular, // a folder, a FIFO, a device in its place: error says so
    Refused,    // anything else (another user's file, no right to create it): error says why
};

// Makes path ready for SQLite to open, or says in error why it must not be: its folder is
// created (each missing folder 0700) and, when it is the program's own data folder, kept
// 0700; the file is created 0600 when missing. Refused: a file or a write-ahead log that
// belongs to another user, and anything that is not a regular file. A file of the user's
// own that others could read (and its write-ahead log and shared-memory index) is
// tightened to 0600 first.
Outcome Prepare(const QString& path, QString& error);

} // namespace ArchiveFileAccess
