#pragma once

#include "model/TCfg.h"

#include <string>

// The keypad code of the Polpager message: a string over "0".."9", "*" and "#" that the
// dialer keys into the paging station. It starts in digit mode:
//   digit mode:  "0".."9" a digit, "*" a space, "**" to letter mode, "#" the end;
//   letter mode: key 2..9 then "*" its first letter, alone its second, then "#" its
//                third; "0" a space, "0*" back to digit mode, "0##" the end.
// Stored packed (two symbols a byte) at 192..255 with its length in symbols in byte 57;
// "#" and the filler are the same nibble, so only byte 57 tells where the code ends.
namespace PolpagerCode {

// Three letters to a key, keys 2..9: there is no Q and no Z.
inline constexpr const char* Alphabet = "ABCDEFGHIJKLMNOPRSTUVWXY";
inline constexpr int MaxSymbols = 128;
// Longest text the message field takes.
inline constexpr int MaxTextLength = 126;
inline constexpr int CodeOffset = 192;
inline constexpr int CodeBytes = 64;
inline constexpr int LengthOffset = 57;

} // namespace PolpagerCode

// Keypad code of a UTF-8 text, with its end code; it may be longer than MaxSymbols.
// Texts over the alphabet, digits and spaces decode to themselves. Any other character
// costs nothing in letter mode and in digit mode becomes the symbol its DigitValue gives
// (a lower-case or non-ASCII letter is "0", "*" and "#" themselves), as the packed-digit
// store would have made of it.
std::string EncodeMessage(const std::string& text);

// Text of the code stored in the image. Reads at most byte 57 symbols and never past
// offset 255, whatever byte 57 holds; symbols the encoder never makes show as "?".
std::string DecodeMessage(const TCfg& cfg);
