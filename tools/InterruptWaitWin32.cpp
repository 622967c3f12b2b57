#include "tools/InterruptWait.h"

#include <QWinEventNotifier>

#include <atomic>
#include <windows.h>

// The console's events stand in for the signals: the system calls the handler on a
// thread of its own, which records the first one and sets an event the owning thread's
// event loop (QWinEventNotifier) or Wait() sees.
namespace {

std::atomic<int> g_caught{0};
HANDLE g_event = nullptr; // set once an event came: manual reset, so it stays set
HANDLE g_done = nullptr;  // set when the object goes: the port is closed by then
// The system ends the process once the handler returns from a close, log-off or
// shut-down event, and gives it 5 s at most: enough for a port to close.
constexpr DWORD kCloseWaitMs = 4500;

int NumberOf(DWORD type)
{
    switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        return InterruptSignal::Interrupt;
    case CTRL_CLOSE_EVENT:
        return InterruptSignal::HangUp;
    default: // CTRL_LOGOFF_EVENT, CTRL_SHUTDOWN_EVENT
        return InterruptSignal::Terminate;
    }
}

BOOL WINAPI Handler(DWORD type)
{
    int none = 0;
    g_caught.compare_exchange_strong(none, NumberOf(type));
    SetEvent(g_event);
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        WaitForSingleObject(g_done, kCloseWaitMs);
    return TRUE;
}

} // namespace

InterruptWait::InterruptWait()
{
    g_caught = 0;
    g_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(Handler, TRUE);
}

InterruptWait::~InterruptWait()
{
    SetEvent(g_done);
    SetConsoleCtrlHandler(Handler, FALSE);
    // A handler still running holds the handles only until g_done, set above; the
    // system ends the process meanwhile, so they are left to it.
    if (g_caught == 0) {
        CloseHandle(g_event);
        CloseHandle(g_done);
    }
    g_event = g_done = nullptr;
}

int InterruptWait::Wait()
{
    while (g_caught == 0)
        WaitForSingleObject(g_event, INFINITE);
    return g_caught;
}

int InterruptWait::WakeFd() const
{
    return -1;
}

std::unique_ptr<QObject> InterruptWait::Notifier(std::function<void()> onSignal) const
{
    auto notifier = std::make_unique<QWinEventNotifier>(g_event);
    QObject::connect(notifier.get(), &QWinEventNotifier::activated, notifier.get(),
                     [onSignal = std::move(onSignal)] { onSignal(); });
    return notifier;
}

int InterruptWait::Caught() const
{
    return g_caught;
}
