#include "app/actions/MainFormHandlers.h"

#include "app/UnitMainForm.h"
#include "app/actions/ActionTable.h"

#include <cstring>

namespace {

// A handler is named after its action; ActionName checks that the action exists, so
// neither half of a pair can be misspelt.
#define ZVX_HANDLER(action)                                                                        \
    ActionHandler                                                                                  \
    {                                                                                              \
        ActionName(#action), &TMainFormZORVEX::action##Execute                                     \
    }

constexpr ActionHandler kHandlers[] = {
    ZVX_HANDLER(OpcjeProgramu),
    ZVX_HANDLER(NowaKonfiguracjaDialera),
    ZVX_HANDLER(ZapamietanieKonfiguracjiNaDysku),
    ZVX_HANDLER(OdczytKonfiguracjiZDysku),
    ZVX_HANDLER(ZapisKonfiguracjiDialera),
    ZVX_HANDLER(OdczytKonfiguracjiDialera),
    ZVX_HANDLER(WeryfikacjaKonfiguracjiDialera),
    ZVX_HANDLER(PorownajZPlikiem),
    ZVX_HANDLER(KopiujObszaryZPliku),
    ZVX_HANDLER(Archiwum),
    ZVX_HANDLER(RestartDialera),
    ZVX_HANDLER(WydrukKonfiguracji),
    ZVX_HANDLER(ZapiszRaportDoPDF),
    ZVX_HANDLER(WyjscieZProgramu),
    ZVX_HANDLER(DziennikTransmisji),
    ZVX_HANDLER(OProgramie),
    ZVX_HANDLER(NapiszDoNas),
    ZVX_HANDLER(SpisTresci),
    ZVX_HANDLER(SzukajSlowa),
    ZVX_HANDLER(JakUzywacPomocy),
    ZVX_HANDLER(OFirmie),
};

#undef ZVX_HANDLER

} // namespace

std::span<const ActionHandler> MainFormHandlers()
{
    return kHandlers;
}

ActionExecute MainFormHandlerOf(const char* action)
{
    for (const ActionHandler& handler : kHandlers)
        if (std::strcmp(handler.action, action) == 0)
            return handler.execute;
    return nullptr;
}
