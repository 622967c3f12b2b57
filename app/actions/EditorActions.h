#pragma once

#include <span>

class QWidget;
class TZorvexSettings;

// The main window's editor actions all work alike: create the area's dialog over parent,
// call its EditSettings with the settings, destroy the dialog (also when EditSettings
// throws). The dialog's result is not used. Returns false when actionName
// ("NumeryTelefonow", ...) is no editor action. UI thread only.
bool RunEditorAction(const char* actionName, TZorvexSettings& settings, QWidget* parent);

// One editor action: its name (ActionName) and how it runs its dialog.
struct EditorAction
{
    const char* name;
    void (*run)(TZorvexSettings& settings, QWidget* parent);
};
// The editor actions, in the order of the menus.
std::span<const EditorAction> EditorActions();
