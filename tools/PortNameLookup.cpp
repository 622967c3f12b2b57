#include "tools/PortNameLookup.h"

#include "serial/TCustomComPort.h"
#include "settings/ProgramSettings.h"

#include <memory>

void InstallPortNameLookup(const QString& iniFile, SettingsProblemSink problem)
{
    auto told = std::make_shared<bool>(false);
    TCustomComPort::SetPortNameLookup([iniFile, problem, told](const QString& comName) {
        const ProgramSettings settings(iniFile);
        const QString device = settings.PortName(comName);
        if (const QString why = settings.Problem(); !why.isEmpty() && problem && !*told) {
            *told = true;
            problem(why);
        }
        return device;
    });
}
