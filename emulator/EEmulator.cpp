#include "emulator/EEmulator.h"

#include "resources/ConstsZVX.h"

#include <cstring>
#include <string>

EEmulator EEmulator::FromErrno(int error)
{
    std::string text = ConstsZVX::EmulatorLineError;
    const std::string reason = std::strerror(error);
    if (const auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, reason);
    return EEmulator(text);
}
