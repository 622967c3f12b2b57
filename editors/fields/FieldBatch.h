#pragma once

#include "editors/fields/EditorField.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TZorvexSettings;

// One field to be entered as text.
struct FieldEntry
{
    const EditorField* field = nullptr;
    std::string key;  // the full key as the user gave it, for messages ("delays.alarmEntry")
    std::string text; // as the dialog would show it (UTF-8)
    // The field's stored bytes (StoredBytes) that text was shown from, when the text alone
    // would not store them again (FieldText.h, ShownTextKeeps). While the field still
    // shows text with these bytes put back, the bytes are taken as they are; a text that
    // was changed is typed in as any other.
    std::optional<std::vector<std::uint8_t>> stored;
};

struct FieldFailure
{
    std::string key;
    std::string message; // the dialog's words
};

// Enters every entry as its dialog would on OK with all of them typed in at once: what the
// controls let through (TypedText), then write(). A later entry for the same field
// replaces an earlier one. A check against other fields (repeated access codes) is made
// against the others' new values whatever their order; entries that only conflict with a
// value still to be replaced are retried after the others. All or nothing: when any entry
// is refused, settings are untouched and every refusal is returned, in entry order.
std::vector<FieldFailure> WriteFields(TZorvexSettings& settings,
                                      const std::vector<FieldEntry>& entries);
