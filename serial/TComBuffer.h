#pragma once

#include <cstdint>

class TCustomComPort;

// Sizes of the receive and transmit queues in bytes. Setters compare, store, and
// re-apply the queue sizes of the owning port (nothing while it is closed). Owner
// thread only.
//
// Linux drivers keep queues of their own size, so applying only checks the values
// (both must be above 0, else EComPort code 9). InputSize still counts: evRx80Full is
// raised when the bytes waiting reach 80 percent of it.
class TComBuffer
{
public:
    explicit TComBuffer(TCustomComPort* port = nullptr) : m_port(port) {}
    TComBuffer(const TComBuffer&) = delete;
    TComBuffer& operator=(const TComBuffer&) = delete;

    // Copies both sizes; applies nothing.
    void Assign(const TComBuffer& source);
    TCustomComPort* ComPort() const { return m_port; }

    std::int32_t InputSize() const { return m_inputSize; }
    std::int32_t OutputSize() const { return m_outputSize; }
    void SetInputSize(std::int32_t bytes);
    void SetOutputSize(std::int32_t bytes);

private:
    void Set(std::int32_t& field, std::int32_t value);

    TCustomComPort* m_port;
    std::int32_t m_inputSize = 1024;
    std::int32_t m_outputSize = 1024;
};
