#pragma once

#include <string>

// The dialer's end of a pseudo-terminal: the master, non-blocking, and one descriptor of
// the slave kept open for the terminal's whole life. Holding the slave means the master
// never reports a hang-up while no PC has the port open, and the raw line settings made
// here stay in force, so the PC sees a raw line even before it sets the line up itself.
// Not thread-safe: one thread at a time.
class PseudoTerminal
{
public:
    // Raises EEmulator when no pseudo-terminal can be had.
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The path the PC opens ("/dev/pts/N"); kept after Close.
    const std::string& SlavePath() const { return m_slavePath; }
    // -1 once closed.
    int MasterFd() const { return m_master; }
    bool IsOpen() const { return m_master >= 0; }

    // Closes both descriptors: the PC sees the line vanish (EIO, hang-up).
    void Close();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};
