#pragma once

#include <functional>

class QMainWindow;

// What an action runs when triggered, by the action's name ("OdczytKonfiguracjiDialera").
using ActionRunner = std::function<std::function<void()>(const char* name)>;

// Builds the main window's actions from MainActions() (children of window with the
// entry's name as object name; caption, category, hint, shortcut and glyph), each running
// runnerOf(name) when triggered; then its menu bar from MainMenus() and its tool bar
// ("ToolBar1", 16-pixel glyphs) from MainToolBar(). UI thread only.
void BuildMainActions(QMainWindow& window, const ActionRunner& runnerOf);
