#include "editors/DelayFields.h"

#include "editors/ByteText.h"
#include "model/TZorvexSettings.h"

#include <cstdint>

DelayFields DelayFields::Load(const TZorvexSettings& settings)
{
    DelayFields f;
    for (std::size_t i = 0; i < Offsets.size(); ++i)
        f.delays[i] = ByteToText(settings.Cfg.GetByte(Offsets[i]));
    return f;
}

void DelayFields::FillEmptyDelays()
{
    for (auto& d : delays) {
        if (d.empty())
            d = std::string(1, '0');
    }
}

void DelayFields::Store(TZorvexSettings& settings) const
{
    DelayFields f = *this;
    f.FillEmptyDelays();
    std::array<std::uint8_t, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = ByteFromText(f.delays[i]);
    for (std::size_t i = 0; i < values.size(); ++i)
        settings.Cfg.SetByte(Offsets[i], values[i]);
}
