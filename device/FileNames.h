#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <string>

// File names travel as the bytes the system gave, even when they are not valid UTF-8
// (a name copied from a Windows machine in code page 1250, "caf\xE9.zvx"). Qt decodes
// such bytes to U+FFFD and cannot give them back, so a name from the command line
// would reach the system as a different file. Here each byte of an invalid sequence
// becomes the lone low surrogate U+DC80..U+DCFF, which valid UTF-8 never decodes to,
// so the way back is exact. Names that are valid UTF-8 read as Qt reads them.

// argv bytes (or a directory entry) as a name the program can carry.
QString FileNameFromBytes(QByteArrayView bytes);
// The bytes to hand the system for a name from FileNameFromBytes, a file dialog or a
// literal: UTF-8, with every escaped byte restored.
std::string FileNameBytes(const QString& name);

// Text from a file or a name (a file's, a port's, an adapter's) as it may be printed on a
// console or shown: every control character, tab and line feed included, becomes its
// visible picture (U+2400 + code, U+2421 for DEL), C1 controls and escaped bytes become
// U+FFFD, so nothing read from a file can break a line, move the cursor, retitle the
// window or reach a terminal's escape-sequence parser. One line in, one line out: a
// text of several lines of our own is made printable line by line.
QString PrintableText(const QString& text);
