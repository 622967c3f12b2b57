#pragma once

// The PC's end of the emulated dialer's line for tests: plain POSIX reads and writes on
// the pseudo-terminal's slave, and frames built from the wire tables.

#include <QByteArray>
#include <QElapsedTimer>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace Frames {

inline QByteArray WithChecksum(QByteArray bytes)
{
    std::uint8_t sum = 0;
    for (const char c : bytes)
        sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(c));
    bytes.append(static_cast<char>(sum));
    return bytes;
}

inline QByteArray Restart(std::uint8_t hour, std::uint8_t minute)
{
    return WithChecksum(QByteArray("\x6A\x50\xA0") + char(hour) + char(minute));
}

inline QByteArray Read(std::uint8_t count, std::uint8_t offset)
{
    return WithChecksum(QByteArray("\x6A\x50\xA1") + char(count) + char(offset)) + '\0';
}

inline QByteArray Write(std::uint8_t offset, const QByteArray& data)
{
    return WithChecksum(QByteArray("\x6A\x50\xA2") + char(data.size()) + char(offset) + data);
}

} // namespace Frames

class LinePeer
{
public:
    // Opens the line; with raw set, puts the line in raw mode as a PC would.
    explicit LinePeer(const std::string& path, bool raw = true)
    {
        m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios line{};
        if (raw && m_fd >= 0 && tcgetattr(m_fd, &line) == 0) {
            cfmakeraw(&line);
            tcsetattr(m_fd, TCSANOW, &line);
        }
    }
    ~LinePeer()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    LinePeer(const LinePeer&) = delete;
    LinePeer& operator=(const LinePeer&) = delete;

    bool IsOpen() const { return m_fd >= 0; }

    bool Send(const QByteArray& bytes)
    {
        return write(m_fd, bytes.constData(), bytes.size()) == bytes.size();
    }

    // Up to count bytes, waiting for them until the deadline; fewer when the deadline
    // passes or the line goes away.
    QByteArray Receive(int count, int deadlineMs = 20000)
    {
        QByteArray got;
        QElapsedTimer clock;
        clock.start();
        while (got.size() < count) {
            const int left = deadlineMs - static_cast<int>(clock.elapsed());
            if (left <= 0)
                break;
            pollfd in{m_fd, POLLIN, 0};
            if (poll(&in, 1, left) <= 0)
                continue;
            char buffer[512];
            const ssize_t n =
                read(m_fd, buffer, std::min<std::size_t>(sizeof buffer, count - got.size()));
            if (n > 0)
                got.append(buffer, n);
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                break;
        }
        return got;
    }

    // Bytes waiting to be read.
    int Waiting() const
    {
        int count = 0;
        return ioctl(m_fd, FIONREAD, &count) == 0 ? count : -1;
    }

    // True when the other end closes the line before the deadline.
    bool WaitHangUp(int deadlineMs = 20000)
    {
        pollfd in{m_fd, POLLIN, 0};
        if (poll(&in, 1, deadlineMs) <= 0)
            return false;
        char byte;
        return (in.revents & POLLHUP) || read(m_fd, &byte, 1) <= 0;
    }

private:
    int m_fd = -1;
};
