#include "emulator/DialerImage.h"

#include "model/ImageChecksum.h"
#include "model/TZorvexSettings.h"

TCfg DefaultDialerImage()
{
    TZorvexSettings settings;
    settings.LoadDefaults();
    TCfg image = settings.Cfg;
    // Hour and minute bytes in packed decimal. The telephone line was never cut (10, 11
    // stay FF), so one entry also shows the "did not happen" case.
    const std::uint8_t history[] = {
        0x06, 0x14, // loss of AC mains 06:14
        0x22, 0x47, // last arming 22:47
        0xFF, 0xFF, // telephone line cut: never
        0x23, 0x05, // start of the alarm 23:05
    };
    image.WriteBytes(6, history, sizeof history);
    SealImage(image);
    return image;
}

void SealImage(TCfg& image)
{
    image.SetByte(0, ZeroSumByte(image.Bytes().data() + 1, TCfg::Size - 1));
}
