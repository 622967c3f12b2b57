#pragma once

#include "editors/fields/EditorField.h"

#include "model/TZorvexSettings.h"

#include <array>
#include <optional>
#include <string>

// The access codes area: eleven 8-digit packed codes at 68..111, the "Zakaz
// programowania" flags of KU0..KU7 in byte 59 (bit k for KUk) and bit 2 of byte 44
// ("Stosowanie KU0 w trybie TRC"). The other bits of byte 44 are not this area's.
struct CodeFields
{
    static constexpr int Count = 11;
    static constexpr int Users = 8;
    // Indices into codes, in the order the checks visit them.
    static constexpr int KU8 = 8;
    static constexpr int KU9 = 9;
    static constexpr int Installer = 10;
    static constexpr int MinLength = 4;
    // Digits a code field takes: four for the PGM codes KU8 and KU9, else eight.
    static constexpr int MaxLength(int field) { return field == KU8 || field == KU9 ? 4 : 8; }

    // What the dialog names things ("&" marks the accelerator); Labels in field order.
    static constexpr const char* Caption = "Kody dostępu";
    static constexpr std::array<const char*, Count> Labels{"KU&0",
                                                           "KU&1",
                                                           "KU&2",
                                                           "KU&3",
                                                           "KU&4",
                                                           "KU&5",
                                                           "KU&6",
                                                           "KU&7",
                                                           "(PGM1) KU&8",
                                                           "(PGM2) KU&9",
                                                           "Kod &Instalatora:"};
    static constexpr const char* LockLabel = "&Zakaz programowania";
    static constexpr const char* TrcLabel = "Stosowanie KU0 w trybie TRC";

    // KU0..KU7, KU8, KU9, installer code: the stored digits up to the first F.
    std::array<std::string, Count> codes;
    std::array<bool, Users> locked{};
    // Item index of the TRC group: 1 "TAK" sets the bit; 0 "NIE" or none (-1) clears it.
    int trc = 0;

    // A failed check: the message to show and the index of the field to focus.
    struct Failure
    {
        const char* message;
        int field;
    };

    static CodeFields Load(const TZorvexSettings& settings);
    // The first failure in check order: a code shorter than MinLength (focus on it) or
    // a code equal to another one (focus on the other one).
    std::optional<Failure> Check() const;
    // Writes every code whole (padded with F), byte 59 from the flags alone and bit 2
    // of byte 44, keeping its other bits. Does not check.
    void Store(TZorvexSettings& settings) const;

    static constexpr int CodeOffset(int field)
    {
        return field < Users ? 80 + 4 * field : 68 + 4 * (field - Users);
    }

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
