#include "editors/fields/AlarmOutFields.h"

#include "editors/fields/ByteText.h"
#include "editors/fields/FieldTableKit.h"
#include "model/TZorvexSettings.h"

int AlarmOutFields::TriggerItem(std::uint8_t code)
{
    for (std::size_t i = 0; i < TriggerCodes.size(); ++i) {
        if (TriggerCodes[i] == code)
            return static_cast<int>(i);
    }
    return -1;
}

AlarmOutFields AlarmOutFields::Load(const TZorvexSettings& settings)
{
    AlarmOutFields f;
    for (std::size_t i = 0; i < 2; ++i) {
        f.triggers[i] = TriggerItem(settings.Cfg.GetByte(TriggerOffsets[i]));
        f.times[i] = ByteToText(settings.Cfg.GetByte(TimeOffsets[i]));
    }
    return f;
}

void AlarmOutFields::FillEmptyTimes()
{
    for (auto& t : times) {
        if (t.empty())
            t = std::string(1, '0');
    }
}

void AlarmOutFields::Store(TZorvexSettings& settings) const
{
    AlarmOutFields f = *this;
    f.FillEmptyTimes();
    const std::array<std::uint8_t, 2> times{ByteFromText(f.times[0]), ByteFromText(f.times[1])};
    for (std::size_t i = 0; i < 2; ++i) {
        const int item = f.triggers[i];
        const bool listed = item >= 0 && item < static_cast<int>(TriggerCodes.size());
        settings.Cfg.SetByte(TriggerOffsets[i], listed ? TriggerCodes[item] : 0x00);
    }
    for (std::size_t i = 0; i < 2; ++i)
        settings.Cfg.SetByte(TimeOffsets[i], times[i]);
}

const EditorArea& AlarmOutFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"pgmOutputs", Caption, {}, {}};
        for (int i = 0; i < 2; ++i) {
            const std::string prefix = "pgm" + std::to_string(i + 1);
            EditorField trigger =
                MakeField(prefix + "Trigger", TriggerLabels[i], fkList, Bytes(TriggerOffsets[i]));
            trigger.items.assign(TriggerTexts.begin(), TriggerTexts.end());
            BindItem<AlarmOutFields>(
                trigger, [i](auto& m) -> auto& { return m.triggers[i]; });
            a.fields.push_back(std::move(trigger));
            EditorField time =
                MakeField(prefix + "Time", TimeLabels[i], fkNumber, Bytes(TimeOffsets[i]));
            time.minimum = 0;
            time.maximum = 255;
            time.emptyText = "0";
            time.keys = DigitKeys;
            time.check = CheckByte;
            BindText<AlarmOutFields>(
                time, [i](auto& m) -> auto& { return m.times[i]; });
            a.fields.push_back(std::move(time));
        }
        return a;
    }();
    return area;
}
