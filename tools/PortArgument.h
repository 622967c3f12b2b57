#pragma once

#include <QString>
#include <QStringList>

// The value of --port of the commands that talk to the dialer.

// "COM1".."COM16" (any case) or a path beginning with "/".
bool IsPortArgument(const QString& port);
// What is wrong with the value of --port ("podaj port: --port PORT", "nieprawidłowy port
// ..."), or an empty text when it names a port.
QString PortProblem(const QString& port);
// Takes "--port PORT FILE" apart (the form of write and verify): the complaint for the
// usage line, or an empty text with port and file set.
QString TakePortAndFile(QStringList args, QString& port, QString& file);
