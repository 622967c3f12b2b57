#pragma once

#include <cstdint>

class TCustomComPort;

// Time-outs of the port's transfers, in milliseconds (multipliers: milliseconds per
// byte). A read of n bytes may last ReadTotalMultiplier * n + ReadTotalConstant, a write
// WriteTotalMultiplier * n + WriteTotalConstant; both totals 0 mean no total limit.
// ReadInterval -1 with both read totals 0 (the defaults) makes a read return at once
// with the bytes already received, possibly none. ReadInterval -1 with a total limit
// returns as soon as anything has arrived; ReadInterval 0 means no gap limit.
//
// Setters compare, store, and re-apply the time-outs of the owning port (nothing while
// it is closed). Owner thread only.
class TComTimeouts
{
public:
    // port: the owning port (not owned), or nullptr for a free-standing copy.
    explicit TComTimeouts(TCustomComPort* port = nullptr) : m_port(port) {}
    TComTimeouts(const TComTimeouts&) = delete;
    TComTimeouts& operator=(const TComTimeouts&) = delete;

    // Copies the five values; applies nothing.
    void Assign(const TComTimeouts& source);
    TCustomComPort* ComPort() const { return m_port; }

    std::int32_t ReadInterval() const { return m_readInterval; }
    std::int32_t ReadTotalMultiplier() const { return m_readTotalMultiplier; }
    std::int32_t ReadTotalConstant() const { return m_readTotalConstant; }
    std::int32_t WriteTotalMultiplier() const { return m_writeTotalMultiplier; }
    std::int32_t WriteTotalConstant() const { return m_writeTotalConstant; }

    void SetReadInterval(std::int32_t ms);
    void SetReadTotalMultiplier(std::int32_t msPerByte);
    void SetReadTotalConstant(std::int32_t ms);
    void SetWriteTotalMultiplier(std::int32_t msPerByte);
    void SetWriteTotalConstant(std::int32_t ms);

private:
    void Set(std::int32_t& field, std::int32_t value);

    TCustomComPort* m_port;
    std::int32_t m_readInterval = -1;
    std::int32_t m_readTotalMultiplier = 0;
    std::int32_t m_readTotalConstant = 0;
    std::int32_t m_writeTotalMultiplier = 100;
    std::int32_t m_writeTotalConstant = 1000;
};
