#pragma once

// Private to the serial-port component: what the port needs of the operating system.
// One implementation per platform (ComBackendPosix now), chosen by CMake; nothing
// outside serial/ includes this header.

#include "serial/ComTypes.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// The line state the port governs, field for field the platform-neutral part of a
// Windows DCB, filled by TCustomComPort::ApplyLineSettings. The enumerations' order is
// the DCB's own coding (dtrDisable 0 .. dtrHandshake 2, prNone 0 .. prSpace 4, ...), so a
// Windows backend passes them on; dataBits is the DCB's ByteSize minus 5.
struct ComLineSettings
{
    std::uint32_t baudRate = 9600; // bit/s
    bool binary = true;
    bool parityCheck = false; // the receiver checks parity
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    TDTRFlowControl dtrControl = dtrDisable;
    bool dsrSensitivity = false;
    bool txContinueOnXoff = false;
    bool outX = false;      // XON/XOFF on transmit
    bool inX = false;       // XON/XOFF on receive
    bool errorChar = false; // replace bytes with parity errors by errorCharValue
    bool discardNull = false;
    TRTSFlowControl rtsControl = rtsDisable;
    std::uint16_t xonLim = 0;
    std::uint16_t xoffLim = 0;
    TDataBits dataBits = dbEight;
    TParityBits parity = prNone;
    TStopBits stopBits = sbOneStopBit;
    std::uint8_t xonChar = 17;
    std::uint8_t xoffChar = 19;
    std::uint8_t errorCharValue = 0;
    std::uint8_t eventChar = 0;
};

// Time-outs as the platform takes them (ms, ms per byte); 0xFFFFFFFF is "all ones".
struct ComTimeoutSettings
{
    std::uint32_t readInterval = 0xFFFFFFFFu;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 100;
    std::uint32_t writeTotalConstant = 1000;
};

struct ComModemSignals
{
    bool cts = false;
    bool dsr = false;
    bool ring = false;
    bool rlsd = false;
};

// Bits of an event word (the Windows values, so a Windows backend passes its word on).
namespace ComEventBit {
inline constexpr std::uint32_t RxChar = 0x0001;
inline constexpr std::uint32_t RxFlag = 0x0002;
inline constexpr std::uint32_t TxEmpty = 0x0004;
inline constexpr std::uint32_t CTS = 0x0008;
inline constexpr std::uint32_t DSR = 0x0010;
inline constexpr std::uint32_t RLSD = 0x0020;
inline constexpr std::uint32_t Break = 0x0040;
inline constexpr std::uint32_t Err = 0x0080;
inline constexpr std::uint32_t Ring = 0x0100;
inline constexpr std::uint32_t Rx80Full = 0x0400;
// The event word bits of a set of events (all ten: 0x05FF).
std::uint32_t MaskOf(TComEvents events);
} // namespace ComEventBit

// Line-error flags (the Windows values).
namespace ComErrorFlag {
inline constexpr std::uint32_t RxOver = 0x0001;
inline constexpr std::uint32_t Overrun = 0x0002;
inline constexpr std::uint32_t RxParity = 0x0004;
inline constexpr std::uint32_t Frame = 0x0008;
inline constexpr std::uint32_t Break = 0x0010;
inline constexpr std::uint32_t TxFull = 0x0100;
inline constexpr std::uint32_t IOE = 0x0400;
inline constexpr std::uint32_t Mode = 0x8000;
// The TComErrors of a set of flags; parity errors count only with parityCheck.
TComErrors ToComErrors(std::uint32_t flags, bool parityCheck);
} // namespace ComErrorFlag

// Waits for line events for one monitor.
class ComEventWaiter
{
public:
    enum class Outcome
    {
        Events,  // word holds the events seen (only those of the mask; may be 0)
        Stopped, // Stop was called (wins over events seen at the same time)
        Ended    // the line went away or the wait failed: the monitor must end
    };

    virtual ~ComEventWaiter() = default;
    // Monitor thread. Blocks without a time limit. word is set afresh on every call.
    virtual Outcome Wait(std::uint32_t& word) = 0;
    // Any thread; the current or next Wait returns Stopped.
    virtual void Stop() = 0;
};

// The open device. Every operation returns 0 or the platform error code (errno).
// Operations are called on the port's owning thread, except those noted.
class ComBackend
{
public:
    virtual ~ComBackend() = default;

    // Exclusive, non-blocking; fails when missing, in use, or not a terminal.
    virtual int Open(const QString& device) = 0;
    // Nothing when not open.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual int SetLine(const ComLineSettings& line) = 0;
    // The rate the driver really put on the line after SetLine (bit/s), which may be
    // the nearest it can make; 0 when the platform cannot tell.
    virtual int ActualRate(std::uint32_t& bitsPerSecond)
    {
        bitsPerSecond = 0;
        return 0;
    }
    virtual int SetTimeouts(const ComTimeoutSettings& timeouts) = 0;
    virtual int SetQueueSizes(std::int32_t input, std::int32_t output) = 0;

    // Whether error, from a transfer, means the line has gone away (a USB adapter pulled
    // out, the far end of a pseudo-terminal closed) rather than a fault of this one call.
    virtual bool IsLineGone(int error) const
    {
        (void)error;
        return false;
    }

    // Aborts transfers still running (0 when the line has gone away: nothing is left).
    virtual int AbortTransfers() = 0;
    // Discards both queues. Also the monitor thread.
    virtual int ClearQueues() = 0;

    // Bounded by the write time-outs; written < size when they ran out.
    virtual int Write(const char* data, int size, int& written) = 0;
    // Bounded by the read time-outs.
    virtual int Read(char* data, int size, int& got) = 0;

    // These three: owning thread, or the monitor thread under smNone.
    virtual int ReceiveCount(int& count) = 0;
    // Line-error flags (ComErrorFlag) since the last call; resets them.
    virtual int TakeErrors(std::uint32_t& flags) = 0;
    // Signals the device cannot report read as off.
    virtual int ModemStatus(ComModemSignals& lines) = 0;

    // A waiter for the events of mask (ComEventBit); nullptr with error set on failure.
    virtual std::unique_ptr<ComEventWaiter> CreateEventWaiter(std::uint32_t mask, int& error) = 0;
};

std::unique_ptr<ComBackend> CreateComBackend();

// Wakes the owning thread's event loop from any thread. The monitor hands words over
// through its own locked slot and only rings here, so nothing allocated on one thread
// travels through the event queue to the other.
class ComDoorbell
{
public:
    virtual ~ComDoorbell() = default;
    // Any thread.
    virtual void Ring() = 0;
};

// Owning thread, with its event loop's dispatcher in place. onRing runs on that thread
// from its event loop, at least once after every Ring.
std::unique_ptr<ComDoorbell> CreateComDoorbell(std::function<void()> onRing);
