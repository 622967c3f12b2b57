#pragma once

#include "model/ConfigEvent.h"

#include <QString>

#include <exception>

// How an exchange ended, told once per exchange after its message has been taken in
// (and, for a read, after the image has been copied).
struct ExchangeOutcome
{
    // Read, Verify (a read that leaves the configuration alone), Write or Restart.
    ConfigEvent event = ConfigEvent::Read;
    bool succeeded = false;
    // The port failed (it could not be opened, or the adapter went away): the line, not
    // the dialer, is what the user must look at.
    bool portFailed = false;
    // A failure in the user's words ("Błędy w transmisji RS lub Dialer nie odpowiada",
    // a port error's message); empty after a success.
    QString message;
};

// An error's message as the user reads it (our Exception's text, any other exception's
// what()); empty for an exception that carries none.
QString ErrorText(std::exception_ptr error);
// How an exchange that error broke off ended: failed, with the error's message, and
// portFailed when it is the serial port's own error.
ExchangeOutcome BrokenOutcome(ConfigEvent event, std::exception_ptr error);
