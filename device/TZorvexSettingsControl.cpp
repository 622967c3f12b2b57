#include "device/TZorvexSettingsControl.h"

#include "device/ConfigFileIO.h"
#include "device/FileNames.h"
#include "model/Cp1250.h"
#include "model/ErrorSink.h"

TZorvexSettingsControl::TZorvexSettingsControl(OutcomeReporter& reporter) : m_reporter(reporter)
{
    m_settings.LoadDefaults();
    SetDefaultPortSettings();

    // Every slot is hooked, as the dialer link always did; only received bytes matter.
    m_port.OnRxChar = [this](TCustomComPort* sender, int count) { PortRxChar(sender, count); };
    m_port.OnRxBuf = [](TCustomComPort*, const std::uint8_t*, int) {};
    m_port.OnTxEmpty = [](TCustomComPort*) {};
    m_port.OnBreak = [](TCustomComPort*) {};
    m_port.OnRing = [](TCustomComPort*) {};
    m_port.OnCTSChange = [](TCustomComPort*, bool) {};
    m_port.OnDSRChange = [](TCustomComPort*, bool) {};
    m_port.OnRLSDChange = [](TCustomComPort*, bool) {};
    m_port.OnRxFlag = [](TCustomComPort*) {};
    m_port.OnError = [](TCustomComPort*, TComErrors) {};
    m_port.OnOpen = [](TCustomComPort*) {};
    m_port.OnClose = [](TCustomComPort*) {};
    m_port.OnRx80Full = [](TCustomComPort*) {};

    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { TimerTick(&m_timer); });
    m_guardTimer.setSingleShot(true);
    QObject::connect(&m_guardTimer, &QTimer::timeout, &m_guardTimer,
                     [this] { GuardTick(&m_guardTimer); });
}

TZorvexSettingsControl::~TZorvexSettingsControl()
{
    m_timer.stop();
    m_guardTimer.stop();
    // A delivery still carried out while the port closes must not start anything.
    m_port.OnRxChar = nullptr;
}

void TZorvexSettingsControl::OpenLine()
{
    // After a port error the device handle may be dead (adapter pulled out and put
    // back); an open port would otherwise stay open on it for good.
    if (m_reopenLine) {
        m_reopenLine = false;
        try {
            m_port.Close();
        } catch (...) {
        }
    }
    m_port.Connect();
    // What was waiting (an answer to a program interrupted a moment ago, say) belongs to
    // no exchange of ours.
    m_port.DiscardInput();
}

void TZorvexSettingsControl::ReadFromDevice()
{
    OpenLine();
    try {
        m_engine.StartRead();
    } catch (...) {
        m_reopenLine = true;
        throw;
    }
}

void TZorvexSettingsControl::VerifyDevice(std::function<void(const TCfg& dialerImage)> onImage)
{
    OpenLine();
    try {
        m_engine.StartCheckRead([onImage = std::move(onImage)](const ExchangeEngine::Image& image) {
            TCfg dialer;
            dialer.WriteBytes(0, image.data(), TCfg::Size);
            if (onImage)
                onImage(dialer);
        });
    } catch (...) {
        m_reopenLine = true;
        throw;
    }
}

void TZorvexSettingsControl::WriteToDevice()
{
    OpenLine();
    try {
        m_engine.StartWrite();
    } catch (...) {
        m_reopenLine = true;
        throw;
    }
}

void TZorvexSettingsControl::RestartDevice(const QTime& time)
{
    OpenLine();
    try {
        m_engine.StartRestart(time.hour(), time.minute());
    } catch (...) {
        m_reopenLine = true;
        throw;
    }
}

void TZorvexSettingsControl::RestartDevice(const QDateTime& time)
{
    RestartDevice(time.time());
}

void TZorvexSettingsControl::SelectPort(int number)
{
    if (m_port.Connected())
        m_port.Disconnect();
    if (number >= 1 && number <= 16)
        m_port.SetPort(QStringLiteral("COM%1").arg(number));
}

