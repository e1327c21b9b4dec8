#pragma once
// The preview's colours, one for each part of the picture, shared by the
// SVG writer and the Windows window so that both look alike.
#include <cstdint>
#include <string>

#include "preview/Shapes.h"

namespace preview {

struct Colour {
    std::uint8_t Red, Green, Blue;
};

constexpr Colour InputColour{0x9a, 0x9a, 0x9a};
constexpr Colour LineColour{0x1f, 0x5f, 0xbf};
constexpr Colour MarkerColour{0xd0, 0x3a, 0x2b};
constexpr Colour TextColour{0x1a, 0x7f, 0x37};
constexpr Colour PickColour{0xe0, 0x8a, 0x00};

constexpr Colour ColourOfRole(Role role)
{
    switch (role) {
    case Role::OutputLine:
        return LineColour;
    case Role::OutputMarker:
        return MarkerColour;
    case Role::OutputText:
        return TextColour;
    case Role::Input:
        break;
    }
    return InputColour;
}

// "#1f5fbf", as SVG writes it.
inline std::string HexOf(Colour c)
{
    constexpr char digits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t v : {c.Red, c.Green, c.Blue}) {
        text += digits[v >> 4];
        text += digits[v & 15];
    }
    return text;
}

}  // namespace preview
