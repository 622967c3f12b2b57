#include "serial/ComSettingsText.h"

#include "serial/TCustomComPort.h"

#include <QStringList>

namespace ComSettingsText {

namespace {

const QStringList BaudRates = {"110",    "300",    "600",    "1200",  "2400",  "4800",
                               "9600",   "14400",  "19200",  "38400", "56000", "57600",
                               "115200", "128000", "256000", "1339"};
const QStringList StopBits = {"1", "1.5", "2"};
const QStringList DataBits = {"5", "6", "7", "8"};
const QStringList Parities = {"None", "Odd", "Even", "Mark", "Space"};
const QStringList FlowControls = {"Hardware", "Software", "None", "Custom"};
const QStringList DTRControls = {"Disable", "Enable", "Handshake"};
const QStringList RTSControls = {"Disable", "Enable", "Handshake", "Toggle"};

QString TextOf(const QStringList& texts, int index)
{
    return index >= 0 && index < texts.size() ? texts[index] : QString();
}

template <typename E> E ValueOf(const QStringList& texts, const QString& text, E fallback)
{
    for (int i = 0; i < texts.size(); ++i)
        if (texts[i].compare(text, Qt::CaseInsensitive) == 0)
            return E(i);
    return fallback;
}

} // namespace

QString BaudRateText(TBaudRate value)
{
    return TextOf(BaudRates, value);
}
QString StopBitsText(TStopBits value)
{
    return TextOf(StopBits, value);
}
QString DataBitsText(TDataBits value)
{
    return TextOf(DataBits, value);
}
QString ParityText(TParityBits value)
{
    return TextOf(Parities, value);
}
QString FlowControlText(TFlowControl value)
{
    return TextOf(FlowControls, value);
}
QString DTRText(TDTRFlowControl value)
{
    return TextOf(DTRControls, value);
}
QString RTSText(TRTSFlowControl value)
{
    return TextOf(RTSControls, value);
}
QString BoolText(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

TBaudRate BaudRateFrom(const QString& text)
{
    return ValueOf(BaudRates, text, br9600);
}
TStopBits StopBitsFrom(const QString& text)
{
    return ValueOf(StopBits, text, sbOneStopBit);
}
TDataBits DataBitsFrom(const QString& text)
{
    return ValueOf(DataBits, text, dbEight);
}
TParityBits ParityFrom(const QString& text)
{
    return ValueOf(Parities, text, prNone);
}
TFlowControl FlowControlFrom(const QString& text)
{
    return ValueOf(FlowControls, text, fcCustom);
}
TDTRFlowControl DTRFrom(const QString& text)
{
    return ValueOf(DTRControls, text, dtrDisable);
}
TRTSFlowControl RTSFrom(const QString& text)
{
    return ValueOf(RTSControls, text, rtsDisable);
}
bool BoolFrom(const QString& text)
{
    return text.compare("YES", Qt::CaseInsensitive) == 0;
}

} // namespace ComSettingsText

using namespace ComSettingsText;

void TCustomComPort::StoreSettings(QMap<QString, QString>& entries, TStoredProps what) const
{
    const auto number = [](int value) { return QString::number(value); };
    if (what.Contains(spBasic)) {
        entries["Port"] = m_port;
        entries["BaudRate"] = BaudRateText(m_baudRate);
        entries["StopBits"] = StopBitsText(m_stopBits);
        entries["DataBits"] = DataBitsText(m_dataBits);
        entries["Parity"] = ParityText(m_parity.Bits());
        entries["FlowControl"] = FlowControlText(m_flowControl.FlowControl());
    }
    if (what.Contains(spOthers)) {
        entries["EventChar"] = number(m_eventChar);
        entries["DiscardNull"] = BoolText(m_discardNull);
    }
    if (what.Contains(spParity)) {
        entries["Parity.Check"] = BoolText(m_parity.Check());
        entries["Parity.Replace"] = BoolText(m_parity.Replace());
        entries["Parity.ReplaceChar"] = number(m_parity.ReplaceChar());
    }
    if (what.Contains(spBuffer)) {
        entries["Buffer.OutputSize"] = number(m_buffer.OutputSize());
        entries["Buffer.InputSize"] = number(m_buffer.InputSize());
    }
    if (what.Contains(spTimeouts)) {
        entries["Timeouts.ReadInterval"] = number(m_timeouts.ReadInterval());
        entries["Timeouts.ReadTotalConstant"] = number(m_timeouts.ReadTotalConstant());
        entries["Timeouts.ReadTotalMultiplier"] = number(m_timeouts.ReadTotalMultiplier());
        entries["Timeouts.WriteTotalConstant"] = number(m_timeouts.WriteTotalConstant());
        entries["Timeouts.WriteTotalMultiplier"] = number(m_timeouts.WriteTotalMultiplier());
    }
    if (what.Contains(spFlowControl)) {
        const TComFlowControl& f = m_flowControl;
        entries["FlowControl.ControlRTS"] = RTSText(f.ControlRTS());
        entries["FlowControl.ControlDTR"] = DTRText(f.ControlDTR());
        entries["FlowControl.DSRSensitivity"] = BoolText(f.DSRSensitivity());
        entries["FlowControl.OutCTSFlow"] = BoolText(f.OutCTSFlow());
        entries["FlowControl.OutDSRFlow"] = BoolText(f.OutDSRFlow());
        entries["FlowControl.TxContinueOnXoff"] = BoolText(f.TxContinueOnXoff());
        entries["FlowControl.XonXoffIn"] = BoolText(f.XonXoffIn());
        entries["FlowControl.XonXoffOut"] = BoolText(f.XonXoffOut());
        entries["FlowControl.XoffChar"] = number(f.XoffChar());
        entries["FlowControl.XonChar"] = number(f.XonChar());
    }
}

void TCustomComPort::LoadSettings(const QMap<QString, QString>& entries, TStoredProps what)
{
    // Each present key goes through its setter, so an open port re-applies it.
    const auto with = [&entries](const char* key, const auto& apply) {
        const auto it = entries.constFind(QString::fromLatin1(key));
        if (it != entries.constEnd())
            apply(it.value());
    };
    const auto toInt = [](const QString& text) { return text.trimmed().toInt(); };
    const auto toByte = [](const QString& text) { return std::uint8_t(text.trimmed().toInt()); };
    if (what.Contains(spBasic)) {
        with("Port", [this](const QString& v) { SetPort(v); });
        with("BaudRate", [this](const QString& v) { SetBaudRate(BaudRateFrom(v)); });
        with("StopBits", [this](const QString& v) { SetStopBits(StopBitsFrom(v)); });
        with("DataBits", [this](const QString& v) { SetDataBits(DataBitsFrom(v)); });
        with("Parity", [this](const QString& v) { m_parity.SetBits(ParityFrom(v)); });
        with("FlowControl",
             [this](const QString& v) { m_flowControl.SetFlowControl(FlowControlFrom(v)); });
    }
    if (what.Contains(spOthers)) {
        with("EventChar", [&](const QString& v) { SetEventChar(toByte(v)); });
        with("DiscardNull", [this](const QString& v) { SetDiscardNull(BoolFrom(v)); });
    }
    if (what.Contains(spParity)) {
        with("Parity.Check", [this](const QString& v) { m_parity.SetCheck(BoolFrom(v)); });
        with("Parity.Replace", [this](const QString& v) { m_parity.SetReplace(BoolFrom(v)); });
        with("Parity.ReplaceChar", [&](const QString& v) { m_parity.SetReplaceChar(toByte(v)); });
    }
    if (what.Contains(spBuffer)) {
        with("Buffer.OutputSize", [&](const QString& v) { m_buffer.SetOutputSize(toInt(v)); });
        with("Buffer.InputSize", [&](const QString& v) { m_buffer.SetInputSize(toInt(v)); });
    }
    if (what.Contains(spTimeouts)) {
        TComTimeouts& t = m_timeouts;
        with("Timeouts.ReadInterval", [&](const QString& v) { t.SetReadInterval(toInt(v)); });
        with("Timeouts.ReadTotalConstant",
             [&](const QString& v) { t.SetReadTotalConstant(toInt(v)); });
        with("Timeouts.ReadTotalMultiplier",
             [&](const QString& v) { t.SetReadTotalMultiplier(toInt(v)); });
        with("Timeouts.WriteTotalConstant",
             [&](const QString& v) { t.SetWriteTotalConstant(toInt(v)); });
        with("Timeouts.WriteTotalMultiplier",
             [&](const QString& v) { t.SetWriteTotalMultiplier(toInt(v)); });
    }
    if (what.Contains(spFlowControl)) {
        TComFlowControl& f = m_flowControl;
        with("FlowControl.ControlRTS", [&](const QString& v) { f.SetControlRTS(RTSFrom(v)); });
        with("FlowControl.ControlDTR", [&](const QString& v) { f.SetControlDTR(DTRFrom(v)); });
        with("FlowControl.DSRSensitivity",
             [&](const QString& v) { f.SetDSRSensitivity(BoolFrom(v)); });
        with("FlowControl.OutCTSFlow", [&](const QString& v) { f.SetOutCTSFlow(BoolFrom(v)); });
        with("FlowControl.OutDSRFlow", [&](const QString& v) { f.SetOutDSRFlow(BoolFrom(v)); });
        with("FlowControl.TxContinueOnXoff",
             [&](const QString& v) { f.SetTxContinueOnXoff(BoolFrom(v)); });
        with("FlowControl.XonXoffIn", [&](const QString& v) { f.SetXonXoffIn(BoolFrom(v)); });
        with("FlowControl.XonXoffOut", [&](const QString& v) { f.SetXonXoffOut(BoolFrom(v)); });
        with("FlowControl.XoffChar", [&](const QString& v) { f.SetXoffChar(toByte(v)); });
        with("FlowControl.XonChar", [&](const QString& v) { f.SetXonChar(toByte(v)); });
    }
}
