#include "serial/PosixEventWaiter.h"

#include "serial/ComBackendPosix.h"
#include "serial/PosixModemWatcher.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t ModemEvents =
    ComEventBit::CTS | ComEventBit::DSR | ComEventBit::RLSD | ComEventBit::Ring;

// What an epoll entry stands for.
enum Source : std::uint64_t
{
    LineIn,
    LineOut,
    WakeUp
};

bool Watch(int epoll, int fd, std::uint32_t events, Source source)
{
    epoll_event entry{};
    entry.events = events;
    entry.data.u64 = source;
    return epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &entry) == 0;
}

} // namespace

std::unique_ptr<PosixEventWaiter> PosixEventWaiter::Create(ComBackendPosix& backend,
                                                           std::uint32_t mask, int& error)
{
    error = 0;
    std::unique_ptr<PosixEventWaiter> waiter(new PosixEventWaiter(backend, mask));
    waiter->m_epoll = epoll_create1(EPOLL_CLOEXEC);
    if (waiter->m_epoll < 0) {
        error = errno;
        return nullptr;
    }
    // Arrivals and the transmit side are watched through two descriptors of the device:
    // an entry reports every event it asked for on any wakeup, so one entry for both
    // would report "readable" again each time the transmit queue drains.
    if (!Watch(waiter->m_epoll, backend.Fd(), EPOLLIN | EPOLLET, LineIn) ||
        !Watch(waiter->m_epoll, backend.WakeFd(), EPOLLIN, WakeUp)) {
        error = errno;
        return nullptr;
    }
    if (mask & ComEventBit::TxEmpty) {
        // The driver wakes writers as its transmit queue drains.
        waiter->m_outFd = fcntl(backend.Fd(), F_DUPFD_CLOEXEC, 0);
        if (waiter->m_outFd < 0 ||
            !Watch(waiter->m_epoll, waiter->m_outFd, EPOLLOUT | EPOLLET, LineOut)) {
            error = errno;
            return nullptr;
        }
    }

    waiter->m_haveCounters = backend.ReadCounters(waiter->m_seen);
    if (waiter->m_haveCounters && (mask & ModemEvents)) {
        int tiocm = 0;
        if (mask & ComEventBit::CTS)
            tiocm |= TIOCM_CTS;
        if (mask & ComEventBit::DSR)
            tiocm |= TIOCM_DSR;
        if (mask & ComEventBit::RLSD)
            tiocm |= TIOCM_CD;
        if (mask & ComEventBit::Ring)
            tiocm |= TIOCM_RNG;
        waiter->m_modemWatcher =
            std::make_unique<PosixModemWatcher>(backend.Fd(), tiocm, backend.WakeFd());
    }
    return waiter;
}

PosixEventWaiter::PosixEventWaiter(ComBackendPosix& backend, std::uint32_t mask)
    : m_backend(backend), m_mask(mask)
{}

PosixEventWaiter::~PosixEventWaiter()
{
    m_modemWatcher.reset();
    if (m_epoll >= 0)
        ::close(m_epoll);
    if (m_outFd >= 0)
        ::close(m_outFd);
}

void PosixEventWaiter::Stop()
{
    m_stop = true;
    m_backend.Wake();
}

ComEventWaiter::Outcome PosixEventWaiter::Wait(std::uint32_t& word)
{
    word = 0;
    for (;;) {
        if (m_stop)
            return Outcome::Stopped;
        epoll_event events[3];
        const int n = epoll_wait(m_epoll, events, 3, -1);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Outcome::Ended;
        }
        bool arrival = false;
        bool hangUp = false;
        for (int i = 0; i < n; ++i) {
            if (events[i].data.u64 == WakeUp) {
                std::uint64_t count = 0;
                [[maybe_unused]] ssize_t r = ::read(m_backend.WakeFd(), &count, sizeof count);
                continue;
            }
            if (events[i].events & (EPOLLHUP | EPOLLERR))
                hangUp = true;
            if (events[i].data.u64 == LineIn && (events[i].events & EPOLLIN))
                arrival = true;
        }
        if (m_stop)
            return Outcome::Stopped;
        if (hangUp)
            return Outcome::Ended;
        int waiting = 0;
        if (ioctl(m_backend.Fd(), FIONREAD, &waiting) != 0)
            return Outcome::Ended; // hung up between the wakeup and now
        word = Collect(arrival, waiting) & m_mask;
        return Outcome::Events;
    }
}

std::uint32_t PosixEventWaiter::Collect(bool arrival, int waiting)
{
    std::uint32_t word = 0;
    if (arrival) {
        word |= ComEventBit::RxChar;
        const std::int64_t mark =
            std::max<std::int64_t>(1, std::int64_t(m_backend.InputSize()) * 8 / 10);
        const bool above = waiting >= mark;
        if (above && !m_above80)
            word |= ComEventBit::Rx80Full;
        m_above80 = above;
    }
    serial_icounter_struct now{};
    if (m_haveCounters && m_backend.ReadCounters(now)) {
        if (now.cts != m_seen.cts)
            word |= ComEventBit::CTS;
        if (now.dsr != m_seen.dsr)
            word |= ComEventBit::DSR;
        if (now.dcd != m_seen.dcd)
            word |= ComEventBit::RLSD;
        if (now.rng != m_seen.rng)
            word |= ComEventBit::Ring;
        if (now.brk != m_seen.brk)
            word |= ComEventBit::Break;
        if (now.frame != m_seen.frame || now.parity != m_seen.parity ||
            now.overrun != m_seen.overrun || now.buf_overrun != m_seen.buf_overrun)
            word |= ComEventBit::Err;
        m_seen = now;
    }
    if (m_mask & ComEventBit::TxEmpty) {
        int queued = 1;
        if (ioctl(m_backend.Fd(), TIOCOUTQ, &queued) == 0 && queued == 0 &&
            m_backend.TakeTxPending())
            word |= ComEventBit::TxEmpty;
    }
    return word;
}
