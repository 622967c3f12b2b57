#pragma once

#include "editors/fields/EditorField.h"

#include <array>
#include <string>

class TZorvexSettings;

// What the configuration-description dialog shows: the fourteen description records as
// UTF-8 texts (record 0 the object's name, 1 and 2 its address, 3..13 a free
// description). The records hold Windows-1250 bytes; the conversion happens here, so a
// Polish letter is one record byte and survives a save and a load.
struct ConfigFields
{
    static constexpr int Count = 14;
    // Characters a field takes: one record byte each.
    static constexpr int MaxLength = 50;

    // What the dialog names things ("&" marks the accelerator): the object's name
    // (record 0), the address block (1, 2) and the description block (3..13).
    static constexpr const char* Caption = "Konfiguracja";
    static constexpr const char* NameLabel = "&Nazwa obiektu:";
    static constexpr const char* AddressLabel = "A&dres:";
    static constexpr const char* DescriptionLabel = "&Opis:";
    static constexpr int AddressRecord = 1;
    static constexpr int DescriptionRecord = 3;

    std::array<std::string, Count> texts;

    // Each record's text up to its first zero byte, or all 50 bytes when it has none.
    static ConfigFields Load(const TZorvexSettings& settings);
    // Stores each text into its record: at most 50 characters, a character Windows-1250
    // lacks as "?", a zero byte after a shorter text, the rest of the record kept.
    void Store(TZorvexSettings& settings) const;

    // The dialog's fields, in its order (see EditorField.h).
    static const EditorArea& Table();
};
