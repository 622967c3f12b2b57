#include "serial/EComPort.h"

#include "resources/ConstsZVX.h"

#include <cstdio>
#include <iterator>

EComPort::EComPort(int code, int winCode)
    : Exception(MessageFor(code, winCode)), m_code(code), m_winCode(winCode)
{}

EComPort::EComPort(int code, int winCode, const std::string& message)
    : Exception(message), m_code(code), m_winCode(winCode)
{}

EComPort EComPort::RateNotKept(std::uint32_t asked, std::uint32_t actual)
{
    char message[160];
    std::snprintf(message, sizeof message, ConstsZVX::RateNotKept, int(asked), int(actual));
    return EComPort(CodeLineSettings, -1, message);
}

EComPort EComPort::LineGone(int code, int winCode)
{
    return EComPort(code, winCode, MessageFor(code, winCode) + "\r" + ConstsZVX::PortGone);
}

std::string EComPort::MessageFor(int code, int winCode)
{
    std::string message;
    if (code > 0 && code < int(std::size(ConstsZVX::ComPortErrors)))
        message = ConstsZVX::ComPortErrors[code];
    if (winCode != -1) {
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, ConstsZVX::ComPortErrorCode, winCode);
        message += suffix;
    }
    return message;
}
