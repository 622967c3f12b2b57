#include "editors/fields/EventCodeFields.h"

#include "editors/fields/FieldTableKit.h"
#include "editors/fields/MessageText.h"
#include "model/Cp1250.h"

#include <optional>

namespace {

// Value of a time part as the stored byte renders it, cut before its first F: one or
// two decimal digits, else nothing.
std::optional<int> TimePart(const std::string& text)
{
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string TwoDigits(int value)
{
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

} // namespace

EventCodeFields EventCodeFields::Load(const TZorvexSettings& settings)
{
    const TCfg& cfg = settings.Cfg;
    EventCodeFields f;
    for (int i = 0; i < Count; ++i)
        cfg.GetDigits(CodesOffset + i, 1, f.codes[i], false);
    std::string hourText;
    std::string minuteText;
    cfg.GetDigits(HourOffset, 1, hourText, true);
    cfg.GetDigits(MinuteOffset, 1, minuteText, true);
    const auto hour = TimePart(hourText);
    const auto minute = TimePart(minuteText);
    if (hour && minute && *hour < 24 && *minute < 60) {
        f.hour = *hour;
        f.minute = *minute;
    } else {
        f.timeReplaced = true;
    }
    return f;
}

void EventCodeFields::Store(TZorvexSettings& settings) const
{
    TCfg& cfg = settings.Cfg;
    for (int i = 0; i < Count; ++i)
        cfg.SetDigits(codes[i].empty() ? "00" : Utf8ToCp1250(codes[i]), CodesOffset + i, 1);
    cfg.SetDigits(TwoDigits(hour), HourOffset, 1);
    cfg.SetDigits(TwoDigits(minute), MinuteOffset, 1);
}

const EditorArea& EventCodeFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"eventCodes", Caption, {}, {}};
        const char* keys[Count] = {
            "inputA1",      "inputA2",        "inputA3",      "pauseEnd",
            "overflowSma1", "overflowSma2",   "lostSma1",     "lostSma2",
            "localArming",  "localDisarming", "remoteArming", "remoteDisarming",
            "test",         "restart",        "acLost",       "acRestored"};
        for (int i = 0; i < Count; ++i) {
            EditorField f = MakeField(keys[i], Labels[i], fkText, Bytes(CodesOffset + i));
            f.maxLength = 2;
            f.keys = HexKeys;
            f.upperCase = true;
            BindText<EventCodeFields>(
                f, [i](auto& m) -> auto& { return m.codes[i]; });
            a.fields.push_back(std::move(f));
        }
        EditorField time =
            MakeField("testTime", TimeLabel, fkTime, {{HourOffset, 0xFF}, {MinuteOffset, 0xFF}});
        Bind<EventCodeFields>(
            time,
            [](const EventCodeFields& m) { return TwoDigits(m.hour) + ":" + TwoDigits(m.minute); },
            [](EventCodeFields& m, const std::string& text) -> std::optional<std::string> {
                const auto hour =
                    text.size() == 5 && text[2] == ':' ? TimePart(text.substr(0, 2)) : std::nullopt;
                const auto minute = hour ? TimePart(text.substr(3, 2)) : std::nullopt;
                if (!hour || !minute || *hour > 23 || *minute > 59)
                    return Format(ConstsZVX::FieldNotATime, MessageValue(text));
                m.hour = *hour;
                m.minute = *minute;
                return std::nullopt;
            });
        a.fields.push_back(std::move(time));
        return a;
    }();
    return area;
}
