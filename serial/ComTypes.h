#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

class TCustomComPort;

// Enumerations of the serial-port component. The order of the values is part of the
// interface: it indexes the rate table, the platform codes and the settings texts.

enum TBaudRate
{
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
    br1339 // the dialer's own rate; not a standard one, so the line sets it exactly
};

enum TStopBits
{
    sbOneStopBit,
    sbOne5StopBits,
    sbTwoStopBits
};
enum TDataBits
{
    dbFive,
    dbSix,
    dbSeven,
    dbEight
};
enum TParityBits
{
    prNone,
    prOdd,
    prEven,
    prMark,
    prSpace
};
enum TDTRFlowControl
{
    dtrDisable,
    dtrEnable,
    dtrHandshake
};
enum TRTSFlowControl
{
    rtsDisable,
    rtsEnable,
    rtsHandshake,
    rtsToggle
};
enum TFlowControl
{
    fcHardware,
    fcSoftware,
    fcNone,
    fcCustom
};

enum TComEvent
{
    evRxChar,
    evTxEmpty,
    evRxFlag,
    evRing,
    evBreak,
    evCTS,
    evDSR,
    evError,
    evRLSD,
    evRx80Full
};

// Line-error kinds reported by OnError.
enum TComError
{
    erFrame,
    erParity,
    erOverrun,
    erBreak,
    erIO,
    erMode,
    erRxOver,
    erTxFull
};

// How the event monitor reaches the handlers (see TComThread.h).
enum TSyncMethod
{
    smThreadSync,
    smWindowSync,
    smNone
};

// The groups of the settings text form (TCustomComPort::StoreSettings / LoadSettings).
enum TStoredProp
{
    spBasic,
    spFlowControl,
    spBuffer,
    spTimeouts,
    spParity,
    spOthers
};

// A small set of enumeration values: element i is bit i of Bits().
template <typename E, int N> class TComSet
{
public:
    static constexpr int Size = N;

    constexpr TComSet() = default;
    constexpr TComSet(std::initializer_list<E> items)
    {
        for (E e : items)
            m_bits |= Bit(e);
    }
    static constexpr TComSet FromBits(std::uint32_t bits)
    {
        TComSet s;
        s.m_bits = bits & AllBits();
        return s;
    }
    static constexpr TComSet All() { return FromBits(AllBits()); }

    constexpr std::uint32_t Bits() const { return m_bits; }
    constexpr bool Contains(E e) const { return (m_bits & Bit(e)) != 0; }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    constexpr TComSet& Include(E e)
    {
        m_bits |= Bit(e);
        return *this;
    }
    constexpr TComSet& Exclude(E e)
    {
        m_bits &= ~Bit(e);
        return *this;
    }
    constexpr TComSet operator|(TComSet other) const { return FromBits(m_bits | other.m_bits); }
    constexpr bool operator==(const TComSet&) const = default;

private:
    static constexpr std::uint32_t AllBits() { return (std::uint32_t(1) << N) - 1; }
    static constexpr std::uint32_t Bit(E e) { return std::uint32_t(1) << int(e); }

    std::uint32_t m_bits = 0;
};

using TComEvents = TComSet<TComEvent, 10>;
using TComErrors = TComSet<TComError, 8>;
using TStoredProps = TComSet<TStoredProp, 6>;

// Line speed of a TBaudRate in bits per second (110 .. 256000; br1339 gives 1339).
int BaudRateValue(TBaudRate rate);

// Handler slots. The sender is always the port that raised the event. Unless the port's
// SyncMethod is smNone, every handler runs on the thread that owns the port.
using TNotifyEvent = std::function<void(TCustomComPort* sender)>;
// count: bytes waiting in the receive queue when the event was seen, at least 1.
using TRxCharEvent = std::function<void(TCustomComPort* sender, int count)>;
// Never raised by this component; kept so that a port can be hooked like any other.
using TRxBufEvent =
    std::function<void(TCustomComPort* sender, const std::uint8_t* buffer, int count)>;
// onOff: the signal's new state.
using TComSignalEvent = std::function<void(TCustomComPort* sender, bool onOff)>;
using TComErrorEvent = std::function<void(TCustomComPort* sender, TComErrors errors)>;
