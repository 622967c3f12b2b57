#pragma once

// The serial-port component: one header for its users.
//
//   TComPort / TCustomComPort  the port: settings, Open/Close, WriteText/ReadText,
//                              handler slots (TCustomComPort.h)
//   TComTimeouts, TComFlowControl, TComParity, TComBuffer
//                              its settings groups, each with Assign and a
//                              back-reference to its port
//   TComThread                 the event monitor; when and how each of the ten line
//                              events is raised on Linux (TComThread.h)
//   EComPort                   every failure: code 1 .. 19, errno, Polish message
//   PortNames                  "COMn" and device paths; COMn -> device mapping
//   ComTypes                   the enumerations (br110 .. br1339, ...), sets, slot types
//
// Units: rates in bit/s, time-outs in ms (multipliers in ms per byte), sizes in bytes.
//
// Threads: a port belongs to the thread that constructed it; all calls come from there.
// Handlers run there too (unless SyncMethod is smNone), delivered through that thread's
// Qt event loop while the monitor waits.
//
// The dialer's line: Port "COMn", br1339, dbEight, prNone, sbOneStopBit, fcNone,
// ReadInterval -1 (reads return at once with what has arrived), the other time-outs at
// their defaults (a write of n bytes ends within 100 * n + 1000 ms).
//
// Line settings on Linux: the rate is set exactly with termios2/BOTHER (1339 included)
// and read back; a rate the driver does not keep raises code 7. The line is raw: no
// echo, no canonical mode, no signals, no CR/LF translation, no XON/XOFF unless asked
// for, no output processing; every byte value passes both ways untouched. DTR and RTS
// follow ControlDTR/ControlRTS (inactive by default); CLOCAL is set so that the carrier
// never blocks the line. Exclusive use: TIOCEXCL and flock(LOCK_EX) (the lock also
// holds against root, whom TIOCEXCL does not stop).
//
// Everything that calls the operating system sits behind the private ComBackend
// interface (ComBackend.h); the Linux backend is ComBackendPosix with PosixEventWaiter,
// PosixModemWatcher, PosixDoorbell and PosixTermios2. A Windows backend goes beside it.

#include "serial/ComTypes.h"
#include "serial/EComPort.h"
#include "serial/PortNames.h"
#include "serial/TComBuffer.h"
#include "serial/TComFlowControl.h"
#include "serial/TComParity.h"
#include "serial/TComPort.h"
#include "serial/TComThread.h"
#include "serial/TComTimeouts.h"
#include "serial/TCustomComPort.h"
