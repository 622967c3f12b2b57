#include "serial/PosixDoorbell.h"

#include <QSocketNotifier>

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

PosixDoorbell::PosixDoorbell(std::function<void()> onRing)
    : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), m_onRing(std::move(onRing))
{
    if (m_fd < 0)
        return; // Ring does nothing then; Close still carries out what was handed over
    m_notifier = std::make_unique<QSocketNotifier>(qintptr(m_fd), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { Answer(); });
}

PosixDoorbell::~PosixDoorbell()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void PosixDoorbell::Ring()
{
    if (m_fd < 0)
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(m_fd, &one, sizeof one);
}

void PosixDoorbell::Answer()
{
    std::uint64_t rings = 0;
    [[maybe_unused]] ssize_t n = ::read(m_fd, &rings, sizeof rings);
    m_onRing();
}

std::unique_ptr<ComDoorbell> CreateComDoorbell(std::function<void()> onRing)
{
    return std::make_unique<PosixDoorbell>(std::move(onRing));
}
