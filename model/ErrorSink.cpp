#include "model/ErrorSink.h"

#include "model/Exception.h"

#include <cstdio>
#include <utility>

namespace ErrorSink {
namespace {

void PrintToStderr(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "Nieznany błąd\n");
    }
}

Handler& Current()
{
    static Handler handler = PrintToStderr;
    return handler;
}

} // namespace

Handler Install(Handler handler)
{
    return std::exchange(Current(), handler ? std::move(handler) : Handler(PrintToStderr));
}

void Report(std::exception_ptr error)
{
    if (!error)
        return;
    try {
        Current()(error);
    } catch (...) {
        PrintToStderr(error); // a failing handler must not take the program down
    }
}

} // namespace ErrorSink
