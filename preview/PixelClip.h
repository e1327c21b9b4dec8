#pragma once
// Shapes cut to a rectangle of pixels before a painter turns them into the
// 32-bit (in practice 27-bit) coordinates GDI takes: zoomed far in, a
// line of the drawing may run millions of pixels beyond the window, and
// rounding such an end to an integer would overflow or bend the line.
// Everything here is in pixel coordinates, y down, as doubles.
#include <vector>

#include "preview/Shapes.h"

namespace preview {

// The part of the segment a-b inside box; false when none is.
bool ClipSegment(Point& a, Point& b, const Box& box);

// The visible runs of an open polyline, each of two points or more.
std::vector<std::vector<Point>> ClipPolyline(const std::vector<Point>& points, const Box& box);

// A closed polygon cut to box: its outline where it passes inside, the
// box's edge where it passes outside, so a filled polygon still fills what
// it covers. Empty when nothing of it is inside.
std::vector<Point> ClipPolygon(const std::vector<Point>& points, const Box& box);

// A circle too large for GDI's coordinates, as the points of the part of
// its outline near box (the arc through the box, finely enough divided
// that no chord strays a tenth of a pixel from it); empty when the outline
// does not come near box.
std::vector<Point> VisibleArc(const Point& centre, double radius, const Box& box);

}  // namespace preview
