#pragma once

#include "editors/fields/EditorField.h"

#include <string_view>
#include <vector>

// Every editor area's field table, in the order of the program's menus: phone numbers,
// dialing parameters, Polpager message, access codes, alarm inputs, PGM outputs, delays,
// system options, monitoring stations, event codes, event history, and last the
// configuration description. Built once on first use; any thread after that.
const std::vector<const EditorArea*>& EditorAreas();

// The area of that key ("phones"), or nullptr.
const EditorArea* FindEditorArea(std::string_view areaKey);

// A field by its full key "area.field" ("delays.alarmEntry", "codes.installer"), as the
// JSON names it; nullptr for an unknown area or field.
const EditorField* FindEditorField(std::string_view fullKey);
