#pragma once

// Private: the line settings through termios2, the only Linux interface that takes any
// integer rate (BOTHER). Its kernel header clashes with <termios.h>, so it lives apart.

#include <cstdint>

struct ComLineSettings;

namespace PosixTermios2 {

// Puts rate, framing, parity, XON/XOFF and CRTSCTS on fd and makes the line raw. A driver
// may put the nearest rate it can make instead of the rate asked for (ReadRates tells).
// Returns 0 or errno. DTR and RTS are not touched here.
int SetLine(int fd, const ComLineSettings& line);

// The output and input rates the device holds now (bit/s). Returns 0 or errno.
int ReadRates(int fd, std::uint32_t& outputRate, std::uint32_t& inputRate);

// Asks the driver for rate and reads back the rate it really set (bit/s), then puts the
// line's settings back as they were. Returns 0 or errno (the settings are put back
// whenever they were changed).
int TryRate(int fd, std::uint32_t rate, std::uint32_t& actual);

} // namespace PosixTermios2
