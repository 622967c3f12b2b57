#include "serial/TComTimeouts.h"

#include "serial/TCustomComPort.h"

void TComTimeouts::Assign(const TComTimeouts& source)
{
    m_readInterval = source.m_readInterval;
    m_readTotalMultiplier = source.m_readTotalMultiplier;
    m_readTotalConstant = source.m_readTotalConstant;
    m_writeTotalMultiplier = source.m_writeTotalMultiplier;
    m_writeTotalConstant = source.m_writeTotalConstant;
}

void TComTimeouts::Set(std::int32_t& field, std::int32_t value)
{
    if (field == value)
        return;
    field = value;
    if (m_port)
        m_port->ApplyTimeouts();
}

void TComTimeouts::SetReadInterval(std::int32_t ms)
{
    Set(m_readInterval, ms);
}

void TComTimeouts::SetReadTotalMultiplier(std::int32_t msPerByte)
{
    Set(m_readTotalMultiplier, msPerByte);
}

void TComTimeouts::SetReadTotalConstant(std::int32_t ms)
{
    Set(m_readTotalConstant, ms);
}

void TComTimeouts::SetWriteTotalMultiplier(std::int32_t msPerByte)
{
    Set(m_writeTotalMultiplier, msPerByte);
}

void TComTimeouts::SetWriteTotalConstant(std::int32_t ms)
{
    Set(m_writeTotalConstant, ms);
}
