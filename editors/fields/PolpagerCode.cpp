#include "editors/fields/PolpagerCode.h"

#include "model/Cp1250.h"

#include <algorithm>
#include <array>
#include <cstring>

using namespace PolpagerCode;

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// What the packed-digit store makes of a character that is not a keypad symbol.
char KeypadSymbol(char c)
{
    static const char symbols[] = "0123456789ABCD*#";
    return symbols[DigitValue(c)];
}

} // namespace

std::string EncodeMessage(const std::string& text)
{
    std::string code;
    bool letters = false;
    // A space in digit mode is "*"; a second one right behind it would read as the
    // switch "**", so that space goes out in letter mode instead.
    bool afterDigitSpace = false;
    // One byte per character, as the Windows tool saw the text.
    for (char c : Utf8ToCp1250(text)) {
        if (IsDigit(c) && letters) {
            code += "0*";
            letters = false;
        } else if (c >= 'A' && c <= 'Z' && !letters) {
            code += "**";
            letters = true;
        } else if (c == ' ') {
            if (letters) {
                code += '0';
            } else if (afterDigitSpace) {
                code += "**0";
                letters = true;
                afterDigitSpace = false;
            } else {
                code += '*';
                afterDigitSpace = true;
            }
            continue;
        }
        afterDigitSpace = false;
        if (letters) {
            const char* at = c ? std::strchr(Alphabet, c) : nullptr;
            if (!at)
                continue;
            const int i = static_cast<int>(at - Alphabet);
            code += static_cast<char>('2' + i / 3);
            if (i % 3 == 0)
                code += '*';
            else if (i % 3 == 2)
                code += '#';
        } else {
            code += KeypadSymbol(c);
            afterDigitSpace = code.back() == '*';
        }
    }
    code += letters ? "0##" : "#";
    return code;
}

std::string DecodeMessage(const TCfg& cfg)
{
    const int length = cfg.GetByte(LengthOffset);
    const int known = std::min(length, MaxSymbols);
    std::array<char, MaxSymbols> symbols{};
    static const char nibbles[] = "0123456789ABCD*#";
    for (int i = 0; i < known; ++i) {
        const std::uint8_t b = cfg.GetByte(CodeOffset + i / 2);
        symbols[i] = nibbles[i % 2 == 0 ? b >> 4 : b & 0x0F];
    }
    // Symbol j, 1-based; behind the stored length it reads as the end code.
    auto at = [&](int j) { return j >= 1 && j <= known ? symbols[j - 1] : '#'; };

    std::string text;
    bool letters = false;
    int j = 1;
    while (j <= length) {
        if (!letters) {
            if (at(j) == '#')
                break;
            if (at(j) == '*' && at(j + 1) == '*') {
                letters = true;
                j += 2;
                // "***": the space typed before the switch.
                if (at(j) == '*') {
                    text += ' ';
                    ++j;
                    continue;
                }
            } else if (at(j) == '*') {
                text += ' ';
                ++j;
                continue;
            }
        }
        if (letters) {
            const char k = at(j);
            if (k == '0' && at(j + 1) == '#' && at(j + 2) == '#')
                break;
            if (k == '0' && at(j + 1) == '*') {
                // The encoder puts a digit here. Whatever stands there instead ("*",
                // "#") is read afresh in digit mode, so a stray end code ends the text.
                letters = false;
                j += 2;
                continue;
            }
            if (k == '0') {
                text += ' ';
                ++j;
                continue;
            }
            // A bare "#" in letter mode (also behind the stored length) is taken as
            // the end.
            if (k == '#')
                break;
            const char next = at(j + 1);
            const int step = next == '*' || next == '#' ? 2 : 1;
            if (k >= '2' && k <= '9') {
                const int first = (k - '2') * 3;
                text += Alphabet[first + (next == '*' ? 0 : next == '#' ? 2 : 1)];
                j += step;
            } else {
                // Key 1, a stray "*" or a nibble 10..13 has no letter: one "?" for it
                // and its modifier, if any.
                text += '?';
                j += k == '*' ? 1 : step;
            }
            continue;
        }
        // Digit mode, neither "*" nor "#": nibbles 10..13 are no keypad symbols.
        text += IsDigit(at(j)) ? at(j) : '?';
        ++j;
    }
    return text;
}
