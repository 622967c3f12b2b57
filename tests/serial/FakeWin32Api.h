#pragma once

// The Windows calls of the Win32 serial backend, played from a script on any system: a
// call fails with the next code given for it (succeeds when none is left), overlapped
// calls follow Steps, and the fake records what it was handed. Events are numbered
// handles below 0x100, the port is 0x100; every event made must be closed again.

#include "serial/Win32Api.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <cstring>
#include <deque>

class FakeWin32Api final : public Win32Api
{
public:
    // One overlapped call: how it starts (0, ERROR_IO_PENDING or a failure), and how its
    // completion ends: count, result, WaitCommEvent's word, ReadFile's bytes, and what
    // WaitForAny finds signalled while it runs (0 the stop event, 1 the completion).
    struct Step
    {
        DWORD start = 0;
        DWORD count = 0;
        DWORD result = 0;
        DWORD word = 0;
        DWORD signalled = 1;
        QByteArray data = {};
    };

    QMap<QString, QList<DWORD>> fails; // by call name: "OpenComm", "SetCommState", ...
    std::deque<Step> transfers;        // ReadFile and WriteFile
    std::deque<Step> waits;            // WaitCommEvent
    QList<DWORD> commErrors;           // ClearCommError's flags, one per call
    DWORD inQueue = 0;

    QStringList calls; // "SetCommMask 0x5ff", "GetOverlappedResult wait", ...
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
        openEvents -= std::intptr_t(handle) < 0x100;
        calls << QStringLiteral("CloseHandle");
    }
    DWORD NewEvent(bool, bool, HANDLE& event) override
    {
        event = reinterpret_cast<HANDLE>(std::intptr_t(++openEvents));
        return 0;
    }
    void SetEvent(HANDLE) override {}
    void ResetEvent(HANDLE) override {}
    DWORD WaitForAny(const HANDLE*, DWORD) override { return m_step.signalled; }
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
    DWORD PurgeComm(HANDLE, DWORD flags) override { return Next(QString::number(flags)); }
    DWORD ClearCommError(HANDLE, DWORD& errors, DWORD& queue) override
    {
        errors = commErrors.isEmpty() ? 0 : commErrors.takeFirst();
        queue = inQueue;
        return Next("ClearCommError");
    }
    DWORD GetCommModemStatus(HANDLE, DWORD& status) override
    {
        status = 0;
        return 0;
    }
    DWORD SetCommMask(HANDLE, DWORD mask) override
    {
        return Next(QStringLiteral("SetCommMask 0x%1").arg(mask, 0, 16));
    }
    DWORD WaitCommEvent(HANDLE, DWORD& word, OVERLAPPED&) override
    {
        word = Take(waits).word;
        return m_step.start;
    }
    DWORD ReadFile(HANDLE, void* data, DWORD size, DWORD& done, OVERLAPPED&) override
    {
        const Step& step = Take(transfers);
        std::memcpy(data, step.data.constData(), std::min<std::size_t>(size, step.data.size()));
        return done = 0, step.start; // the count comes with the completion
    }
    DWORD WriteFile(HANDLE, const void*, DWORD, DWORD& done, OVERLAPPED&) override
    {
        return done = 0, Take(transfers).start;
    }
    DWORD GetOverlappedResult(HANDLE, OVERLAPPED&, DWORD& done, bool wait) override
    {
        calls << QStringLiteral("GetOverlappedResult %1").arg(wait ? "wait" : "now");
        done = m_step.count;
        return m_step.result;
    }
    DWORD CancelIo(HANDLE) override { return Next("CancelIo"); }

private:
    const Step& Take(std::deque<Step>& steps)
    {
        m_step = steps.empty() ? Step{} : steps.front();
        if (!steps.empty())
            steps.pop_front();
        return m_step;
    }
    DWORD Next(const QString& call)
    {
        calls << call;
        return fails.value(call).isEmpty() ? 0 : fails[call].takeFirst();
    }

    Step m_step;
};
