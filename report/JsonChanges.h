#pragma once

#include "editors/fields/FieldBatch.h"

#include <QJsonObject>
#include <QStringList>

#include <cstdint>
#include <utility>
#include <vector>

class TZorvexSettings;

// What a configuration document asks to change: a "zvx show --json" document or any part
// of it (only the areas and keys it holds), as docs/report-json.md describes it.
struct JsonChanges
{
    // Field values, areas in the order of the menus, each area's fields in the dialog's
    // order; a description record may come twice, from "records" and from the area.
    std::vector<FieldEntry> entries;
    // "unedited": image offset and the byte; only the bits no field owns are taken.
    std::vector<std::pair<int, std::uint8_t>> unedited;
    // Keys that only describe (image, fingerprint, captions, labels, the Polpager station
    // lines, an access code masked as "****"): left as they are.
    QStringList ignored;
    // Keys that name nothing, or values of the wrong kind: one message each.
    QStringList problems;
};

JsonChanges ReadJsonChanges(const QJsonObject& document);

// The unedited bits, then WriteFields: all or nothing, the failures as WriteFields gives
// them. A description record given both under "records" and in the description area is
// entered once: where the two texts differ, the one that differs from the record as it
// reads in settings is the edit and wins; when both do, the record is refused, naming
// both keys.
std::vector<FieldFailure> ApplyJsonChanges(const JsonChanges& changes, TZorvexSettings& settings);
