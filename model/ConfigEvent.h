#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// What can happen to a configuration: read from a dialer, written into one, checked
// against one (a read that leaves the configuration alone), the dialer restarted, loaded
// from a file or saved to one. One vocabulary for the dialer link's outcomes, the
// document's observers and the archive.
enum class ConfigEvent : std::uint8_t
{
    Read,
    Write,
    Verify,
    Restart,
    Load,
    Save,
};

// Every event, in the order the archive's lists offer them.
inline constexpr ConfigEvent AllConfigEvents[] = {
    ConfigEvent::Read,    ConfigEvent::Write, ConfigEvent::Verify,
    ConfigEvent::Restart, ConfigEvent::Load,  ConfigEvent::Save,
};

// The name the archive stores and "zvx archive log --json" prints: "read", "write",
// "verify", "restart", "load", "save". Archives written by earlier versions hold the same
// names, so they never change.
const char* ConfigEventName(ConfigEvent event);
// The event a stored name stands for; nothing for a name this version does not know.
std::optional<ConfigEvent> ConfigEventFromName(std::string_view name);
// The event in the user's words (UTF-8): "odczyt", "zapis", "weryfikacja", "restart",
// "wczytanie", "zapis do pliku".
const char* ConfigEventText(ConfigEvent event);
