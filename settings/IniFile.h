#pragma once

#include "settings/IniFileAccess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// An initialisation file with Windows semantics. Sections and keys are found without
// regard to case; section names keep their blanks ("[Program configuration]"). Values are
// trimmed, and one pair of enclosing quotes is removed. Writing changes only the one
// line concerned (or adds it), so other sections, keys, comments, blank lines and the
// line endings (CRLF, LF) stay as they were; a new file gets CRLF.
//
// Like the Windows calls, every operation reads the file afresh and every write writes
// it back at once (atomically where the folder allows). A missing file reads as empty.
// Only a regular file of at most 1 MiB is read (IniFileAccess.h): anything else reads as
// empty too, and Problem() says why. A write leaves such a file alone and raises
// Exception with the same reason; a file that cannot be written raises Exception
// "Unable to write to <file name>".
//
// Values are UTF-8; other bytes of the file are kept as they are. UI thread, or any one
// thread at a time.
class IniFile
{
public:
    explicit IniFile(QString fileName);
    ~IniFile();

    const QString& FileName() const { return m_fileName; }

    // The value, or def when the section or key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // The value as a decimal (optionally signed) or hexadecimal ("$1F", "0x1F") 32-bit
    // integer; def when missing or not a number.
    int ReadInteger(const QString& section, const QString& key, int def) const;

    // Replaces the key's value, adds the key at the end of its section, or adds the section
    // at the end of the file; the file is created when missing.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);

    bool SectionExists(const QString& section) const;
    // The sections' names as written, in file order.
    QStringList Sections() const;
    // The keys of section as written, in file order; empty when the section is missing.
    QStringList Keys(const QString& section) const;

    // What the last operation found at the file name.
    IniFileAccess::State LastState() const { return m_state; }
    // Why the last operation did not use the file, in the user's words (ending with
    // "Program używa ustawień domyślnych."); empty when it was read or is missing.
    QString Problem() const;

    // A key's line: the key as written, the value trimmed and unquoted.
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Parsed;

private:
    // The file's bytes (empty when missing or refused); records what was found.
    QByteArray Load() const;
    // The file as it stands now, in lines.
    std::shared_ptr<const Parsed> Parse() const;

    QString m_fileName;
    mutable QByteArray m_parsedFrom;
    mutable std::shared_ptr<const Parsed> m_parsed;
    mutable IniFileAccess::State m_state = IniFileAccess::State::Missing;
    mutable int m_error = 0;
};
