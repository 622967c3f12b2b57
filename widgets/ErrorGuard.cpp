#include "widgets/ErrorGuard.h"

#include "model/Exception.h"
#include "resources/ConstsZVX.h"
#include "widgets/MessageBox.h"

#include <cstdio>

namespace ErrorGuard {

QString MessageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return QString::fromStdString(e.Message());
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QString::fromUtf8(ConstsZVX::UnknownError);
}

void Show(std::exception_ptr error)
{
    if (!error)
        return;
    try {
        MessageDlg(mkProgram, MessageOf(error), mbOk);
    } catch (...) {
        // Showing the box itself failed (out of memory, or a handler of the nested event
        // loop threw): the message must still not be lost.
        std::fprintf(stderr, "%s\n", MessageOf(error).toLocal8Bit().constData());
    }
}

bool RunGuarded(const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (...) {
        Show(std::current_exception());
    }
    return false;
}

ErrorSink::Handler InstallAsErrorSink()
{
    return ErrorSink::Install(&Show);
}

} // namespace ErrorGuard
