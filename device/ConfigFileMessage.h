#pragma once

#include "device/ConfigFileResult.h"

#include <QString>

namespace ConfigFile {

enum class Action
{
    Load,
    Save
};

// The user's words for a file result; an empty text for success.
//
// Without a path, the window's words alone: "Nieprawidłowy format pliku",
// "Nieprawidłowy rozmiar pliku", "Błąd odczytu pliku" (any other load failure) or
// "Błąd zapisu pliku" (any save failure). With a path (the command line), the same
// words followed by the path and, where there is one, the reason: "Błąd odczytu
// pliku: a.zvx (No such file or directory)". The path is shown printable (see
// PrintableText), the reason in the words of the C library's current locale.
QString Message(const Result& result, Action action, const QString& path = QString());

} // namespace ConfigFile
