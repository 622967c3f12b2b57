#pragma once

#include "device/ExchangeOutcome.h"

#include <QByteArray>

// What the exchange engine needs of its surroundings: a way to put a frame on the
// line, the reply timer, the guard timer, and the three transfer events. TZorvexSettingsControl
// wires these to the serial port, a QTimer and its event members; tests and fuzz targets use a
// fake.
//
// All calls come from the thread that owns the link. Any of them may throw; the
// engine leaves its state consistent for the caller to end the exchange.
class ExchangeLink
{
public:
    virtual ~ExchangeLink() = default;

    // Discards whatever has been received and not yet handed to the engine (nothing
    // waiting before a frame can be its answer), then writes the whole frame to the port
    // (blocking).
    virtual void SendFrame(const QByteArray& frame) = 0;
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
    // An exchange whose first frame went out has ended and its message has been given (a
    // read's image is in the settings by now): once per such exchange. A start that throws
    // tells its caller through the exception instead. Does nothing unless overridden.
    virtual void ExchangeDone(const ExchangeOutcome& outcome) { (void)outcome; }
};
