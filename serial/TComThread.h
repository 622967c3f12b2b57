#pragma once

#include "serial/ComTypes.h"

#include <cstdint>
#include <memory>
#include <thread>

class TCustomComPort;
class ComEventWaiter;
struct ComDelivery;

// The event monitor of an open port: one thread, blocked in the kernel until a line
// event comes or it is told to stop (never a timed poll). It exists from Open to Close,
// only when the port's Events() were not empty at Open.
//
// One wakeup gives one event word; its events are handled in this fixed order, each only
// when it is in the word and in Events():
//   1. evRxChar    OnRxChar(count) when bytes are waiting (count = bytes waiting, >= 1);
//                  an arrival whose bytes a handler has already read raises nothing
//   2. evTxEmpty   OnTxEmpty
//   3. evBreak     OnBreak
//   4. evRing      OnRing
//   5. evCTS       OnCTSChange(CTS now)
//   6. evDSR       OnDSRChange(DSR now)
//   7. evRxFlag    OnRxFlag
//   8. evRLSD      OnRLSDChange(carrier detect now)
//   9. evError     OnError(errors since the last report), also with an empty set
//  10. evRx80Full  OnRx80Full
//
// How Linux shows each event:
//   evRxChar    the device becoming readable (epoll, edge-triggered: one wakeup per
//               arrival); the count is FIONREAD.
//   evTxEmpty   after a WriteText, the first wakeup at which the driver's transmit queue
//               (TIOCOUTQ) is empty: drivers wake writers as their queue drains, and
//               WriteText wakes the monitor itself when the queue is empty at once (as on
//               pseudo-terminals, which hand bytes straight to the other side).
//   evRing, evCTS, evDSR, evRLSD
//               modem-signal changes, only where the driver can wait for them (TIOCMIWAIT
//               and TIOCGICOUNT: UARTs and most USB adapters). A helper thread then
//               waits in that call and wakes the monitor; the change counters decide
//               which events are raised (evRing on a completed ring pulse). Pseudo-
//               terminals have no modem signals: their modem-status calls fail with
//               ENOTTY, read as every signal off, and these events never come.
//   evBreak, evError
//               the driver's break and error counters (TIOCGICOUNT) having grown when
//               bytes arrive: break, frame, parity, overrun, receive-queue overrun.
//               erParity is reported only while Parity().Check(); erIO, erMode and
//               erTxFull do not exist on Linux. Not raised where the driver keeps no
//               counters (pseudo-terminals).
//   evRxFlag    never: Linux cannot look at waiting bytes without taking them away from
//               ReadText, so it cannot see the EventChar() byte arrive.
//   evRx80Full  an arrival that brings the bytes waiting from below to at least 80
//               percent of Buffer().InputSize() (once per crossing).
//
// The line going away (hang-up: a USB adapter pulled out, a pseudo-terminal's other
// side closed) ends the monitor at once; the next WriteText or ReadText raises its
// EComPort, Close works, and a later Open starts afresh. A wait that fails for any
// other reason also ends the monitor: it never spins and never delivers a stale word.
//
// Delivery (the port's SyncMethod at Open):
//   smThreadSync  the whole word is handled on the owning thread, one word at a time;
//                 the monitor waits until it has been. The owning thread runs it from
//                 its event loop (also a modal dialog's), or inside Close, whichever
//                 comes first, exactly once; so Close never deadlocks against it.
//   smWindowSync  as smThreadSync, but each event of the word is handed over on its own.
//   smNone        handled on the monitor thread; handlers run there.
// An exception escaping a handler (or code 10/11 while reading the port's state) goes
// to ErrorSink::Report on the owning thread, once; the rest of that word is dropped and
// the monitor goes on with the next one. Bytes that arrive while a word is being handled stay
// waiting and come with the next evRxChar (unless a handler has read them). When the monitor ends,
// bytes nobody has read are discarded.
class TComThread
{
public:
    // Owner thread (Open). Starts the thread; EComPort code 1 with errno when the
    // operating system refuses the wait objects or the thread.
    explicit TComThread(TCustomComPort& port);
    // Stop, then wait until the thread has ended, carrying out on this thread a delivery
    // the monitor has already asked for. Owner thread.
    ~TComThread();
    TComThread(const TComThread&) = delete;
    TComThread& operator=(const TComThread&) = delete;

    // Tells the monitor to end; returns at once. Any thread.
    void Stop();
    // The owning thread's side of a hand-over: carries out the word waiting for it and
    // reports errors raised on the monitor thread (smNone). A handler may destroy this
    // monitor meanwhile (by closing the port); nothing of it is touched afterwards.
    void AnswerDoorbell();

    // Event words handed to an owning thread so far, by every monitor of the process
    // (tests use it to know that a delivery is waiting). Any thread.
    static std::uint64_t HandOvers();

private:
    void Run();
    void Deliver(std::uint32_t word);
    void HandOver(std::uint32_t word);
    static void RunPending(ComDelivery& delivery);
    static void Process(ComDelivery& delivery, std::uint32_t word);
    static void ProcessReporting(ComDelivery& delivery, std::uint32_t word, bool onOwner);
    static void ReportErrors(ComDelivery& delivery);

    TCustomComPort& m_port;
    TSyncMethod m_syncMethod;
    std::shared_ptr<ComDelivery> m_delivery;
    std::unique_ptr<ComEventWaiter> m_waiter;
    std::thread m_thread;
};
