#include "serial/TComBuffer.h"

#include "serial/TCustomComPort.h"

void TComBuffer::Assign(const TComBuffer& source)
{
    m_inputSize = source.m_inputSize;
    m_outputSize = source.m_outputSize;
}

void TComBuffer::Set(std::int32_t& field, std::int32_t value)
{
    if (field == value)
        return;
    field = value;
    if (m_port)
        m_port->ApplyBufferSizes();
}

void TComBuffer::SetInputSize(std::int32_t bytes)
{
    Set(m_inputSize, bytes);
}

void TComBuffer::SetOutputSize(std::int32_t bytes)
{
    Set(m_outputSize, bytes);
}
