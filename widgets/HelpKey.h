#pragma once

#include <QString>

#include <functional>

class QWidget;

// F1 in a window opens that window's page of the user manual. The lower layers only name
// the page ("phones.html"); the program installs the opener that turns the name into the
// manual's address and shows it. Without an opener F1 does nothing. UI thread only.
namespace HelpKey {

using Opener = std::function<void(const QString& page)>;
// Returns the previous opener; an empty one turns F1 off.
Opener InstallOpener(Opener opener);

// Opens page through the installed opener.
void OpenPage(const QString& page);

// F1 anywhere inside window (its own shortcut, so it works while the window is modal)
// opens page.
void Bind(QWidget* window, const QString& page);

} // namespace HelpKey
