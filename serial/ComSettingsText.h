#pragma once

// The settings text form: each enumeration's texts in enumeration order, and the
// conversions used by TCustomComPort::StoreSettings / LoadSettings.

#include "serial/ComTypes.h"

#include <QString>

namespace ComSettingsText {

QString BaudRateText(TBaudRate value);       // "110" .. "256000", "1339"
QString StopBitsText(TStopBits value);       // "1", "1.5", "2"
QString DataBitsText(TDataBits value);       // "5" .. "8"
QString ParityText(TParityBits value);       // "None", "Odd", "Even", "Mark", "Space"
QString FlowControlText(TFlowControl value); // "Hardware", "Software", "None", "Custom"
QString DTRText(TDTRFlowControl value);      // "Disable", "Enable", "Handshake"
QString RTSText(TRTSFlowControl value);      // "Disable", "Enable", "Handshake", "Toggle"
QString BoolText(bool value);                // "Yes", "No"

// Texts are matched without regard to case; an unknown text gives the default named.
TBaudRate BaudRateFrom(const QString& text);       // br9600
TStopBits StopBitsFrom(const QString& text);       // sbOneStopBit
TDataBits DataBitsFrom(const QString& text);       // dbEight
TParityBits ParityFrom(const QString& text);       // prNone
TFlowControl FlowControlFrom(const QString& text); // fcCustom
TDTRFlowControl DTRFrom(const QString& text);      // dtrDisable
TRTSFlowControl RTSFrom(const QString& text);      // rtsDisable
bool BoolFrom(const QString& text);                // true only for "YES" in any case

} // namespace ComSettingsText
