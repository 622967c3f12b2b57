#pragma once

// Private to PortNames: the system's own devices (one file per platform, with
// PortNames::IsDevicePath).

#include <QString>

namespace PortNames {

// The system's own device for COMn, n 1 .. 16.
QString SystemDevice(int number);

} // namespace PortNames
