#pragma once

#include <QString>

class TZorvexSettings;

// Reads a configuration file named on the command line into settings. Returns the
// system's message for a file that cannot be used ("Nieprawidłowy format pliku: a.zvx"),
// with the reason the operating system gives where there is one, or an empty text when
// settings now hold the file's configuration (otherwise they are unchanged).
QString ReadConfigFileArg(const QString& path, TZorvexSettings& settings);
