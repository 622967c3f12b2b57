#pragma once

#include "editors/fields/EditorField.h"

#include "model/TZorvexSettings.h"

#include <string>

// The Polpager message area: the keypad code at 192..255 and its length in byte 57
// (see PolpagerCode.h). Also reads, never writes, the telephone numbers chosen for the
// two Polpager stations (bytes 56 and 66 and the numbers at 112..175).
struct PolpagerFields
{
    static constexpr const char* Undefined = "NIEZDEFINIOWANY";

    // What the dialog names things ("&" marks the accelerator).
    static constexpr const char* Caption = "Komunikat do stacji POLPAGER";
    static constexpr const char* Station1Label = "Nr telefoniczny do stacji POLPAGER 1:";
    static constexpr const char* Station2Label = "Nr telefoniczny do stacji POLPAGER 2:";
    static constexpr const char* MessageLabel = "&Komunikat:";

    // Station lines: "(n)  " and number n, "(n)  NIEZDEFINIOWANY" for an empty number,
    // "NIEZDEFINIOWANY" alone when no number is chosen.
    std::string station1;
    std::string station2;
    // UTF-8. Empty when byte 57 is 0 or 1 (a code of one symbol holds no text).
    std::string message;

    static PolpagerFields Load(const TZorvexSettings& settings);
    // An empty message clears the area (64 bytes FF, length 0). Otherwise stores the
    // keypad code padded with F and its length, or returns false and writes nothing
    // when the code is longer than 128 symbols. The station lines are not stored.
    [[nodiscard]] bool Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
