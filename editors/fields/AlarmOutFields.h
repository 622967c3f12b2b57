#pragma once

#include "editors/fields/EditorField.h"

#include <array>
#include <cstdint>
#include <string>

class TZorvexSettings;

// What the PGM-outputs dialog shows: the trigger of PGM1 and PGM2 (image bytes 50, 51,
// one bit each) and their on-times in seconds (bytes 52, 53, 0..255).
struct AlarmOutFields
{
    static constexpr std::array<int, 2> TriggerOffsets{50, 51};
    static constexpr std::array<int, 2> TimeOffsets{52, 53};

    // The trigger list, in item order, and the byte each item stands for.
    static constexpr std::array<const char*, 8> TriggerTexts{
        "Brak napięcia w linii telefonicznej",
        "Wejście w tryb alarmu",
        "Brak połączenia ze SMA",
        "Brak potwierdzonego komunikatu",
        "Wejście do trybu UZBROJONY",
        "Sterowanie przez użytkownika",
        "Problem techniczny <SYSTEM>",
        "Wyjście nieaktywne",
    };
    static constexpr std::array<std::uint8_t, 8> TriggerCodes{0x01, 0x02, 0x04, 0x08,
                                                              0x10, 0x20, 0x40, 0x00};
    // What the dialog names things ("&" marks the accelerator), PGM1 then PGM2.
    static constexpr const char* Caption = "Wyjścia programowalne PGM";
    static constexpr std::array<const char*, 2> TriggerLabels{"Wyzwalanie PGM&1",
                                                              "Wyzwalanie PGM&2"};
    static constexpr std::array<const char*, 2> TimeLabels{"Czas &PGM1 [s]", "Czas P&GM2 [s]"};

    // Item of a trigger byte, or -1 (no selection) for a byte not in the table.
    static int TriggerItem(std::uint8_t code);

    std::array<int, 2> triggers{-1, -1}; // item of each trigger list, -1 = no selection
    std::array<std::string, 2> times;    // decimal texts as the time fields hold them

    static AlarmOutFields Load(const TZorvexSettings& settings);
    // Replaces empty time texts by "0".
    void FillEmptyTimes();
    // Writes bytes 50, 51 (no selection as 0x00), then 52, 53 from the texts. Both texts
    // are converted first: one that is not 0..255 raises EConvertError with the image
    // untouched.
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
