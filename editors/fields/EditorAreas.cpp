#include "editors/fields/EditorAreas.h"

#include "editors/fields/AlarmInFields.h"
#include "editors/fields/AlarmOutFields.h"
#include "editors/fields/CodeFields.h"
#include "editors/fields/ConfigFields.h"
#include "editors/fields/DelayFields.h"
#include "editors/fields/EventCodeFields.h"
#include "editors/fields/HistoryFields.h"
#include "editors/fields/PhoneParamFields.h"
#include "editors/fields/PhonesFields.h"
#include "editors/fields/PolpagerFields.h"
#include "editors/fields/StationFields.h"
#include "editors/fields/SystemOptionsFields.h"

const std::vector<const EditorArea*>& EditorAreas()
{
    static const std::vector<const EditorArea*> areas{
        &PhonesFields::Table(),    &PhoneParamFields::Table(),    &PolpagerFields::Table(),
        &CodeFields::Table(),      &AlarmInFields::Table(),       &AlarmOutFields::Table(),
        &DelayFields::Table(),     &SystemOptionsFields::Table(), &StationFields::Table(),
        &EventCodeFields::Table(), &HistoryFields::Table(),       &ConfigFields::Table(),
    };
    return areas;
}

const EditorArea* FindEditorArea(std::string_view areaKey)
{
    for (const EditorArea* area : EditorAreas())
        if (area->key == areaKey)
            return area;
    return nullptr;
}

const EditorField* FindEditorField(std::string_view fullKey)
{
    const auto dot = fullKey.find('.');
    if (dot == std::string_view::npos)
        return nullptr;
    const EditorArea* area = FindEditorArea(fullKey.substr(0, dot));
    return area ? area->Find(fullKey.substr(dot + 1)) : nullptr;
}
