#include "settings/IniFile.h"

#include "model/Exception.h"
#include "resources/ConstsZVX.h"

#include <QSaveFile>
#include <QStringDecoder>

#include <optional>
#include <utility>
#include <vector>

namespace {

// One line of the file, kept as raw bytes so that an untouched line is written back
// exactly as it was read.
struct Line
{
    QByteArray text;
    QByteArray eol; // "\r\n", "\n", or empty for a last line without one
};

using Lines = std::vector<Line>;

Lines SplitLines(const QByteArray& data)
{
    Lines lines;
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype nl = data.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back({data.mid(start), {}});
            break;
        }
        Line line{data.mid(start, nl - start), QByteArrayLiteral("\n")};
        if (line.text.endsWith('\r')) {
            line.text.chop(1);
            line.eol = QByteArrayLiteral("\r\n");
        }
        lines.push_back(std::move(line));
        start = nl + 1;
    }
    if (!lines.empty() && lines.front().text.startsWith("\xEF\xBB\xBF"))
        lines.front().text.remove(0, 3); // a UTF-8 mark is not part of the first line
    return lines;
}

QString Text(const Line& line)
{
    // QString::fromUtf8 would drop a byte-order mark at the start of any line, so a key
    // written as U+FEFF could never be found again; only the file's own mark (removed in
    // SplitLines) is not text.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    return QString(utf8(line.text)).trimmed();
}

// The section's name when the line opens one.
std::optional<QString> SectionOf(const Line& line)
{
    const QString text = Text(line);
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

std::optional<IniFile::Entry> EntryOf(const Line& line)
{
    const QString text = Text(line);
    if (text.startsWith(u';') || text.startsWith(u'['))
        return std::nullopt;
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0)
        return std::nullopt;
    IniFile::Entry entry{text.left(eq).trimmed(), text.mid(eq + 1).trimmed()};
    if (entry.value.size() >= 2 && ((entry.value.startsWith(u'"') && entry.value.endsWith(u'"')) ||
                                    (entry.value.startsWith(u'\'') && entry.value.endsWith(u'\''))))
        entry.value = entry.value.mid(1, entry.value.size() - 2);
    return entry;
}

bool Same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Lines [first, end) of the first section named section; first is the header's index.
struct Range
{
    std::size_t first;
    std::size_t end;
};

} // namespace

// The file as lines, and what each line is: decoding every line for every look-up made
// reading a file of many keys cost the square of its size.
struct IniFile::Parsed
{
    explicit Parsed(const QByteArray& data)
        : mark(data.startsWith("\xEF\xBB\xBF")), lines(SplitLines(data))
    {
        sections.reserve(lines.size());
        entries.reserve(lines.size());
        for (const Line& line : lines) {
            sections.push_back(SectionOf(line));
            entries.push_back(sections.back() ? std::nullopt : EntryOf(line));
        }
    }

    bool mark; // the file starts with a UTF-8 mark, which SplitLines takes off
    Lines lines;
    std::vector<std::optional<QString>> sections; // per line: the section it opens
    std::vector<std::optional<Entry>> entries;    // per line: the key and value it holds
};

namespace {

std::optional<Range> FindSection(const IniFile::Parsed& file, const QString& section)
{
    const std::size_t count = file.lines.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (!file.sections[i] || !Same(*file.sections[i], section))
            continue;
        std::size_t end = i + 1;
        while (end < count && !file.sections[end])
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const IniFile::Parsed& file, const Range& range,
                                   const QString& key)
{
    for (std::size_t i = range.first + 1; i < range.end; ++i) {
        if (file.entries[i] && Same(file.entries[i]->key, key))
            return i;
    }
    return std::nullopt;
}

QByteArray DominantEol(const Lines& lines)
{
    for (const Line& line : lines)
        if (!line.eol.isEmpty())
            return line.eol;
    return QByteArrayLiteral("\r\n");
}

// A line break inside a name or value would split the file's structure.
QByteArray OneLine(const QString& text)
{
    QString flat = text;
    flat.replace(u'\r', u' ').replace(u'\n', u' ');
    return flat.toUtf8();
}

std::optional<int> ParseInteger(QString text)
{
    text = text.trimmed();
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text.startsWith(u'-');
        text.remove(0, 1);
    }
    int base = 10;
    if (text.startsWith(u'$')) {
        text.remove(0, 1);
        base = 16;
    } else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        text.remove(0, 2);
        base = 16;
    }
    if (text.isEmpty() || text.front().isSpace() || text.front() == u'+' || text.front() == u'-')
        return std::nullopt;
    bool ok = false;
    const qulonglong magnitude = text.toULongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    if (base == 16 && !negative && magnitude <= 0xFFFFFFFFull)
        return static_cast<int>(static_cast<quint32>(magnitude)); // "$FFFFFFFF" is -1
    if (magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return std::nullopt;
    return static_cast<int>(negative ? -static_cast<long long>(magnitude)
                                     : static_cast<long long>(magnitude));
}

} // namespace

