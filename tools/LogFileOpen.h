#pragma once

#include <QString>
#include <QStringList>

// A descriptor open for writing the transmission log file target, emptied, or -1 with
// problem set in the user's words. Refused: one of files (the command's own input or
// output), and anything but the user's own regular file (a link, a device, a folder).
// One file per platform.
int OpenLogFile(const QString& target, const QStringList& files, QString& problem);
