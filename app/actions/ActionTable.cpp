#include "app/actions/ActionTable.h"

namespace {

// Menus and the tool bar name their actions through ActionName, which checks each name
// against the action list while compiling.
constexpr const char* kKonfiguracja[] = {ActionName("OpcjeProgramu"),
                                         nullptr,
                                         ActionName("NowaKonfiguracjaDialera"),
                                         ActionName("ZapamietanieKonfiguracjiNaDysku"),
                                         ActionName("OdczytKonfiguracjiZDysku"),
                                         ActionName("ZapisKonfiguracjiDialera"),
                                         ActionName("OdczytKonfiguracjiDialera"),
                                         ActionName("WeryfikacjaKonfiguracjiDialera"),
                                         ActionName("PorownajZPlikiem"),
                                         ActionName("KopiujObszaryZPliku"),
                                         ActionName("Archiwum"),
                                         ActionName("RestartDialera"),
                                         ActionName("OpisKonfiguracji"),
                                         ActionName("WydrukKonfiguracji"),
                                         ActionName("ZapiszRaportDoPDF"),
                                         nullptr,
                                         ActionName("WyjscieZProgramu")};
constexpr const char* kTelefony[] = {ActionName("NumeryTelefonow"),
                                     ActionName("ParametryTelefonowania"),
                                     ActionName("KomunikatPOLPAGER")};
constexpr const char* kSystem[] = {ActionName("KodyDostepu"),       ActionName("WejsciaAlarmowe"),
                                   ActionName("WyjsciaPGM"),        ActionName("Zwloki"),
                                   ActionName("OpcjeSystemowe"),    nullptr,
                                   ActionName("DziennikTransmisji")};
constexpr const char* kMonitorowanie[] = {ActionName("StacjeMonitorujace"),
                                          ActionName("KodyZdarzen")};
constexpr const char* kZdarzenia[] = {ActionName("HistoriaZdarzen")};
constexpr const char* kPomoc[] = {
    ActionName("SpisTresci"), ActionName("SzukajSlowa"), ActionName("JakUzywacPomocy"), nullptr,
    ActionName("OFirmie"),    ActionName("NapiszDoNas"), ActionName("OProgramie")};

constexpr MenuSpec kMenus[] = {
    {"&Konfiguracja", kKonfiguracja},   {"&Telefony", kTelefony},   {"&System", kSystem},
    {"&Monitorowanie", kMonitorowanie}, {"&Zdarzenia", kZdarzenia}, {"&Pomoc", kPomoc},
};

constexpr const char* kToolBar[] = {ActionName("OpcjeProgramu"),
                                    nullptr,
                                    ActionName("NowaKonfiguracjaDialera"),
                                    ActionName("OdczytKonfiguracjiZDysku"),
                                    ActionName("ZapamietanieKonfiguracjiNaDysku"),
                                    ActionName("OdczytKonfiguracjiDialera"),
                                    ActionName("ZapisKonfiguracjiDialera"),
                                    ActionName("OpisKonfiguracji"),
                                    nullptr,
                                    ActionName("NumeryTelefonow"),
                                    ActionName("ParametryTelefonowania"),
                                    ActionName("KomunikatPOLPAGER"),
                                    nullptr,
                                    ActionName("KodyDostepu"),
                                    ActionName("WejsciaAlarmowe"),
                                    ActionName("WyjsciaPGM"),
                                    ActionName("Zwloki"),
                                    ActionName("OpcjeSystemowe"),
                                    nullptr,
                                    ActionName("StacjeMonitorujace"),
                                    ActionName("KodyZdarzen"),
                                    nullptr,
                                    ActionName("HistoriaZdarzen")};

} // namespace

std::span<const ActionSpec> MainActions()
{
    return kMainActions;
}

std::span<const MenuSpec> MainMenus()
{
    return kMenus;
}

std::span<const char* const> MainToolBar()
{
    return kToolBar;
}
