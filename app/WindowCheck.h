#pragma once

class TMainFormZORVEX;

// A scripted run of the window for the checks of a build on a machine without anyone at
// it (the Windows program under Wine): when the environment names a log file
// (ZVX_WINDOW_CHECK_LOG) and a configuration file (ZVX_WINDOW_CHECK_SAVE), the window
// shows its about box, which is closed at once, reads the dialer with the F5 key's action,
// saves the configuration to that file through the save action, and the program ends.
// Every message box is answered with its default button. The log gets one line per step:
// "about: <title>", "box: <text>", "read: ok" or "read: <message>", "saved: <file>".
// A run that does not end within 60 s logs "timeout" and ends the program with status 1.
// Without the variables nothing happens. UI thread only.
void StartWindowCheck(TMainFormZORVEX& window);
