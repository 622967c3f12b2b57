#pragma once

#include "editors/fields/EditorField.h"

#include "model/TZorvexSettings.h"

#include <array>
#include <string>

// The event codes area: sixteen one-byte codes at 176..191, each shown as two
// hexadecimal digits, and the time of the daily test transmission, hour in byte 62 and
// minute in byte 63, both BCD.
struct EventCodeFields
{
    static constexpr int Count = 16;
    static constexpr int CodesOffset = 176;
    static constexpr int HourOffset = 62;
    static constexpr int MinuteOffset = 63;

    // What the dialog names things ("&" marks the accelerator), codes in byte order.
    static constexpr const char* Caption = "Kody zdarzeń";
    static constexpr std::array<const char*, Count> Labels{
        "Kod wejścia A&1",
        "Kod wejścia A&2",
        "Kod wejścia A&3",
        "&Koniec pauzy po alarmie",
        "Przepełnienie listy zdarzeń &SMA1",
        "Przepełnienie listy zdarzeń S&MA2",
        "&Utrata zdarzeń do SMA1",
        "U&trata zdarzeń do SMA2",
        "&Lokalne uzbrojenie dialera",
        "L&okalne rozbrojenie dialera",
        "&Zdalne uzbrojenie dialera",
        "Z&dalne rozbrojenie dialera",
        "Zdarzenie t&estowe",
        "&Restart urządzenia",
        "Zanik napięcia A&C",
        "&Powrót napięcia AC",
    };
    static constexpr const char* TimeLabel = "&Godzina transmisji testu:";

    // Two upper-case hexadecimal digits as loaded; on Store an empty text is "00" and a
    // single character is the high nibble with F behind it.
    std::array<std::string, Count> codes;
    // Test time, hour 0..23 and minute 0..59. Bytes that do not make a time of day (an
    // hour of 0x24, bytes FF from a blank device) load as 00:00, so the area can still
    // be edited; Store then writes the time shown.
    int hour = 0;
    int minute = 0;
    // The stored bytes were not a time of day and hour and minute are the 00:00 put in
    // their place; the dialog tells the user so once, before OK can store it.
    bool timeReplaced = false;

    static EventCodeFields Load(const TZorvexSettings& settings);
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
