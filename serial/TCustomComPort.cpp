#include "serial/TCustomComPort.h"

#include "model/ErrorSink.h"
#include "serial/ComBackend.h"
#include "serial/EComPort.h"
#include "serial/LineRate.h"
#include "serial/PortNames.h"
#include "serial/TComThread.h"

#include <cerrno>

TCustomComPort::TCustomComPort() : TCustomComPort(CreateComBackend()) {}

TCustomComPort::TCustomComPort(std::unique_ptr<ComBackend> backend) : m_backend(std::move(backend))
{}

TCustomComPort::~TCustomComPort()
{
    // By now the parts of a derived port are gone, and with them whatever its handlers
    // use: closing here raises no notifications. A derived port that wants them closes
    // in its own destructor.
    OnRxChar = nullptr;
    OnRxBuf = nullptr;
    OnTxEmpty = nullptr;
    OnBreak = nullptr;
    OnRing = nullptr;
    OnCTSChange = nullptr;
    OnDSRChange = nullptr;
    OnRLSDChange = nullptr;
    OnError = nullptr;
    OnRxFlag = nullptr;
    OnOpen = nullptr;
    OnClose = nullptr;
    OnRx80Full = nullptr;
    try {
        Close();
    } catch (...) {
        ErrorSink::Report(std::current_exception());
    }
    // Close refused (the transfers could not be aborted): the port goes anyway.
    if (m_connected) {
        StopMonitor();
        CloseDevice();
        m_connected = false;
    }
}

void TCustomComPort::Open()
{
    if (m_connected)
        return;
    OpenDevice();
    m_connected = true;
    ++m_openCount;
    try {
        ApplySettings();
        m_threadCreated = !m_events.IsEmpty();
        if (m_threadCreated) {
            if (!m_doorbell)
                m_doorbell = CreateComDoorbell([this] { AnswerDoorbell(); });
            m_thread = std::make_unique<TComThread>(*this);
        }
    } catch (...) {
        m_threadCreated = false;
        CloseDevice();
        m_connected = false;
        throw;
    }

    NotifyOpen();
    ComModemSignals modem;
    if (int error = m_backend->ModemStatus(modem))
        throw EComPort(EComPort::CodeModemStatus, error);
    NotifyCTSChange(modem.cts);
    NotifyDSRChange(modem.dsr);
    NotifyRLSDChange(modem.rlsd);
}

void TCustomComPort::Close()
{
    // A handler run by the monitor's last delivery may call Close again: the outer
    // Close finishes the job.
    if (!m_connected || m_closing)
        return;
    if (int error = m_backend->AbortTransfers())
        throw EComPort(EComPort::CodePurge, error);
    m_closing = true;
    StopMonitor();
    CloseDevice();
    m_connected = false;
    m_closing = false;

    NotifyCTSChange(false);
    NotifyDSRChange(false);
    NotifyRLSDChange(false);
    NotifyClose();
}

void TCustomComPort::StopMonitor()
{
    m_thread.reset(); // waits for the thread, handling a delivery it has asked for
    m_threadCreated = false;
}

void TCustomComPort::AnswerDoorbell()
{
    // A ring may outlive the monitor that rang: the current one then finds nothing.
    if (m_thread)
        m_thread->AnswerDoorbell();
}

void TCustomComPort::SetConnected(bool value)
{
    if (value == m_connected)
        return;
    if (value)
        Open();
    else
        Close();
}

void TCustomComPort::OpenDevice()
{
    const QString device = PortNames::DevicePath(m_port, PortNames::CurrentLookup());
    if (int error = m_backend->Open(device))
        throw EComPort(EComPort::CodeOpen, error);
}

void TCustomComPort::CloseDevice()
{
    m_backend->Close();
}

