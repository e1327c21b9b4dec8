#pragma once
// Strokes of one colour drawn straight into 32-bit pixels: segments, circle
// outlines, single pixels and the discs of point elements, with a square
// pen of a few pixels. The host's grey drawing is mostly such strokes, and
// drawn here, each a tight loop over its pixels, a million of them cost a
// fraction of what a call to the system's painter each would. Coordinates
// are pixels as doubles (y down, pixel (x, y) at the integers), cut to the
// area before they become integers: nothing is written outside it.
#include <cstdint>

#include "preview/Shapes.h"

namespace preview {

class Raster {
public:
    // width x height pixels, a row after another; the pen is pen x pen pixels.
    Raster(uint32_t* pixels, int width, int height, uint32_t colour, int pen = 1);

    void Segment(Point a, Point b);
    void Circle(Point centre, double radius);
    // One pixel, where it is inside.
    void Plot(int x, int y);
    // A filled disc as the system's ellipse of that radius draws it.
    void Disc(int x, int y, int radius);

    // Circles larger than this are drawn as the arc through the area.
    static constexpr double LargestCircle = 2048;

private:
    void Dab(int x, int y);
    void Line(int x0, int y0, int x1, int y1);

    uint32_t* pixels_;
    int width_, height_;
    uint32_t colour_;
    int pen_;
    Box cut_;  // where a segment is cut, so that every dab of it touches the area
};

}  // namespace preview
