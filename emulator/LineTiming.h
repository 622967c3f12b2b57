#pragma once

#include <chrono>

// The dialer's serial line: 1339 bit/s, and 10 bits on the wire for every byte (start
// bit, 8 data bits, stop bit), so one byte takes about 7.468 ms.
namespace DialerLine {

inline constexpr long long BitRate = 1339; // bit/s
inline constexpr long long BitsPerByte = 10;

// Time that count bytes take on the line, computed from the byte count each time (not by
// adding up rounded byte times), so that deadlines taken from one origin never drift.
constexpr std::chrono::nanoseconds ByteTimes(long long count)
{
    return std::chrono::nanoseconds(count * BitsPerByte * 1'000'000'000LL / BitRate);
}

} // namespace DialerLine
