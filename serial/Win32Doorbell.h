#pragma once

// Private: the owning thread's doorbell on Windows, an auto-reset event watched by a
// QWinEventNotifier.

#include "serial/ComBackend.h"
#include "serial/Win32Types.h"

class QWinEventNotifier;

class Win32Doorbell final : public ComDoorbell
{
public:
    explicit Win32Doorbell(std::function<void()> onRing);
    ~Win32Doorbell() override;

    void Ring() override;

private:
    HANDLE m_event = nullptr;
    std::function<void()> m_onRing;
    std::unique_ptr<QWinEventNotifier> m_notifier;
};
