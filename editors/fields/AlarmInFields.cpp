#include "editors/fields/AlarmInFields.h"

#include "editors/fields/FieldTableKit.h"
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

const EditorArea& AlarmInFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        // Store rebuilds each line byte: bits 6 and 7, which no control shows, are cleared.
        EditorArea a{"alarmInputs", Caption, {}, {}};
        for (int i = 0; i < 3; ++i) {
            const std::string prefix = "a" + std::to_string(i + 1);
            const auto offset = Offsets[i];
            a.unshown.push_back({offset, 0xC0});
            EditorField function =
                MakeField(prefix + "Function", FunctionLabels[i], fkList, {{offset, 0x3C}});
            for (const char* item : FunctionItems(i))
                function.items.emplace_back(item);
            BindItem<AlarmInFields>(
                function, [i](auto& m) -> auto& { return m.lines[i].function; });
            EditorField speed =
                MakeField(prefix + "Speed", SpeedLabel, fkRadio, {{offset, kSpeed}});
            speed.items.assign(SpeedItems.begin(), SpeedItems.end());
            Bind<AlarmInFields>(
                speed,
                [i](const AlarmInFields& m) { return std::string(SpeedItems[m.lines[i].fast]); },
                [i, items = speed.items](AlarmInFields& m,
                                         const std::string& text) -> std::optional<std::string> {
                    const int index = ItemIndex(items, text);
                    if (index < 0)
                        return NotAnItem(text, items);
                    m.lines[i].fast = index == 1;
                    return std::nullopt;
                });
            EditorField contact =
                MakeField(prefix + "Contact", ContactLabel, fkRadio, {{offset, kContact}});
            contact.items.assign(ContactItems.begin(), ContactItems.end());
            Bind<AlarmInFields>(
                contact,
                [i](const AlarmInFields& m) {
                    return std::string(ContactItems[m.lines[i].normallyClosed]);
                },
                [i, items = contact.items](AlarmInFields& m,
                                           const std::string& text) -> std::optional<std::string> {
                    const int index = ItemIndex(items, text);
                    if (index < 0)
                        return NotAnItem(text, items);
                    m.lines[i].normallyClosed = index == 1;
                    return std::nullopt;
                });
            for (EditorField* f : {&function, &speed, &contact}) {
                f->group = LineCaptions[i];
                a.fields.push_back(std::move(*f));
            }
        }
        return a;
    }();
    return area;
}
