#pragma once

#include <cstdint>

// How far the rate a driver really set may be from the rate asked for. A UART divides
// its clock, so few rates come out exact (a 16550 gives 1339.5 bit/s for 1339); the
// dialer's receiver samples each bit in its middle and takes a few per cent over the
// ten bits of a byte. A driver that rounds to a standard rate (1200 for 1339, 10 %) or
// refuses custom rates gives a line on which every frame is garbage.
namespace LineRate {

inline constexpr int TolerancePercent = 2;

// Whether a line set to actual bit/s carries what was meant for asked bit/s.
// actual 0 ("the platform cannot tell") is taken as kept.
constexpr bool Kept(std::uint32_t asked, std::uint32_t actual)
{
    if (actual == 0)
        return true;
    const std::uint64_t difference = actual > asked ? actual - asked : asked - actual;
    return difference * 100 <= std::uint64_t(asked) * TolerancePercent;
}

} // namespace LineRate
