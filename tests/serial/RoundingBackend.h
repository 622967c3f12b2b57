#pragma once

// A port driver that cannot make every rate: it puts its nearest rate on the line, as
// some USB adapters do, and says so only when the rate is read back. Nothing else of a
// line: reads find nothing, writes take everything, no modem lines, no event monitor.

#include "serial/ComBackend.h"
#include "serial/TCustomComPort.h"

#include <cerrno>
#include <functional>

class RoundingBackend final : public ComBackend
{
public:
    // rounds: the rate the driver puts on the line for the rate asked (bit/s).
    explicit RoundingBackend(std::function<std::uint32_t(std::uint32_t)> rounds)
        : m_rounds(std::move(rounds))
    {}

    int Open(const QString&) override
    {
        m_open = true;
        return 0;
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    int SetLine(const ComLineSettings& line) override
    {
        m_actual = m_rounds(line.baudRate);
        return 0;
    }
    int ActualRate(std::uint32_t& bitsPerSecond) override
    {
        bitsPerSecond = m_actual;
        return 0;
    }
    int SetTimeouts(const ComTimeoutSettings&) override { return 0; }
    int SetQueueSizes(std::int32_t, std::int32_t) override { return 0; }
    int AbortTransfers() override { return 0; }
    int ClearQueues() override { return 0; }
    int Write(const char*, int size, int& written) override
    {
        written = size;
        return 0;
    }
    int Read(char*, int, int& got) override
    {
        got = 0;
        return 0;
    }
    int ReceiveCount(int& count) override
    {
        count = 0;
        return 0;
    }
    int TakeErrors(std::uint32_t& flags) override
    {
        flags = 0;
        return 0;
    }
    int ModemStatus(ComModemSignals& lines) override
    {
        lines = {};
        return 0;
    }
    std::unique_ptr<ComEventWaiter> CreateEventWaiter(std::uint32_t, int& error) override
    {
        error = ENOSYS;
        return nullptr;
    }

private:
    std::function<std::uint32_t(std::uint32_t)> m_rounds;
    bool m_open = false;
    std::uint32_t m_actual = 0;
};

// A port on a RoundingBackend, without an event monitor.
class RoundingPort : public TCustomComPort
{
public:
    explicit RoundingPort(std::function<std::uint32_t(std::uint32_t)> rounds)
        : RoundingPort(new RoundingBackend(std::move(rounds)))
    {}

    const RoundingBackend& Backend() const { return m_driver; }

private:
    explicit RoundingPort(RoundingBackend* backend)
        : TCustomComPort(std::unique_ptr<ComBackend>(backend)), m_driver(*backend)
    {
        SetEvents(TComEvents());
    }

    const RoundingBackend& m_driver;
};
