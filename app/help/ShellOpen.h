#pragma once

#include <QUrl>

#include <functional>

// Asks the desktop to open a web page, a mail link or a help page with its default
// program. The outcome is not examined: with no browser or mail program nothing is
// reported. Tests install a handler that records the address instead.
void ShellOpen(const QUrl& url);
using ShellOpenHandler = std::function<void(const QUrl&)>;
// Returns the previous handler; an empty handler restores the desktop's.
ShellOpenHandler InstallShellOpenHandler(ShellOpenHandler handler);

// The fictional vendor's addresses, shown in the about box and opened by the help menu.
namespace Vendor {
inline constexpr const char* Name = "Zorvex Systemy Alarmowe Sp. z o.o.";
inline constexpr const char* Address = "ul. Przykładowa 12, 00-950 Warszawa";
inline constexpr const char* Phones = "tel. (22) 555 01 23, faks (22) 555 01 24";
inline constexpr const char* Web = "zorvex.example.com";
inline constexpr const char* WebUrl = "https://zorvex.example.com/";
inline constexpr const char* Mail = "zorvex@example.com";
inline constexpr const char* MailUrl = "mailto:zorvex@example.com";
} // namespace Vendor
