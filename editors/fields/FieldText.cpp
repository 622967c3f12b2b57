#include "editors/fields/FieldText.h"

#include "editors/fields/ByteText.h"
#include "editors/fields/EditorAreas.h"
#include "editors/fields/FieldTableKit.h"
#include "editors/fields/MessageText.h"
#include "model/Cp1250.h"
#include "model/TZorvexSettings.h"
#include "resources/ConstsZVX.h"

#include <cstdio>

namespace {

bool IsChoice(FieldKind kind)
{
    return kind == fkList || kind == fkRadio || kind == fkYesNo;
}

// A decimal item number below count, or -1.
int ItemNumber(const std::string& text, std::size_t count)
{
    if (text.empty() || text.size() > 3)
        return -1;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return static_cast<std::size_t>(value) < count ? value : -1;
}

int Characters(const std::string& text)
{
    int count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

// The UTF-8 character that starts at i.
std::string CharacterAt(const std::string& text, std::size_t i)
{
    std::size_t end = i + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return text.substr(i, end - i);
}

// "U+1F600 „😀”"; a character that cannot be shown, by its number alone.
std::string CharacterName(char32_t c)
{
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(c));
    const bool shown =
        c >= 0x20 && !(c >= 0x7F && c <= 0x9F) && !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
    std::string name = number;
    if (shown) {
        name += " „";
        AppendUtf8(name, c);
        name += "”";
    }
    return name;
}

// The first character of text (UTF-8) a field without keys does not take, named.
std::optional<std::string> RefusedCharacter(const EditorField& field, const std::string& text)
{
    for (std::size_t i = 0; i < text.size();)
        if (const char32_t c = NextCodePoint(text, i); !TakesCharacter(field, c))
            return CharacterName(c);
    return std::nullopt;
}

char16_t UpperCase(const EditorField& field, char16_t c)
{
    return field.upperCase && c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

} // namespace

bool TakesCharacter(const EditorField& field, char32_t c)
{
    if (!field.keys.empty())
        return c != 0 && c < 0x80 && field.keys.find(static_cast<char>(c)) != std::string::npos;
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    return !control && Cp1250Holds(c);
}

char16_t FilteredKey(const EditorField& field, const std::string& text, char16_t key)
{
    constexpr char16_t backspace = 8;
    if (key == backspace)
        return key;
    key = UpperCase(field, key);
    if (!TakesCharacter(field, key))
        return 0;
    if (field.kind == fkNumber &&
        !AppendedDigitFits(text, static_cast<char>(key), field.minimum, field.maximum))
        return 0;
    return key;
}

std::optional<std::string> TypedText(const EditorField& field, std::string& text)
{
    if (IsChoice(field.kind)) {
        if (FieldTableKit::ItemIndex(field.items, text) < 0) {
            const int number = ItemNumber(text, field.items.size());
            if (number >= 0)
                text = field.items[number];
        }
        return std::nullopt;
    }
    if (field.kind != fkText && field.kind != fkNumber)
        return std::nullopt;
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(UpperCase(field, static_cast<char16_t>(c)));
    // Before the length: a record could not hold such a character however short the text.
    if (field.keys.empty())
        if (auto refused = RefusedCharacter(field, text))
            return FormatText(ConstsZVX::FieldCharRefused, {MessageValue(text), *refused});
    if (field.maxLength > 0 && Characters(text) > field.maxLength)
        return FormatText(ConstsZVX::FieldTooLong,
                          {MessageValue(text), std::to_string(field.maxLength)});
    if (!field.keys.empty())
        for (std::size_t i = 0; i < text.size(); ++i)
            if (!TakesCharacter(field, static_cast<unsigned char>(text[i]))) {
                // A number that is no number is told as OK in the dialog tells it.
                if (field.kind == fkNumber && field.check)
                    if (auto error = field.check(text))
                        return error;
                return FormatText(ConstsZVX::FieldKeyRefused, {CharacterAt(text, i), field.keys});
            }
    if (field.kind == fkNumber) {
        // The filter judges each digit as if appended to what the edit holds.
        std::string typed;
        for (const char digit : text) {
            if (!AppendedDigitFits(typed, digit, field.minimum, field.maximum))
                return FormatText(ConstsZVX::FieldOutOfRange,
                                  {MessageValue(text), std::to_string(field.minimum) + ".." +
                                                           std::to_string(field.maximum)});
            typed.push_back(digit);
        }
    }
    return std::nullopt;
}

std::optional<std::string> WriteTyped(const EditorField& field, TZorvexSettings& settings,
                                      const std::string& text)
{
    std::string typed = text;
    if (auto error = TypedText(field, typed))
        return error;
    return field.write(settings, typed);
}

std::vector<std::uint8_t> StoredBytes(const EditorField& field, const TZorvexSettings& settings)
{
    std::vector<std::uint8_t> bytes;
    if (field.record >= 0) {
        TComment::Record record;
        settings.Comment.GetRecord(field.record, record);
        bytes.assign(record.begin(), record.end());
        return bytes;
    }
    for (const OwnedBits& bits : field.owned)
        bytes.push_back(settings.Cfg.GetByte(bits.offset));
    return bytes;
}

bool PutStoredBytes(const EditorField& field, TZorvexSettings& settings,
                    const std::vector<std::uint8_t>& bytes)
{
    if (field.record >= 0) {
        if (bytes.size() != TComment::RecordSize)
            return false;
        TComment::Record record;
        std::copy(bytes.begin(), bytes.end(), record.begin());
        settings.Comment.SetRecord(field.record, record);
        return true;
    }
    if (bytes.size() != field.owned.size() || bytes.empty())
        return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const OwnedBits& bits = field.owned[i];
        const std::uint8_t kept = settings.Cfg.GetByte(bits.offset) & ~bits.mask;
        settings.Cfg.SetByte(bits.offset, static_cast<std::uint8_t>(kept | (bytes[i] & bits.mask)));
    }
    return true;
}

bool ShownTextKeeps(const EditorField& field, const TZorvexSettings& settings)
{
    if (field.owned.empty() && field.record < 0)
        return true;
    TZorvexSettings again = settings;
    if (WriteTyped(field, again, field.read(settings)))
        return false;
    if (field.record >= 0)
        return StoredBytes(field, again) == StoredBytes(field, settings);
    for (const OwnedBits& bits : field.owned)
        if ((again.Cfg.GetByte(bits.offset) ^ settings.Cfg.GetByte(bits.offset)) & bits.mask)
            return false;
    return true;
}

const std::array<std::uint8_t, 256>& FieldlessBits()
{
    static const std::array<std::uint8_t, 256> bits = [] {
        std::array<std::uint8_t, 256> free;
        free.fill(0xFF);
        free[0] = 0;
        for (const EditorArea* area : EditorAreas())
            for (const EditorField& field : area->fields)
                for (const OwnedBits& owned : field.owned)
                    free[owned.offset] &= ~owned.mask;
        return free;
    }();
    return bits;
}
