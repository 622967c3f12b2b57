#include "editors/fields/MessageText.h"

#include "model/Cp1250.h"
#include "resources/ConstsZVX.h"

std::string FormatText(const char* message, std::initializer_list<std::string_view> values)
{
    const std::string_view text = message;
    std::string formatted;
    auto value = values.begin();
    std::size_t from = 0;
    for (std::size_t at = text.find("%s"); at != std::string_view::npos && value != values.end();
         at = text.find("%s", from)) {
        formatted.append(text.substr(from, at - from)).append(*value++);
        from = at + 2;
    }
    return formatted.append(text.substr(from));
}

std::string MessageValue(std::string_view text)
{
    std::string quoted;
    int characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        const char32_t c = NextCodePoint(text, i);
        // One replacement character where a lone surrogate or a malformed sequence stood.
        if (characters < MessageValueLength)
            AppendUtf8(quoted, (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ? char32_t(0xFFFD) : c);
    }
    if (characters <= MessageValueLength)
        return quoted;
    return FormatText(ConstsZVX::ValueCut, {quoted, std::to_string(characters)});
}
