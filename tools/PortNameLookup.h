#pragma once

#include <QString>

// "COM1".."COM16" on the command line map to devices as the window program maps them:
// section "Port names" of its program settings file ("COM3=/dev/ttyUSB0"), else the
// environment (ZVX_COM3), else /dev/ttyS2 (see serial/PortNames.h).

// The window program's settings file as installed: zorvex.ini beside this tool.
QString ProgramSettingsFile();
// Makes every port opened from now on look COMn up in iniFile first. Main thread.
void InstallPortNameLookup(const QString& iniFile = ProgramSettingsFile());
