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
// A page of the manual by its file name ("phones.html"), or a place in it
// ("archiwum.html#ustawienia").
QUrl Page(const QString& name);
// Shows a page (as Page names it) in the desktop's browser: what F1 does in every window.
void Open(const QString& name);

// The page's address for an executable in executableDir, the place after "#" as the
// address's fragment; when neither folder has the page, the address beside the
// executable (the browser then says what is missing).
QUrl Locate(const QString& executableDir, const QString& page);
} // namespace HelpFiles
