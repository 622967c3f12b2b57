#include "model/Bcd.h"

std::uint8_t ToBcd(int value)
{
    value %= 100;
    if (value < 0)
        value += 100;
    return static_cast<std::uint8_t>((value / 10) << 4 | (value % 10));
}

std::optional<int> FromBcd(std::uint8_t byte)
{
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    if (high > 9 || low > 9)
        return std::nullopt;
    return high * 10 + low;
}

bool IsBcdTime(std::uint8_t hour, std::uint8_t minute)
{
    const auto h = FromBcd(hour);
    const auto m = FromBcd(minute);
    return h && m && *h < 24 && *m < 60;
}
