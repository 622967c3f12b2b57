#pragma once

#include "device/TransferLogText.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>

// "--log FILE" of the commands that talk to the dialer: every frame and chunk of the
// exchange as text lines, to FILE ("-": standard error).

// Takes "--log FILE" / "--log=FILE" out of args. False when the value is missing.
bool TakeLogOption(QStringList& args, QString& target);

// Opens the log target; a file is created anew, readable by its owner only (write frames
// carry the access codes). nullptr with problem set when it cannot be opened.
std::unique_ptr<TextTransferLog> OpenTransferLog(const QString& target, QString& problem);

// Opens log for a --log target given on the command line (nothing when target is empty).
// False, with the reason written to err, when it cannot be opened.
bool OpenLogOption(const QString& target, std::unique_ptr<TextTransferLog>& log, QTextStream& err);