int TCustomComPort::WriteText(const QByteArray& text)
{
    if (!m_backend->IsOpen())
        throw EComPort(EComPort::CodeWrite, EBADF);
    int written = 0;
    if (int error = m_backend->Write(text.constData(), int(text.size()), written))
        throw TransferError(EComPort::CodeWrite, error);
    return written;
}

int TCustomComPort::ReadText(QByteArray& text, int count)
{
    text.clear();
    if (!m_backend->IsOpen())
        throw EComPort(EComPort::CodeRead, EBADF);
    if (count <= 0)
        return 0;
    text.resize(count);
    int got = 0;
    if (int error = m_backend->Read(text.data(), count, got)) {
        text.clear();
        throw TransferError(EComPort::CodeRead, error);
    }
    text.resize(got);
    if (m_discardNull)
        text.replace(QByteArray(1, '\0'), QByteArray());
    return int(text.size());
}

EComPort TCustomComPort::TransferError(int code, int error) const
{
    return m_backend->IsLineGone(error) ? EComPort::LineGone(code, error) : EComPort(code, error);
}

// --- Setters -------------------------------------------------------------------------

void TCustomComPort::SetBaudRate(TBaudRate value)
{
    if (value == m_baudRate)
        return;
    m_baudRate = value;
    ApplyLineSettings();
}

void TCustomComPort::SetPort(const QString& value)
{
    const QString name = PortNames::NormalizePortName(value);
    if (name == m_port)
        return;
    m_port = name;
    if (m_connected) {
        Close();
        Open();
    }
}

void TCustomComPort::SetStopBits(TStopBits value)
{
    if (value == m_stopBits)
        return;
    m_stopBits = value;
    ApplyLineSettings();
}

void TCustomComPort::SetDataBits(TDataBits value)
{
    if (value == m_dataBits)
        return;
    m_dataBits = value;
    ApplyLineSettings();
}

void TCustomComPort::SetDiscardNull(bool value)
{
    if (value == m_discardNull)
        return;
    m_discardNull = value;
    ApplyLineSettings();
}

void TCustomComPort::SetEventChar(std::uint8_t value)
{
    if (value == m_eventChar)
        return;
    m_eventChar = value;
    ApplyLineSettings();
}

void TCustomComPort::SetEvents(TComEvents value)
{
    m_events = value;
}

void TCustomComPort::SetSyncMethod(TSyncMethod value)
{
    if (value == m_syncMethod)
        return;
    if (m_connected)
        throw EComPort(EComPort::CodeSyncMethod);
    m_syncMethod = value;
}

