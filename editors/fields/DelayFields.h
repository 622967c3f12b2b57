#pragma once

#include "editors/fields/EditorField.h"

#include <array>
#include <string>

class TZorvexSettings;

// What the delays dialog shows, one row each: delay on entering the alarm mode
// (byte 42, s), pause between alarms (byte 45, min), delay on entering the armed mode
// (byte 43, s); each 0..255. Byte 44 between them is an option byte of other dialogs.
struct DelayFields
{
    static constexpr std::array<int, 3> Offsets{42, 45, 43};

    // What the dialog names things ("&" marks the accelerator), row order; each field is
    // followed by a note of its range and unit.
    static constexpr const char* Caption = "Zwłoki";
    static constexpr std::array<const char*, 3> Labels{
        "Na &wejście do trybu alarmu:", "&Pauza między alarmami:",
        "Na wejście do trybu &UZBROJONY:"};
    static constexpr std::array<const char*, 3> Notes{"(0..255 s)", "(0..255 min)", "(0..255s)"};

    std::array<std::string, 3> delays; // decimal texts as the fields hold them, row order

    static DelayFields Load(const TZorvexSettings& settings);
    // Replaces empty texts by "0".
    void FillEmptyDelays();
    // Writes bytes 42, 45, 43 from the texts after converting all three: one that is not
    // 0..255 raises EConvertError with the image untouched.
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
