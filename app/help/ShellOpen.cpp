#include "app/help/ShellOpen.h"

#include <QDesktopServices>

#include <utility>

namespace {
ShellOpenHandler& Handler()
{
    static ShellOpenHandler handler;
    return handler;
}
} // namespace

void ShellOpen(const QUrl& url)
{
    if (Handler())
        Handler()(url);
    else
        QDesktopServices::openUrl(url);
}

ShellOpenHandler InstallShellOpenHandler(ShellOpenHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
