#include "editors/PhonesFields.h"

#include "model/Cp1250.h"

namespace {

constexpr int LocksOffset = 58;
constexpr int Station1Offset = 56;
constexpr int Station2Offset = 66;

int StationItem(std::uint8_t value)
{
    return value >= 1 && value <= 8 ? value - 1 : PhonesFields::NoStation;
}

std::uint8_t StationByte(int item)
{
    return item >= 0 && item <= 7 ? static_cast<std::uint8_t>(item + 1) : 0;
}

} // namespace

PhonesFields PhonesFields::Load(const TZorvexSettings& settings)
{
    const TCfg& cfg = settings.Cfg;
    PhonesFields f;
    for (int k = 0; k < Count; ++k)
        cfg.GetDigits(NumberOffset(k), 8, f.numbers[k], true);
    const std::uint8_t locks = cfg.GetByte(LocksOffset);
    for (int k = 0; k < Count; ++k)
        f.locked[k] = (locks >> k) & 1;
    f.station1 = StationItem(cfg.GetByte(Station1Offset));
    f.station2 = StationItem(cfg.GetByte(Station2Offset));
    return f;
}

void PhonesFields::Store(TZorvexSettings& settings) const
{
    TCfg& cfg = settings.Cfg;
    for (int k = 0; k < Count; ++k)
        cfg.SetDigits(Utf8ToCp1250(numbers[k]), NumberOffset(k), 8);
    std::uint8_t locks = 0;
    for (int k = 0; k < Count; ++k)
        if (locked[k])
            locks |= static_cast<std::uint8_t>(1u << k);
    cfg.SetByte(LocksOffset, locks);
    cfg.SetByte(Station1Offset, StationByte(station1));
    cfg.SetByte(Station2Offset, StationByte(station2));
}
