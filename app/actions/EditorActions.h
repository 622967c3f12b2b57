#pragma once

class QWidget;
class TZorvexSettings;

// The main window's editor actions all work alike: create the area's dialog over parent,
// call its EditSettings with the settings, destroy the dialog (also when EditSettings
// throws). The dialog's result is not used. Returns false when actionName
// ("NumeryTelefonow", ...) is no editor action. UI thread only.
bool RunEditorAction(const char* actionName, TZorvexSettings& settings, QWidget* parent);
