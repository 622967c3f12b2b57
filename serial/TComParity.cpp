#include "serial/TComParity.h"

#include "serial/TCustomComPort.h"

void TComParity::Assign(const TComParity& source)
{
    m_bits = source.m_bits;
    m_check = source.m_check;
    m_replace = source.m_replace;
    m_replaceChar = source.m_replaceChar;
}

template <typename T> void TComParity::Set(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    if (m_port)
        m_port->ApplyLineSettings();
}

void TComParity::SetBits(TParityBits value)
{
    Set(m_bits, value);
}

void TComParity::SetCheck(bool value)
{
    Set(m_check, value);
}

void TComParity::SetReplace(bool value)
{
    Set(m_replace, value);
}

void TComParity::SetReplaceChar(std::uint8_t value)
{
    Set(m_replaceChar, value);
}
