// Any bytes as an initialisation file: reading never crashes, and writing one value
// changes that value and no other.

#include "settings/IniFile.h"
#include "fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace {

// A name or value as the writer can store it and the reader give back: one line, no
// blanks at either end, not empty.
QString OneLine(const std::string& bytes, const char* fallback)
{
    QString text = QString::fromUtf8(bytes);
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    text = text.trimmed();
    return text.isEmpty() ? QString::fromLatin1(fallback) : text;
}

// Every (section, key) pair the file holds, with the value the reader gives for it.
std::vector<std::pair<std::pair<QString, QString>, QString>> Everything(const IniFile& ini)
{
    std::vector<std::pair<std::pair<QString, QString>, QString>> all;
    for (const QString& section : ini.Sections())
        for (const QString& key : ini.Keys(section))
            all.push_back({{section, key}, ini.ReadString(section, key, QStringLiteral("\x01"))});
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The writer flushes every file to disk: in memory (tmpfs) that costs nothing.
    static const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir folder(base + QStringLiteral("/zvx-fuzz-ini-XXXXXX"));
    static const QString path = folder.filePath(QStringLiteral("zorvex.ini"));
    FuzzedDataProvider input(data, size);

    // A section name ends at its first "]"; a key at its first "=" and cannot start a
    // comment or a section; a value in one pair of quotes loses them.
    QString section = OneLine(input.ConsumeRandomLengthString(40), "Program configuration");
    section = section.left(section.indexOf(u']')).trimmed();
    if (section.isEmpty())
        section = QStringLiteral("Port names");
    QString key = OneLine(input.ConsumeRandomLengthString(40), "Port");
    key = key.left(key.indexOf(u'=')).trimmed();
    if (key.isEmpty() || key.startsWith(u';') || key.startsWith(u'['))
        key.prepend(u'K');
    QString value = OneLine(input.ConsumeRandomLengthString(40), "2");
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value += u'x';

    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const std::string rest = input.ConsumeRemainingBytesAsString();
        FUZZ_CHECK(file.write(rest.data(), qint64(rest.size())) == qint64(rest.size()));
    }

    IniFile ini(path);
    const auto before = Everything(ini);
    (void)ini.ReadInteger(section, key, 7);
    (void)ini.SectionExists(section);

    ini.WriteString(section, key, value);
    FUZZ_CHECK(ini.ReadString(section, key, QString()) == value);
    FUZZ_CHECK(ini.SectionExists(section));
    for (const auto& [where, old] : before) {
        if (where.first.compare(section, Qt::CaseInsensitive) == 0 &&
            where.second.compare(key, Qt::CaseInsensitive) == 0)
            continue;
        FUZZ_CHECK(ini.ReadString(where.first, where.second, QStringLiteral("\x01")) == old);
    }
    return 0;
}
