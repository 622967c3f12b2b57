#include "serial/PosixTermios2.h"

#include "serial/ComBackend.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace PosixTermios2 {

namespace {

tcflag_t SizeFlag(TDataBits dataBits)
{
    switch (dataBits) {
    case dbFive:
        return CS5;
    case dbSix:
        return CS6;
    case dbSeven:
        return CS7;
    case dbEight:
        break;
    }
    return CS8;
}

tcflag_t ParityFlags(TParityBits parity)
{
    switch (parity) {
    case prOdd:
        return PARENB | PARODD;
    case prEven:
        return PARENB;
    case prMark:
        return PARENB | CMSPAR | PARODD;
    case prSpace:
        return PARENB | CMSPAR;
    case prNone:
        break;
    }
    return 0;
}

} // namespace

int SetLine(int fd, const ComLineSettings& line)
{
    struct termios2 tio
    {
    };
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return errno;

    // Raw: every byte passes both ways as it is. Breaks read as a zero byte.
    tio.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                             IXOFF | IXANY | IUCLC | IMAXBEL | IUTF8 | INPCK | IGNPAR);
    if (line.outX)
        tio.c_iflag |= IXON;
    if (line.inX)
        tio.c_iflag |= IXOFF;
    // The kernel can only replace a byte with a parity error by 0.
    if (line.parityCheck && line.errorChar)
        tio.c_iflag |= INPCK;
    tio.c_oflag = 0;
    tio.c_lflag = 0;

    tio.c_cflag &=
        ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= CREAD | CLOCAL | HUPCL | SizeFlag(line.dataBits) | ParityFlags(line.parity);
    if (line.stopBits != sbOneStopBit)
        tio.c_cflag |= CSTOPB; // with 5 data bits the UART makes it one and a half
    if (line.outxCtsFlow || line.rtsControl == rtsHandshake)
        tio.c_cflag |= CRTSCTS;
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ospeed = line.baudRate;
    tio.c_ispeed = line.baudRate;

    // VMIN 1 keeps a non-blocking read honest: EAGAIN when nothing is there, 0 only when
    // the line has hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    tio.c_cc[VSTART] = line.xonChar;
    tio.c_cc[VSTOP] = line.xoffChar;

    return ioctl(fd, TCSETS2, &tio) == 0 ? 0 : errno;
}

int ReadRates(int fd, std::uint32_t& outputRate, std::uint32_t& inputRate)
{
    struct termios2 tio
    {
    };
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return errno;
    outputRate = tio.c_ospeed;
    inputRate = tio.c_ispeed;
    return 0;
}

int TryRate(int fd, std::uint32_t rate, std::uint32_t& actual)
{
    actual = 0;
    struct termios2 was
    {
    };
    if (ioctl(fd, TCGETS2, &was) != 0)
        return errno;
    struct termios2 tio = was;
    tio.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ospeed = rate;
    tio.c_ispeed = rate;
    if (ioctl(fd, TCSETS2, &tio) != 0)
        return errno;
    std::uint32_t input = 0;
    const int error = ReadRates(fd, actual, input);
    if (ioctl(fd, TCSETS2, &was) != 0)
        return errno;
    return error;
}

} // namespace PosixTermios2
