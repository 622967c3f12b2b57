#pragma once

#include "settings/ProgramSettings.h"

#include <QString>

#include <functional>

// "COM1".."COM16" on the command line map to devices as the window program maps them:
// section "Port names" of its program settings file ("COM3=/dev/ttyUSB0"), else the
// environment (ZVX_COM3), else /dev/ttyS2 (see serial/PortNames.h).

// Receives, once per run, why the settings file was not used (one line, no line end).
using SettingsProblemSink = std::function<void(const QString& line)>;

// Makes every port opened from now on look COMn up in iniFile (by default the settings
// file both programs share, ProgramSettings::Path()) first. A settings file
// that is not a regular file of sane size maps nothing: the lookup goes on to the
// environment and the default device, and tells problem why. Main thread.
void InstallPortNameLookup(const QString& iniFile = ProgramSettings::Path(),
                           SettingsProblemSink problem = {});
