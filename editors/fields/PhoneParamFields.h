#pragma once

#include "editors/fields/EditorField.h"

#include <array>
#include <cstdint>
#include <string>

class TZorvexSettings;

// What the dialing-parameters dialog shows: the four option bits of image byte 46 and
// the three numbers of bytes 47..49.
struct PhoneParamFields
{
    struct Range
    {
        int minimum;
        int maximum;
    };
    // Bytes of the three numbers, in the dialog's order: notifications with the message
    // (1..4), ring signals for calls to the dialer (0..9), double-call time in s (0..255).
    static constexpr int OptionsOffset = 46;
    static constexpr std::array<int, 3> NumberOffsets{47, 48, 49};
    static constexpr std::array<Range, 3> NumberRanges{{{1, 4}, {0, 9}, {0, 255}}};
    // What an emptied number field is written as.
    static constexpr std::array<const char*, 3> EmptyNumberTexts{"1", "0", "0"};

    // What the dialog names things ("&" marks the accelerator), in the order above; each
    // number is followed by a note of its range.
    static constexpr const char* Caption = "Parametry współpracy z linią telefoniczną";
    static constexpr std::array<const char*, 4> OptionLabels{
        "&Wydłużony czas oczekiwania na DT (8s / 4s):",
        "&Ignorowanie braku DT:",
        "&Tonowe wybieranie numeru telef. (DTMF):",
        "&Blokada detekcji podniesienia słuchawki:",
    };
    static constexpr std::array<const char*, 3> NumberLabels{
        "Liczba powiadomień &komunikatem:",
        "Liczba &sygnałów wywołania w f. telefonów do dialera:",
        "&Czas dla funkcji podwójnego wywołania:",
    };
    static constexpr std::array<const char*, 3> NumberNotes{"(1..4)", "(0..9)", "(0..255s)"};

    // Byte 46 bits 0..3 in bit order (extended dial-tone wait, ignore a missing dial
    // tone, tone dialling, blocked off-hook detection): true = "TAK".
    std::array<bool, 4> options{};
    // Byte 46 as read; the dialer keeps other settings in bits 4..7, written back as read.
    std::uint8_t heldOptionsByte = 0;
    // Decimal texts of bytes 47..49 as the edits hold them. A stored value outside its
    // range (47 = 0 or 9, 48 = 12) is shown as stored, so that OK without a change
    // writes back exactly what the dialer had.
    std::array<std::string, 3> numbers;

    static PhoneParamFields Load(const TZorvexSettings& settings);
    // Replaces empty number texts by "1", "0", "0".
    void FillEmptyNumbers();
    // Writes byte 46, then 47..49 from the texts (empty ones as FillEmptyNumbers makes
    // them). Every text is converted before the first byte is written: a text that is
    // not 0..255 raises EConvertError and leaves the image untouched.
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
