#pragma once
// Shift-JIS byte-string helpers. A byte in 0x80-0x9F or 0xE0-0xFD leads a
// two-byte character; every walk starts at the first byte.
#include <string>

#include "platform/Charset.h"

using platform::IsLeadByte;

std::string StripSpaces(const std::string& text);
std::string ToFullWidth(const std::string& text);
double TextWidth(const std::string& text, double width, double spacing);
