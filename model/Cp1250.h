#pragma once

#include <string>
#include <string_view>

// Windows-1250, the single-byte code page of description records in memory and in
// files, so that our files and the Windows tool's are interchangeable byte for byte.

// cp1250 bytes -> UTF-8 text.
std::string Cp1250ToUtf8(std::string_view bytes);
// UTF-8 text -> cp1250 bytes; a character cp1250 lacks (or malformed UTF-8) becomes "?".
std::string Utf8ToCp1250(std::string_view text);
// One Unicode code point -> its cp1250 byte, or "?" when cp1250 lacks it.
char Cp1250FromCodePoint(char32_t cp);
