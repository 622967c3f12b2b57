#pragma once

#include <cstdint>

// The byte that makes bytes[0] .. bytes[count - 1] plus itself add up to 0 modulo 256:
// the two's complement of the low 8 bits of their sum.
std::uint8_t ZeroSumByte(const std::uint8_t* bytes, int count);
// The low 8 bits of the sum of count bytes (frame checksums).
std::uint8_t Sum8(const std::uint8_t* bytes, int count);
