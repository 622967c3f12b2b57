#pragma once

#include "device/ConfigFileFormat.h"

#include <functional>
#include <string>

namespace ConfigFile {

// Asked before a valid file replaces the configuration, with record 0's text from the
// file (cp1250 bytes). true = OK, false = Cancel.
using ConfirmLoad = std::function<bool(const std::string& record0Text)>;

// Writes the configuration to fileName. A temporary file in the same folder is written,
// flushed to disk and renamed over the old one, so a save that fails at any step leaves
// the old file exactly as it was. A process killed half-way leaves the old file or the
// new one whole, and possibly its temporary file ("<name>.XXXXXX") beside it: that is
// never removed here, as it may belong to a save still running in another process.
// Returns 0 or the operating system's errno.
int Save(const TZorvexSettings& settings, const std::string& fileName);

// Reads the first 1024 bytes of fileName, checks them, asks confirm and only then
// overwrites settings. Returns 0 (loaded, or declined), FileSizeError (fewer than 1024
// bytes could be read, also when the file cannot be opened), FileFormatError, or errno.
int Load(TZorvexSettings& settings, const std::string& fileName, const ConfirmLoad& confirm);

// Reads and checks a file without asking anything (command-line tool, comparisons).
int Read(const std::string& fileName, Bytes& bytes);

} // namespace ConfigFile
