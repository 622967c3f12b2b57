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
// Whether cp1250 has a byte for cp (every code point below 0x80 included).
bool Cp1250Holds(char32_t cp);

// The code point of the UTF-8 sequence at text[i] (i < text.size()), advancing i past it.
// A malformed sequence gives U+FFFD; a surrogate encoded on its own (the three bytes
// ED A0 80 for U+D800, as a lone surrogate from a JSON "\ud800" is carried) gives itself.
char32_t NextCodePoint(std::string_view text, std::size_t& i);
// Appends code point cp (at most U+10FFFF) to out as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
