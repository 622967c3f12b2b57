#include "serial/Win32Line.h"

namespace Win32Line {

DCB DcbOf(const ComLineSettings& line)
{
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    // Any integer rate goes as it is: the dialer's 1339 bit/s is not one of the CBR_ values.
    dcb.BaudRate = line.baudRate;
    dcb.fBinary = line.binary;
    dcb.fParity = line.parityCheck;
    dcb.fOutxCtsFlow = line.outxCtsFlow;
    dcb.fOutxDsrFlow = line.outxDsrFlow;
    // The enumerations are coded as the record codes them (see ComLineSettings).
    dcb.fDtrControl = DWORD(line.dtrControl);
    dcb.fDsrSensitivity = line.dsrSensitivity;
    dcb.fTXContinueOnXoff = line.txContinueOnXoff;
    dcb.fOutX = line.outX;
    dcb.fInX = line.inX;
    dcb.fErrorChar = line.errorChar;
    dcb.fNull = line.discardNull;
    dcb.fRtsControl = DWORD(line.rtsControl);
    dcb.fAbortOnError = 0; // a line error must not stop every transfer until it is read
    dcb.XonLim = line.xonLim;
    dcb.XoffLim = line.xoffLim;
    dcb.ByteSize = BYTE(5 + int(line.dataBits));
    dcb.Parity = BYTE(line.parity);
    dcb.StopBits = BYTE(line.stopBits);
    dcb.XonChar = char(line.xonChar);
    dcb.XoffChar = char(line.xoffChar);
    dcb.ErrorChar = char(line.errorChar ? line.errorCharValue : 0);
    dcb.EvtChar = char(line.eventChar);
    return dcb;
}

COMMTIMEOUTS TimeoutsOf(const ComTimeoutSettings& timeouts)
{
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = timeouts.readInterval;
    t.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
    t.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
    t.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
    t.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
    return t;
}

ComModemSignals ModemSignalsOf(DWORD status)
{
    ComModemSignals lines;
    lines.cts = status & MS_CTS_ON;
    lines.dsr = status & MS_DSR_ON;
    lines.ring = status & MS_RING_ON;
    lines.rlsd = status & MS_RLSD_ON;
    return lines;
}

} // namespace Win32Line
