#pragma once

#include "model/Exception.h"

#include <cstdint>
#include <string>

// Every failure of the serial port. The message is the Polish text of the code, followed
// by " (win error code: %d)" with the operating system's error code when there is one
// (errno on Linux); WinCode() is then that code, otherwise -1.
class EComPort : public Exception
{
public:
    // Codes 1 .. 19. Those marked "unused" are never raised by this component.
    static constexpr int CodeOpen = 1;           // the device cannot be opened
    static constexpr int CodeWrite = 2;          // WriteText: start or completion failed
    static constexpr int CodeRead = 3;           // ReadText: start or completion failed
    static constexpr int CodeNoTransfer = 4;     // a wait without a transfer record
    static constexpr int CodePurge = 5;          // Close: aborting transfers failed
    static constexpr int CodeAsyncState = 6;     // unused
    static constexpr int CodeLineSettings = 7;   // ApplyLineSettings
    static constexpr int CodeTimeouts = 8;       // ApplyTimeouts
    static constexpr int CodeQueueSizes = 9;     // ApplyBufferSizes
    static constexpr int CodeReceiveCount = 10;  // receive count or line errors
    static constexpr int CodeModemStatus = 11;   // modem signals
    static constexpr int CodeEscape = 12;        // unused
    static constexpr int CodeTransmitChar = 13;  // unused
    static constexpr int CodeSyncMethod = 14;    // SetSyncMethod while open
    static constexpr int CodeEnumPorts = 15;     // unused
    static constexpr int CodeStoreSettings = 16; // unused
    static constexpr int CodeLoadSettings = 17;  // unused
    static constexpr int CodeTerminal = 18;      // unused
    static constexpr int CodeLedState = 19;      // unused

    // winCode -1: no operating-system code.
    explicit EComPort(int code, int winCode = -1);
    // Code 7 (line settings) when the driver put another rate on the line than asked
    // for, farther off than the line can take (LineRate.h); bit/s. No operating-system
    // code: the message names both rates.
    static EComPort RateNotKept(std::uint32_t asked, std::uint32_t actual);
    // A transfer (code 2 or 3) that failed because the line has gone away: the code's
    // message, then on a line of its own what the user can do about it.
    static EComPort LineGone(int code, int winCode);

    int Code() const { return m_code; }
    int WinCode() const { return m_winCode; }

    // The message for a code (UTF-8); an unknown code gives an empty entry.
    static std::string MessageFor(int code, int winCode = -1);

private:
    EComPort(int code, int winCode, const std::string& message);

    int m_code;
    int m_winCode;
};
