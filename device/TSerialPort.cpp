#include "device/TSerialPort.h"

TSerialPort::TSerialPort()
    : m_savedPort(Port()), m_savedBaudRate(BaudRate()), m_savedStopBits(StopBits()),
      m_savedDataBits(DataBits())
{
    // Until the first SaveSettings the saved copy is the component's defaults.
    m_savedParity.Assign(Parity());
    m_savedFlowControl.Assign(FlowControl());
}

TSerialPort::~TSerialPort()
{
    try {
        Close();
    } catch (...) {
        // The base class closes once more, without throwing.
    }
}

void TSerialPort::SaveSettings()
{
    m_savedPort = Port();
    m_savedBaudRate = BaudRate();
    m_savedStopBits = StopBits();
    m_savedParity.Assign(Parity());
    m_savedDataBits = DataBits();
    m_savedFlowControl.Assign(FlowControl());
}

void TSerialPort::Connect()
{
    SaveSettings();
    Open();
}

void TSerialPort::RestoreSettings()
{
    if (Connected())
        Close();
    SetPort(m_savedPort);
    SetBaudRate(m_savedBaudRate);
    SetStopBits(m_savedStopBits);
    SetParity(m_savedParity);
    SetDataBits(m_savedDataBits);
    SetFlowControl(m_savedFlowControl);
    try {
        Open();
    } catch (const EComPort&) {
        // Opened but failed in its notifications: still leave the port closed.
        if (Connected())
            Close();
        return;
    }
    ApplyLineSettings();
    Close();
}

int TSerialPort::DiscardInput()
{
    if (!Connected())
        return 0;
    // Bounded: a line that never stops babbling must not hold the caller for ever.
    QByteArray dropped;
    int count = 0;
    try {
        for (int round = 0; round < 16 && ReadText(dropped, 4096) > 0; ++round)
            count += int(dropped.size());
    } catch (const EComPort&) {
        // Nothing can be waiting on a line that has gone away; the write that follows
        // reports it.
    }
    return count;
}

void TSerialPort::Disconnect()
{
    Close();
    RestoreSettings();
}
