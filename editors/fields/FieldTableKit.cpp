#include "editors/fields/FieldTableKit.h"

#include "editors/fields/ByteText.h"
#include "editors/fields/MessageText.h"
#include "model/Exception.h"

namespace FieldTableKit {

namespace {

std::string Joined(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Bytes of the first count UTF-8 characters of text (a continuation byte is no character).
std::size_t CharactersEnd(const std::string& text, int count)
{
    int seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (seen++ == count)
            return i;
    }
    return text.size();
}

} // namespace

std::vector<OwnedBits> Bytes(int first, int count)
{
    std::vector<OwnedBits> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back({first + i, 0xFF});
    return bytes;
}

std::string Format(const char* message, const std::string& text)
{
    return FormatText(message, {text});
}

std::string ItemText(const std::vector<std::string>& items, int index)
{
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
}

int ItemIndex(const std::vector<std::string>& items, const std::string& text)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == text)
            return static_cast<int>(i);
    return -1;
}

std::string NotAnItem(const std::string& text, const std::vector<std::string>& items)
{
    return FormatText(ConstsZVX::FieldNotAnItem, {MessageValue(text), Joined(items)});
}

std::string FlagsText(const std::vector<std::string>& names, const std::vector<bool>& flags)
{
    std::vector<std::string> set;
    for (std::size_t i = 0; i < names.size() && i < flags.size(); ++i)
        if (flags[i])
            set.push_back(names[i]);
    return set.empty() ? std::string(ConstsZVX::ReportNone) : Joined(set);
}

std::optional<std::string>
ParseFlags(const std::string& text, const std::vector<std::string>& names, std::vector<bool>& flags)
{
    flags.assign(names.size(), false);
    const std::string all = Trimmed(text);
    if (all.empty() || all == ConstsZVX::ReportNone)
        return std::nullopt;
    std::size_t from = 0;
    while (from <= all.size()) {
        const auto comma = all.find(',', from);
        const std::string name = Trimmed(
            all.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
        const int index = ItemIndex(names, name);
        if (index < 0)
            return NotAnItem(name, names);
        flags[index] = true;
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    return std::nullopt;
}

std::optional<std::string> CheckByte(const std::string& text)
{
    try {
        ByteFromText(text);
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return std::nullopt;
}

std::optional<std::string> Prepare(const EditorField& field, std::string& text)
{
    if (field.maxLength > 0)
        text.resize(CharactersEnd(text, field.maxLength));
    if (text.empty())
        text = field.emptyText;
    return field.check ? field.check(text) : std::nullopt;
}

void CopyOwned(const TZorvexSettings& from, TZorvexSettings& to,
               const std::vector<OwnedBits>& owned)
{
    for (const OwnedBits& bits : owned) {
        const std::uint8_t kept = to.Cfg.GetByte(bits.offset) & ~bits.mask;
        to.Cfg.SetByte(bits.offset, static_cast<std::uint8_t>(
                                        kept | (from.Cfg.GetByte(bits.offset) & bits.mask)));
    }
}

void BindDisplay(EditorField& field, EditorField::Reader read)
{
    field.read = read;
    field.write = [read](TZorvexSettings& settings,
                         const std::string& text) -> std::optional<std::string> {
        const std::string shown = read(settings);
        if (text == shown)
            return std::nullopt;
        return Format(ConstsZVX::FieldReadOnly, shown);
    };
}

} // namespace FieldTableKit

namespace FieldTableKit {

EditorField MakeField(std::string key, const char* label, FieldKind kind,
                      std::vector<OwnedBits> owned)
{
    EditorField field;
    field.key = std::move(key);
    field.label = label ? label : "";
    field.kind = kind;
    field.owned = std::move(owned);
    return field;
}

} // namespace FieldTableKit
