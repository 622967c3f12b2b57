#pragma once

#include "model/Exception.h"

// The emulated dialer could not set up its end of the line (no pseudo-terminal, no
// thread). The message is the Polish text the user reads.
class EEmulator : public Exception
{
public:
    using Exception::Exception;

    // The pseudo-terminal text with the system's reason (errno) filled in.
    static EEmulator FromErrno(int error);
};
