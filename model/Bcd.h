#pragma once

#include <cstdint>
#include <optional>

// Hour and minute bytes hold their two decimal digits in the two nibbles, tens high
// (14:05 is stored as 0x14 0x05).

// value 0..99 -> packed byte; values outside are taken modulo 100.
std::uint8_t ToBcd(int value);
// The byte's value, or nothing when either nibble is above 9.
std::optional<int> FromBcd(std::uint8_t byte);
// Both bytes valid BCD and together a time of day (hour 0..23, minute 0..59).
bool IsBcdTime(std::uint8_t hour, std::uint8_t minute);
