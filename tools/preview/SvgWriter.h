#pragma once
// The preview as an SVG document: drawing coordinates with y up, one scale
// on both axes, a margin, the picked points and a legend below the drawing.
#include <string>

#include "tools/preview/PreviewLoader.h"

namespace preview {

std::string WriteSvg(const Preview& preview);

// Text content or attribute value made safe for XML: the five markup
// characters become entities, control characters XML cannot carry are dropped.
std::string EscapeXml(const std::string& utf8);

// Fixed notation with at most `decimals` fraction digits, no trailing zeros,
// never "-0"; the full stop whatever the locale.
std::string FormatNumber(double value, int decimals);

// Where the picture of an output file goes by default: beside it, with the
// extension .svg in place of its own.
std::string DefaultSvgPath(const std::string& outputPath);

}  // namespace preview
