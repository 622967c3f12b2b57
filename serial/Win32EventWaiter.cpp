#include "serial/Win32EventWaiter.h"

#include "serial/Win32Api.h"
#include "serial/Win32Errors.h"

namespace {

constexpr DWORD ModemEvents =
    ComEventBit::CTS | ComEventBit::DSR | ComEventBit::RLSD | ComEventBit::Ring;

} // namespace

std::unique_ptr<Win32EventWaiter> Win32EventWaiter::Create(Win32Api& api, HANDLE port,
                                                           std::uint32_t mask, int& error)
{
    std::unique_ptr<Win32EventWaiter> waiter(new Win32EventWaiter(api, port, mask));
    DWORD failure = api.NewEvent(true, false, waiter->m_stop);
    if (!failure)
        failure = api.NewEvent(true, false, waiter->m_done);
    if (!failure)
        failure = api.SetCommMask(port, mask);
    error = int(failure);
    return failure ? nullptr : std::move(waiter);
}

Win32EventWaiter::Win32EventWaiter(Win32Api& api, HANDLE port, std::uint32_t mask)
    : m_api(api), m_port(port), m_mask(mask)
{}

Win32EventWaiter::~Win32EventWaiter()
{
    if (m_done)
        m_api.CloseHandle(m_done);
    if (m_stop)
        m_api.CloseHandle(m_stop);
}

void Win32EventWaiter::Stop()
{
    m_stopped = true;
    m_api.SetEvent(m_stop);
}

ComEventWaiter::Outcome Win32EventWaiter::Wait(std::uint32_t& word)
{
    word = 0;
    for (;;) {
        if (m_stopped)
            return Outcome::Stopped;
        m_overlapped = {};
        m_overlapped.hEvent = m_done;
        m_word = 0;
        // Cleared before the wait starts: a completion signal left over would end the
        // next wait's waiting while it still runs, and its record could then go while
        // the system still writes to it.
        m_api.ResetEvent(m_done);
        const DWORD started = m_api.WaitCommEvent(m_port, m_word, m_overlapped);
        if (started == 0) {
            // Completed at once: the events were there already.
            if (m_stopped)
                return Outcome::Stopped;
            word = m_word & m_mask;
            return Outcome::Events;
        }
        if (Win32Errors::IsNoModemLines(started) && (m_mask & ModemEvents)) {
            // A device without modem lines (a pseudo-terminal under Wine, some virtual
            // ports) will not watch them: their changes can never come, so the rest is.
            m_mask &= ~ModemEvents;
            if (m_api.SetCommMask(m_port, m_mask) == 0)
                continue;
        }
        // A wait that cannot even start has no events to give: ending is the one answer
        // that neither delivers old ones nor spins.
        if (started != ERROR_IO_PENDING)
            return Outcome::Ended;

        DWORD fetched = ERROR_IO_INCOMPLETE;
        while (fetched == ERROR_IO_INCOMPLETE) {
            const HANDLE handles[2] = {m_stop, m_done};
            const DWORD which = m_api.WaitForAny(handles, 2);
            if (which != WAIT_OBJECT_0 + 1) {
                Finish();
                return which == WAIT_OBJECT_0 ? Outcome::Stopped : Outcome::Ended;
            }
            DWORD unused = 0;
            fetched = m_api.GetOverlappedResult(m_port, m_overlapped, unused, false);
            if (fetched == ERROR_IO_INCOMPLETE) {
                // Signalled while the wait still runs: it is waited for again, never
                // started anew over itself. Cleared first, then looked at once more, so
                // that an end coming in between is not missed.
                m_api.ResetEvent(m_done);
                fetched = m_api.GetOverlappedResult(m_port, m_overlapped, unused, false);
            }
        }
        if (m_stopped)
            return Outcome::Stopped;
        if (fetched == 0) {
            word = m_word & m_mask;
            return Outcome::Events;
        }
        // A wait that completed without events is started again, unless the line has
        // gone (Wine completes every wait on a pseudo-terminal so, after one look at the
        // receive queue: its monitor then looks again each time).
        if (Win32Errors::IsLineGone(fetched))
            return Outcome::Ended;
    }
}

void Win32EventWaiter::Finish()
{
    // The wait was started by this thread, so CancelIo reaches it. A driver that cannot
    // cancel ends the wait when the mask changes.
    if (m_api.CancelIo(m_port) != 0)
        m_api.SetCommMask(m_port, 0);
    DWORD unused = 0;
    m_api.GetOverlappedResult(m_port, m_overlapped, unused, true);
}
