#include "editors/fields/PhoneParamFields.h"

#include "editors/fields/ByteText.h"
#include "editors/fields/FieldTableKit.h"
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

const EditorArea& PhoneParamFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"phoneParams", Caption, {}, {{OptionsOffset, 0xF0}}};
        const char* optionKeys[4] = {"extendedDialToneWait", "ignoreMissingDialTone",
                                     "toneDialling", "offHookDetectionBlocked"};
        for (int bit = 0; bit < 4; ++bit) {
            EditorField f = MakeField(optionKeys[bit], OptionLabels[bit], fkYesNo,
                                      {{OptionsOffset, static_cast<std::uint8_t>(1u << bit)}});
            BindYesNo<PhoneParamFields>(
                f, [bit](auto& m) -> auto& { return m.options[bit]; });
            a.fields.push_back(std::move(f));
        }
        const char* numberKeys[3] = {"notifications", "rings", "doubleCallTime"};
        for (int i = 0; i < 3; ++i) {
            EditorField f =
                MakeField(numberKeys[i], NumberLabels[i], fkNumber, Bytes(NumberOffsets[i]));
            f.minimum = NumberRanges[i].minimum;
            f.maximum = NumberRanges[i].maximum;
            f.note = NumberNotes[i];
            f.emptyText = EmptyNumberTexts[i];
            f.keys = DigitKeys;
            f.check = CheckByte;
            BindText<PhoneParamFields>(
                f, [i](auto& m) -> auto& { return m.numbers[i]; });
            a.fields.push_back(std::move(f));
        }
        return a;
    }();
    return area;
}
