#pragma once

#include "editors/fields/EditorField.h"

#include <vector>

class TZorvexSettings;

// Copies whole areas from one configuration into another, as a template gives them: every
// image bit the area owns (its fields' and the ones it keeps unshown, EditorArea::
// OwnedMask) and, for the description area, the fourteen records whole. Nothing else
// changes; byte 0, the checksum, is left to the save. Plain C++, any thread.
void CopyAreas(const TZorvexSettings& from, TZorvexSettings& to,
               const std::vector<const EditorArea*>& areas);
