#pragma once

// Private: the monitor's wait on Windows. An overlapped WaitCommEvent on the port and a
// stop event of its own, waited for together without a time limit.

#include "serial/ComBackend.h"
#include "serial/Win32Types.h"

#include <atomic>

class Win32Api;

class Win32EventWaiter final : public ComEventWaiter
{
public:
    // Sets the port's event mask. nullptr with error set when that or an event fails.
    static std::unique_ptr<Win32EventWaiter> Create(Win32Api& api, HANDLE port, std::uint32_t mask,
                                                    int& error);
    ~Win32EventWaiter() override;

    Outcome Wait(std::uint32_t& word) override;
    void Stop() override;

private:
    Win32EventWaiter(Win32Api& api, HANDLE port, std::uint32_t mask);
    // A wait still running ends (cancelled) before its record and word can go.
    void Finish();

    Win32Api& m_api;
    HANDLE m_port;
    DWORD m_mask;
    HANDLE m_stop = nullptr; // manual reset: once set, every later Wait sees it
    HANDLE m_done = nullptr; // the running wait's completion
    OVERLAPPED m_overlapped{};
    DWORD m_word = 0; // written by the system when the wait completes
    std::atomic<bool> m_stopped{false};
};
