// The Windows calls behind Win32Api, and the port's backend made on them (Windows only).

#include "serial/ComBackendWin32.h"
#include "serial/Win32Api.h"

namespace {

// 0 or the call's error; for a started overlapped call ERROR_IO_PENDING, a start.
DWORD Outcome(BOOL ok)
{
    return ok ? 0 : GetLastError();
}

class SystemApi final : public Win32Api
{
public:
    DWORD OpenComm(const std::wstring& path, HANDLE& handle) override
    {
        handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
        return handle == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    }
    void CloseHandle(HANDLE handle) override { ::CloseHandle(handle); }
    DWORD NewEvent(bool manualReset, bool signalled, HANDLE& event) override
    {
        event = CreateEventW(nullptr, manualReset, signalled, nullptr);
        return event ? 0 : GetLastError();
    }
    void SetEvent(HANDLE event) override { ::SetEvent(event); }
    void ResetEvent(HANDLE event) override { ::ResetEvent(event); }
    DWORD WaitForAny(const HANDLE* handles, DWORD count) override
    {
        return WaitForMultipleObjects(count, handles, FALSE, INFINITE);
    }

    DWORD SetCommState(HANDLE port, const DCB& dcb) override
    {
        DCB copy = dcb;
        return Outcome(::SetCommState(port, &copy));
    }
    DWORD SetCommTimeouts(HANDLE port, const COMMTIMEOUTS& timeouts) override
    {
        COMMTIMEOUTS copy = timeouts;
        return Outcome(::SetCommTimeouts(port, &copy));
    }
    DWORD SetupComm(HANDLE port, DWORD inputSize, DWORD outputSize) override
    {
        return Outcome(::SetupComm(port, inputSize, outputSize));
    }
    DWORD PurgeComm(HANDLE port, DWORD flags) override { return Outcome(::PurgeComm(port, flags)); }
    DWORD ClearCommError(HANDLE port, DWORD& errors, DWORD& inQueue) override
    {
        COMSTAT stat{};
        const DWORD error = Outcome(::ClearCommError(port, &errors, &stat));
        inQueue = stat.cbInQue;
        return error;
    }
    DWORD GetCommModemStatus(HANDLE port, DWORD& status) override
    {
        return Outcome(::GetCommModemStatus(port, &status));
    }
    DWORD SetCommMask(HANDLE port, DWORD mask) override
    {
        return Outcome(::SetCommMask(port, mask));
    }
    DWORD WaitCommEvent(HANDLE port, DWORD& word, OVERLAPPED& overlapped) override
    {
        return Outcome(::WaitCommEvent(port, &word, &overlapped));
    }
    DWORD ReadFile(HANDLE port, void* data, DWORD size, DWORD& done,
                   OVERLAPPED& overlapped) override
    {
        return Outcome(::ReadFile(port, data, size, &done, &overlapped));
    }
    DWORD WriteFile(HANDLE port, const void* data, DWORD size, DWORD& done,
                    OVERLAPPED& overlapped) override
    {
        return Outcome(::WriteFile(port, data, size, &done, &overlapped));
    }
    DWORD GetOverlappedResult(HANDLE port, OVERLAPPED& overlapped, DWORD& done, bool wait) override
    {
        return Outcome(::GetOverlappedResult(port, &overlapped, &done, wait));
    }
    DWORD CancelIo(HANDLE port) override { return Outcome(::CancelIo(port)); }
};

} // namespace

Win32Api& SystemWin32Api()
{
    static SystemApi api;
    return api;
}

std::unique_ptr<ComBackend> CreateComBackend()
{
    return std::make_unique<ComBackendWin32>(SystemWin32Api());
}
