#include "app/actions/EditorActions.h"

#include "editors/dialogs/UnitAlarmIn.h"
#include "editors/dialogs/UnitAlarmOut.h"
#include "editors/dialogs/UnitCode.h"
#include "editors/dialogs/UnitConfig.h"
#include "editors/dialogs/UnitDelay.h"
#include "editors/dialogs/UnitEventCode.h"
#include "editors/dialogs/UnitHistory.h"
#include "editors/dialogs/UnitPhoneParam.h"
#include "editors/dialogs/UnitPhones.h"
#include "editors/dialogs/UnitPolpager.h"
#include "editors/dialogs/UnitStation.h"
#include "editors/dialogs/UnitSystemOptions.h"

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
