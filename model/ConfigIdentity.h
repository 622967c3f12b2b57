#pragma once

#include "model/TZorvexSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>

// CRC-32 as zip and PNG compute it (reflected polynomial 0xEDB88320, initial and final
// value 0xFFFFFFFF): "123456789" gives 0xCBF43926.
std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t count);

// Short fingerprint of a configuration image: the CRC-32 of the 256 bytes as the dialer
// and the file hold them, that is with byte 0 recomputed as the image checksum, in eight
// upper-case hexadecimal digits ("0A1B2C3D"). A stale byte 0 in memory (it is only filled in before
// a write or a save) therefore never changes it, and a report printed in the window matches "zvx
// show" of the saved file.
std::string ImageFingerprint(const TCfg& cfg);

// Whether two configurations hold the same image bytes 1..255 and the same description
// records (byte 0, the checksum, is derived from the rest and not compared).
bool SameConfiguration(const TZorvexSettings& a, const TZorvexSettings& b);
