#pragma once

#include "serial/ComTypes.h"

#include <cstdint>

class TCustomComPort;

// Parity of the line. Setters compare, store, and re-apply the owning port's line
// settings (nothing while it is closed). Owner thread only.
//
// Check makes the receiver check parity; Replace (with Check) replaces a byte that
// fails with ReplaceChar. On Linux, Check with Replace is INPCK and the kernel replaces
// such a byte by 0 whatever ReplaceChar holds; Check alone passes the byte as received.
// Parity errors are counted by the driver either way (OnError, erParity with Check).
class TComParity
{
public:
    explicit TComParity(TCustomComPort* port = nullptr) : m_port(port) {}
    TComParity(const TComParity&) = delete;
    TComParity& operator=(const TComParity&) = delete;

    // Copies the four fields; applies nothing.
    void Assign(const TComParity& source);
    TCustomComPort* ComPort() const { return m_port; }

    TParityBits Bits() const { return m_bits; }
    bool Check() const { return m_check; }
    bool Replace() const { return m_replace; }
    std::uint8_t ReplaceChar() const { return m_replaceChar; }

    void SetBits(TParityBits value);
    void SetCheck(bool value);
    void SetReplace(bool value);
    void SetReplaceChar(std::uint8_t value);

private:
    template <typename T> void Set(T& field, T value);

    TCustomComPort* m_port;
    TParityBits m_bits = prNone;
    bool m_check = false;
    bool m_replace = false;
    std::uint8_t m_replaceChar = 0;
};
