#pragma once
// The tool's picture of two exchange files: the shapes with a legend of
// what was read, drawn and left out.
#include <string>

#include "preview/Shapes.h"
#include "tools/preview/PreviewLoader.h"

namespace preview {

Picture ToPicture(const Preview& preview);
std::string WriteSvg(const Preview& preview);

// Where the picture of an output file goes by default: beside it, with the
// extension .svg in place of its own.
std::string DefaultSvgPath(const std::string& outputPath);

}  // namespace preview
