#pragma once

#include <QString>

#include <memory>

class DialerEmulator;

// "zorvex --emulator": an emulated dialer on a pseudo-terminal, paced like the real line,
// to which every port name COM1..COM16 leads, so a newcomer can read, write and restart
// without hardware. Lives as long as the object. UI thread only.
class EmulatorMode
{
public:
    // Starts the emulator and points the port names at it; raises the emulator's error
    // when no pseudo-terminal can be had.
    EmulatorMode();
    ~EmulatorMode();

    // The emulator's end of the line, which every COM name opens while an EmulatorMode
    // lives; empty otherwise.
    static QString Path();

private:
    std::unique_ptr<DialerEmulator> m_emulator;
};
