#include "app/actions/EditorActions.h"

#include "app/actions/ActionTable.h"
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

constexpr EditorAction kEditors[] = {
    {ActionName("OpisKonfiguracji"), &Run<TFormConfig>},
    {ActionName("NumeryTelefonow"), &Run<TFormPhones>},
    {ActionName("ParametryTelefonowania"), &Run<TFormPhoneParam>},
    {ActionName("KomunikatPOLPAGER"), &Run<TFormPolpager>},
    {ActionName("KodyDostepu"), &Run<TFormCode>},
    {ActionName("WejsciaAlarmowe"), &Run<TFormAlarmIn>},
    {ActionName("WyjsciaPGM"), &Run<TFormAlarmOut>},
    {ActionName("Zwloki"), &Run<TFormDelay>},
    {ActionName("OpcjeSystemowe"), &Run<TFormSystemOptions>},
    {ActionName("StacjeMonitorujace"), &Run<TFormStation>},
    {ActionName("KodyZdarzen"), &Run<TFormEventCode>},
    {ActionName("HistoriaZdarzen"), &Run<TFormHistory>},
};

} // namespace

std::span<const EditorAction> EditorActions()
{
    return kEditors;
}

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
