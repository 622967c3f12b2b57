#include "editors/fields/FieldBatch.h"

#include "editors/fields/FieldText.h"
#include "model/TZorvexSettings.h"

#include <algorithm>

namespace {

// Entries that are refused only because of each other's old values (two access codes
// swapped): each is written where the others' bits are blank, then all of them must pass
// together, each against the others' new values, as the dialog checks them on OK.
bool Settle(TZorvexSettings& scratch, const std::vector<const FieldEntry*>& stuck)
{
    TZorvexSettings blank = scratch;
    for (const FieldEntry* entry : stuck)
        PutStoredBytes(*entry->field, blank,
                       std::vector<std::uint8_t>(StoredBytes(*entry->field, blank).size(), 0xFF));
    TZorvexSettings together = scratch;
    for (const FieldEntry* entry : stuck) {
        TZorvexSettings alone = blank;
        if (WriteTyped(*entry->field, alone, entry->text))
            return false;
        PutStoredBytes(*entry->field, together, StoredBytes(*entry->field, alone));
    }
    for (const FieldEntry* entry : stuck) {
        TZorvexSettings check = together;
        if (WriteTyped(*entry->field, check, entry->text) ||
            StoredBytes(*entry->field, check) != StoredBytes(*entry->field, together))
            return false;
    }
    scratch = together;
    return true;
}

} // namespace

std::vector<FieldFailure> WriteFields(TZorvexSettings& settings,
                                      const std::vector<FieldEntry>& entries)
{
    // The last entry of each field, in the order of first mention.
    std::vector<const FieldEntry*> pending;
    for (const FieldEntry& entry : entries) {
        const auto same = std::find_if(pending.begin(), pending.end(), [&](const FieldEntry* e) {
            return e->field == entry.field;
        });
        if (same != pending.end())
            *same = &entry;
        else
            pending.push_back(&entry);
    }

    TZorvexSettings scratch = settings;
    // Stored bytes first: a text entry that conflicts with one of them is then told so.
    std::erase_if(pending, [&](const FieldEntry* entry) {
        if (!entry->stored)
            return false;
        TZorvexSettings probe = scratch;
        if (!PutStoredBytes(*entry->field, probe, *entry->stored) ||
            entry->field->read(probe) != entry->text)
            return false;
        scratch = probe;
        return true;
    });

    std::vector<std::pair<const FieldEntry*, std::string>> refused;
    bool progress = true;
    while (!pending.empty() && progress) {
        progress = false;
        refused.clear();
        std::vector<const FieldEntry*> still;
        for (const FieldEntry* entry : pending) {
            if (auto error = WriteTyped(*entry->field, scratch, entry->text)) {
                refused.emplace_back(entry, *error);
                still.push_back(entry);
            } else {
                progress = true;
            }
        }
        pending = std::move(still);
    }
    if (!pending.empty() && Settle(scratch, pending))
        pending.clear();
    if (pending.empty()) {
        settings = scratch;
        return {};
    }
    std::sort(refused.begin(), refused.end(),
              [&](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<FieldFailure> failures;
    for (const auto& [entry, message] : refused)
        failures.push_back({entry->key, message});
    return failures;
}
