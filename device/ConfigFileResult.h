#pragma once

// The outcome of loading, checking or saving a configuration file. One type for every
// caller; ConfigFileMessage gives the user's words for it.
namespace ConfigFile {

enum class Outcome
{
    Ok,
    WrongSize,      // fewer than 1024 bytes: the file ended early
    WrongFormat,    // wrong magic, image checksum or file checksum
    NotRegularFile, // a save target that exists and is a device, FIFO or socket
    SystemError,    // the operating system refused; error holds its errno
};

struct Result
{
    Outcome outcome = Outcome::Ok;
    int error = 0; // errno, for SystemError only

    static constexpr Result System(int errnum) { return {Outcome::SystemError, errnum}; }
    constexpr bool Ok() const { return outcome == Outcome::Ok; }
    constexpr bool operator==(const Result&) const = default;
};

inline constexpr Result Success{};
inline constexpr Result FileSizeError{Outcome::WrongSize, 0};
inline constexpr Result FileFormatError{Outcome::WrongFormat, 0};
inline constexpr Result NotRegular{Outcome::NotRegularFile, 0};

} // namespace ConfigFile
