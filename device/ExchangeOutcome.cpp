#include "device/ExchangeOutcome.h"

#include "serial/EComPort.h"

QString ErrorText(std::exception_ptr error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception& e) {
        // Our Exception's what() is its message (UTF-8).
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return {};
}

ExchangeOutcome BrokenOutcome(ConfigEvent event, std::exception_ptr error)
{
    bool port = false;
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const EComPort&) {
        port = true;
    } catch (...) {
    }
    return {event, false, port, ErrorText(error)};
}