void TCustomComPort::SetParity(const TComParity& value)
{
    m_parity.Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(const TComTimeouts& value)
{
    m_timeouts.Assign(value);
    ApplyTimeouts();
}

void TCustomComPort::SetFlowControl(const TComFlowControl& value)
{
    m_flowControl.Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetBuffer(const TComBuffer& value)
{
    m_buffer.Assign(value);
    ApplyBufferSizes();
}

// --- Applying settings ---------------------------------------------------------------

void TCustomComPort::ApplySettings()
{
    ApplyLineSettings();
    ApplyTimeouts();
    ApplyBufferSizes();
}

void TCustomComPort::ApplyLineSettings()
{
    if (!m_connected)
        return;
    ComLineSettings line;
    line.baudRate = std::uint32_t(BaudRateValue(m_baudRate));
    line.binary = true;
    line.parityCheck = m_parity.Check();
    line.outxCtsFlow = m_flowControl.OutCTSFlow();
    line.outxDsrFlow = m_flowControl.OutDSRFlow();
    line.dtrControl = m_flowControl.ControlDTR();
    line.dsrSensitivity = m_flowControl.DSRSensitivity();
    line.txContinueOnXoff = m_flowControl.TxContinueOnXoff();
    line.outX = m_flowControl.XonXoffOut();
    line.inX = m_flowControl.XonXoffIn();
    line.errorChar = m_parity.Check() && m_parity.Replace();
    line.discardNull = m_discardNull;
    line.rtsControl = m_flowControl.ControlRTS();
    line.xonLim = std::uint16_t(m_buffer.InputSize() / 4);
    line.xoffLim = line.xonLim;
    line.dataBits = m_dataBits;
    line.parity = m_parity.Bits();
    line.stopBits = m_stopBits;
    line.xonChar = m_flowControl.XonChar();
    line.xoffChar = m_flowControl.XoffChar();
    line.errorCharValue = line.errorChar ? m_parity.ReplaceChar() : 0;
    line.eventChar = m_eventChar;
    if (int error = m_backend->SetLine(line))
        throw EComPort(EComPort::CodeLineSettings, error);
    // Drivers that cannot make a rate put their nearest one on the line without an error
    // (some USB adapters round 1339 to 1200): on such a line every frame is garbage.
    std::uint32_t actual = 0;
    if (int error = m_backend->ActualRate(actual))
        throw EComPort(EComPort::CodeLineSettings, error);
    if (!LineRate::Kept(line.baudRate, actual))
        throw EComPort::RateNotKept(line.baudRate, actual);
}

void TCustomComPort::ApplyTimeouts()
{
    if (!m_connected)
        return;
    ComTimeoutSettings t;
    t.readInterval = std::uint32_t(m_timeouts.ReadInterval());
    t.readTotalMultiplier = std::uint32_t(m_timeouts.ReadTotalMultiplier());
    t.readTotalConstant = std::uint32_t(m_timeouts.ReadTotalConstant());
    t.writeTotalMultiplier = std::uint32_t(m_timeouts.WriteTotalMultiplier());
    t.writeTotalConstant = std::uint32_t(m_timeouts.WriteTotalConstant());
    if (int error = m_backend->SetTimeouts(t))
        throw EComPort(EComPort::CodeTimeouts, error);
}

void TCustomComPort::ApplyBufferSizes()
{
    if (!m_connected)
        return;
    if (int error = m_backend->SetQueueSizes(m_buffer.InputSize(), m_buffer.OutputSize()))
        throw EComPort(EComPort::CodeQueueSizes, error);
}

void TCustomComPort::SetPortNameLookup(std::function<QString(const QString&)> lookup)
{
    PortNames::SetLookup(std::move(lookup));
}

// --- Event raisers -------------------------------------------------------------------

void TCustomComPort::NotifyClose()
{
    if (OnClose)
        OnClose(this);
}

void TCustomComPort::NotifyOpen()
{
    if (OnOpen)
        OnOpen(this);
}

void TCustomComPort::NotifyRxChar(int count)
{
    if (OnRxChar)
        OnRxChar(this, count);
}

void TCustomComPort::NotifyRxBuf(const std::uint8_t* buffer, int count)
{
    if (OnRxBuf)
        OnRxBuf(this, buffer, count);
}

void TCustomComPort::NotifyTxEmpty()
{
    if (OnTxEmpty)
        OnTxEmpty(this);
}

void TCustomComPort::NotifyBreak()
{
    if (OnBreak)
        OnBreak(this);
}

void TCustomComPort::NotifyRing()
{
    if (OnRing)
        OnRing(this);
}

void TCustomComPort::NotifyRxFlag()
{
    if (OnRxFlag)
        OnRxFlag(this);
}

void TCustomComPort::NotifyCTSChange(bool onOff)
{
    if (OnCTSChange)
        OnCTSChange(this, onOff);
}

void TCustomComPort::NotifyDSRChange(bool onOff)
{
    if (OnDSRChange)
        OnDSRChange(this, onOff);
}

void TCustomComPort::NotifyError(TComErrors errors)
{
    if (OnError)
        OnError(this, errors);
}

void TCustomComPort::NotifyRLSDChange(bool onOff)
{
    if (OnRLSDChange)
        OnRLSDChange(this, onOff);
}

void TCustomComPort::NotifyRx80Full()
{
    if (OnRx80Full)
        OnRx80Full(this);
}
