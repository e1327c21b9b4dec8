#pragma once
// Plain shapes of our own for the point-marker codes 1 to 11. The host draws
// its own shapes; these only show where a marker stands, which way it points
// and roughly how much room it takes along the dimension line.
#include <vector>

#include "preview/Shapes.h"

namespace preview {

constexpr int FirstMarkerCode = 1;
constexpr int LastMarkerCode = 11;

// Appends the shapes of marker code at (x, y): size = the record's scale times
// the layer group's scale, pointing towards angleDeg with its tip at (x, y).
// False, and nothing appended, for a code without a shape or unusable values.
bool AddPointMarker(int code, double x, double y, double size, double angleDeg, Role role,
                    std::vector<Shape>& out);

}  // namespace preview
