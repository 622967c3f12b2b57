#pragma once

#include <array>
#include <cstdint>
#include <string>

// Value of one packed-digit character: "0".."9" and "A".."F" (upper case only) as
// themselves, "*" 14, "#" 15, anything else 0.
int DigitValue(char c);
// DigitValue(first) * 16 + DigitValue(second): the first character is the high nibble.
std::uint8_t DigitPairValue(char first, char second);

// The dialer's 256-byte configuration image, laid out as the device keeps it.
// Every access is checked against offsets 0..255 and raises ERangeError before
// anything is changed.
class TCfg
{
public:
    static constexpr int Size = 256;

    TCfg() { Clear(); }

    // Checks index .. index + count - 1. A count of 0 or less passes while the index
    // is in range. Returns true or raises ERangeError.
    bool CheckRange(int index, int count) const;

    void Clear();
    std::uint8_t GetByte(int index) const;
    void SetByte(int index, std::uint8_t value);
    // Stores value into count bytes from index; a count of 0 or less stores nothing.
    void Fill(int index, std::uint8_t value, int count);
    void WriteBytes(int index, const std::uint8_t* source, int count);

    // Renders count bytes as 2 * count upper-case hexadecimal digits, high nibble first.
    // With stopAtF the text is cut before its first "F". The output is empty if the
    // range check raises.
    void GetDigits(int index, int count, std::string& text, bool stopAtF) const;
    // Stores text as packed digits into count bytes; missing positions become F,
    // characters beyond 2 * count are ignored.
    void SetDigits(const std::string& text, int index, int count);

    const std::array<std::uint8_t, Size>& Bytes() const { return m_bytes; }

    bool operator==(const TCfg&) const = default;

private:
    std::array<std::uint8_t, Size> m_bytes;
};
