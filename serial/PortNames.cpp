#include "serial/PortNames.h"

#include "serial/PortNamesPlatform.h"

#include <QByteArray>
#include <QtGlobal>

namespace PortNames {

namespace {

// 1 .. 16, from "COMn" or a bare number; anything else gives 1.
int PortNumber(const QString& name)
{
    QString rest = name;
    if (rest.left(3).compare(QLatin1String("COM"), Qt::CaseInsensitive) == 0)
        rest = rest.mid(3);
    bool ok = false;
    const int number = rest.toInt(&ok, 10);
    return ok && number >= 1 && number <= 16 ? number : 1;
}

Lookup& Installed()
{
    static Lookup lookup;
    return lookup;
}

} // namespace

QString NormalizePortName(const QString& name)
{
    if (IsDevicePath(name))
        return name;
    return QStringLiteral("COM%1").arg(PortNumber(name));
}

QString DevicePath(const QString& portName, const Lookup& lookup)
{
    if (IsDevicePath(portName))
        return portName;
    const int number = PortNumber(portName);
    const QString comName = QStringLiteral("COM%1").arg(number);
    if (lookup) {
        const QString mapped = lookup(comName);
        if (!mapped.isEmpty())
            return mapped;
    }
    const QString fromEnvironment =
        qEnvironmentVariable(QStringLiteral("ZVX_COM%1").arg(number).toLatin1().constData());
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return SystemDevice(number);
}

void SetLookup(Lookup lookup)
{
    Installed() = std::move(lookup);
}

const Lookup& CurrentLookup()
{
    return Installed();
}

} // namespace PortNames
