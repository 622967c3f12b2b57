#include "archive/ArchiveEntry.h"

#include "editors/fields/PhonesFields.h"
#include "model/ConfigIdentity.h"
#include "model/Cp1250.h"
#include "model/ImageChecksum.h"
#include "resources/Version.h"

#include <QSysInfo>

#include <QStringList>

#include <array>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

QString RecordText(const TComment& comment, int index)
{
    return QString::fromStdString(Cp1250ToUtf8(comment.GetText(index))).trimmed();
}

// The account the program runs under, from the system: cron, a systemd unit or
// "sudo -i" may leave the environment without a name.
QString AccountName()
{
#ifdef _WIN32
    wchar_t name[257]; // the longest user name (UNLEN, 256) and its final zero
    DWORD size = 257;
    if (GetUserNameW(name, &size) && size > 0)
        return QString::fromWCharArray(name, int(size) - 1); // size counted the final zero
    return QString();
#else
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? std::size_t(suggested) : 16384);
    passwd account{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &account, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    return QString();
#endif
}

QString UserName()
{
    for (const char* name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return AccountName();
}

} // namespace

QDateTime ArchiveEntry::LocalTime() const
{
    return when.toOffsetFromUtc(utcOffset);
}

TZorvexSettings ArchiveEntry::Settings() const
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    if (image.size() == TCfg::Size) {
        for (int i = 0; i < TCfg::Size; ++i)
            settings.Cfg.SetByte(i, static_cast<std::uint8_t>(image[i]));
    }
    if (records.size() == TComment::Count * TComment::RecordSize) {
        for (int r = 0; r < TComment::Count; ++r) {
            TComment::Record record;
            std::memcpy(record.data(), records.constData() + r * TComment::RecordSize,
                        TComment::RecordSize);
            settings.Comment.SetRecord(r, record);
        }
    }
    return settings;
}

void ArchiveEntry::SetSettings(const TZorvexSettings& settings)
{
    fingerprint = QString::fromStdString(ImageFingerprint(settings.Cfg));
    // As the dialer and the file hold it: with the checksum in byte 0.
    std::array<std::uint8_t, TCfg::Size> bytes = settings.Cfg.Bytes();
    bytes[0] = ZeroSumByte(bytes.data() + 1, TCfg::Size - 1);
    image = QByteArray(reinterpret_cast<const char*>(bytes.data()), TCfg::Size);
    records.clear();
    for (int r = 0; r < TComment::Count; ++r) {
        TComment::Record record;
        settings.Comment.GetRecord(r, record);
        records.append(reinterpret_cast<const char*>(record.data()), TComment::RecordSize);
    }
    site = RecordText(settings.Comment, 0);
    address = RecordText(settings.Comment, 1);
}

bool ArchiveEntry::SameConfiguration(const ArchiveEntry& other) const
{
    return image.size() == TCfg::Size && other.image.size() == TCfg::Size &&
           image.mid(1) == other.image.mid(1) && records == other.records;
}

QString ArchiveEntry::SearchText() const
{
    const TZorvexSettings settings = Settings();
    QStringList parts;
    for (int r = 0; r < TComment::Count; ++r) {
        const QString text = RecordText(settings.Comment, r);
        if (!text.isEmpty())
            parts << text;
    }
    const PhonesFields phones = PhonesFields::Load(settings);
    for (const std::string& number : phones.numbers) {
        if (!number.empty())
            parts << QString::fromStdString(number);
    }
    parts << fingerprint;
    return parts.join(QLatin1Char('\n')).toLower();
}

ArchiveEntry ArchiveEntry::Now(ConfigEvent event, const TZorvexSettings& settings)
{
    ArchiveEntry entry;
    const QDateTime now = QDateTime::currentDateTime();
    entry.when = now.toUTC();
    entry.utcOffset = now.offsetFromUtc();
    entry.event = QString::fromLatin1(ConfigEventName(event));
    entry.SetSettings(settings);
    entry.user = UserName();
    entry.host = QSysInfo::machineHostName();
    entry.version = QString::fromLatin1(ProgramVersion::Number);
    return entry;
}

QString ArchiveEntry::EventText() const
{
    const std::optional<ConfigEvent> known = ConfigEventFromName(event.toStdString());
    return known ? QString::fromUtf8(ConfigEventText(*known)) : event;
}
