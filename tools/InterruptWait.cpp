#include "tools/InterruptWait.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
// Written by the handler (which may run on any thread), read by Wait().
// Lock-free atomics: safe in a signal handler, and no data race with the main thread.
std::atomic<int> g_wakeFd{-1};
std::atomic<int> g_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void OnSignal(int number)
{
    const int savedErrno = errno;
    g_signal = number;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t ignored = write(g_wakeFd, &one, sizeof one);
    errno = savedErrno;
}

} // namespace

InterruptWait::InterruptWait()
{
    g_signal = 0;
    g_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    // Restarted calls: code that never expects EINTR (file writes, say) goes on; the
    // waits that must notice the signal watch the eventfd.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &action, &m_old[i]);
}

InterruptWait::~InterruptWait()
{
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &m_old[i], nullptr);
    if (g_wakeFd >= 0)
        close(g_wakeFd);
    g_wakeFd = -1;
}

int InterruptWait::Wait()
{
    while (g_signal == 0) {
        if (g_wakeFd < 0) {
            pause();
            continue;
        }
        pollfd wake{g_wakeFd, POLLIN, 0};
        if (poll(&wake, 1, -1) < 0 && errno != EINTR)
            break;
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t ignored = read(g_wakeFd, &count, sizeof count);
    }
    return g_signal;
}

int InterruptWait::WakeFd() const
{
    return g_wakeFd;
}

int InterruptWait::Caught() const
{
    return g_signal;
}
