#pragma once

#include "device/TransferLogText.h"

#include <QString>
#include <QStringList>

#include <memory>

struct CommandContext;

// "--log FILE" of the commands that talk to the dialer: every frame and chunk of the
// exchange as text lines, to FILE ("-": standard error). Write frames carry the access
// codes, so the log is the user's alone: a new file is created readable by its owner only;
// one that is there is taken only when it is the user's own regular file (emptied and
// made owner-only) and never through a symbolic link, so that no device, FIFO, other
// user's file or file a link points at is ever opened, changed or waited on. A log that
// could not be written to its end makes the command's status ExitStatus::FileError
// (RunCommandLine).

// Takes "--log FILE" / "--log=FILE" out of args. False when the value is missing.
bool TakeLogOption(QStringList& args, QString& target);

// Opens the log target (a name as FileNameFromBytes gives it); nullptr with problem set
// (in the user's words) when it must not or cannot be. files: the files the command
// works on, which are never taken for a log.
std::unique_ptr<TextTransferLog> OpenTransferLog(const QString& target, QString& problem,
                                                 const QStringList& files = {});

// Opens context's log for a --log target given on the command line (nothing when target
// is empty). False, with the reason written to context.err, when it cannot be opened.
bool OpenLogOption(CommandContext& context, const QString& target, const QStringList& files = {});
