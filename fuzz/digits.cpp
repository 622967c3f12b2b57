// The image's packed-digit text operations with any text, index and count: a range
// outside 0..255 is refused before anything changes, nothing outside the range is ever
// touched, and digit texts survive a store and a read back.

#include "fuzz/FuzzCheck.h"
#include "model/ERangeError.h"
#include "model/TCfg.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

namespace {

// The packed-digit values, written out apart from the image code.
int Nibble(char c)
{
    static const std::string symbols = "0123456789ABCD*#";
    if (c == 'E' || c == 'F')
        return c - 'A' + 10;
    const auto at = symbols.find(c);
    return c != '\0' && at != std::string::npos ? static_cast<int>(at) : 0;
}

bool InRange(int index, int count)
{
    if (index < 0 || index > 255)
        return false;
    return count <= 0 || static_cast<long long>(index) + count - 1 <= 255;
}

// Mostly near the image, sometimes anywhere in int.
int Number(FuzzedDataProvider& input)
{
    if (input.ConsumeBool())
        return input.ConsumeIntegral<int>();
    return input.ConsumeIntegralInRange<int>(-4, 260);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int index = Number(input);
    const int count = Number(input);
    const bool stopAtF = input.ConsumeBool();
    const std::string text = input.ConsumeRandomLengthString(600);

    TCfg cfg;
    for (int i = 0; i < TCfg::Size; ++i)
        cfg.SetByte(i, static_cast<std::uint8_t>(i * 7 + 3));
    const TCfg before = cfg;
    const bool valid = InRange(index, count);

    bool refused = false;
    try {
        cfg.SetDigits(text, index, count);
    } catch (const ERangeError&) {
        refused = true;
    }
    FUZZ_CHECK(refused == !valid);
    for (int i = 0; i < TCfg::Size; ++i) {
        const long long k = static_cast<long long>(i) - index;
        if (!valid || k < 0 || k >= count) {
            FUZZ_CHECK(cfg.GetByte(i) == before.GetByte(i));
            continue;
        }
        const auto at = [&](std::size_t p) { return p < text.size() ? Nibble(text[p]) : 15; };
        FUZZ_CHECK(cfg.GetByte(i) == at(2 * std::size_t(k)) * 16 + at(2 * std::size_t(k) + 1));
    }

    std::string digits = "left over";
    refused = false;
    try {
        cfg.GetDigits(index, count, digits, stopAtF);
    } catch (const ERangeError&) {
        refused = true;
    }
    FUZZ_CHECK(refused == !valid);
    if (!valid) {
        FUZZ_CHECK(digits.empty());
        return 0;
    }
    static const char hex[] = "0123456789ABCDEF";
    std::string expected;
    for (int k = 0; k < count; ++k) {
        const std::uint8_t b = cfg.GetByte(index + k);
        expected += hex[b >> 4];
        expected += hex[b & 15];
    }
    if (stopAtF)
        expected = expected.substr(0, expected.find('F'));
    FUZZ_CHECK(digits == expected);

    // A text of hexadecimal digits (or "*" and "#", read back as E and F) filling the
    // range comes back as it went in.
    if (count > 0 && text.size() >= 2 * std::size_t(count)) {
        std::string stored = text.substr(0, 2 * std::size_t(count));
        for (char& c : stored)
            c = hex[Nibble(c)];
        cfg.SetDigits(stored, index, count);
        cfg.GetDigits(index, count, digits, false);
        FUZZ_CHECK(digits == stored);
    }
    return 0;
}
