#pragma once

// A pseudo-terminal pair standing in for a serial line: the test holds the master (the
// far end of the line), the port opens the slave by its path.

#include <QByteArray>
#include <QDir>
#include <QString>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

class PtyPair
{
public:
    PtyPair()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~PtyPair() { CloseMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsValid() const { return m_master >= 0 && !m_slavePath.isEmpty(); }
    const QString& SlavePath() const { return m_slavePath; }
    int Master() const { return m_master; }

    // The far end going away: the slave hangs up.
    void CloseMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    bool Send(const QByteArray& bytes) const
    {
        return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Up to count bytes; waits for them (bounded, so a fault fails instead of hanging).
    QByteArray Receive(int count, int limitMs = 10000) const
    {
        QByteArray got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now())
                                  .count();
            pollfd p{m_master, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, int(left)) <= 0)
                break;
            char buffer[4096];
            const ssize_t n =
                ::read(m_master, buffer,
                       sizeof buffer < size_t(count - got.size()) ? sizeof buffer
                                                                  : size_t(count - got.size()));
            if (n <= 0)
                break;
            got.append(buffer, int(n));
        }
        return got;
    }

private:
    int m_master = -1;
    QString m_slavePath;
};

// Threads of this process now (the monitor is one of them while a port is open).
inline int ThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}
