#pragma once

#include "device/ConfigFileResult.h"
#include "model/TZorvexSettings.h"

#include <array>
#include <cstdint>
#include <string>

// The 1024-byte configuration file: magic "Zorvex" at 0, the image at 32 (its byte 0
// holding the image checksum), the fourteen records at 300, and a file checksum at
// 1023 making all 1024 bytes add up to 0 modulo 256. Zero bytes everywhere else.
namespace ConfigFile {

constexpr int Size = 1024;
constexpr int ImageOffset = 32;
constexpr int RecordsOffset = 300;
constexpr int ChecksumOffset = Size - 1;

using Bytes = std::array<std::uint8_t, Size>;

// The file's bytes for a configuration. The image checksum is computed into the file;
// image byte 0 in memory is not changed.
Bytes Build(const TZorvexSettings& settings);
// Success, or FileFormatError for a wrong magic, image checksum or file checksum
// (checked in that order).
Result Check(const Bytes& bytes);
// Record 0's text in the file up to its first zero byte (cp1250 bytes).
std::string Record0Text(const Bytes& bytes);
// Copies the image (byte 0 included) and the fourteen records out of a checked file.
void Apply(const Bytes& bytes, TZorvexSettings& settings);

} // namespace ConfigFile
