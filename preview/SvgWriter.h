#pragma once
// A picture as an SVG document: drawing coordinates with y up, one scale
// on both axes, a margin, the picked points, and the caption with the
// colour key below the drawing.
#include <string>

#include "preview/Shapes.h"

namespace preview {

std::string WriteSvg(const Picture& picture);

// Text content or attribute value made safe for XML: the five markup
// characters become entities, control characters XML cannot carry are dropped.
std::string EscapeXml(const std::string& utf8);

// Fixed notation with at most `decimals` fraction digits, no trailing zeros,
// never "-0"; the full stop whatever the locale.
std::string FormatNumber(double value, int decimals);

}  // namespace preview
