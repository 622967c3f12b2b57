#pragma once

#include "device/TransferLogText.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>

// What every command of the tool gets: its own arguments (after the command name) and
// the two output streams. Commands print the system's own words; errors go to err.
struct CommandContext
{
    QStringList args;
    QTextStream& out;
    QTextStream& err;
    // The signal (SIGINT, SIGTERM, SIGHUP) that ended the command after its own work,
    // while it waited on the archive; 0 for none. The command's status becomes
    // ExitStatus::Interrupted plus its number.
    int interrupted = 0;
    // The transmission log the command writes (--log, OpenLogOption) and its name as
    // given; closed when the command ends. One that could not be written to its end makes
    // the command's status ExitStatus::FileError.
    std::unique_ptr<TextTransferLog> log;
    QString logName;
};

// A command's entry point; returns an ExitStatus value.
using CommandFn = int (*)(CommandContext&);

struct Command
{
    const char* name;
    const char* summary; // one line for "zvx --help"
    CommandFn run;
};

// Runs the tool on argv (without the program name). Unknown commands and options give
// a one-line message and ExitStatus::Usage.
int RunCommandLine(const QStringList& args, QTextStream& out, QTextStream& err);

// Takes "-o FILE" / "--output FILE" / "--output=FILE" out of args; empty when absent.
// Returns false when the option is there without a value.
bool TakeOption(QStringList& args, const QStringList& names, QString& value);
// Prints "zvx COMMAND: what (zob. zvx COMMAND --help)" and returns ExitStatus::Usage.
int UsageError(QTextStream& err, const char* command, const QString& what);
// arg as a message quotes it: in double quotes, a long one cut (MessageValue), so that a
// stray megabyte argument does not come back whole.
QString Quoted(const QString& arg);
// True when args asks for help ("-h" or "--help").
bool WantsHelp(const QStringList& args);
