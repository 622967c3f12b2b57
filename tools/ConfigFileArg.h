#pragma once

#include "tools/CommandLine.h"

#include <QString>

class TZorvexSettings;

// Configuration files named on the command line. Names are carried as main() decodes
// argv (FileNames.h), so they reach the system byte for byte.

// Reads a configuration file into settings, to look at or to take from (ConfigDocument::
// ReadFile: no act of the user's, recorded nowhere). Returns the system's message for a file
// that cannot be used ("Nieprawidłowy format pliku: a.zvx", "Błąd odczytu pliku: a.zvx
// (No such file or directory)"), or an empty text when settings now hold the file's
// configuration (otherwise they are unchanged).
QString ReadConfigFileArg(const QString& path, TZorvexSettings& settings);

// "-" as an output file: the file's 1024 bytes go to standard output.
bool IsStandardOutput(const QString& output);

// Whether a configuration file can be saved to output, found out before any work (a
// read from the dialer runs a whole exchange first). On a problem prints it on err
// and returns the exit status: FileError for a target the save would refuse, Usage for
// "-" when standard output is a terminal (binary bytes would reach it raw).
// ExitStatus::Success otherwise.
int CheckConfigOutput(CommandContext& context, const char* command, const QString& output);

// Writes the configuration file's 1024 bytes to standard output ("-o -"), and nothing
// else there. Returns ExitStatus::Success or FileError, with the message on err. Saves
// to a file go through the document (CommandDocument::Save).
int WriteConfigOutput(CommandContext& context, const TZorvexSettings& settings);
