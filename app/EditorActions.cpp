#include "app/EditorActions.h"

#include "editors/UnitAlarmIn.h"
#include "editors/UnitAlarmOut.h"
#include "editors/UnitCode.h"
#include "editors/UnitConfig.h"
#include "editors/UnitDelay.h"
#include "editors/UnitEventCode.h"
#include "editors/UnitHistory.h"
#include "editors/UnitPhoneParam.h"
#include "editors/UnitPhones.h"
#include "editors/UnitPolpager.h"
#include "editors/UnitStation.h"
#include "editors/UnitSystemOptions.h"

namespace {

template <class Dialog> void Run(TZorvexSettings& settings, QWidget* parent)
{
    Dialog dialog(parent);
    dialog.EditSettings(settings);
}

struct EditorAction
{
    const char* name;
    void (*run)(TZorvexSettings& settings, QWidget* parent);
};

constexpr EditorAction kEditors[] = {
    {"OpisKonfiguracji", &Run<TFormConfig>},
    {"NumeryTelefonow", &Run<TFormPhones>},
    {"ParametryTelefonowania", &Run<TFormPhoneParam>},
    {"KomunikatPOLPAGER", &Run<TFormPolpager>},
    {"KodyDostepu", &Run<TFormCode>},
    {"WejsciaAlarmowe", &Run<TFormAlarmIn>},
    {"WyjsciaPGM", &Run<TFormAlarmOut>},
    {"Zwloki", &Run<TFormDelay>},
    {"OpcjeSystemowe", &Run<TFormSystemOptions>},
    {"StacjeMonitorujace", &Run<TFormStation>},
    {"KodyZdarzen", &Run<TFormEventCode>},
    {"HistoriaZdarzen", &Run<TFormHistory>},
};

} // namespace

bool RunEditorAction(const char* actionName, TZorvexSettings& settings, QWidget* parent)
{
    for (const EditorAction& editor : kEditors) {
        if (qstrcmp(editor.name, actionName) == 0) {
            editor.run(settings, parent);
            return true;
        }
    }
    return false;
}
