#include "model/ImageChecksum.h"

std::uint8_t Sum8(const std::uint8_t* bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum);
}

std::uint8_t ZeroSumByte(const std::uint8_t* bytes, int count)
{
    return static_cast<std::uint8_t>(0x100 - Sum8(bytes, count));
}
