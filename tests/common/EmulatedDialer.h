#pragma once

#include "emulator/DialerEmulator.h"
#include "emulator/DialerFaults.h"
#include "model/ImageChecksum.h"
#include "model/TCfg.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The emulated dialer as the tests run it: on a pseudo-terminal, answering at once
// instead of at the real line's pace. Faults are the emulator's own texts
// ("late-ms=1300", "nak-block=2"); a fault the emulator does not know is a fault of the
// test itself and ends the run.

inline DialerEmulator::Options Unpaced(const QStringList& faults = {})
{
    DialerEmulator::Options options;
    options.pacing = false;
    for (const QString& fault : faults)
        if (!AddFault(options.faults, fault.toStdString()))
            qFatal("bad fault %s", qPrintable(fault));
    return options;
}

// image with byte 0 set so that the whole image adds up to 0 modulo 256, as the dialer
// keeps it.
inline TCfg Sealed(TCfg image)
{
    image.SetByte(0, ZeroSumByte(image.Bytes().data() + 1, TCfg::Size - 1));
    return image;
}

// A started dialer; with image, it holds that image sealed instead of its factory one.
inline std::unique_ptr<DialerEmulator> StartDialer(const QStringList& faults = {},
                                                   const std::optional<TCfg>& image = {})
{
    auto dialer = std::make_unique<DialerEmulator>(Unpaced(faults));
    if (image)
        dialer->SetImage(Sealed(*image));
    dialer->Start();
    return dialer;
}

// The device the program opens to reach the dialer.
inline QString PathOf(const DialerEmulator& dialer)
{
    return QString::fromStdString(dialer.SlavePath());
}
