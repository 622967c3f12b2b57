#include "widgets/GuardedApplication.h"

#include "widgets/ErrorGuard.h"

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    ErrorGuard::InstallAsErrorSink();
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorGuard::Show(std::current_exception());
    }
    return false;
}
