#pragma once

// A folder laid out like /sys and /dev for port discovery: ttys under sys/class/tty
// linking into sys/devices, USB attributes on the device folders, and the stable names
// under dev/serial. Relative links throughout, as the kernel and udev make them.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class FakeSysfs
{
public:
    QString Sys() const { return m_dir.path() + QStringLiteral("/sys"); }
    QString Dev() const { return m_dir.path() + QStringLiteral("/dev"); }
    bool IsValid() const { return m_dir.isValid(); }

    // A tty whose device folder is devicePath (under sys/devices) with the given driver;
    // type is written when not empty (8250-style ports have it).
    bool AddTty(const QString& name, const QString& devicePath, const QString& driver,
                const QString& type = {})
    {
        const QString device = Sys() + QStringLiteral("/devices/") + devicePath;
        const QString ttyFolder = device + QStringLiteral("/tty/") + name;
        const QString driverFolder = Sys() + QStringLiteral("/bus/drivers/") + driver;
        bool ok = QDir().mkpath(ttyFolder) && QDir().mkpath(driverFolder) &&
                  QDir().mkpath(Sys() + QStringLiteral("/class/tty")) && QDir().mkpath(Dev());
        ok = ok && QFile::link(driverFolder, device + QStringLiteral("/driver"));
        ok = ok && QFile::link(device, ttyFolder + QStringLiteral("/device"));
        ok = ok && QFile::link(ttyFolder, Sys() + QStringLiteral("/class/tty/") + name);
        if (!type.isEmpty())
            ok = ok && Write(ttyFolder + QStringLiteral("/type"), type);
        // The device node itself: a plain file will do for reading names.
        ok = ok && Write(Dev() + QLatin1Char('/') + name, {});
        return ok;
    }
    // A console or pseudo-terminal: listed, but with no device behind it.
    bool AddVirtualTty(const QString& name)
    {
        return QDir().mkpath(Sys() + QStringLiteral("/devices/virtual/tty/") + name) &&
               QDir().mkpath(Sys() + QStringLiteral("/class/tty")) &&
               QFile::link(Sys() + QStringLiteral("/devices/virtual/tty/") + name,
                           Sys() + QStringLiteral("/class/tty/") + name);
    }
    // USB attributes on a folder under sys/devices.
    bool AddUsbDevice(const QString& devicePath, const QString& vendor, const QString& product,
                      const QString& maker, const QString& productName, const QString& serial)
    {
        const QString dir = Sys() + QStringLiteral("/devices/") + devicePath;
        bool ok = QDir().mkpath(dir) && Write(dir + QStringLiteral("/idVendor"), vendor + '\n') &&
                  Write(dir + QStringLiteral("/idProduct"), product + '\n');
        if (!maker.isEmpty())
            ok = ok && Write(dir + QStringLiteral("/manufacturer"), maker + '\n');
        if (!productName.isEmpty())
            ok = ok && Write(dir + QStringLiteral("/product"), productName + '\n');
        if (!serial.isEmpty())
            ok = ok && Write(dir + QStringLiteral("/serial"), serial + '\n');
        return ok;
    }
    // dev/serial/<kind>/<link> -> ../../<tty>, as udev writes it.
    bool AddStableName(const QString& kind, const QString& link, const QString& tty)
    {
        const QString folder = Dev() + QStringLiteral("/serial/") + kind;
        return QDir().mkpath(folder) &&
               QFile::link(QStringLiteral("../../") + tty, folder + QLatin1Char('/') + link);
    }

private:
    static bool Write(const QString& path, const QString& text)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
    }

    QTemporaryDir m_dir;
};
