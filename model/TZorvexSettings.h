#pragma once

#include "model/TCfg.h"
#include "model/TComment.h"

// The one configuration the program works on: the device image and the PC-side
// description records. Never replaced; new contents are written in place.
class TZorvexSettings
{
public:
    TZorvexSettings() = default;

    // All 256 image bytes and all 700 record bytes become 0.
    void Clear();
    // Clear, then the factory configuration. Image byte 0 (the checksum) stays 0.
    void LoadDefaults();

    TCfg Cfg;
    TComment Comment;

    bool operator==(const TZorvexSettings&) const = default;
};
