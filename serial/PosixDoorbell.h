#pragma once

// Private: the owning thread's doorbell on Linux, an eventfd watched by a QSocketNotifier.

#include "serial/ComBackend.h"

class QSocketNotifier;

class PosixDoorbell final : public ComDoorbell
{
public:
    explicit PosixDoorbell(std::function<void()> onRing);
    ~PosixDoorbell() override;

    void Ring() override;

private:
    void Answer();

    int m_fd = -1;
    std::function<void()> m_onRing;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
