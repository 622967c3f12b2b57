#include "serial/PortDiscovery.h"

#include "serial/Win32Api.h"
#include "serial/Win32Errors.h"

#include <algorithm>
#include <iterator>

// On Windows the ports are those the system lists under HARDWARE\DEVICEMAP\SERIALCOMM:
// one value per port, named after its kernel device ("\Device\Serial0", "\Device\VCP0"
// for an FTDI adapter), holding its COM name. The roots are a Linux seam and unused here.
namespace PortDiscovery {

namespace {

QString DevicePathOf(const QString& comName)
{
    return QStringLiteral("\\\\.\\") + comName;
}

// COM2 before COM10.
int ComNumber(const QString& name)
{
    return name.mid(3).toInt();
}

QString SystemText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString message =
        length && text ? QString::fromWCharArray(text, int(length)).trimmed() : QString();
    LocalFree(text);
    return message.isEmpty() ? QStringLiteral("błąd systemu %1").arg(error) : message;
}

} // namespace

QString PortInfo::StableName() const
{
    if (!byId.isEmpty())
        return byId.first();
    if (!byPath.isEmpty())
        return byPath.first();
    return device;
}

QList<PortInfo> Discover(const Roots&)
{
    QList<PortInfo> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports; // no port at all: the key exists only once one is there
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameLength = DWORD(std::size(valueName));
        wchar_t data[64];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue; // an entry too long for a COM name is no port of ours
        PortInfo port;
        // The stored text may or may not end with its terminator.
        const QString text = QString::fromWCharArray(data, int(dataSize / sizeof(wchar_t)));
        port.name = text.left(text.indexOf(QChar(0))).trimmed();
        if (port.name.isEmpty())
            continue;
        port.device = DevicePathOf(port.name);
        port.driver = QString::fromWCharArray(valueName, int(nameLength));
        ports << port;
    }
    RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) {
        return ComNumber(a.name) < ComNumber(b.name);
    });
    return ports;
}

QString UnderRoot(const QString& path, const Roots&)
{
    return path;
}

QStringList ComNamesFor(const PortInfo& port, const PortNames::Lookup& lookup, const Roots&)
{
    QStringList names;
    for (int number = 1; number <= 16; ++number) {
        const QString com = QStringLiteral("COM%1").arg(number);
        QString mapped = PortNames::DevicePath(com, lookup);
        if (!mapped.startsWith(QLatin1String("\\\\")))
            mapped = DevicePathOf(mapped);
        if (mapped.compare(port.device, Qt::CaseInsensitive) == 0)
            names << com;
    }
    return names;
}

QString FileGroup(const QString&)
{
    return {};
}

QString OpenProblemText(int errorNumber, const QString&)
{
    if (errorNumber == 0)
        return {};
    const QString words = Win32Errors::OpenProblem(DWORD(errorNumber));
    return words.isEmpty() ? SystemText(DWORD(errorNumber)) : words;
}

QString CheckOpen(const QString& device)
{
    return CheckPort(device, 0).problem;
}

// The rate is not tried: the system gives back the rate it was asked for, not the one
// the driver made, so actual stays 0 ("not tried").
PortCheck CheckPort(const QString& device, std::uint32_t rate)
{
    PortCheck check;
    check.asked = rate;
    Win32Api& api = SystemWin32Api();
    HANDLE handle = INVALID_HANDLE_VALUE;
    const QString path = device.startsWith(QLatin1String("\\\\")) ? device : DevicePathOf(device);
    const DWORD error = api.OpenComm(path.toStdWString(), handle);
    if (error == 0)
        api.CloseHandle(handle);
    check.problem = OpenProblemText(int(error), {});
    return check;
}

} // namespace PortDiscovery
