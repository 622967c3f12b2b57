#include "tools/InterruptWait.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <pthread.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
static_assert(InterruptSignal::Interrupt == SIGINT && InterruptSignal::Terminate == SIGTERM &&
              InterruptSignal::HangUp == SIGHUP);
// The thread that owns the object: the handler passes signals on to it. Lock-free, so
// safe to read in a signal handler on any thread.
std::atomic<pid_t> g_owner{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);
// The rest is the owning thread's alone.
sigset_t g_set;
sigset_t g_oldMask;
int g_fd = -1;
int g_caught = 0;
struct sigaction g_old[3];

// Runs only on a thread that does not block the signals (one started before the object):
// the owning thread blocks them, so there the signal waits for Caught().
void PassOn(int number)
{
    const int savedErrno = errno;
    syscall(SYS_tgkill, getpid(), g_owner.load(), number);
    errno = savedErrno;
}

// The first of the signals that is pending for this thread or the process, taken; 0
// when none is.
int TakePending()
{
    const timespec now{0, 0};
    for (;;) {
        const int number = sigtimedwait(&g_set, nullptr, &now);
        if (number > 0 || errno != EINTR)
            return number > 0 ? number : 0;
    }
}

} // namespace

InterruptWait::InterruptWait()
{
    g_caught = 0;
    g_owner = pid_t(syscall(SYS_gettid));
    sigemptyset(&g_set);
    for (const int number : kSignals)
        sigaddset(&g_set, number);
    // Blocked before anything can start a thread, which then inherits the mask.
    pthread_sigmask(SIG_BLOCK, &g_set, &g_oldMask);
    g_fd = signalfd(-1, &g_set, SFD_NONBLOCK | SFD_CLOEXEC);
    struct sigaction action = {};
    action.sa_handler = PassOn;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &action, &g_old[i]);
}

InterruptWait::~InterruptWait()
{
    // Handlers first, then the mask: a signal still pending then reaches what was there
    // before (by default it ends the program, after the port has been closed).
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &g_old[i], nullptr);
    if (g_fd >= 0)
        close(g_fd);
    g_fd = -1;
    pthread_sigmask(SIG_SETMASK, &g_oldMask, nullptr);
    g_owner = 0;
}

int InterruptWait::Wait()
{
    while (Caught() == 0) {
        const int number = sigwaitinfo(&g_set, nullptr);
        if (number > 0)
            g_caught = number;
        else if (errno != EINTR)
            break;
    }
    return g_caught;
}

int InterruptWait::WakeFd() const
{
    return g_fd;
}

std::unique_ptr<QObject> InterruptWait::Notifier(std::function<void()> onSignal) const
{
    if (g_fd < 0)
        return nullptr;
    auto notifier = std::make_unique<QSocketNotifier>(g_fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                     [onSignal = std::move(onSignal)] { onSignal(); });
    return notifier;
}

int InterruptWait::Caught() const
{
    if (g_caught == 0)
        g_caught = TakePending();
    return g_caught;
}
