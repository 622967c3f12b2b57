#include "editors/fields/DelayFields.h"

#include "editors/fields/ByteText.h"
#include "editors/fields/FieldTableKit.h"
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

const EditorArea& DelayFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"delays", Caption, {}, {}};
        const char* keys[3] = {"alarmEntry", "pauseBetweenAlarms", "armedEntry"};
        for (int i = 0; i < 3; ++i) {
            EditorField f = MakeField(keys[i], Labels[i], fkNumber, Bytes(Offsets[i]));
            f.minimum = 0;
            f.maximum = 255;
            f.note = Notes[i];
            f.emptyText = "0";
            f.keys = DigitKeys;
            f.check = CheckByte;
            BindText<DelayFields>(
                f, [i](auto& m) -> auto& { return m.delays[i]; });
            a.fields.push_back(std::move(f));
        }
        return a;
    }();
    return area;
}
