#pragma once

#include "editors/fields/EditorField.h"

#include <optional>
#include <string>

// The facts the manual prints about an editor area, taken from its field table: one HTML
// table with a row per field (label as the dialog shows it, what it accepts, the factory
// value, the note). Plain C++; texts are UTF-8.
namespace ManualFacts {

// The line in a hand-written page that the facts table replaces.
inline constexpr const char* Marker = "<!-- fakty z tabeli pól -->";

// The label without its accelerator "&" ("&&" stands for "&"), as the dialog shows it.
std::string ShownLabel(const std::string& dialogLabel);

// The facts table of the area.
std::string FactsTable(const EditorArea& area);

// page with its marker line replaced by the area's facts table; nothing when page has
// no marker.
std::optional<std::string> FillPage(const std::string& page, const EditorArea& area);

// Writes <outputDir>/<area>.html for every area from <pageDir>/<area>.html. Returns the
// problems found (a page missing or without its marker, a file not written), one a line;
// empty on success.
std::string WritePages(const std::string& pageDir, const std::string& outputDir);

} // namespace ManualFacts
