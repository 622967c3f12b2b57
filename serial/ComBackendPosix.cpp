#include "serial/ComBackendPosix.h"

#include "serial/PosixEventWaiter.h"
#include "serial/PosixTermios2.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t AllOnes = 0xFFFFFFFFu;

using Clock = std::chrono::steady_clock;

// A limit in ms from now, or none.
struct Deadline
{
    bool limited = false;
    Clock::time_point at;

    static Deadline In(std::uint64_t ms)
    {
        return {true, Clock::now() + std::chrono::milliseconds(ms)};
    }
    // poll()'s time-out: -1 without a limit, else the ms left (0 when passed).
    int PollTimeout() const
    {
        if (!limited)
            return -1;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(at - Clock::now()).count();
        if (left <= 0)
            return 0;
        return left > 0x7FFFFFFF ? 0x7FFFFFFF : int(left);
    }
    static Deadline Earlier(const Deadline& a, const Deadline& b)
    {
        if (!a.limited)
            return b;
        if (!b.limited)
            return a;
        return a.at < b.at ? a : b;
    }
};

// Modem-control calls fail this way on devices without modem lines (pseudo-terminals).
bool NoModemLines(int error)
{
    return error == ENOTTY || error == EINVAL;
}

// The line has gone away: the driver hung the terminal up (a tty's reads and writes give
// EIO from then on) or the device vanished.
bool LineGone(int error)
{
    return error == EIO || error == ENXIO || error == ENODEV;
}

int SetModemLine(int fd, int line, bool on)
{
    if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0 || NoModemLines(errno))
        return 0;
    return errno;
}

// Waits until fd is ready for events or the deadline passes. Returns 0 (ready or passed:
// ready tells which) or errno.
int WaitReady(int fd, short events, const Deadline& deadline, bool& ready)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = poll(&p, 1, deadline.PollTimeout());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        ready = n > 0;
        return 0;
    }
}

} // namespace

ComBackendPosix::~ComBackendPosix()
{
    Close();
}

int ComBackendPosix::Open(const QString& device)
{
    Close();
    const QByteArray path = QFile::encodeName(device);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // The lock holds against every other port object and program that locks, root
    // included; TIOCEXCL keeps out those that do not lock (root excepted).
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        const int error = errno;
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        return error;
    }
    m_fd = fd;
    m_wakeFd = wakeFd;
    m_txPending = false;
    serial_icounter_struct base{};
    std::lock_guard lock(m_errorMutex);
    m_haveErrorBase = ReadCounters(base);
    m_errorBase = base;
    return 0;
}

void ComBackendPosix::Close()
{
    if (m_fd < 0)
        return;
    ioctl(m_fd, TIOCNXCL);
    ::close(m_fd); // also releases the lock
    ::close(m_wakeFd);
    m_fd = -1;
    m_wakeFd = -1;
}

int ComBackendPosix::SetLine(const ComLineSettings& line)
{
    if (int error = PosixTermios2::SetLine(m_fd, line))
        return error;
    // Handshake lines are driven by the kernel (CRTSCTS); the others are held as asked.
    // dtrHandshake has no Linux equivalent: DTR is held active. rtsToggle neither:
    // RTS is held inactive.
    if (int error = SetModemLine(m_fd, TIOCM_DTR, line.dtrControl != dtrDisable))
        return error;
    return SetModemLine(m_fd, TIOCM_RTS,
                        line.rtsControl == rtsEnable || line.rtsControl == rtsHandshake);
}

int ComBackendPosix::ActualRate(std::uint32_t& bitsPerSecond)
{
    std::uint32_t input = 0;
    return PosixTermios2::ReadRates(m_fd, bitsPerSecond, input);
}

int ComBackendPosix::SetTimeouts(const ComTimeoutSettings& timeouts)
{
    m_timeouts = timeouts;
    return 0;
}

int ComBackendPosix::SetQueueSizes(std::int32_t input, std::int32_t output)
{
    if (input <= 0 || output <= 0)
        return EINVAL;
    m_inputSize = input;
    return 0;
}

bool ComBackendPosix::IsLineGone(int error) const
{
    return LineGone(error);
}

int ComBackendPosix::AbortTransfers()
{
    // Transfers are synchronous on the owning thread: none can be running while it
    // closes the port. Only check that the device still answers.
    int count = 0;
    if (ioctl(m_fd, FIONREAD, &count) == 0 || LineGone(errno))
        return 0;
    return errno;
}

int ComBackendPosix::ClearQueues()
{
    return ioctl(m_fd, TCFLSH, TCIOFLUSH) == 0 ? 0 : errno;
}

