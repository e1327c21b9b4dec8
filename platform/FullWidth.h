#pragma once
// Full-width mapping of one piece of at most 126 bytes (whole characters):
// half-width forms to full width, hiragana to katakana.
#include <string>

namespace platform {

// The platform's own mapping: the locale mapping on Windows, the table elsewhere.
std::string MapFullWidth(const std::string& piece);

// Our own table, built into every platform so it can be compared with the
// platform's mapping.
std::string MapFullWidthByTable(const std::string& piece);

}  // namespace platform
