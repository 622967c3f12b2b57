#pragma once

// A port that counts the settings groups it is asked to re-apply and logs its
// notifications, so tests can check what a setter or Open/Close asked for, in order.

#include "serial/CPort.h"

#include <QStringList>

class CountingPort : public TComPort
{
public:
    CountingPort()
    {
        OnOpen = [this](TCustomComPort*) { log << "open"; };
        OnClose = [this](TCustomComPort*) { log << "close"; };
        OnCTSChange = [this](TCustomComPort*, bool on) { log << QStringLiteral("cts:%1").arg(on); };
        OnDSRChange = [this](TCustomComPort*, bool on) { log << QStringLiteral("dsr:%1").arg(on); };
        OnRLSDChange = [this](TCustomComPort*, bool on) {
            log << QStringLiteral("rlsd:%1").arg(on);
        };
    }

    void ApplyLineSettings() override
    {
        ++lineApplies;
        TComPort::ApplyLineSettings();
    }
    void ApplyTimeouts() override
    {
        ++timeoutApplies;
        TComPort::ApplyTimeouts();
    }
    void ApplyBufferSizes() override
    {
        ++bufferApplies;
        TComPort::ApplyBufferSizes();
    }

    QString Applies() const
    {
        return QStringLiteral("%1%2%3").arg(lineApplies).arg(timeoutApplies).arg(bufferApplies);
    }
    void Reset()
    {
        lineApplies = timeoutApplies = bufferApplies = 0;
        log.clear();
    }

    int lineApplies = 0;
    int timeoutApplies = 0;
    int bufferApplies = 0;
    QStringList log;
};
