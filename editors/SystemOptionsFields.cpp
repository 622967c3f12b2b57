#include "editors/SystemOptionsFields.h"

#include "model/TZorvexSettings.h"

SystemOptionsFields SystemOptionsFields::Load(const TZorvexSettings& settings)
{
    SystemOptionsFields f;
    f.held55 = settings.Cfg.GetByte(55);
    f.held44 = settings.Cfg.GetByte(44);
    for (std::size_t i = 0; i < Bits.size(); ++i) {
        const std::uint8_t held = Bits[i].offset == 55 ? f.held55 : f.held44;
        f.options[i] = held & Bits[i].mask;
    }
    return f;
}

void SystemOptionsFields::Store(TZorvexSettings& settings) const
{
    std::uint8_t b55 = held55;
    std::uint8_t b44 = held44;
    for (std::size_t i = 0; i < Bits.size(); ++i) {
        std::uint8_t& b = Bits[i].offset == 55 ? b55 : b44;
        if (options[i])
            b |= Bits[i].mask;
        else
            b &= ~Bits[i].mask;
    }
    settings.Cfg.SetByte(55, b55);
    settings.Cfg.SetByte(44, b44);
}
