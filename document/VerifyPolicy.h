#pragma once

#include <optional>

// The user's answer to "verify the write by reading the dialer back?".
struct VerifyChoice
{
    bool verify = false; // read back now
    bool keep = false;   // do the same from now on without asking
};

// Whether a good write is checked by reading the dialer back. ConfigDocument consults it
// after every good write; the program answers from its settings file and by asking the
// user, tests with preset answers. Called on the thread that owns the document.
class VerifyAfterWritePolicy
{
public:
    virtual ~VerifyAfterWritePolicy() = default;

    // The kept choice: true verify every time, false never, nullopt ask each time.
    virtual std::optional<bool> Kept() = 0;
    // Asks the user (modal); the write's message has been taken in by then.
    virtual VerifyChoice Ask() = 0;
    // Keeps verify as the choice for the writes to come. May throw (a settings file that
    // cannot be written): the error is reported and the check still runs as answered.
    virtual void Keep(bool verify) = 0;
};
