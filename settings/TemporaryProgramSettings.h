#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Tests: while the object lives, the program's settings file (ProgramSettings::Path())
// is "zorvex.ini" in a temporary folder of its own, which does not exist until written.
// Destruction puts back the path that was in force and removes the folder. Objects nest
// (the inner one wins while it lives). Test thread only.
class TemporaryProgramSettings
{
public:
    TemporaryProgramSettings();
    ~TemporaryProgramSettings();
    TemporaryProgramSettings(const TemporaryProgramSettings&) = delete;
    TemporaryProgramSettings& operator=(const TemporaryProgramSettings&) = delete;

    bool IsValid() const { return m_dir.isValid(); }
    QString Path() const;
    // Replaces the whole file with content; false when it could not be written.
    bool Write(const QByteArray& content) const;
    // The file's bytes; empty when there is none.
    QByteArray Content() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
