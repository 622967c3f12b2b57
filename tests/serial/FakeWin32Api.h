#pragma once

// The Windows calls of the Win32 serial backend, played from a script on any system:
// each call takes the next outcome given for it (success when none is left), and the
// fake records what it was handed. Events are numbered handles; every one made must be
// closed again.

#include "serial/Win32Api.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <deque>

class FakeWin32Api final : public Win32Api
{
public:
    // One overlapped call: how it starts (0, ERROR_IO_PENDING or a failure), what it has
    // done by then, and for a pending one how the completion fetch ends.
    struct Step
    {
        DWORD start = 0;
        DWORD count = 0;
        DWORD result = 0;
        DWORD word = 0;       // WaitCommEvent's events
        DWORD signalled = 1;  // WaitForAny's answer while it is pending: 0 stop, 1 done
        QByteArray data = {}; // ReadFile's bytes
    };

    // Outcomes by call name ("OpenComm", "SetCommState", ...), taken in order.
    QMap<QString, QList<DWORD>> fails;
    std::deque<Step> transfers; // ReadFile and WriteFile
    std::deque<Step> waits;     // WaitCommEvent
    QList<DWORD> commErrors;    // ClearCommError's flags, one per call
    DWORD inQueue = 0;
    DWORD modem = 0;

    QStringList calls; // "SetCommMask 0x5ff", "CancelIo", ...
    std::wstring path;
    DCB dcb{};
    COMMTIMEOUTS timeouts{};
    int openEvents = 0;

    DWORD OpenComm(const std::wstring& p, HANDLE& handle) override
    {
        path = p;
        handle = reinterpret_cast<HANDLE>(std::intptr_t(0x100));
        return Next("OpenComm");
    }
    void CloseHandle(HANDLE handle) override
    {
        if (std::intptr_t(handle) < 0x100)
            --openEvents;
        calls << QStringLiteral("CloseHandle");
    }
    DWORD NewEvent(bool, bool, HANDLE& event) override
    {
        event = reinterpret_cast<HANDLE>(std::intptr_t(++openEvents));
        return 0;
    }
    void SetEvent(HANDLE) override {}
    DWORD WaitForAny(const HANDLE*, DWORD) override { return m_current.signalled; }
    DWORD SetCommState(HANDLE, const DCB& d) override
    {
        dcb = d;
        return Next("SetCommState");
    }
    DWORD SetCommTimeouts(HANDLE, const COMMTIMEOUTS& t) override
    {
        timeouts = t;
        return Next("SetCommTimeouts");
    }
    DWORD SetupComm(HANDLE, DWORD, DWORD) override { return Next("SetupComm"); }
    DWORD PurgeComm(HANDLE, DWORD flags) override
    {
        return Next(QStringLiteral("PurgeComm %1").arg(flags));
    }
    DWORD ClearCommError(HANDLE, DWORD& errors, DWORD& queue) override
    {
        errors = commErrors.isEmpty() ? 0 : commErrors.takeFirst();
        queue = inQueue;
        return Next("ClearCommError");
    }
    DWORD GetCommModemStatus(HANDLE, DWORD& status) override
    {
        status = modem;
        return Next("GetCommModemStatus");
    }
    DWORD SetCommMask(HANDLE, DWORD mask) override
    {
        return Next(QStringLiteral("SetCommMask 0x%1").arg(mask, 0, 16));
    }
    DWORD WaitCommEvent(HANDLE, DWORD& word, OVERLAPPED&) override
    {
        calls << QStringLiteral("WaitCommEvent");
        word = Take(waits).word;
        return m_current.start;
    }
    DWORD ReadFile(HANDLE, void* data, DWORD size, DWORD& done, OVERLAPPED&) override
    {
        const Step& step = Take(transfers);
        std::memcpy(data, step.data.constData(), std::min<std::size_t>(size, step.data.size()));
        done = 0; // the count comes with the completion
        return step.start;
    }
    DWORD WriteFile(HANDLE, const void*, DWORD, DWORD& done, OVERLAPPED&) override
    {
        const Step& step = Take(transfers);
        done = 0; // the count comes with the completion
        return step.start;
    }
    DWORD GetOverlappedResult(HANDLE, OVERLAPPED&, DWORD& done, bool wait) override
    {
        calls << QStringLiteral("GetOverlappedResult %1").arg(wait ? "wait" : "now");
        done = m_current.count;
        return m_current.result;
    }
    DWORD CancelIo(HANDLE) override { return Next("CancelIo"); }

private:
    const Step& Take(std::deque<Step>& steps)
    {
        m_current = steps.empty() ? Step{} : steps.front();
        if (!steps.empty())
            steps.pop_front();
        return m_current;
    }
    DWORD Next(const QString& call)
    {
        calls << call;
        return fails.value(call).isEmpty() ? 0 : fails[call].takeFirst();
    }

    Step m_current;
};
