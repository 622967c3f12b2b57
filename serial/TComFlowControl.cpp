#include "serial/TComFlowControl.h"

#include "serial/TCustomComPort.h"

void TComFlowControl::Assign(const TComFlowControl& source)
{
    m_outCTSFlow = source.m_outCTSFlow;
    m_outDSRFlow = source.m_outDSRFlow;
    m_controlDTR = source.m_controlDTR;
    m_controlRTS = source.m_controlRTS;
    m_xonXoffOut = source.m_xonXoffOut;
    m_xonXoffIn = source.m_xonXoffIn;
    m_dsrSensitivity = source.m_dsrSensitivity;
    m_txContinueOnXoff = source.m_txContinueOnXoff;
    m_xonChar = source.m_xonChar;
    m_xoffChar = source.m_xoffChar;
}

TFlowControl TComFlowControl::FlowControl() const
{
    if (m_controlRTS == rtsHandshake && m_outCTSFlow && !m_xonXoffIn && !m_xonXoffOut)
        return fcHardware;
    if (m_controlRTS == rtsDisable && !m_outCTSFlow && m_xonXoffIn && m_xonXoffOut)
        return fcSoftware;
    if (m_controlRTS == rtsDisable && !m_outCTSFlow && !m_xonXoffIn && !m_xonXoffOut)
        return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl value)
{
    if (value != fcCustom) {
        m_controlRTS = rtsDisable;
        m_outCTSFlow = false;
        m_xonXoffIn = false;
        m_xonXoffOut = false;
        if (value == fcHardware) {
            m_controlRTS = rtsHandshake;
            m_outCTSFlow = true;
        } else if (value == fcSoftware) {
            m_xonXoffIn = true;
            m_xonXoffOut = true;
        }
    }
    Apply(); // also when nothing changed
}

template <typename T> void TComFlowControl::Set(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    Apply();
}

void TComFlowControl::Apply()
{
    if (m_port)
        m_port->ApplyLineSettings();
}

void TComFlowControl::SetOutCTSFlow(bool value)
{
    Set(m_outCTSFlow, value);
}

void TComFlowControl::SetOutDSRFlow(bool value)
{
    Set(m_outDSRFlow, value);
}

void TComFlowControl::SetControlDTR(TDTRFlowControl value)
{
    Set(m_controlDTR, value);
}

void TComFlowControl::SetControlRTS(TRTSFlowControl value)
{
    Set(m_controlRTS, value);
}

void TComFlowControl::SetXonXoffOut(bool value)
{
    Set(m_xonXoffOut, value);
}

void TComFlowControl::SetXonXoffIn(bool value)
{
    Set(m_xonXoffIn, value);
}

void TComFlowControl::SetDSRSensitivity(bool value)
{
    Set(m_dsrSensitivity, value);
}

void TComFlowControl::SetTxContinueOnXoff(bool value)
{
    Set(m_txContinueOnXoff, value);
}

void TComFlowControl::SetXonChar(std::uint8_t value)
{
    Set(m_xonChar, value);
}

void TComFlowControl::SetXoffChar(std::uint8_t value)
{
    Set(m_xoffChar, value);
}
