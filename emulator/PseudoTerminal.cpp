#include "emulator/PseudoTerminal.h"

#include "emulator/EEmulator.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        throw EEmulator::FromErrno(errno);
    char path[PATH_MAX];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, path, sizeof path) != 0) {
        const int error = errno;
        Close();
        throw EEmulator::FromErrno(error);
    }
    m_slavePath = path;
    m_slave = open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios line{};
    if (m_slave < 0 || tcgetattr(m_slave, &line) != 0) {
        const int error = errno;
        Close();
        throw EEmulator::FromErrno(error);
    }
    cfmakeraw(&line);
    line.c_cflag |= CLOCAL | CREAD;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    if (tcsetattr(m_slave, TCSANOW, &line) != 0) {
        const int error = errno;
        Close();
        throw EEmulator::FromErrno(error);
    }
}

PseudoTerminal::~PseudoTerminal()
{
    Close();
}

void PseudoTerminal::Close()
{
    if (m_slave >= 0)
        close(m_slave);
    if (m_master >= 0)
        close(m_master);
    m_slave = -1;
    m_master = -1;
}
