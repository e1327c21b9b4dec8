#pragma once
// A picture fitted into an area of pixels: drawing coordinates (y up) onto
// pixel coordinates (y down), one scale on both axes, the drawing centred
// with a margin all round. For painters that draw pixels themselves.
#include "preview/Shapes.h"

namespace preview {

struct Fit {
    double Scale = 1;   // pixels per drawing unit
    double OriginX = 0;  // pixel position of drawing x = 0
    double OriginY = 0;  // pixel position of drawing y = 0

    Point ToPixels(const Point& p) const { return {OriginX + p.X * Scale, OriginY - p.Y * Scale}; }
};

// Everything the picture draws: its shapes and its picked points.
Box PictureBounds(const Picture& picture);

// The largest scale at which bounds fit into width x height less margin on
// every side; a picture of no extent is shown at one pixel per unit.
Fit FitInto(const Box& bounds, int width, int height, int margin);

}  // namespace preview
