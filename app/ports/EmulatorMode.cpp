#include "app/ports/EmulatorMode.h"

#include "emulator/DialerEmulator.h"
#include "serial/CPort.h"
#include "settings/ProgramSettings.h"

namespace {
QString& CurrentPath()
{
    static QString path;
    return path;
}
} // namespace

EmulatorMode::EmulatorMode() : m_emulator(std::make_unique<DialerEmulator>())
{
    m_emulator->Start();
    const QString path = QString::fromStdString(m_emulator->SlavePath());
    TCustomComPort::SetPortNameLookup([path](const QString&) { return path; });
    CurrentPath() = path;
}

EmulatorMode::~EmulatorMode()
{
    CurrentPath().clear();
    TCustomComPort::SetPortNameLookup(ProgramSettings::LookupPortName);
    m_emulator->Stop();
}

QString EmulatorMode::Path()
{
    return CurrentPath();
}
