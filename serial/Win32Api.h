#pragma once

// Private: the Windows calls the Win32 serial backend makes, one method per call, so that
// its logic can be driven by a fake on any system. Each returns 0 or the system's error
// code (what GetLastError gives after the call failed); ERROR_IO_PENDING from a call that
// takes an OVERLAPPED means it was started and completes later. Any thread, as the calls
// themselves allow.

#include "serial/Win32Types.h"

#include <string>

class Win32Api
{
public:
    virtual ~Win32Api() = default;

    // CreateFileW for reading and writing, no sharing, an existing device only, overlapped.
    virtual DWORD OpenComm(const std::wstring& path, HANDLE& handle) = 0;
    virtual void CloseHandle(HANDLE handle) = 0;
    // CreateEventW without a name.
    virtual DWORD NewEvent(bool manualReset, bool signalled, HANDLE& event) = 0;
    virtual void SetEvent(HANDLE event) = 0;
    virtual void ResetEvent(HANDLE event) = 0;
    // WaitForMultipleObjects for any of count handles without a time limit: the index of
    // the first one signalled (the lowest when several are), or WAIT_FAILED.
    virtual DWORD WaitForAny(const HANDLE* handles, DWORD count) = 0;

    virtual DWORD SetCommState(HANDLE port, const DCB& dcb) = 0;
    virtual DWORD SetCommTimeouts(HANDLE port, const COMMTIMEOUTS& timeouts) = 0;
    virtual DWORD SetupComm(HANDLE port, DWORD inputSize, DWORD outputSize) = 0;
    virtual DWORD PurgeComm(HANDLE port, DWORD flags) = 0;
    // ClearCommError: the line-error flags (reset by the call) and the receive-queue count.
    virtual DWORD ClearCommError(HANDLE port, DWORD& errors, DWORD& inQueue) = 0;
    virtual DWORD GetCommModemStatus(HANDLE port, DWORD& status) = 0;
    virtual DWORD SetCommMask(HANDLE port, DWORD mask) = 0;
    // word must live until the wait has completed.
    virtual DWORD WaitCommEvent(HANDLE port, DWORD& word, OVERLAPPED& overlapped) = 0;

    virtual DWORD ReadFile(HANDLE port, void* data, DWORD size, DWORD& done,
                           OVERLAPPED& overlapped) = 0;
    virtual DWORD WriteFile(HANDLE port, const void* data, DWORD size, DWORD& done,
                            OVERLAPPED& overlapped) = 0;
    // wait: block until the operation has completed.
    virtual DWORD GetOverlappedResult(HANDLE port, OVERLAPPED& overlapped, DWORD& done,
                                      bool wait) = 0;
    // Cancels the operations the calling thread started on port.
    virtual DWORD CancelIo(HANDLE port) = 0;
};

// The system's own calls (Windows only).
Win32Api& SystemWin32Api();
