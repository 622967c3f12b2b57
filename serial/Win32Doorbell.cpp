#include "serial/Win32Doorbell.h"

#include <QWinEventNotifier>

Win32Doorbell::Win32Doorbell(std::function<void()> onRing)
    : m_event(CreateEventW(nullptr, FALSE, FALSE, nullptr)), m_onRing(std::move(onRing))
{
    if (!m_event)
        return; // Ring does nothing then; Close still carries out what was handed over
    // The notifier's own wait takes the auto-reset event back to unsignalled: every
    // Ring after that wakes it again.
    m_notifier = std::make_unique<QWinEventNotifier>(m_event);
    QObject::connect(m_notifier.get(), &QWinEventNotifier::activated, m_notifier.get(),
                     [this] { m_onRing(); });
}

Win32Doorbell::~Win32Doorbell()
{
    m_notifier.reset();
    if (m_event)
        CloseHandle(m_event);
}

void Win32Doorbell::Ring()
{
    if (m_event)
        SetEvent(m_event);
}

std::unique_ptr<ComDoorbell> CreateComDoorbell(std::function<void()> onRing)
{
    return std::make_unique<Win32Doorbell>(std::move(onRing));
}
