#pragma once

#include "editors/fields/EditorField.h"

#include <array>
#include <cstdint>
#include <string>

class TZorvexSettings;

// What the event-history dialog shows: four times of day that the dialer recorded, each
// an hour byte and a minute byte in BCD. An hour byte 0xFF means the event has not
// occurred since the last clearing.
struct HistoryFields
{
    // Hour-byte offsets in row order: start of the alarm, telephone line cut, loss of AC
    // mains, last arming. The minute byte follows each.
    static constexpr std::array<int, 4> RowOffsets{12, 10, 6, 8};
    static constexpr std::uint8_t NotSet = 0xFF;

    // What the dialog names things, row order.
    static constexpr const char* Caption = "Historia zdarzeń";
    static constexpr std::array<const char*, 4> Labels{
        "Godzina rozpoczęcia alarmu:",
        "Godzina odcięcia linii telefonicznej:",
        "Godzina utraty AC:",
        "Godzina ostatniego uzbrojenia:",
    };

    // "NIE BYŁO" for an hour byte 0xFF (the minute byte is then not looked at), else
    // "HH:MM" from the two bytes' hexadecimal digits as they are, so that a byte that is
    // not valid BCD still shows what the dialer holds. Always a colon.
    static std::string RenderTime(std::uint8_t hour, std::uint8_t minute);

    std::array<std::string, 4> times; // row order
    bool resetRequested = false;      // the user asked to clear all four

    static HistoryFields Load(const TZorvexSettings& settings);
    // Marks all four times not set, as the reset button shows it.
    void Reset();
    // Writes only after a reset: 0xFF into both bytes of each time, in row order.
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
