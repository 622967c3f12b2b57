#include "serial/PortNamesPlatform.h"

#include "serial/PortNames.h"

namespace PortNames {

bool IsDevicePath(const QString& name)
{
    return name.startsWith(QLatin1String("\\\\"));
}

// COMn is the system's own name; the prefix reaches COM10 and above too.
QString SystemDevice(int number)
{
    return QStringLiteral("\\\\.\\COM%1").arg(number);
}

} // namespace PortNames
