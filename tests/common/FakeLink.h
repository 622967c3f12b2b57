#pragma once

#include "device/ExchangeLink.h"
#include "model/Exception.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

// The engine's surroundings, recorded: frames sent, timer state, events in order.
class FakeLink : public ExchangeLink
{
public:
    void SendFrame(const QByteArray& frame) override
    {
        if (failSendsFrom >= 0 && frames.size() >= failSendsFrom)
            throw Exception("Błąd funkcji WriteFile");
        frames.append(frame);
    }
    int DiscardInput() override { return std::exchange(waiting, 0); }
    void StartReplyTimer() override
    {
        timerRunning = true;
        ++timerStarts;
    }
    void StopReplyTimer() override { timerRunning = false; }
    void StartGuardTimer() override
    {
        guardRunning = true;
        ++guardStarts;
    }
    void StopGuardTimer() override { guardRunning = false; }
    void TransferStarted() override { events.append(QStringLiteral("start")); }
    void TransferEnded() override { events.append(QStringLiteral("end")); }
    void TransferProgress(int percent) override
    {
        progress.append(percent);
        events.append(QString::number(percent));
    }

    void TransferConfirming(ConfigEvent event) override
    {
        events.append(QStringLiteral("confirm ") + QString::fromUtf8(ConfigEventName(event)));
    }

    void ExchangeDone(const ExchangeOutcome& outcome) override
    {
        done.append(outcome);
        if (onDone)
            onDone();
    }

    QList<QByteArray> frames;
    QStringList events;
    QList<ExchangeOutcome> done;  // not in events: they end before the message
    std::function<void()> onDone; // runs as the end is told
    QList<int> progress;
    bool timerRunning = false;
    int timerStarts = 0;
    bool guardRunning = false;
    int guardStarts = 0;
    int failSendsFrom = -1; // frames sent before SendFrame starts to throw; -1 never
    int waiting = 0;        // bytes on the line that DiscardInput finds next
};
