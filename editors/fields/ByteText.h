#pragma once

#include <cstdint>
#include <string>

// Decimal texts of one-byte numeric fields (times in seconds or minutes, counters) as
// their edits show them. Plain C++: used by the field mappings and by the dialogs.

// The byte as decimal digits, no padding ("0".."255").
std::string ByteToText(int value);

// The value of a field's text. Only decimal digits worth 0..255 convert; anything else
// (a pasted word, a sign, blanks, the empty text, a number above 255 typed into the
// middle of the field) raises EConvertError "'%s' is not a valid integer value" with the
// text, so callers can refuse it before they write a single byte.
std::uint8_t ByteFromText(const std::string& text);

// Key-filter rule of the numeric fields: the typed digit counts as if appended at the end
// of the field's text, wherever the caret stands. True when that text converts and lies
// in minimum..maximum. A text that does not convert (it can only have been pasted)
// refuses the digit.
bool AppendedDigitFits(const std::string& text, char digit, int minimum, int maximum);
