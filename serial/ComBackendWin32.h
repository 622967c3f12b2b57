#pragma once

// Private: the port on Windows, a communications device opened for overlapped use. Every
// call goes through a Win32Api, so that tests drive this logic with a fake on any system.
// Transfers wait for their completion without a limit of their own: the time-outs put
// on the device bound them, as on the system the component was designed for.

#include "serial/ComBackend.h"
#include "serial/Win32Types.h"

#include <mutex>

class Win32Api;

class ComBackendWin32 final : public ComBackend
{
public:
    explicit ComBackendWin32(Win32Api& api) : m_api(api) {}
    ~ComBackendWin32() override;

    // device: "\\.\COMn" or a bare "COMn" (given the prefix, which COM10 and above need).
    int Open(const QString& device) override;
    void Close() override;
    bool IsOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }

    // ActualRate keeps its default ("cannot tell"): GetCommState gives back the rate of
    // the last SetCommState, not the divisor the driver gave the UART, so reading it
    // back would only confirm what was asked for.
    int SetLine(const ComLineSettings& line) override;
    int SetTimeouts(const ComTimeoutSettings& timeouts) override;
    int SetQueueSizes(std::int32_t input, std::int32_t output) override;

    bool IsLineGone(int error) const override;
    int AbortTransfers() override;
    int ClearQueues() override;

    int Write(const char* data, int size, int& written) override;
    int Read(char* data, int size, int& got) override;

    int ReceiveCount(int& count) override;
    int TakeErrors(std::uint32_t& flags) override;
    int ModemStatus(ComModemSignals& lines) override;

    std::unique_ptr<ComEventWaiter> CreateEventWaiter(std::uint32_t mask, int& error) override;

private:
    enum class Kind
    {
        Write,
        Read
    };
    // One overlapped transfer with its own event, waited for to its end.
    int Transfer(Kind kind, char* data, int size, int& done);

    Win32Api& m_api;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    ComTimeoutSettings m_timeouts; // as last put on the device
    // ClearCommError resets the error flags whenever the receive count is read: those it
    // gave then are kept here for the next TakeErrors (monitor thread under smNone).
    std::mutex m_errorMutex;
    DWORD m_heldErrors = 0;
};