int ComBackendPosix::Write(const char* data, int size, int& written)
{
    written = 0;
    Deadline deadline;
    const std::uint64_t perByte = m_timeouts.writeTotalMultiplier;
    const std::uint64_t fixed = m_timeouts.writeTotalConstant;
    if (perByte != 0 || fixed != 0)
        deadline = Deadline::In(perByte * std::uint64_t(size) + fixed);

    while (written < size) {
        const ssize_t n = ::write(m_fd, data + written, size_t(size - written));
        if (n > 0) {
            written += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return errno;
        bool ready = false;
        if (int error = WaitReady(m_fd, POLLOUT, deadline, ready))
            return error;
        if (!ready)
            break; // the write time-out ran out
    }
    if (written > 0) {
        m_txPending = true;
        int queued = 0;
        // Drivers that hand bytes on at once (pseudo-terminals) never wake the monitor
        // for an emptied queue, so it is told here.
        if (ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued == 0)
            Wake();
    }
    return 0;
}

int ComBackendPosix::Read(char* data, int size, int& got)
{
    got = 0;
    const ComTimeoutSettings& t = m_timeouts;
    const bool noGapLimit = t.readInterval == AllOnes;
    const bool noTotal = t.readTotalMultiplier == 0 && t.readTotalConstant == 0;
    Deadline total;
    if (!noTotal) {
        const std::uint64_t perByte = t.readTotalMultiplier == AllOnes ? 0 : t.readTotalMultiplier;
        total = Deadline::In(perByte * std::uint64_t(size) + t.readTotalConstant);
    }

    while (got < size) {
        const ssize_t n = ::read(m_fd, data + got, size_t(size - got));
        if (n > 0) {
            got += int(n);
            continue;
        }
        if (n == 0)
            return EIO; // hung up: VMIN 1 gives EAGAIN, not 0, on a live line
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return errno;
        // Nothing more waiting now.
        if (noGapLimit && (noTotal || got > 0))
            break; // return at once with what has arrived
        Deadline deadline = total;
        if (got > 0 && t.readInterval != 0)
            deadline = Deadline::Earlier(deadline, Deadline::In(t.readInterval));
        bool ready = false;
        if (int error = WaitReady(m_fd, POLLIN, deadline, ready))
            return error;
        if (!ready)
            break;
    }
    return 0;
}

int ComBackendPosix::ReceiveCount(int& count)
{
    count = 0;
    return ioctl(m_fd, FIONREAD, &count) == 0 ? 0 : errno;
}

int ComBackendPosix::TakeErrors(std::uint32_t& flags)
{
    flags = 0;
    int count = 0;
    if (ioctl(m_fd, FIONREAD, &count) != 0)
        return errno; // the line is gone: its errors cannot be read either
    std::lock_guard lock(m_errorMutex);
    serial_icounter_struct now{};
    if (!m_haveErrorBase || !ReadCounters(now))
        return 0;
    const serial_icounter_struct& was = m_errorBase;
    if (now.frame != was.frame)
        flags |= ComErrorFlag::Frame;
    if (now.parity != was.parity)
        flags |= ComErrorFlag::RxParity;
    if (now.overrun != was.overrun)
        flags |= ComErrorFlag::Overrun;
    if (now.brk != was.brk)
        flags |= ComErrorFlag::Break;
    if (now.buf_overrun != was.buf_overrun)
        flags |= ComErrorFlag::RxOver;
    m_errorBase = now;
    return 0;
}

int ComBackendPosix::ModemStatus(ComModemSignals& lines)
{
    lines = {};
    int bits = 0;
    if (ioctl(m_fd, TIOCMGET, &bits) != 0)
        return NoModemLines(errno) ? 0 : errno;
    lines.cts = bits & TIOCM_CTS;
    lines.dsr = bits & TIOCM_DSR;
    lines.ring = bits & TIOCM_RNG;
    lines.rlsd = bits & TIOCM_CD;
    return 0;
}

std::unique_ptr<ComEventWaiter> ComBackendPosix::CreateEventWaiter(std::uint32_t mask, int& error)
{
    return PosixEventWaiter::Create(*this, mask, error);
}

void ComBackendPosix::Wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(m_wakeFd, &one, sizeof one);
}

bool ComBackendPosix::ReadCounters(serial_icounter_struct& counters) const
{
    return ioctl(m_fd, TIOCGICOUNT, &counters) == 0;
}

std::unique_ptr<ComBackend> CreateComBackend()
{
    return std::make_unique<ComBackendPosix>();
}
