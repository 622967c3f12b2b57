#include "model/ConfigEvent.h"

#include <iterator>

namespace {

struct Words
{
    ConfigEvent event;
    const char* name;
    const char* text;
};

// One row per event, in the enum's order.
constexpr Words kWords[] = {
    {ConfigEvent::Read, "read", "odczyt"},          {ConfigEvent::Write, "write", "zapis"},
    {ConfigEvent::Verify, "verify", "weryfikacja"}, {ConfigEvent::Restart, "restart", "restart"},
    {ConfigEvent::Load, "load", "wczytanie"},       {ConfigEvent::Save, "save", "zapis do pliku"},
};

constexpr bool InEnumOrder()
{
    for (std::size_t i = 0; i < std::size(kWords); ++i)
        if (static_cast<std::size_t>(kWords[i].event) != i)
            return false;
    return std::size(kWords) == std::size(AllConfigEvents);
}
static_assert(InEnumOrder(), "one row per ConfigEvent, in the enum's order");

} // namespace

const char* ConfigEventName(ConfigEvent event)
{
    return kWords[static_cast<std::size_t>(event)].name;
}

std::optional<ConfigEvent> ConfigEventFromName(std::string_view name)
{
    for (const Words& words : kWords)
        if (name == words.name)
            return words.event;
    return std::nullopt;
}

const char* ConfigEventText(ConfigEvent event)
{
    return kWords[static_cast<std::size_t>(event)].text;
}
