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

// Text from a file or a file name as it may be printed on a console or shown: control
// characters (C0 apart from tab and line feed, DEL) become their visible pictures
// (U+2400 + code, U+2421), C1 controls and escaped bytes become U+FFFD, so nothing
// read from a file can move the cursor, retitle the window or reach a terminal's
// escape-sequence parser.
QString PrintableText(const QString& text);
