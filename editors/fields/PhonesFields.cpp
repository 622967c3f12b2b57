#include "editors/fields/PhonesFields.h"

#include "editors/fields/FieldTableKit.h"
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

const EditorArea& PhonesFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"phones", Caption, {}, {}};
        std::vector<std::string> names;
        for (int k = 0; k < Count; ++k) {
            EditorField f = MakeField("number" + std::to_string(k + 1), NumberLabels[k], fkText,
                                      Bytes(NumberOffset(k), 8));
            f.maxLength = 16;
            f.keys = DialKeys;
            f.upperCase = true;
            BindText<PhonesFields>(
                f, [k](auto& m) -> auto& { return m.numbers[k]; });
            a.fields.push_back(std::move(f));
            names.push_back(PlainLabelText(NumberLabels[k]));
        }
        EditorField locks = MakeField("locked", LockLabel, fkFlags, Bytes(LocksOffset));
        locks.items = names;
        BindFlags<PhonesFields>(
            locks, [](auto& m) -> auto& { return m.locked; });
        a.fields.push_back(std::move(locks));
        const int offsets[2] = {Station1Offset, Station2Offset};
        for (int i = 0; i < 2; ++i) {
            EditorField f = MakeField("polpager" + std::to_string(i + 1), StationLabels[i], fkRadio,
                                      Bytes(offsets[i]));
            f.items.assign(StationItems.begin(), StationItems.end());
            BindItem<PhonesFields>(
                f, [i](auto& m) -> auto& { return i == 0 ? m.station1 : m.station2; });
            a.fields.push_back(std::move(f));
        }
        return a;
    }();
    return area;
}
