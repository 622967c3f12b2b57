#include "model/ConfigIdentity.h"

#include "model/ImageChecksum.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr std::array<std::uint32_t, 256> MakeTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

} // namespace

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t count)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i)
        crc = kTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::string ImageFingerprint(const TCfg& cfg)
{
    std::array<std::uint8_t, TCfg::Size> image = cfg.Bytes();
    image[0] = ZeroSumByte(image.data() + 1, TCfg::Size - 1);
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X",
                  static_cast<unsigned>(Crc32(image.data(), image.size())));
    return digits;
}

bool SameConfiguration(const TZorvexSettings& a, const TZorvexSettings& b)
{
    const auto& x = a.Cfg.Bytes();
    const auto& y = b.Cfg.Bytes();
    return std::equal(x.begin() + 1, x.end(), y.begin() + 1) && a.Comment == b.Comment;
}
