#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>

// The command line's arguments after the program's name, as names the program carries:
// on Linux argv's own bytes (Qt's arguments() would turn bytes that are not UTF-8 into
// U+FFFD, and such a file name would then name another file, or none); on Windows the
// wide command line (argv holds the ANSI code page, which lacks most names' letters).
// Needs the QCoreApplication on Windows.
QStringList ArgumentNames(int argc, char* argv[]);

// A name the program carries (FileNames.h) as std::filesystem's path and back, exactly:
// on Linux through the bytes the system gave, on Windows through its wide characters.
// One file per platform. Any thread.
std::filesystem::path PathFromFileName(const QString& name);
QString FileNameFromPath(const std::filesystem::path& path);
