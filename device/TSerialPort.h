#pragma once

#include "serial/CPort.h"

#include <QString>

// The dialer link's port: the port component plus a saved copy of its line settings,
// so that the line can be put back as it was after an exchange.
//
// Owner thread only, like every port (see TCustomComPort.h).
class TSerialPort : public TComPort
{
public:
    TSerialPort();
    // Closes the port if it is open (never throws).
    ~TSerialPort() override;

    // Copies the live port name, baud rate, stop bits, parity, data bits and flow
    // control into the saved copy.
    void SaveSettings();
    // SaveSettings, then Open (an open port stays open, unchanged). Open's EComPort
    // goes on to the caller.
    void Connect();
    // Closes an open port, puts the saved settings back (name, rate, stop bits,
    // parity, data bits, flow control, in that order), then opens the port, applies the
    // line settings once more and closes it. A port that cannot be opened is no error
    // here: the method ends with the port closed.
    void RestoreSettings();
    // Close, then RestoreSettings.
    void Disconnect();
    // Reads and drops every received byte that is waiting (nothing when closed) and
    // returns how many there were. Needs the read-interval time-out of -1, so that a read
    // returns at once. A delivery of those bytes already on its way then finds nothing,
    // or only newer bytes.
    int DiscardInput();

private:
    QString m_savedPort;
    TBaudRate m_savedBaudRate;
    TStopBits m_savedStopBits;
    TComParity m_savedParity;
    TDataBits m_savedDataBits;
    TComFlowControl m_savedFlowControl;
};
