#pragma once

#include "device/ConfigFileFormat.h"
#include "device/ConfigFileResult.h"

#include <functional>
#include <string>

// File names here are the bytes handed to the system (see FileNames.h).
namespace ConfigFile {

// Asked before a valid file replaces the configuration, with record 0's text from the
// file (cp1250 bytes). true = OK, false = Cancel.
using ConfirmLoad = std::function<bool(const std::string& record0Text)>;

// Whether a save to fileName can go ahead, found out without writing anything:
//  - a symbolic link is followed to the file it names, also one that does not exist yet
//    (which the save creates); a loop is ELOOP;
//  - an existing target must be a regular file: a directory is EISDIR, a device, FIFO
//    or socket is NotRegular (a save renames over whatever is there, which would
//    replace /dev/null with a file when run as root);
//  - an existing target the user may not write is refused with the system's EACCES
//    (or EROFS), although the folder would let the rename replace it; one without any
//    write permission bit is refused to root as well;
//  - the folder must exist and be writable.
// A command that runs a long exchange before saving asks this first.
Result CheckSave(const std::string& fileName);

// Writes the configuration to fileName after CheckSave. A temporary file in the target's
// folder is written, flushed to disk and renamed over the target, so a save that fails
// at any step leaves the old file exactly as it was. The temporary name is the target's
// name plus ".XXXXXX", the name cut short where that would pass the folder's longest
// name; it is created exclusively, so the save never touches any other file. A symbolic
// link is saved through (the file it names is replaced, the link stays); a new file gets
// 0666 less the umask, a replaced one keeps its mode. A process killed half-way leaves
// the old file or the new one whole, and possibly its temporary file beside it: that is
// never removed here, as it may belong to a save still running in another process.
Result Save(const TZorvexSettings& settings, const std::string& fileName);

// Reads the first 1024 bytes of fileName, checks them, asks confirm and only then
// overwrites settings. Ok (loaded, or declined), SystemError (the file cannot be opened,
// read or closed: the system's errno), FileSizeError (it ended before 1024 bytes) or
// FileFormatError.
Result Load(TZorvexSettings& settings, const std::string& fileName, const ConfirmLoad& confirm);

// Reads and checks a file without asking anything (command-line tool, comparisons).
Result Read(const std::string& fileName, Bytes& bytes);

} // namespace ConfigFile
