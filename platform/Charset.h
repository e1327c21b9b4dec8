#pragma once
// Shift-JIS <-> UTF-8, for what leaves the program as UTF-8: the console
// screen, SVG pictures, paths. Unmappable input becomes '?' (U+FFFD in UTF-8).
#include <string>

namespace platform {

// Code page 932: a byte in 0x80-0x9F or 0xE0-0xFD opens a two-byte character.
// Every routine of the program that walks a Shift-JIS string asks this.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD); }

std::string SjisToUtf8(const std::string& sjis);
std::string Utf8ToSjis(const std::string& utf8);

}  // namespace platform
