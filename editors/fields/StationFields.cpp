#include "editors/fields/StationFields.h"

#include "editors/fields/FieldTableKit.h"
#include "model/Cp1250.h"

namespace {

constexpr std::array<int, 2> NumberOffsets{16, 24};
constexpr std::array<int, 2> FormatOffsets{32, 33};
constexpr std::array<int, 2> SubscriberOffsets{34, 36};
constexpr int ModeOffset = 38;

} // namespace

StationFields StationFields::Load(const TZorvexSettings& settings)
{
    const TCfg& cfg = settings.Cfg;
    StationFields f;
    for (int s = 0; s < Stations; ++s) {
        cfg.GetDigits(NumberOffsets[s], 8, f.numbers[s], true);
        const int format = cfg.GetByte(FormatOffsets[s]);
        f.formats[s] = format < FormatCount ? format : -1;
        cfg.GetDigits(SubscriberOffsets[s], 2, f.subscribers[s], true);
    }
    const int mode = cfg.GetByte(ModeOffset);
    f.mode = mode < ModeCount ? mode : ModeCount - 1;
    return f;
}

void StationFields::Store(TZorvexSettings& settings) const
{
    TCfg& cfg = settings.Cfg;
    for (int s = 0; s < Stations; ++s)
        cfg.SetDigits(Utf8ToCp1250(numbers[s]), NumberOffsets[s], 8);
    for (int s = 0; s < Stations; ++s)
        cfg.SetByte(FormatOffsets[s], static_cast<std::uint8_t>(formats[s]));
    for (int s = 0; s < Stations; ++s)
        cfg.SetDigits((Utf8ToCp1250(subscribers[s]) + "0000").substr(0, 4), SubscriberOffsets[s],
                      2);
    cfg.SetByte(ModeOffset, static_cast<std::uint8_t>(mode));
}

const EditorArea& StationFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"stations", Caption, {}, {}};
        EditorField mode = MakeField("mode", ModeLabel, fkRadio, Bytes(ModeOffset));
        mode.items.assign(Modes.begin(), Modes.end());
        BindItem<StationFields>(
            mode, [](auto& m) -> auto& { return m.mode; });
        a.fields.push_back(std::move(mode));
        for (int s = 0; s < Stations; ++s) {
            const std::string prefix = "sma" + std::to_string(s + 1);
            EditorField number =
                MakeField(prefix + "Number", Labels[s][0], fkText, Bytes(NumberOffsets[s], 8));
            number.maxLength = 16;
            number.keys = DialKeys;
            number.upperCase = true;
            BindText<StationFields>(
                number, [s](auto& m) -> auto& { return m.numbers[s]; });
            EditorField code =
                MakeField(prefix + "Code", Labels[s][1], fkText, Bytes(SubscriberOffsets[s], 2));
            code.maxLength = 4;
            code.keys = DialKeys;
            code.upperCase = true;
            BindText<StationFields>(
                code, [s](auto& m) -> auto& { return m.subscribers[s]; });
            EditorField format =
                MakeField(prefix + "Format", Labels[s][2], fkList, Bytes(FormatOffsets[s]));
            format.items.assign(Formats.begin(), Formats.end());
            BindItem<StationFields>(
                format, [s](auto& m) -> auto& { return m.formats[s]; });
            for (EditorField* f : {&number, &code, &format}) {
                f->group = Groups[s];
                a.fields.push_back(std::move(*f));
            }
        }
        return a;
    }();
    return area;
}
