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
// A value a field does not take (zvx set, zvx apply, zvx new --from): nothing is saved.
inline constexpr int InvalidValue = 5;
// Plus the number of the signal that ended an exchange (130 SIGINT, 143 SIGTERM, 129 SIGHUP),
// as a shell reports a program the signal killed.
inline constexpr int Interrupted = 128;
} // namespace ExitStatus
