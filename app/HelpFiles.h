#pragma once

#include <QUrl>

// The user manual: HTML pages in the folder "help" beside the executable (the build and
// the installed program both put it there, or under share/zorvex/help).
namespace HelpFiles {
QUrl Contents();  // "Spis treści"
QUrl Index();     // "Szukaj słowa": the alphabetical index
QUrl UsingHelp(); // "Jak używać pomocy"
} // namespace HelpFiles
