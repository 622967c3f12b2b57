#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "serial/PortNames.h"

// The serial ports of this machine, as the kernel lists them under /sys/class/tty, with
// the stable names udev gives them under /dev/serial/by-id and /dev/serial/by-path and,
// for USB adapters, what the adapter says about itself.
//
// Both roots are a seam: tests lay out a folder like /sys and /dev and pass it in.
// Plain file reads only; any thread. Nothing here opens a port except CheckOpen and
// CheckPort.
namespace PortDiscovery {

struct Roots
{
    QString sys = QStringLiteral("/sys");
    QString dev = QStringLiteral("/dev");
};

struct PortInfo
{
    QString name;       // kernel name: "ttyUSB0"
    QString device;     // dev root + name: "/dev/ttyUSB0"
    QStringList byId;   // full paths under dev/serial/by-id pointing at device
    QStringList byPath; // the same under dev/serial/by-path
    QString driver;     // "ftdi_sio", "cp210x", "serial8250", ...
    bool usb = false;
    QString vendorId;  // four hex digits, as the adapter gives them ("0403")
    QString productId; // "6001"
    QString manufacturer;
    QString product;
    QString serialNumber;

    // by-id first, else by-path, else the device itself: the name to put in the program
    // settings so that a port stays the same adapter across plug-ins.
    QString StableName() const;
};

// Every tty with a device behind it (consoles and pseudo-terminals have none), sorted by
// name. Ports that the kernel registered without finding a UART behind them (type 0)
// are left out. A missing or unreadable tree gives an empty list.
QList<PortInfo> Discover(const Roots& roots = {});

// The names COM1..COM16 that open port, through lookup (the settings file), ZVX_COMn and
// the default ttyS mapping (PortNames::DevicePath). A mapping may name the device, one of
// its stable names, or any other link to it. Mapped paths are read through UnderRoot,
// so a test tree maps like the machine.
QStringList ComNamesFor(const PortInfo& port, const PortNames::Lookup& lookup,
                        const Roots& roots = {});

// A path under /dev read under roots.dev, when that tree has it; any other path as it is.
QString UnderRoot(const QString& path, const Roots& roots);

// Why a port cannot be opened, in the user's words, or an empty text when it can. Opens
// it as the port component would (read/write, no controlling terminal, non-blocking),
// tries the exclusive lock, and closes it again at once. Writes nothing.
QString CheckOpen(const QString& device);

struct PortCheck
{
    QString problem;         // as CheckOpen
    std::uint32_t asked = 0; // bit/s
    // What the driver made of asked (bit/s); 0 when not tried: the port cannot be
    // opened, another program holds it, or it is no terminal.
    std::uint32_t actual = 0;
};
// CheckOpen, and while it holds the port (only when nobody else does), the rate the
// driver sets when asked for rate bit/s. The line's settings are put back before the port
// is closed; nothing is written to the line.
PortCheck CheckPort(const QString& device, std::uint32_t rate);

// The words for an open() error number on device: busy, no permission (naming the
// device's group, "dialout"), no such device, or the system's text.
QString OpenProblemText(int errorNumber, const QString& group);

// The group owning a file, by name; empty when it cannot be told.
QString FileGroup(const QString& path);

} // namespace PortDiscovery
