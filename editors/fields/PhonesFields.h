#pragma once

#include "editors/fields/EditorField.h"

#include "model/TZorvexSettings.h"

#include <array>
#include <string>

// The telephone numbers area of the image: eight 16-digit numbers at 112 + 8 * (k - 1),
// their "Zakaz programowania" flags in byte 58 (bit k - 1 for number k) and the numbers
// chosen for Polpager stations 1 and 2 in bytes 56 and 66 (1..8, anything else none).
// Plain C++: the dialog, the report, the command-line tool and the tests share it.
struct PhonesFields
{
    static constexpr int Count = 8;
    // Item index of a station group that means "Brak" (no number).
    static constexpr int NoStation = 8;

    // What the dialog names things ("&" marks the accelerator).
    static constexpr const char* Caption = "Telefony";
    static constexpr std::array<const char*, Count> NumberLabels{
        "NR &1", "NR &2", "NR &3", "NR &4", "NR &5", "NR &6", "NR &7", "NR &8"};
    static constexpr const char* LockLabel = "&Zakaz programowania";
    static constexpr std::array<const char*, 2> StationLabels{"St. &Polpager1", "St. Po&lpager2"};
    // Items of both station groups: numbers 1..8, then NoStation.
    static constexpr std::array<const char*, Count + 1> StationItems{"1", "2", "3", "4",   "5",
                                                                     "6", "7", "8", "Brak"};

    // Stored digits up to the first F; "0".."9", "B", "C", "D" as typed, a nibble 10 or
    // 14 from the device as "A" or "E" (stored back unchanged).
    std::array<std::string, Count> numbers;
    std::array<bool, Count> locked{};
    // Item indices 0..7 for numbers 1..8, NoStation for none; Store writes anything
    // outside 0..7 (also -1, no selection) as 0.
    int station1 = NoStation;
    int station2 = NoStation;

    static PhonesFields Load(const TZorvexSettings& settings);
    // Writes the whole area: each number padded with F to 16 digits, byte 58 rebuilt
    // from the flags alone, bytes 56 and 66 from the station items.
    void Store(TZorvexSettings& settings) const;

    // Offset of number k, 0-based.
    static constexpr int NumberOffset(int k) { return 112 + 8 * k; }

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
