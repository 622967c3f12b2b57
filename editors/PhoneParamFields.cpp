#include "editors/PhoneParamFields.h"

#include "editors/ByteText.h"
#include "model/TZorvexSettings.h"

PhoneParamFields PhoneParamFields::Load(const TZorvexSettings& settings)
{
    PhoneParamFields f;
    f.heldOptionsByte = settings.Cfg.GetByte(OptionsOffset);
    for (int bit = 0; bit < 4; ++bit)
        f.options[bit] = (f.heldOptionsByte >> bit) & 1;
    for (std::size_t i = 0; i < NumberOffsets.size(); ++i)
        f.numbers[i] = ByteToText(settings.Cfg.GetByte(NumberOffsets[i]));
    return f;
}

void PhoneParamFields::FillEmptyNumbers()
{
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i].empty())
            numbers[i] = std::string(EmptyNumberTexts[i]);
    }
}

void PhoneParamFields::Store(TZorvexSettings& settings) const
{
    PhoneParamFields f = *this;
    f.FillEmptyNumbers();
    std::array<std::uint8_t, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = ByteFromText(f.numbers[i]);

    std::uint8_t options = f.heldOptionsByte;
    for (int bit = 0; bit < 4; ++bit) {
        if (f.options[bit])
            options |= 1u << bit;
        else
            options &= ~(1u << bit);
    }
    settings.Cfg.SetByte(OptionsOffset, options);
    for (std::size_t i = 0; i < values.size(); ++i)
        settings.Cfg.SetByte(NumberOffsets[i], values[i]);
}
