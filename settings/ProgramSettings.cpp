#include "settings/ProgramSettings.h"
#include "settings/SettingsFolder.h"

#include "resources/ConstsZVX.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>
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

// A message of ConstsZVX with each "%s" filled in turn; a value that itself holds "%s"
// is never filled in again.
QString Filled(const char* pattern, const QStringList& values)
{
    const QStringList pieces = QString::fromUtf8(pattern).split(QStringLiteral("%s"));
    QString text = pieces.first();
    for (qsizetype i = 1; i < pieces.size(); ++i)
        text += values.value(i - 1) + pieces[i];
    return text;
}

// A number as ReadInteger reads it, or nothing when the key holds something else. A
// missing key reads as def.
std::optional<int> Number(const IniFile& ini, const QString& section, const QString& key, int def)
{
    if (ini.ReadString(section, key, QString()).trimmed().isEmpty())
        return def;
    const int one = ini.ReadInteger(section, key, 0);
    return one == ini.ReadInteger(section, key, 1) ? std::optional<int>(one) : std::nullopt;
}

constexpr const char* kSettingsName = "zorvex.ini";

// The file named after the executable itself ("zvx" -> "zvx.ini"), where it is not
// zorvex.ini already.
QString FormerPath(const QString& executablePath)
{
    const QFileInfo info(executablePath);
    // Only the file name's own extension goes; a dot in a folder name stays.
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString own = (dot > 0 ? name.left(dot) : name) + QStringLiteral(".ini");
    if (own.compare(Latin1(kSettingsName), Qt::CaseInsensitive) == 0)
        return {};
    return ProgramSettings::Location(info.absolutePath(), own);
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
    const QString database =
        m_ini.ReadString(section, QStringLiteral("Database"), QString()).trimmed();
    options.postgres = database.compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0;
    if (!options.postgres && !database.isEmpty() &&
        database.compare(QLatin1String("sqlite"), Qt::CaseInsensitive) != 0)
        options.databaseProblem = Filled(ConstsZVX::ArchiveDatabaseUnknown, {database});
    options.file = m_ini.ReadString(section, QStringLiteral("File"), QString()).trimmed();
    options.connection =
        m_ini.ReadString(section, QStringLiteral("Connection"), QString()).trimmed();
    const std::pair<const char*, int*> keeps[] = {{"KeepYears", &options.keepYears},
                                                  {"KeepCount", &options.keepCount}};
    for (const auto& [key, value] : keeps) {
        const std::optional<int> number = Number(m_ini, section, Latin1(key), *value);
        if (number && *number >= 0) {
            *value = *number;
        } else if (options.keepProblem.isEmpty()) {
            options.keepProblem =
                Filled(ConstsZVX::ArchiveKeepUnreadable,
                       {Latin1(key), m_ini.ReadString(section, Latin1(key), QString())});
        }
    }
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
    return PathFor(QCoreApplication::applicationFilePath());
}

QString ProgramSettings::PathFor(const QString& executablePath)
{
    const QString shared =
        Location(QFileInfo(executablePath).absolutePath(), Latin1(kSettingsName));
    const QString former = FormerPath(executablePath);
    if (!former.isEmpty() && !QFileInfo::exists(shared) && QFileInfo::exists(former))
        return former;
    return shared;
}

QString ProgramSettings::FormerFileNotice(const QString& executablePath)
{
    const QString former = FormerPath(executablePath);
    if (former.isEmpty() || !QFileInfo::exists(former))
        return {};
    const QString shared =
        Location(QFileInfo(executablePath).absolutePath(), Latin1(kSettingsName));
    return Filled(PathFor(executablePath) == former ? ConstsZVX::SettingsFormerRead
                                                    : ConstsZVX::SettingsFormerIgnored,
                  {former, shared});
}

QString ProgramSettings::Location(const QString& executableDir, const QString& fileName)
{
    if (!SettingsFolder::Installed(executableDir))
        return executableDir + u'/' + fileName;
    const QString folder = SettingsFolder::UserFolder();
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
