#pragma once

// Exit statuses of the command-line tool, for scripts.
namespace ExitStatus {
inline constexpr int Success = 0;
inline constexpr int ExchangeFailed = 1; // the dialer exchange failed (or files differ)
inline constexpr int Usage = 2;          // wrong arguments
inline constexpr int FileError = 3;
inline constexpr int PortError = 4;
} // namespace ExitStatus
