#include "app/ports/EmulatorMode.h"

#include "model/Exception.h"
#include "resources/ConstsZVX.h"

// The emulated dialer runs on a pseudo-terminal, which Windows does not have: asked for,
// it says so (in the window's error box) and the program goes on with the real ports.
// Nothing of the emulator is built here; its object never exists.
class DialerEmulator
{
};

EmulatorMode::EmulatorMode()
{
    throw Exception(ConstsZVX::EmulatorLinuxOnly);
}

EmulatorMode::~EmulatorMode() = default;

QString EmulatorMode::Path()
{
    return {};
}
