// Without the Japanese locale mapping, the full-width mapping is our table.
#include "platform/FullWidth.h"

namespace platform {

std::string MapFullWidth(const std::string& piece) { return MapFullWidthByTable(piece); }

}  // namespace platform
