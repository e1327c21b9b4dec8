#pragma once
// Shift-JIS byte-string helpers. A byte in 0x80-0x9F or 0xE0-0xFD leads a
// two-byte character; every walk starts at the first byte.
#include <string>

inline bool IsLeadByte(unsigned char b) { return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD); }

std::string StripSpaces(const std::string& text);
std::string ToFullWidth(const std::string& text);
double TextWidth(const std::string& text, double width, double spacing);
