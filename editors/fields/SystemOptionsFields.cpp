#include "editors/fields/SystemOptionsFields.h"

#include "editors/fields/FieldTableKit.h"
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

const EditorArea& SystemOptionsFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        // Bits 5..7 of byte 55 are written back as read; the other bits of byte 44 belong
        // to the access codes (bit 2) or to nobody.
        EditorArea a{"systemOptions", Caption, {}, {{55, 0xE0}}};
        const char* keys[8] = {"keypadLock",
                               "lineDetectionBlocked",
                               "clockReprogrammingLocked",
                               "alarmMessageRecordingLocked",
                               "installerReprogrammingLocked",
                               "eightDiallingCycles",
                               "messageFourTimes",
                               "selfArming"};
        for (std::size_t i = 0; i < Bits.size(); ++i) {
            EditorField f =
                MakeField(keys[i], Labels[i], fkYesNo, {{Bits[i].offset, Bits[i].mask}});
            BindYesNo<SystemOptionsFields>(
                f, [i](auto& m) -> auto& { return m.options[i]; });
            a.fields.push_back(std::move(f));
        }
        return a;
    }();
    return area;
}
