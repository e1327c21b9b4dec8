#pragma once
// Where a drag in the preview puts picked point 3 or 4, and how the strip
// names it. The point is the drawing point under the pointer rounded to
// the coarsest power of ten no larger than one pixel, so it stays under the
// pointer yet reads as a user would type it; the text reads back as
// exactly that number, so that the same placement can be given to the
// console front end as Point4=X Y.
#include <optional>
#include <string>
#include <vector>

#include "dialog/PointD.h"
#include "preview/Fit.h"

namespace preview {

// The point a drag to pixel (x, y) of a picture painted with fit gives.
Point DrawingPointAt(const Fit& fit, double x, double y);

// The shortest decimal that reads back as value: "1234.5", "-0.25", "1e+15".
std::string CoordinateText(double value);

// The strip's first line while point number, or a chain's span's value
// (span > 0), is dragged to at, Shift-JIS:
// "点4（寸法値の位置）を移動中（1234.5, 678）", "スパン3の寸法値を移動中（…）".
std::string MovingPointLine(int number, int span, const Point& at);

// A point the user moved, as the strip names it: "点4", "スパン3の寸法値".
struct MovedPoint {
    std::string Name;
    PointD At;
};
// A note for the strip while any point stands where the user moved it,
// with the way back; empty when none was. Shift-JIS.
std::string MovedPointsNote(const std::vector<MovedPoint>& moved);

}  // namespace preview
