#include "serial/ComBackendWin32.h"

#include "serial/Win32Api.h"
#include "serial/Win32Errors.h"
#include "serial/Win32EventWaiter.h"
#include "serial/Win32Line.h"

#include <algorithm>

namespace {

// The system names COM1 to COM9 also without the prefix, COM10 and above only with it.
std::wstring DeviceFileName(const QString& device)
{
    if (device.startsWith(QLatin1String("\\\\")))
        return device.toStdWString();
    return (QStringLiteral("\\\\.\\") + device).toStdWString();
}

} // namespace

ComBackendWin32::~ComBackendWin32()
{
    Close();
}

int ComBackendWin32::Open(const QString& device)
{
    Close();
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (DWORD error = m_api.OpenComm(DeviceFileName(device), handle))
        return int(error);
    m_handle = handle;
    std::lock_guard lock(m_errorMutex);
    m_heldErrors = 0;
    return 0;
}

void ComBackendWin32::Close()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return;
    m_api.CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

int ComBackendWin32::SetLine(const ComLineSettings& line)
{
    // The record is made whole from the settings rather than from GetCommState: every
    // field the port does not govern has one right value, and a driver that cannot read
    // its state back (Wine on a tty carrying a rate it does not know) still takes it.
    return int(m_api.SetCommState(m_handle, Win32Line::DcbOf(line)));
}

int ComBackendWin32::SetTimeouts(const ComTimeoutSettings& timeouts)
{
    if (DWORD error = m_api.SetCommTimeouts(m_handle, Win32Line::TimeoutsOf(timeouts)))
        return int(error);
    m_timeouts = timeouts;
    return 0;
}

int ComBackendWin32::SetQueueSizes(std::int32_t input, std::int32_t output)
{
    if (input <= 0 || output <= 0)
        return int(ERROR_INVALID_PARAMETER);
    return int(m_api.SetupComm(m_handle, DWORD(input), DWORD(output)));
}

bool ComBackendWin32::IsLineGone(int error) const
{
    return Win32Errors::IsLineGone(DWORD(error));
}

int ComBackendWin32::AbortTransfers()
{
    const DWORD error = m_api.PurgeComm(m_handle, PURGE_TXABORT | PURGE_RXABORT);
    return Win32Errors::IsLineGone(error) ? 0 : int(error);
}

int ComBackendWin32::ClearQueues()
{
    return int(m_api.PurgeComm(m_handle, PURGE_TXCLEAR | PURGE_RXCLEAR));
}

int ComBackendWin32::Write(const char* data, int size, int& written)
{
    return Transfer(Kind::Write, const_cast<char*>(data), size, written);
}

int ComBackendWin32::Read(char* data, int size, int& got)
{
    got = 0;
    const ComTimeoutSettings& t = m_timeouts;
    if (t.readInterval == 0xFFFFFFFFu && t.readTotalMultiplier == 0 && t.readTotalConstant == 0) {
        // A read that is to return at once takes what the receive queue holds, and none
        // is started when it is empty: a driver that leaves such a read pending (Wine on
        // a pseudo-terminal) would otherwise hold the port up for good.
        int waiting = 0;
        if (int error = ReceiveCount(waiting))
            return error;
        if (waiting == 0)
            return 0;
        size = std::min(size, waiting);
    }
    return Transfer(Kind::Read, data, size, got);
}

int ComBackendWin32::Transfer(Kind kind, char* data, int size, int& done)
{
    done = 0;
    if (size <= 0)
        return 0;
    HANDLE event = nullptr;
    if (DWORD error = m_api.NewEvent(true, true, event))
        return int(error);
    OVERLAPPED overlapped{};
    overlapped.hEvent = event;
    DWORD count = 0;
    DWORD error = kind == Kind::Write
                      ? m_api.WriteFile(m_handle, data, DWORD(size), count, overlapped)
                      : m_api.ReadFile(m_handle, data, DWORD(size), count, overlapped);
    // Done at once or later, the count is the completion's: the one given at the start
    // of an overlapped call is not to be relied on.
    if (error == 0 || error == ERROR_IO_PENDING)
        error = m_api.GetOverlappedResult(m_handle, overlapped, count, true);
    m_api.CloseHandle(event);
    // Some drivers end a transfer whose time-out ran out with a time-out error rather
    // than a short count: either way it is what the time-outs asked for.
    if (error == ERROR_SEM_TIMEOUT || error == ERROR_COUNTER_TIMEOUT)
        error = 0;
    done = int(count);
    return int(error);
}

int ComBackendWin32::ReceiveCount(int& count)
{
    count = 0;
    DWORD errors = 0;
    DWORD inQueue = 0;
    if (DWORD error = m_api.ClearCommError(m_handle, errors, inQueue))
        return int(error);
    std::lock_guard lock(m_errorMutex);
    m_heldErrors |= errors;
    count = int(inQueue);
    return 0;
}

int ComBackendWin32::TakeErrors(std::uint32_t& flags)
{
    flags = 0;
    DWORD errors = 0;
    DWORD inQueue = 0;
    if (DWORD error = m_api.ClearCommError(m_handle, errors, inQueue))
        return int(error);
    std::lock_guard lock(m_errorMutex);
    flags = m_heldErrors | errors;
    m_heldErrors = 0;
    return 0;
}

int ComBackendWin32::ModemStatus(ComModemSignals& lines)
{
    lines = {};
    DWORD status = 0;
    if (DWORD error = m_api.GetCommModemStatus(m_handle, status))
        return Win32Errors::IsNoModemLines(error) ? 0 : int(error);
    lines = Win32Line::ModemSignalsOf(status);
    return 0;
}

std::unique_ptr<ComEventWaiter> ComBackendWin32::CreateEventWaiter(std::uint32_t mask, int& error)
{
    return Win32EventWaiter::Create(m_api, m_handle, mask, error);
}
