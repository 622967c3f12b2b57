#pragma once

#include "serial/ComTypes.h"

#include <cstdint>

class TCustomComPort;

// Flow control of the line. Setters compare, store, and re-apply the owning port's line
// settings (nothing while it is closed). Owner thread only.
//
// FlowControl() is derived from ControlRTS, OutCTSFlow, XonXoffIn and XonXoffOut:
//   fcHardware  rtsHandshake, OutCTSFlow, no XON/XOFF
//   fcSoftware  rtsDisable, no OutCTSFlow, XON/XOFF both ways
//   fcNone      rtsDisable, none of the three
//   fcCustom    anything else
// SetFlowControl(fcCustom) changes nothing; the other three first clear those four fields
// and then set their own. It always re-applies the line settings, even without a change.
//
// On Linux: hardware flow (rtsHandshake or OutCTSFlow) is CRTSCTS, which the kernel
// always runs both ways; XON/XOFF is IXON (out) and IXOFF (in) with XonChar and
// XoffChar; OutDSRFlow, DSRSensitivity, TxContinueOnXoff and dtrHandshake have no
// equivalent and are stored only (dtrHandshake holds DTR active); rtsToggle holds RTS
// inactive.
class TComFlowControl
{
public:
    explicit TComFlowControl(TCustomComPort* port = nullptr) : m_port(port) {}
    TComFlowControl(const TComFlowControl&) = delete;
    TComFlowControl& operator=(const TComFlowControl&) = delete;

    // Copies the ten fields; applies nothing.
    void Assign(const TComFlowControl& source);
    TCustomComPort* ComPort() const { return m_port; }

    bool OutCTSFlow() const { return m_outCTSFlow; }
    bool OutDSRFlow() const { return m_outDSRFlow; }
    TDTRFlowControl ControlDTR() const { return m_controlDTR; }
    TRTSFlowControl ControlRTS() const { return m_controlRTS; }
    bool XonXoffOut() const { return m_xonXoffOut; }
    bool XonXoffIn() const { return m_xonXoffIn; }
    bool DSRSensitivity() const { return m_dsrSensitivity; }
    bool TxContinueOnXoff() const { return m_txContinueOnXoff; }
    std::uint8_t XonChar() const { return m_xonChar; }
    std::uint8_t XoffChar() const { return m_xoffChar; }
    TFlowControl FlowControl() const;

    void SetOutCTSFlow(bool value);
    void SetOutDSRFlow(bool value);
    void SetControlDTR(TDTRFlowControl value);
    void SetControlRTS(TRTSFlowControl value);
    void SetXonXoffOut(bool value);
    void SetXonXoffIn(bool value);
    void SetDSRSensitivity(bool value);
    void SetTxContinueOnXoff(bool value);
    void SetXonChar(std::uint8_t value);
    void SetXoffChar(std::uint8_t value);
    void SetFlowControl(TFlowControl value);

private:
    template <typename T> void Set(T& field, T value);
    void Apply();

    TCustomComPort* m_port;
    bool m_outCTSFlow = false;
    bool m_outDSRFlow = false;
    TDTRFlowControl m_controlDTR = dtrDisable;
    TRTSFlowControl m_controlRTS = rtsDisable;
    bool m_xonXoffOut = false;
    bool m_xonXoffIn = false;
    bool m_dsrSensitivity = false;
    bool m_txContinueOnXoff = false;
    std::uint8_t m_xonChar = 17;
    std::uint8_t m_xoffChar = 19;
};
