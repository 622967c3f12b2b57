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

namespace {

QString RecordText(const TComment& comment, int index)
{
    return QString::fromStdString(Cp1250ToUtf8(comment.GetText(index))).trimmed();
}

QString UserName()
{
    for (const char* name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QString();
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
