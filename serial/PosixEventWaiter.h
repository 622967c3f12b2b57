#pragma once

// Private: the monitor's wait on Linux. One epoll set holds the device (edge-triggered:
// one wakeup per arrival; a second descriptor for the transmit side) and the port's
// eventfd (stop, a finished write, a modem-signal change). epoll_wait blocks without a
// time limit.

#include "serial/ComBackend.h"

#include <linux/serial.h>

#include <atomic>
#include <memory>

class ComBackendPosix;
class PosixModemWatcher;

class PosixEventWaiter final : public ComEventWaiter
{
public:
    static std::unique_ptr<PosixEventWaiter> Create(ComBackendPosix& backend, std::uint32_t mask,
                                                    int& error);
    ~PosixEventWaiter() override;

    Outcome Wait(std::uint32_t& word) override;
    void Stop() override;

private:
    PosixEventWaiter(ComBackendPosix& backend, std::uint32_t mask);
    // The event word of a wakeup; waiting: bytes in the receive queue now.
    std::uint32_t Collect(bool arrival, int waiting);

    ComBackendPosix& m_backend;
    std::uint32_t m_mask;
    int m_epoll = -1;
    int m_outFd = -1; // a second descriptor of the device, for the transmit side
    std::atomic<bool> m_stop{false};
    bool m_haveCounters = false;
    serial_icounter_struct m_seen{};
    bool m_above80 = false;
    std::unique_ptr<PosixModemWatcher> m_modemWatcher;
};
