#pragma once

#include <QString>

// The program settings file: the executable's path with ".ini" instead of its extension
// ("/opt/zorvex/zorvex" -> "/opt/zorvex/zorvex.ini"). Section "Program configuration",
// key "Port" (1 to 4) holds the chosen serial port; section "Port names" may map a port
// name to a device ("COM3=/dev/ttyUSB0").
//
// UI thread only.
namespace ProgramSettings {

inline constexpr const char* kSection = "Program configuration";
inline constexpr const char* kPortKey = "Port";
inline constexpr const char* kPortNamesSection = "Port names";

// Needs a QCoreApplication unless overridden.
QString Path();
// Tests point the program at their own file; an empty path restores the default.
void OverridePath(const QString& path);

// The device that the settings file maps portName to ("COM3" -> "/dev/ttyUSB0"),
// or an empty string when it maps nothing. Fits TCustomComPort::SetPortNameLookup.
QString LookupPortName(const QString& portName);

} // namespace ProgramSettings
