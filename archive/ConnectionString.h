#pragma once

#include <QList>
#include <QString>

#include <optional>

// A PostgreSQL connection string as the archive takes it from the settings file
// ("service=zorvex", "host=/run/pg dbname=zvx"): libpq's keyword=value form, read as
// libpq itself will read it once Qt's driver has turned every ';' into a blank. The
// archive refuses a string that holds a password (it would sit in zorvex.ini in plain
// text, and come back in error messages), a postgresql:// address (Qt's driver cannot
// pass one on), and one libpq could not read. Any thread.
namespace ConnectionString {

struct Parameter
{
    QString keyword;
    QString value; // unquoted, escapes resolved
};

// The parameters in their order; nothing when libpq could not read the string.
std::optional<QList<Parameter>> Parse(const QString& text);

// Why the archive refuses text, in the user's words; empty when it takes it. The archive
// settings dialog and the archive itself ask here.
QString Problem(const QString& text);

// text with the program's own bounds on connecting (connect_timeout, seconds per host)
// and on a network that dies under the connection (TCP's user time-out and keepalives),
// which win over any the text or a service file gives: libpq takes the last of a
// repeated keyword.
QString WithLimits(const QString& text, int connectSeconds);

} // namespace ConnectionString