IniFile::IniFile(QString fileName) : m_fileName(std::move(fileName)) {}

IniFile::~IniFile() = default;

QByteArray IniFile::Load() const
{
    IniFileAccess::Contents contents = IniFileAccess::Read(m_fileName);
    m_state = contents.state;
    m_error = contents.error;
    return std::move(contents.data);
}

std::shared_ptr<const IniFile::Parsed> IniFile::Parse() const
{
    const QByteArray data = Load();
    // Read afresh every time (another program may have written the file in between),
    // parsed again only when the bytes differ.
    if (!m_parsed || data != m_parsedFrom) {
        m_parsed = std::make_shared<const Parsed>(data);
        m_parsedFrom = data;
    }
    return m_parsed;
}

QString IniFile::Problem() const
{
    return IniFileAccess::Describe(m_state, m_fileName, m_error, ConstsZVX::SettingsDefaultsUsed);
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const auto file = Parse();
    const auto range = FindSection(*file, section);
    if (!range)
        return def;
    const auto at = FindKey(*file, *range, key);
    return at ? file->entries[*at]->value : def;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const QString text = ReadString(section, key, QString());
    return ParseInteger(text).value_or(def);
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const auto parsed = Parse();
    Lines lines = parsed->lines;
    // Replacing what could not be read would lose it, or put a regular file where a
    // FIFO or a device was.
    if (m_state != IniFileAccess::State::Regular && m_state != IniFileAccess::State::Missing)
        throw Exception(
            IniFileAccess::Describe(m_state, m_fileName, m_error, ConstsZVX::SettingsNotChanged)
                .toStdString());
    const QByteArray eol = DominantEol(lines);
    const QByteArray keyBytes = OneLine(key.trimmed());
    const QByteArray valueBytes = OneLine(value);

    if (const auto range = FindSection(*parsed, section)) {
        if (const auto at = FindKey(*parsed, *range, key)) {
            // Keep the key as the file spells it.
            lines[*at].text = OneLine(parsed->entries[*at]->key) + '=' + valueBytes;
        } else {
            std::size_t last = range->first;
            for (std::size_t i = range->first + 1; i < range->end; ++i)
                if (!Text(lines[i]).isEmpty())
                    last = i;
            if (lines[last].eol.isEmpty())
                lines[last].eol = eol;
            lines.insert(lines.begin() + std::ptrdiff_t(last + 1),
                         Line{keyBytes + '=' + valueBytes, eol});
        }
    } else {
        if (!lines.empty() && lines.back().eol.isEmpty())
            lines.back().eol = eol;
        lines.push_back({'[' + OneLine(section.trimmed()) + ']', eol});
        lines.push_back({keyBytes + '=' + valueBytes, eol});
    }

    QByteArray data = parsed->mark ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray();
    for (const Line& line : lines)
        data += line.text + line.eol;

    QSaveFile file(m_fileName);
    // Where the folder takes no temporary file, write the file in place as Windows does.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        QString message = QString::fromUtf8(ConstsZVX::IniWriteError);
        message.replace(QLatin1String("%s"), m_fileName);
        throw Exception(message.toStdString());
    }
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

bool IniFile::SectionExists(const QString& section) const
{
    return FindSection(*Parse(), section).has_value();
}

QStringList IniFile::Sections() const
{
    QStringList sections;
    for (const auto& name : Parse()->sections)
        if (name)
            sections << *name;
    return sections;
}

QStringList IniFile::Keys(const QString& section) const
{
    const auto file = Parse();
    QStringList keys;
    if (const auto range = FindSection(*file, section))
        for (std::size_t i = range->first + 1; i < range->end; ++i)
            if (const auto& entry = file->entries[i])
                keys << entry->key;
    return keys;
}
