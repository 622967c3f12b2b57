#pragma once

#include "settings/IniFile.h"

#include <QString>

#include <optional>

// The archive's place and pruning, as the [Archive] section keeps them.
struct ArchiveOptions
{
    bool postgres = false;
    QString file;       // empty: the default file in the user's data folder
    QString connection; // libpq connection string
    int keepYears = 5;  // 0: for ever
    int keepCount = 0;  // 0: no limit
    // A Database= the program does not know, in the user's words: the archive is then
    // refused (entries wait in the local queue), never taken for a local file. Empty when
    // the value is one of those the program knows (or missing: sqlite).
    QString databaseProblem;
    // A KeepYears= or KeepCount= that is not a whole number of at least 0, in the user's
    // words: a prune refuses to run rather than fall back on a default. Empty when both
    // could be read (or are missing).
    QString keepProblem;

    bool operator==(const ArchiveOptions&) const = default;
};

// The program settings file, one for the window and the command-line tool: zorvex.ini
// beside the executables ("/opt/zorvex/zorvex.ini"; for an installed program
// ~/.config/zorvex/zorvex.ini, see Location), an INI file with Windows semantics
// (IniFile). Every key the program keeps there is named here, with its default, and read
// and written through a typed accessor:
//
//   [Program configuration]
//   Port=3               the serial port, 1 to 4 for COM1 to COM4           Port()
//   VerifyAfterWrite=1   read the dialer back after a write: 1 yes, 0 no     VerifyAfterWrite()
//   [Port names]
//   COM3=/dev/ttyUSB0    the device a port name opens                        PortName()
//   [Archive]            where configurations are kept                        Archive()
//   Database=sqlite      sqlite (one file on this machine) or postgresql (a team's server);
//                        any other value refuses the archive (ArchiveOptions::databaseProblem)
//   File=                the SQLite file; empty: the user's data folder
//   Connection=          libpq connection string ("service=zorvex"); never a password
//   KeepYears=5          entries older than this are pruned; 0: kept for ever
//   KeepCount=0          at most this many entries; 0: no limit
//
// A file that is not a regular file of at most 1 MiB (a FIFO, a link to /dev/zero) is not
// read: every accessor gives its default as if there were no file, and Problem() says
// why. Setters leave such a file alone and raise Exception with the reason; a file that
// cannot be written raises Exception "Unable to write to <file name>".
//
// Every call reads or writes the file afresh. UI thread only (or any one thread at a time).
class ProgramSettings
{
public:
    static constexpr const char* kSection = "Program configuration";
    static constexpr const char* kPortKey = "Port";
    static constexpr const char* kVerifyAfterWriteKey = "VerifyAfterWrite";
    static constexpr const char* kPortNamesSection = "Port names";
    static constexpr const char* kArchiveSection = "Archive";

    // "Port" when there is no file at all (COM2), and when the file lacks the key (COM1).
    static constexpr int kPortWithoutFile = 2;
    static constexpr int kPortWithoutKey = 1;

    // The settings kept in fileName; by default the program's own file (Path()).
    explicit ProgramSettings(QString fileName = Path());

    const QString& FileName() const { return m_ini.FileName(); }

    // "Port" as written (any integer: the caller decides what a number outside 1..4
    // means), kPortWithoutKey when the file lacks it, kPortWithoutFile without a file.
    int Port() const;
    // The options dialog's "&Zachowaj" writes the chosen index + 1 (256 when none).
    void SetPort(int number);

    // "VerifyAfterWrite": true for 1, false for 0, none (ask the user) otherwise.
    std::optional<bool> VerifyAfterWrite() const;
    // A file created here also gets "Port" = kPortWithoutFile, so that it still means
    // COM2 as its absence did.
    void SetVerifyAfterWrite(bool verify);

    // The device that "Port names" maps comName to ("COM3" -> "/dev/ttyUSB0"), or an
    // empty string when it maps nothing.
    QString PortName(const QString& comName) const;

    // The [Archive] section; defaults for missing keys.
    ArchiveOptions Archive() const;
    void SetArchive(const ArchiveOptions& options);

    // Why the last accessor did not use the file, one line in the user's words ending
    // with "Program używa ustawień domyślnych."; empty when it was read or is missing.
    QString Problem() const { return m_ini.Problem(); }

    // The program's own file. Needs a QCoreApplication unless overridden.
    static QString Path();
    // The settings file of the program whose executable is executablePath: zorvex.ini
    // (Location). The command-line tool once read a file named after itself (zvx.ini): while
    // only that one exists, it is still the one read, so that nobody's archive or port
    // names go astray on the update.
    static QString PathFor(const QString& executablePath);
    // One line about that former file (read while it is the only one, or no longer read
    // beside zorvex.ini), for the command-line tool to print; empty when there is none.
    static QString FormerFileNotice(const QString& executablePath);
    // Where a program whose executable is in executableDir keeps the settings file
    // fileName. Installed under a prefix (prefix/bin beside prefix/share/zorvex, as the
    // Debian package and "cmake --install" lay it out): in the user's configuration folder,
    // $XDG_CONFIG_HOME/zorvex (~/.config/zorvex), created when missing, since /usr/bin is
    // no place for a user's settings. Anywhere else (a build tree, a copy run from its own
    // folder): beside the executable.
    static QString Location(const QString& executableDir, const QString& fileName);
    // Tests point the program at their own file (see TemporaryProgramSettings); an empty
    // path restores the default. Returns the override it replaces.
    static QString OverridePath(const QString& path);
    // PortName in the program's own file. Fits TCustomComPort::SetPortNameLookup.
    static QString LookupPortName(const QString& portName);

private:
    IniFile m_ini;
};
