#pragma once
// Shift-JIS <-> UTF-8, for what leaves the program as UTF-8: the console
// screen, SVG pictures, paths. Unmappable input becomes '?' (U+FFFD in UTF-8).
#include <string>

namespace platform {

std::string SjisToUtf8(const std::string& sjis);
std::string Utf8ToSjis(const std::string& utf8);

}  // namespace platform
