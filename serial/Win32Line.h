#pragma once

// Private: the records the Win32 serial backend hands to the system, made from the
// port's settings. Pure; any thread.

#include "serial/ComBackend.h"
#include "serial/Win32Types.h"

namespace Win32Line {

// The whole record, from nothing but line: the fields no setting governs (EofChar, the
// reserved ones) are zero, as the system wants them in binary mode.
DCB DcbOf(const ComLineSettings& line);

COMMTIMEOUTS TimeoutsOf(const ComTimeoutSettings& timeouts);

// The four signals of a GetCommModemStatus word.
ComModemSignals ModemSignalsOf(DWORD status);

} // namespace Win32Line
