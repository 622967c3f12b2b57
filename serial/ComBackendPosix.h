#pragma once

// Private: the port on Linux, a terminal device opened non-blocking. Transfers wait with
// poll() bounded by the port's time-outs; the event monitor waits in PosixEventWaiter.

#include "serial/ComBackend.h"

#include <linux/serial.h>

#include <atomic>
#include <mutex>

class ComBackendPosix final : public ComBackend
{
public:
    ComBackendPosix() = default;
    ~ComBackendPosix() override;

    int Open(const QString& device) override;
    void Close() override;
    bool IsOpen() const override { return m_fd >= 0; }

    int SetLine(const ComLineSettings& line) override;
    int ActualRate(std::uint32_t& bitsPerSecond) override;
    int SetTimeouts(const ComTimeoutSettings& timeouts) override;
    int SetQueueSizes(std::int32_t input, std::int32_t output) override;

    bool IsLineGone(int error) const override;
    int AbortTransfers() override;
    int ClearQueues() override;

    int Write(const char* data, int size, int& written) override;
    int Read(char* data, int size, int& got) override;

    int ReceiveCount(int& count) override;
    int TakeErrors(std::uint32_t& flags) override;
    int ModemStatus(ComModemSignals& lines) override;

    std::unique_ptr<ComEventWaiter> CreateEventWaiter(std::uint32_t mask, int& error) override;

    // For PosixEventWaiter (monitor thread, or its creation on the owning thread).
    int Fd() const { return m_fd; }
    int WakeFd() const { return m_wakeFd; }
    void Wake();
    // Whether a write has finished since the transmit-empty event was last raised.
    bool TakeTxPending() { return m_txPending.exchange(false); }
    std::int32_t InputSize() const { return m_inputSize; }
    // The driver's break/error/modem counters; false where it keeps none.
    bool ReadCounters(serial_icounter_struct& counters) const;

private:
    int m_fd = -1;
    int m_wakeFd = -1;
    ComTimeoutSettings m_timeouts;
    std::atomic<bool> m_txPending{false};
    std::atomic<std::int32_t> m_inputSize{1024};
    std::mutex m_errorMutex;
    bool m_haveErrorBase = false;
    serial_icounter_struct m_errorBase{};
};
