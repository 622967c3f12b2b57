#pragma once

#include "device/ExchangeOutcome.h"

#include <QByteArray>

// What the exchange engine needs of its surroundings: a way to put a frame on the
// line and to drop what is waiting on it, the reply timer, the guard timer, and the
// transfer events. TZorvexSettingsControl
// wires these to the serial port, a QTimer and its event members; tests and fuzz targets use a
// fake.
//
// All calls come from the thread that owns the link. Any of them may throw; the
// engine leaves its state consistent for the caller to end the exchange.
class ExchangeLink
{
public:
    virtual ~ExchangeLink() = default;

    // Writes the whole frame to the port (blocking).
    virtual void SendFrame(const QByteArray& frame) = 0;
    // Reads and drops whatever has been received and not yet handed to the engine, and
    // returns how many bytes that was (0: the line was quiet). The engine calls it before
    // every frame (nothing waiting then can be that frame's answer) and before it calls an
    // exchange a success.
    virtual int DiscardInput() = 0;
    // (Re)starts the single-shot reply timer at its full interval.
    virtual void StartReplyTimer() = 0;
    virtual void StopReplyTimer() = 0;
    // (Re)starts the single-shot guard timer: how long the line must stay quiet after a
    // retransmitted frame has been answered before the exchange goes on.
    virtual void StartGuardTimer() = 0;
    virtual void StopGuardTimer() = 0;

    virtual void TransferStarted() = 0;
    virtual void TransferEnded() = 0;
    // Percentage 0..100 of the image moved so far, or -1 when a frame is resent.
    virtual void TransferProgress(int percent) = 0;
    // An exchange that had to resend a frame is being confirmed: the engine waits for the
    // line to go quiet, then reads the dialer's image back (a write) or once more (a read,
    // a check). Progress that follows is the confirming read's.
    virtual void TransferConfirming(ConfigEvent event) = 0;
    // An exchange whose first frame went out has ended and its message has been given (a
    // read's image is in the settings by now): once per such exchange. A start that throws
    // tells its caller through the exception instead. Does nothing unless overridden.
    virtual void ExchangeDone(const ExchangeOutcome& outcome) { (void)outcome; }
};
