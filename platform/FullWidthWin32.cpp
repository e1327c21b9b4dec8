// The full-width mapping of the user's locale, as the host itself uses it.
#include "platform/FullWidth.h"

#include <windows.h>

#include <string>

namespace platform {

std::string MapFullWidth(const std::string& piece) {
    // The piece is at most 126 bytes and at most doubles, so the converted
    // piece and its terminating zero always fit the 256-byte buffer.
    std::string source = piece;
    source.push_back('\0');
    char destination[256] = {};
    LCMapStringA(GetUserDefaultLCID(), LCMAP_FULLWIDTH | LCMAP_KATAKANA, source.c_str(),
                 static_cast<int>(source.size()), destination, sizeof destination);
    destination[sizeof destination - 1] = '\0';
    return std::string(destination);
}

}  // namespace platform
