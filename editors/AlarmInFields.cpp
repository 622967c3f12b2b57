#include "editors/AlarmInFields.h"

#include "model/TZorvexSettings.h"

namespace {
constexpr std::uint8_t kSpeed = 0x01;
constexpr std::uint8_t kContact = 0x02;
constexpr std::uint8_t kInUse = 0x04;
constexpr std::uint8_t kAlarm = 0x0C;
// The fourth function: none on A1, AC mains supervision on A2, arming control on A3.
constexpr std::array<std::uint8_t, 3> kSpecial{0x00, 0x20, 0x10};
} // namespace

std::vector<const char*> AlarmInFields::FunctionItems(int line)
{
    std::vector<const char*> items{FunctionInactive, FunctionAlarm, FunctionInformational};
    if (line == 1)
        items.push_back(FunctionMains);
    else if (line == 2)
        items.push_back(FunctionArming);
    return items;
}

AlarmInFields AlarmInFields::Load(const TZorvexSettings& settings)
{
    AlarmInFields f;
    for (int i = 0; i < 3; ++i) {
        const std::uint8_t b = settings.Cfg.GetByte(Offsets[i]);
        Line& line = f.lines[i];
        if ((b & kAlarm) == kAlarm)
            line.function = fnAlarm;
        else if (b & kInUse)
            line.function = fnInformational;
        else if (b & kSpecial[i])
            line.function = fnSpecial;
        else
            line.function = fnInactive;
        line.fast = b & kSpeed;
        line.normallyClosed = b & kContact;
    }
    return f;
}

void AlarmInFields::Store(TZorvexSettings& settings) const
{
    for (int i = 0; i < 3; ++i) {
        const Line& line = lines[i];
        std::uint8_t b = 0;
        switch (line.function) {
        case fnAlarm:
            b = kAlarm;
            break;
        case fnInformational:
            b = kInUse;
            break;
        case fnSpecial:
            b = kSpecial[i];
            break;
        default:
            break;
        }
        if (line.fast)
            b |= kSpeed;
        if (line.normallyClosed)
            b |= kContact;
        settings.Cfg.SetByte(Offsets[i], b);
    }
}
