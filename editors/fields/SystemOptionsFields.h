#pragma once

#include "editors/fields/EditorField.h"

#include <array>
#include <cstdint>

class TZorvexSettings;

// What the system-options dialog shows: eight yes/no options, single bits of image
// bytes 55 (bits 0..4) and 44 (bits 0, 1, 3). Byte 44 is shared with the access-codes
// dialog (bit 2), and the dialer keeps other settings in the remaining bits, so every
// bit not listed here is written back exactly as read.
struct SystemOptionsFields
{
    struct Bit
    {
        int offset;
        std::uint8_t mask;
    };
    // Rows 1..8 of the dialog.
    static constexpr std::array<Bit, 8> Bits{{{55, 0x01},
                                              {55, 0x02},
                                              {55, 0x04},
                                              {55, 0x08},
                                              {55, 0x10},
                                              {44, 0x01},
                                              {44, 0x02},
                                              {44, 0x08}}};

    // What the dialog names things ("&" marks the accelerator), row order.
    static constexpr const char* Caption = "Opcje systemowe";
    static constexpr std::array<const char*, 8> Labels{
        "&Blokada klawiatury po trzech próbach:",
        "Blokada &detekcji i braku napięcia w linii telefonicznej:",
        "Blokada funkcji reprogramowania &zegara:",
        "Blokada zapisu &komunikatu alarmowego:",
        "Blokada ponownego programowania &instalatora:",
        "&8 kolejek telefonowania (normalnie 4):",
        "Komunikat &transmitowany 4 razy (normalnie 2):",
        "Funkcja &samouzbrajania:",
    };

    std::array<bool, 8> options{}; // row order; true = "TAK"
    std::uint8_t held55 = 0;       // the two bytes as read
    std::uint8_t held44 = 0;

    static SystemOptionsFields Load(const TZorvexSettings& settings);
    // Writes byte 55, then byte 44: the held value with the dialog's bits set or cleared.
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
