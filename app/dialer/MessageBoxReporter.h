#pragma once

#include "device/OutcomeReporter.h"

class QWidget;

// The dialer link's outcomes as modal message boxes over the main window.
// UI thread only.
class MessageBoxReporter : public OutcomeReporter
{
public:
    explicit MessageBoxReporter(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void Information(const QString& text) override;
    void Error(const QString& text) override;
    // OK and Cancel; true for OK.
    bool Confirm(const QString& text) override;

private:
    QWidget* m_parent;
};
