#pragma once

#include "device/OutcomeReporter.h"

#include <functional>

class QWidget;

// The dialer link's outcomes as modal message boxes over the main window.
// UI thread only.
class WindowReporter : public OutcomeReporter
{
public:
    explicit WindowReporter(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void Information(const QString& text) override;
    void Error(const QString& text) override;
    // OK and Cancel; true for OK.
    bool Confirm(const QString& text) override;

    // The answer to the last confirmation (false until one was asked).
    bool LastConfirmed = false;
    // Told of every information the user has taken in (after the box closed).
    std::function<void(const QString& text)> OnInformation;

private:
    QWidget* m_parent;
};
