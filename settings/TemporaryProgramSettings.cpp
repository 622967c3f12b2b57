#include "settings/TemporaryProgramSettings.h"

#include "settings/ProgramSettings.h"

#include <QFile>

TemporaryProgramSettings::TemporaryProgramSettings()
    : m_previous(ProgramSettings::OverridePath(Path()))
{}

TemporaryProgramSettings::~TemporaryProgramSettings()
{
    ProgramSettings::OverridePath(m_previous);
}

QString TemporaryProgramSettings::Path() const
{
    return m_dir.filePath(QStringLiteral("zorvex.ini"));
}

bool TemporaryProgramSettings::Write(const QByteArray& content) const
{
    QFile file(Path());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

QByteArray TemporaryProgramSettings::Content() const
{
    QFile file(Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
