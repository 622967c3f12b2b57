#include "settings/ProgramSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace {

QString& Override()
{
    static QString path;
    return path;
}

QString Latin1(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

ProgramSettings::ProgramSettings(QString fileName) : m_ini(std::move(fileName)) {}

int ProgramSettings::Port() const
{
    const int port = m_ini.ReadInteger(Latin1(kSection), Latin1(kPortKey), kPortWithoutKey);
    return m_ini.LastState() == IniFileAccess::State::Regular ? port : kPortWithoutFile;
}

void ProgramSettings::SetPort(int number)
{
    m_ini.WriteInteger(Latin1(kSection), Latin1(kPortKey), number);
}

std::optional<bool> ProgramSettings::VerifyAfterWrite() const
{
    switch (m_ini.ReadInteger(Latin1(kSection), Latin1(kVerifyAfterWriteKey), -1)) {
    case 0:
        return false;
    case 1:
        return true;
    default:
        return std::nullopt;
    }
}

void ProgramSettings::SetVerifyAfterWrite(bool verify)
{
    // A settings file that is not there means COM2 at start-up, one without "Port" COM1.
    // Only an absent file is created here: a refused one makes the write below raise.
    (void)m_ini.SectionExists(Latin1(kSection));
    if (m_ini.LastState() == IniFileAccess::State::Missing)
        m_ini.WriteInteger(Latin1(kSection), Latin1(kPortKey), kPortWithoutFile);
    m_ini.WriteInteger(Latin1(kSection), Latin1(kVerifyAfterWriteKey), verify ? 1 : 0);
}

ArchiveOptions ProgramSettings::Archive() const
{
    const QString section = Latin1(kArchiveSection);
    ArchiveOptions options;
    options.postgres = m_ini.ReadString(section, QStringLiteral("Database"), QString())
                           .trimmed()
                           .compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0;
    options.file = m_ini.ReadString(section, QStringLiteral("File"), QString()).trimmed();
    options.connection =
        m_ini.ReadString(section, QStringLiteral("Connection"), QString()).trimmed();
    options.keepYears = std::max(0, m_ini.ReadInteger(section, QStringLiteral("KeepYears"), 5));
    options.keepCount = std::max(0, m_ini.ReadInteger(section, QStringLiteral("KeepCount"), 0));
    return options;
}

void ProgramSettings::SetArchive(const ArchiveOptions& options)
{
    const QString section = Latin1(kArchiveSection);
    m_ini.WriteString(section, QStringLiteral("Database"),
                      options.postgres ? QStringLiteral("postgresql") : QStringLiteral("sqlite"));
    m_ini.WriteString(section, QStringLiteral("File"), options.file);
    m_ini.WriteString(section, QStringLiteral("Connection"), options.connection);
    m_ini.WriteInteger(section, QStringLiteral("KeepYears"), options.keepYears);
    m_ini.WriteInteger(section, QStringLiteral("KeepCount"), options.keepCount);
}

QString ProgramSettings::PortName(const QString& comName) const
{
    return m_ini.ReadString(Latin1(kPortNamesSection), comName, QString());
}

QString ProgramSettings::Path()
{
    if (!Override().isEmpty())
        return Override();
    const QString exe = QCoreApplication::applicationFilePath();
    const QFileInfo info(exe);
    // Only the file name's own extension goes; a dot in a folder name stays.
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    return Location(info.absolutePath(), stem + QStringLiteral(".ini"));
}

QString ProgramSettings::Location(const QString& executableDir, const QString& fileName)
{
    const bool installed = QFileInfo(executableDir).fileName() == QLatin1String("bin") &&
                           QFileInfo(executableDir + QStringLiteral("/../share/zorvex")).isDir();
    if (!installed)
        return executableDir + u'/' + fileName;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/zorvex");
    QDir().mkpath(folder); // a failure shows when the file is written
    return folder + u'/' + fileName;
}

QString ProgramSettings::OverridePath(const QString& path)
{
    return std::exchange(Override(), path);
}

QString ProgramSettings::LookupPortName(const QString& portName)
{
    return ProgramSettings().PortName(portName);
}
