#include "serial/PortDiscovery.h"

#include "serial/PosixTermios2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PortDiscovery {

namespace {

QString ReadAttribute(const QString& dir, const char* name)
{
    QFile file(dir + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // sysfs attributes are one short line; a page is the most the kernel gives.
    return QString::fromUtf8(file.read(4096)).trimmed();
}

// Stable names in one folder of dev/serial that point at the tty called name.
QStringList LinksTo(const QString& folder, const QString& name)
{
    QStringList found;
    const QDir dir(folder);
    const QFileInfoList links =
        dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        if (!link.isSymLink())
            continue;
        if (QFileInfo(link.symLinkTarget()).fileName() == name)
            found << link.absoluteFilePath();
    }
    return found;
}

// Climbs from the tty's device folder to the USB device that carries it: the first folder
// up that has idVendor. Stops at the sys root.
QString UsbDeviceFolder(const QString& deviceFolder, const QString& sysRoot)
{
    QString dir = QFileInfo(deviceFolder).canonicalFilePath();
    const QString root = QFileInfo(sysRoot).canonicalFilePath();
    for (int depth = 0; !dir.isEmpty() && depth < 12; ++depth) {
        if (QFileInfo::exists(dir + QStringLiteral("/idVendor")))
            return dir;
        if (dir == root || dir == QLatin1String("/"))
            break;
        dir = QFileInfo(dir).path();
    }
    return {};
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

QList<PortInfo> Discover(const Roots& roots)
{
    QList<PortInfo> ports;
    const QString classFolder = roots.sys + QStringLiteral("/class/tty");
    const QStringList names =
        QDir(classFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString ttyFolder = classFolder + QLatin1Char('/') + name;
        const QString deviceFolder = ttyFolder + QStringLiteral("/device");
        if (!QFileInfo::exists(deviceFolder))
            continue; // a console or a pseudo-terminal
        PortInfo port;
        port.name = name;
        port.device = roots.dev + QLatin1Char('/') + name;
        port.driver = QFileInfo(QFileInfo(deviceFolder + QStringLiteral("/driver")).symLinkTarget())
                          .fileName();
        // The kernel registers a fixed number of 8250 ports whether a UART is there or not;
        // those it found none behind say type 0 (USB and ACM ports have no such attribute).
        if (ReadAttribute(ttyFolder, "type") == QLatin1String("0"))
            continue;
        if (const QString usb = UsbDeviceFolder(deviceFolder, roots.sys); !usb.isEmpty()) {
            port.usb = true;
            port.vendorId = ReadAttribute(usb, "idVendor");
            port.productId = ReadAttribute(usb, "idProduct");
            port.manufacturer = ReadAttribute(usb, "manufacturer");
            port.product = ReadAttribute(usb, "product");
            port.serialNumber = ReadAttribute(usb, "serial");
        }
        port.byId = LinksTo(roots.dev + QStringLiteral("/serial/by-id"), name);
        port.byPath = LinksTo(roots.dev + QStringLiteral("/serial/by-path"), name);
        ports << port;
    }
    return ports;
}

QString UnderRoot(const QString& path, const Roots& roots)
{
    if (roots.dev == QLatin1String("/dev") || !path.startsWith(QLatin1String("/dev/")))
        return path;
    const QString inTree = roots.dev + path.mid(4);
    return QFileInfo::exists(inTree) || QFileInfo(inTree).isSymLink() ? inTree : path;
}

QStringList ComNamesFor(const PortInfo& port, const PortNames::Lookup& lookup, const Roots& roots)
{
    const QString target = QFileInfo(port.device).canonicalFilePath();
    QStringList names;
    for (int number = 1; number <= 16; ++number) {
        const QString com = QStringLiteral("COM%1").arg(number);
        const QString mapped = UnderRoot(PortNames::DevicePath(com, lookup), roots);
        const bool same = mapped == port.device || port.byId.contains(mapped) ||
                          port.byPath.contains(mapped) ||
                          (!target.isEmpty() && QFileInfo(mapped).canonicalFilePath() == target);
        if (same)
            names << com;
    }
    return names;
}

QString FileGroup(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    group entry{};
    group* result = nullptr;
    char buffer[4096];
    if (getgrgid_r(st.st_gid, &entry, buffer, sizeof buffer, &result) != 0 || !result)
        return QString::number(st.st_gid);
    return QString::fromLocal8Bit(result->gr_name);
}

QString OpenProblemText(int errorNumber, const QString& group)
{
    switch (errorNumber) {
    case 0:
        return {};
    case EBUSY:
    case EWOULDBLOCK:
        return QStringLiteral("port zajęty przez inny program");
    case EACCES:
    case EPERM:
        return group.isEmpty()
                   ? QStringLiteral("brak uprawnień")
                   : QStringLiteral("brak uprawnień (dopisz użytkownika do grupy %1)").arg(group);
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("brak urządzenia");
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

QString CheckOpen(const QString& device)
{
    return CheckPort(device, 0).problem;
}

PortCheck CheckPort(const QString& device, std::uint32_t rate)
{
    PortCheck check;
    check.asked = rate;
    const QByteArray path = QFile::encodeName(device);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        check.problem = OpenProblemText(error, FileGroup(device));
        return check;
    }
    // The port component holds an flock while a port is open; another program of ours
    // holding it is the usual "busy". Root opens a port another program holds in
    // exclusive mode: that one is busy too, and its settings are not touched.
    int error = 0;
    int exclusive = 0;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
    } else {
        if (ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive)
            error = EBUSY;
        else if (rate != 0)
            PosixTermios2::TryRate(fd, rate, check.actual);
        ::flock(fd, LOCK_UN);
    }
    ::close(fd);
    check.problem = OpenProblemText(error, {});
    return check;
}

} // namespace PortDiscovery
