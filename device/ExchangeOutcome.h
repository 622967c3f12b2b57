#pragma once

#include <QString>

#include <cstdint>
#include <exception>

// Which exchange with the dialer ended. A check read (verifying the dialer against the
// configuration) is a read that leaves the configuration alone.
enum class ExchangeKind : std::uint8_t
{
    Read,
    Verify,
    Write,
    Restart,
};

// How an exchange ended, told once per exchange after its message has been taken in
// (and, for a read, after the image has been copied).
struct ExchangeOutcome
{
    ExchangeKind operation = ExchangeKind::Read;
    bool succeeded = false;
    // A failure in the user's words ("Błędy w transmisji RS lub Dialer nie odpowiada",
    // a port error's message); empty after a success.
    QString message;
};

// An error's message as the user reads it (our Exception's text, any other exception's
// what()); empty for an exception that carries none.
QString ErrorText(std::exception_ptr error);
