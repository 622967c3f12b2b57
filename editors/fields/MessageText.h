#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Messages that quote what the user gave (UTF-8). Plain C++, any thread.

// message with each "%s" replaced, in order, by the next of values, in one pass: a value
// that itself holds "%s" stays as it is.
std::string FormatText(const char* message, std::initializer_list<std::string_view> values);

// Characters of a value a message quotes whole.
inline constexpr int MessageValueLength = 60;

// A value as a message quotes it: whole up to MessageValueLength characters; a longer
// one cut there, followed by its length in characters ("… (długość tekstu: 4194304)"), so
// that a refused document value does not come back as megabytes of text. Never cuts
// inside a character; a lone surrogate or a malformed sequence reads as U+FFFD.
std::string MessageValue(std::string_view text);
