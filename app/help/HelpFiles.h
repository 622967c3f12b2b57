#pragma once

#include <QString>
#include <QUrl>

// The user manual: HTML pages in the folder "help" beside the executable (the build tree,
// a copy run from its own folder), else in share/zorvex/help under the prefix the program
// is installed in (/usr/bin/zorvex -> /usr/share/zorvex/help).
namespace HelpFiles {
QUrl Contents();  // "Spis treści"
QUrl Index();     // "Szukaj słowa": the alphabetical index
QUrl UsingHelp(); // "Jak używać pomocy"
// A page of the manual by its file name ("phones.html").
QUrl Page(const QString& name);

// The page's address for an executable in executableDir; when neither folder has it,
// the address beside the executable (the browser then says what is missing).
QUrl Locate(const QString& executableDir, const QString& page);
} // namespace HelpFiles
