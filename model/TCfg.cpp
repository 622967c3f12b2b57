#include "model/TCfg.h"

#include "model/ERangeError.h"

#include <algorithm>
#include <limits>

int DigitValue(char c)
{
    if (c == '#')
        return 15;
    if (c == '*')
        return 14;
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

std::uint8_t DigitPairValue(char first, char second)
{
    return static_cast<std::uint8_t>(DigitValue(first) * 16 + DigitValue(second));
}

bool TCfg::CheckRange(int index, int count) const
{
    if (index > Size - 1 || index < 0)
        throw ERangeError::Index(index, 0, Size - 1);
    // 64-bit so that a huge count cannot wrap round into the valid range.
    const long long last = static_cast<long long>(index) + count - 1;
    if (last > Size - 1)
        throw ERangeError::IndexPlusCount(
            static_cast<int>(std::min<long long>(last, std::numeric_limits<int>::max())), 0,
            Size - 1);
    return true;
}

void TCfg::Clear()
{
    m_bytes.fill(0);
}

std::uint8_t TCfg::GetByte(int index) const
{
    CheckRange(index, 1);
    return m_bytes[index];
}

void TCfg::SetByte(int index, std::uint8_t value)
{
    CheckRange(index, 1);
    m_bytes[index] = value;
}

void TCfg::Fill(int index, std::uint8_t value, int count)
{
    CheckRange(index, count);
    if (count > 0)
        std::fill_n(m_bytes.begin() + index, count, value);
}

void TCfg::WriteBytes(int index, const std::uint8_t* source, int count)
{
    CheckRange(index, count);
    if (count > 0)
        std::copy_n(source, count, m_bytes.begin() + index);
}

void TCfg::GetDigits(int index, int count, std::string& text, bool stopAtF) const
{
    static const char hex[] = "0123456789ABCDEF";
    text.clear();
    CheckRange(index, count);
    for (int i = 0; i < count; ++i) {
        const std::uint8_t b = m_bytes[index + i];
        text += hex[b >> 4];
        text += hex[b & 0x0F];
    }
    if (stopAtF) {
        const auto f = text.find('F');
        if (f != std::string::npos)
            text.resize(f);
    }
}

void TCfg::SetDigits(const std::string& text, int index, int count)
{
    CheckRange(index, count);
    auto at = [&text](std::size_t p) { return p < text.size() ? text[p] : 'F'; };
    for (int i = 0; i < count; ++i)
        m_bytes[index + i] = DigitPairValue(at(2 * i), at(2 * i + 1));
}
