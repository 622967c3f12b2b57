#pragma once

#include <span>

// One entry of the main window's action list, in the list's order.
struct ActionSpec
{
    const char* name;     // object name, also the handler's stem: <name>Execute
    const char* category; // "Konfiguracja", "Telefony", ...
    const char* caption;  // with the accelerator "&"
    const char* hint;     // tool-bar tip; nullptr for none
    const char* shortcut; // QKeySequence text, nullptr for none
    int image;            // glyph index, -1 for none
};

// The actions in the order of the action list.
std::span<const ActionSpec> MainActions();

// Menus: a title and its items by action name; nullptr is a separator.
struct MenuSpec
{
    const char* title;
    std::span<const char* const> items;
};
std::span<const MenuSpec> MainMenus();

// Tool-bar buttons left to right by action name; nullptr is a separator.
std::span<const char* const> MainToolBar();
