#pragma once

#include <QString>
#include <QStringList>

// An initialisation file with Windows semantics. Sections and keys are found without
// regard to case; section names keep their blanks ("[Program configuration]"). Values are
// trimmed, and one pair of enclosing quotes is removed. Writing changes only the one
// line concerned (or adds it), so other sections, keys, comments, blank lines and the
// line endings (CRLF, LF) stay as they were; a new file gets CRLF.
//
// Like the Windows calls, every operation reads the file afresh and every write writes
// it back at once (atomically where the folder allows). A missing or unreadable file
// reads as empty. A file that cannot be written raises Exception
// "Unable to write to <file name>".
//
// Values are UTF-8; other bytes of the file are kept as they are. UI thread, or any one
// thread at a time.
class IniFile
{
public:
    explicit IniFile(QString fileName);

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

private:
    QString m_fileName;
};
