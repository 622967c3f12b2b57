#include "editors/fields/ByteText.h"

#include "editors/fields/MessageText.h"
#include "model/Exception.h"
#include "resources/ConstsZVX.h"

#include <optional>

namespace {
// Values above this are only ever compared with a byte's range, so the parse stops
// growing there and long digit strings cannot overflow.
constexpr long kCap = 1000000;

std::optional<long> DecimalValue(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kCap)
            value = kCap;
    }
    return value;
}

std::string NotValidInteger(const std::string& text)
{
    return FormatText(ConstsZVX::NotValidInteger, {MessageValue(text)});
}
} // namespace

std::string ByteToText(int value)
{
    return std::to_string(value);
}

std::uint8_t ByteFromText(const std::string& text)
{
    const auto value = DecimalValue(text);
    if (!value || *value > 255)
        throw EConvertError(NotValidInteger(text));
    return static_cast<std::uint8_t>(*value);
}

bool AppendedDigitFits(const std::string& text, char digit, int minimum, int maximum)
{
    std::string candidate = text;
    candidate.push_back(digit);
    const auto value = DecimalValue(candidate);
    return value && *value >= minimum && *value <= maximum;
}
