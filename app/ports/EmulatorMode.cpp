#include "app/ports/EmulatorMode.h"

#include "emulator/DialerEmulator.h"
#include "serial/CPort.h"
#include "settings/ProgramSettings.h"

EmulatorMode::EmulatorMode() : m_emulator(std::make_unique<DialerEmulator>())
{
    m_emulator->Start();
    const QString path = QString::fromStdString(m_emulator->SlavePath());
    TCustomComPort::SetPortNameLookup([path](const QString&) { return path; });
}

EmulatorMode::~EmulatorMode()
{
    TCustomComPort::SetPortNameLookup(ProgramSettings::LookupPortName);
    m_emulator->Stop();
}
