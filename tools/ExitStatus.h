#pragma once

// Exit statuses of the command-line tool, for scripts.
namespace ExitStatus {
inline constexpr int Success = 0;
inline constexpr int ExchangeFailed = 1; // the dialer exchange failed (or files differ)
inline constexpr int Usage = 2;          // wrong arguments
// A file that cannot be read or saved, whatever the command; also a standard output
// that cannot take what the command printed (a full disk), which turns 0 and 1 into 3.
inline constexpr int FileError = 3;
inline constexpr int PortError = 4;
} // namespace ExitStatus
