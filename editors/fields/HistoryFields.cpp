#include "editors/fields/HistoryFields.h"

#include "editors/fields/FieldTableKit.h"
#include "model/TZorvexSettings.h"
#include "resources/ConstsZVX.h"

#include <cstdio>

std::string HistoryFields::RenderTime(std::uint8_t hour, std::uint8_t minute)
{
    if (hour == NotSet)
        return ConstsZVX::HistoryNotSet;
    char text[8];
    std::snprintf(text, sizeof text, "%02X:%02X", hour, minute);
    return text;
}

HistoryFields HistoryFields::Load(const TZorvexSettings& settings)
{
    HistoryFields f;
    for (std::size_t i = 0; i < RowOffsets.size(); ++i) {
        const int at = RowOffsets[i];
        f.times[i] = RenderTime(settings.Cfg.GetByte(at), settings.Cfg.GetByte(at + 1));
    }
    return f;
}

void HistoryFields::Reset()
{
    resetRequested = true;
    times.fill(ConstsZVX::HistoryNotSet);
}

void HistoryFields::Store(TZorvexSettings& settings) const
{
    if (!resetRequested)
        return;
    for (const int at : RowOffsets)
        settings.Cfg.Fill(at, NotSet, 2);
}

const EditorArea& HistoryFields::Table()
{
    using namespace FieldTableKit;
    static const EditorArea area = [] {
        EditorArea a{"history", Caption, {}, {}};
        const char* keys[4] = {"alarmStart", "lineCut", "acLoss", "lastArming"};
        for (std::size_t i = 0; i < RowOffsets.size(); ++i) {
            // The dialog only clears the times (all four at once); a text clears this one.
            EditorField f = MakeField(keys[i], Labels[i], fkDisplay, Bytes(RowOffsets[i], 2));
            Bind<HistoryFields>(
                f, [i](const HistoryFields& m) { return m.times[i]; },
                [](HistoryFields& m, const std::string& text) -> std::optional<std::string> {
                    if (text != ConstsZVX::HistoryNotSet)
                        return std::string(ConstsZVX::HistoryOnlyReset);
                    m.Reset();
                    return std::nullopt;
                });
            a.fields.push_back(std::move(f));
        }
        return a;
    }();
    return area;
}
