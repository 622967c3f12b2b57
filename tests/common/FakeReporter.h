#pragma once

#include "device/OutcomeReporter.h"

#include <QString>
#include <QStringList>

#include <functional>

// The boxes the link would show, recorded in order: "I:" information, "E:" error,
// "C:" a question, which gets confirmAnswer.
class FakeReporter : public OutcomeReporter
{
public:
    void Information(const QString& text) override
    {
        shown.append(QStringLiteral("I:") + text);
        if (onShown)
            onShown();
    }
    void Error(const QString& text) override
    {
        shown.append(QStringLiteral("E:") + text);
        if (onShown)
            onShown();
    }
    bool Confirm(const QString& text) override
    {
        shown.append(QStringLiteral("C:") + text);
        return confirmAnswer;
    }

    QStringList shown;
    bool confirmAnswer = true;
    std::function<void()> onShown; // runs while the "box" is open
};