void TZorvexSettingsControl::SetDefaultPortSettings()
{
    m_port.SetPort(QStringLiteral("COM2"));
    m_port.SetBaudRate(br1339);
    m_port.SetStopBits(sbOneStopBit);
    m_port.SetDataBits(dbEight);
    m_port.Parity().SetBits(prNone);
    m_port.FlowControl().SetFlowControl(fcNone);
    m_port.Timeouts().SetReadInterval(-1);
}

ConfigFile::Result TZorvexSettingsControl::SaveToFile(const QString& fileName)
{
    return ConfigFile::Save(m_settings, FileNameBytes(fileName));
}

ConfigFile::Result TZorvexSettingsControl::LoadFromFile(const QString& fileName, bool* replaced)
{
    bool confirmed = false;
    const ConfigFile::Result result = ConfigFile::Load(
        m_settings, FileNameBytes(fileName), [this, &confirmed](const std::string& record0) {
            confirmed = m_reporter.Confirm(QString::fromStdString(Cp1250ToUtf8(record0)));
            return confirmed;
        });
    if (replaced)
        *replaced = result.Ok() && confirmed;
    return result;
}

bool TZorvexSettingsControl::CancelExchange(const QString& reason)
{
    if (!m_engine.Stop(reason))
        return false;
    try {
        ExchangeDone({m_engine.Event(), false, false, reason});
    } catch (...) {
        ErrorSink::Report(std::current_exception());
    }
    return true;
}

void TZorvexSettingsControl::PortRxChar(TCustomComPort* /*sender*/, int count)
{
    try {
        QByteArray chunk;
        m_port.ReadText(chunk, count);
        m_engine.PortRxChar(chunk);
    } catch (...) {
        EndAfterError(std::current_exception());
    }
}

void TZorvexSettingsControl::TimerTick(QObject* /*sender*/)
{
    try {
        m_engine.TimerTick();
    } catch (...) {
        EndAfterError(std::current_exception());
    }
}

void TZorvexSettingsControl::GuardTick(QObject* /*sender*/)
{
    try {
        m_engine.GuardTick();
    } catch (...) {
        EndAfterError(std::current_exception());
    }
}

void TZorvexSettingsControl::EndAfterError(std::exception_ptr error)
{
    m_reopenLine = true;
    const bool broken = m_engine.EndAfterError();
    ErrorSink::Report(error);
    if (broken) {
        try {
            ExchangeDone(BrokenOutcome(m_engine.Event(), error));
        } catch (...) {
            ErrorSink::Report(std::current_exception());
        }
    }
}

void TZorvexSettingsControl::SendFrame(const QByteArray& frame)
{
    m_port.WriteText(frame);
}

int TZorvexSettingsControl::DiscardInput()
{
    return m_port.DiscardInput();
}

void TZorvexSettingsControl::StartReplyTimer()
{
    m_timer.start(m_replyInterval);
}

void TZorvexSettingsControl::StopReplyTimer()
{
    m_timer.stop();
}

void TZorvexSettingsControl::StartGuardTimer()
{
    m_guardTimer.start(m_guardInterval);
}

void TZorvexSettingsControl::StopGuardTimer()
{
    m_guardTimer.stop();
}

void TZorvexSettingsControl::TransferStarted()
{
    if (OnTransferStart)
        OnTransferStart(this);
}

void TZorvexSettingsControl::TransferEnded()
{
    if (OnTransferEnd)
        OnTransferEnd(this);
}

void TZorvexSettingsControl::TransferProgress(int percent)
{
    if (OnTransferProgress)
        OnTransferProgress(percent);
}

void TZorvexSettingsControl::TransferConfirming(ConfigEvent event)
{
    if (OnTransferConfirm)
        OnTransferConfirm(event);
}

void TZorvexSettingsControl::ExchangeDone(const ExchangeOutcome& outcome)
{
    if (OnExchangeDone)
        OnExchangeDone(outcome);
}
