#pragma once

#include <QString>

#include <functional>

namespace PortNames {

using Lookup = std::function<QString(const QString& comName)>;

// "COM1" .. "COM16" from what the user or a file gave: a leading "COM" (any case) is
// dropped, the rest is read as a decimal number, and anything that is not one or lies
// outside 1 .. 16 gives 1: "com3" -> "COM3", "4" -> "COM4", "COM17", "COM0", "COMA",
// "" -> "COM1". A device path (beginning with "/" on Linux, "\\" on Windows) is
// returned unchanged.
QString NormalizePortName(const QString& name);

// Whether name is a device path rather than a port name: beginning with "/" on Linux,
// with "\\" on Windows ("\\.\COM12").
bool IsDevicePath(const QString& name);

// The device a port name opens. A path is itself. "COMn" goes, in this order, to the
// lookup's answer (when it is set and gives a non-empty text), to the environment
// variable ZVX_COMn (when set and not empty), else to the system's device for COMn:
// /dev/ttyS(n-1) on Linux, \\.\COMn on Windows.
QString DevicePath(const QString& portName, const Lookup& lookup);

// The lookup installed by TCustomComPort::SetPortNameLookup (owner thread only).
void SetLookup(Lookup lookup);
const Lookup& CurrentLookup();

} // namespace PortNames
