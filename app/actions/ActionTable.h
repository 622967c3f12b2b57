#pragma once

#include <span>
#include <string_view>

// One entry of the main window's action list, in the list's order.
struct ActionSpec
{
    const char* name;     // object name, also the handler's stem: <name>Execute
    const char* category; // "Konfiguracja", "Telefony", ...
    // With the accelerator "&": every item a letter of its own within its menu (the
    // design's letters kept; the items it gave none have one of the letters left).
    const char* caption;
    const char* hint;     // tool-bar tip; nullptr for none
    const char* shortcut; // QKeySequence text, nullptr for none
    int image;            // glyph index, -1 for none
};

// The actions in the order of the action list. Everything else names an action through
// ActionName, so that a misspelt name does not build.
inline constexpr ActionSpec kMainActions[] = {
    {"OpcjeProgramu", "Konfiguracja", "O&pcje programu", "Opcje programu", nullptr, 1},
    {"NowaKonfiguracjaDialera", "Konfiguracja", "&Nowa konfiguracja dialera",
     "Nowa konfiguracja dialera", nullptr, 2},
    {"ZapamietanieKonfiguracjiNaDysku", "Konfiguracja", "Z&apamiętanie konfiguracji na dysku",
     "Zapamiętanie konfiguracji na dysku", "F2", 4},
    {"OdczytKonfiguracjiZDysku", "Konfiguracja", "O&dczyt konfiguracji z dysku",
     "Odczyt konfiguracji z dysku", "F3", 3},
    {"ZapisKonfiguracjiDialera", "Konfiguracja", "&Zapis konfiguracji dialera",
     "Zapis konfiguracji dialera", "F4", 6},
    {"OdczytKonfiguracjiDialera", "Konfiguracja", "&Odczyt konfiguracji dialera",
     "Odczyt konfiguracji dialera", "F5", 5},
    {"WeryfikacjaKonfiguracjiDialera", "Konfiguracja", "W&eryfikacja konfiguracji dialera",
     "Weryfikacja konfiguracji dialera", "Shift+F5", -1},
    {"PorownajZPlikiem", "Konfiguracja", "Porównaj z p&likiem...", "Porównaj z plikiem", nullptr,
     -1},
    {"KopiujObszaryZPliku", "Konfiguracja", "Kopiuj o&bszary z pliku...", "Kopiuj obszary z pliku",
     nullptr, -1},
    {"Archiwum", "Konfiguracja", "Arc&hiwum...", "Archiwum konfiguracji", nullptr, -1},
    {"RestartDialera", "Konfiguracja", "&Restart dialera", "Restart dialera", "F6", -1},
    {"OpisKonfiguracji", "Konfiguracja", "Opis &konfiguracji", "Opis konfiguracji", "F7", 10},
    {"WydrukKonfiguracji", "Konfiguracja", "&Wydruk konfiguracji", "Wydruk konfiguracji", "F8", 7},
    {"ZapiszRaportDoPDF", "Konfiguracja", "Zapisz raport do PD&F...", "Zapisz raport do PDF",
     nullptr, -1},
    {"WyjscieZProgramu", "Konfiguracja", "W&yjście z programu", "Wyjście z programu", "Alt+F4", -1},
    {"NumeryTelefonow", "Telefony", "&Numery telefonów", "Numery telefonów", "Alt+1", 12},
    {"ParametryTelefonowania", "Telefony", "&Parametry telefonowania", "Parametry telefonowania",
     "Alt+2", 11},
    {"KomunikatPOLPAGER", "Telefony", "&Komunikat POLPAGER", "Komunikat POLPAGER", "Alt+3", 13},
    {"KodyDostepu", "System", "&Kody dostępu", "Kody dostępu", "Alt+4", 14},
    {"WejsciaAlarmowe", "System", "Wejścia &alarmowe", "Wejścia alarmowe", "Alt+5", 19},
    {"WyjsciaPGM", "System", "Wyjścia &PGM", "Wyjścia PGM", "Alt+6", 20},
    {"Zwloki", "System", "&Zwłoki", "Zwłoki", "Alt+7", 17},
    {"OpcjeSystemowe", "System", "&Opcje systemowe", "Opcje systemowe", "Alt+8", 21},
    {"DziennikTransmisji", "System", "&Dziennik transmisji", "Dziennik transmisji", nullptr, -1},
    {"StacjeMonitorujace", "Monitorowanie", "&Stacje monitorujące", "Stacje monitorujące", "Alt+9",
     18},
    {"KodyZdarzen", "Monitorowanie", "&Kody zdarzeń", "Kody zdarzeń", "Alt+0", 15},
    {"HistoriaZdarzen", "Zdarzenia", "&Historia zdarzeń", "Historia zdarzeń", "F9", 0},
    {"OProgramie", "Pomoc", "O &programie...", "O programie...", nullptr, 9},
    {"NapiszDoNas", "Pomoc", "&Napisz do nas...", "Napisz do nas...", nullptr, 8},
    {"SpisTresci", "Pomoc", "&Spis treści", "Spis treści", "F1", 22},
    {"SzukajSlowa", "Pomoc", "S&zukaj słowa", "Szukaj słowa", nullptr, -1},
    {"JakUzywacPomocy", "Pomoc", "&Jak używać pomocy", "Jak używać pomocy", nullptr, -1},
    {"OFirmie", "Pomoc", "O &firmie...", nullptr, nullptr, -1},
};
std::span<const ActionSpec> MainActions();

namespace ActionTableCheck {
// Never called at run time: ActionName reaches it only while compiling a name that is no
// action's, and the compiler then stops with this function's name in its message.
inline void NoActionHasThisName() {}
} // namespace ActionTableCheck

// The action called name, found while compiling: ActionName("OdczytKonfiguracjiDialera")
// is that action's name, and a name that is no action's does not build.
consteval const char* ActionName(std::string_view name)
{
    for (const ActionSpec& action : kMainActions)
        if (name == action.name)
            return action.name;
    ActionTableCheck::NoActionHasThisName();
    return nullptr;
}

// Menus: a title and its items by action name; nullptr is a separator.
struct MenuSpec
{
    const char* title;
    std::span<const char* const> items;
};
std::span<const MenuSpec> MainMenus();

// Tool-bar buttons left to right by action name; nullptr is a separator.
std::span<const char* const> MainToolBar();
