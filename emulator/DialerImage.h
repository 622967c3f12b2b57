#pragma once

#include "model/TCfg.h"

// What the emulated dialer holds when it is given no image: the factory configuration,
// a few event-history times as a dialer in service would have recorded them, and a valid
// image checksum in byte 0.
TCfg DefaultDialerImage();

// Stores into byte 0 the value that makes all 256 bytes add up to 0 modulo 256.
void SealImage(TCfg& image);
