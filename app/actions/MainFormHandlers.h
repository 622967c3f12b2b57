#pragma once

#include <span>

class TMainFormZORVEX;

// Which of the main window's own handlers runs each action: <action>Execute. The editor
// actions have none of their own (EditorActions.h). UI thread only.
using ActionExecute = void (TMainFormZORVEX::*)();
struct ActionHandler
{
    const char* action; // an action's name (ActionName)
    ActionExecute execute;
};

// The window's handlers, in the order of the action list.
std::span<const ActionHandler> MainFormHandlers();

// The handler of action, nullptr when the window has none of its own.
ActionExecute MainFormHandlerOf(const char* action);
