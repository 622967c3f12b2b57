#include "serial/PortNamesPlatform.h"

#include "serial/PortNames.h"

namespace PortNames {

bool IsDevicePath(const QString& name)
{
    return name.startsWith(QLatin1Char('/'));
}

// The board's UARTs, as the kernel numbers them from 0.
QString SystemDevice(int number)
{
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
}

} // namespace PortNames
