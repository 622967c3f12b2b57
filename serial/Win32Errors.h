#pragma once

// Private: what the Win32 serial backend and port discovery make of the system's error
// codes. Pure; any thread.

#include "serial/Win32Types.h"

#include <QString>

namespace Win32Errors {

// A transfer or query failed because the line has gone away (a USB adapter pulled out:
// its driver fails every call on the handle from then on), not because of this one call.
bool IsLineGone(DWORD error);

// A modem-status query failed because the device has no modem lines (a pseudo-terminal
// under Wine, some virtual ports): its signals read as off, as on Linux.
bool IsNoModemLines(DWORD error);

// Why a port cannot be opened, in the user's words: in use, no such device; empty for 0
// and for codes that have no words of ours (the caller then gives the system's text).
QString OpenProblem(DWORD error);

} // namespace Win32Errors
