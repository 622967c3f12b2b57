#pragma once

#include <stdexcept>
#include <string>

// Base of every error the program reports to the user. The message is the formatted
// text the user will read (UTF-8), so whoever catches it can show it unchanged.
class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string& message);
    const std::string& Message() const { return m_message; }

private:
    std::string m_message;
};

// Text that does not convert to a number (the framework's conversion error).
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};
