#pragma once

// Private to PortNames: what a port name means on this system (one file per platform).

#include <QString>

namespace PortNames {

// Whether name is a device path rather than a port name.
bool IsDevicePath(const QString& name);
// The system's own device for COMn, n 1 .. 16.
QString SystemDevice(int number);

} // namespace PortNames
