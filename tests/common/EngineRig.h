#pragma once

#include "device/ExchangeEngine.h"
#include "model/ImageChecksum.h"
#include "model/TZorvexSettings.h"
#include "tests/common/FakeLink.h"
#include "tests/common/FakeReporter.h"

#include <QByteArray>

#include <cstdint>

// The exchange engine with no port and no timer: frames and events go to a FakeLink,
// boxes to a FakeReporter, a good read into the factory settings.
struct EngineRig
{
    EngineRig() { settings.LoadDefaults(); }
    TZorvexSettings settings;
    FakeLink link;
    FakeReporter reporter;
    ExchangeEngine engine{settings, link, reporter};
};

// The dialer's answer to a read frame for the 64 bytes of image at offset: A1 00, the
// bytes, their sum (one too high with spoilChecksum).
inline QByteArray ReadReply(const ExchangeEngine::Image& image, int offset,
                            bool spoilChecksum = false)
{
    QByteArray reply("\xA1\x00", 2);
    reply.append(reinterpret_cast<const char*>(image.data()) + offset, 64);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(reply.constData());
    reply.append(static_cast<char>(Sum8(bytes, reply.size()) + (spoilChecksum ? 1 : 0)));
    return reply;
}

// An image whose bytes add up to sum modulo 256 (0: one the dialer's check accepts).
inline ExchangeEngine::Image ImageSummingTo(std::uint8_t sum)
{
    ExchangeEngine::Image image;
    for (int i = 0; i < 256; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    image[0] = static_cast<std::uint8_t>(ZeroSumByte(image.data() + 1, 255) + sum);
    return image;
}
