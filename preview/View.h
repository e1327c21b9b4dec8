#pragma once
// What part of the drawing a preview shows and how it moves: framed on the
// dimension at first, zoomed about the pointer, panned by a drag, and
// framed again only when asked or when the dimension leaves it. Pixels are
// y down, the drawing y up; the area is width x height pixels.
#include <functional>

#include "preview/Fit.h"
#include "preview/Shapes.h"

namespace preview {

struct View {
    Point Centre;       // the drawing point at the area's centre
    double Scale = 1;   // pixels per drawing unit
};

// How far a view may zoom: from a hundred million units across a pixel to
// a millionth of a unit, so that a zoom about any pixel of a screen keeps
// the centre within the coordinates the painter takes.
constexpr double SmallestScale = 1e-8;
constexpr double LargestScale = 1e6;

Fit FitOf(const View& view, int width, int height);
// The drawing point at a pixel.
Point ToDrawing(const Fit& fit, double x, double y);

// The part of the picture the first view frames: the dimension (the
// output's shapes) and the picked points.
Box DimensionBounds(const Picture& picture);

// The view showing bounds whole with margin pixels all round, at the
// largest scale that fits; a box of no extent is shown at its centre at
// the scale given.
View Framed(const Box& bounds, int width, int height, int margin, double scaleForAPoint = 1);
// Zoomed by factor about the pixel (x, y): the drawing point under it
// stays under it; the scale stops at its limits.
View ZoomedAbout(const View& view, double factor, double x, double y, int width, int height);
// The drawing moved with a drag of (dx, dy) pixels.
View Panned(const View& view, double dx, double dy);
// Whether bounds lie wholly in the area less margin pixels all round.
bool Shows(const View& view, const Box& bounds, int width, int height, int margin);

// Whether a change of the controls that moved the dimension from the
// bounds before to those after asks for the view to frame it again: it
// was shown whole and is no longer, or no part of it is in the area. A
// view the user zoomed into part of the dimension stays.
bool DimensionLeaves(const View& view, const Box& before, const Box& after, int width, int height, int margin);

// The mark within radius pixels of (x, y), the nearest of those the
// user may take; none when there is none.
const PickedMark* PickedMarkAt(const Picture& picture, const Fit& fit, double x, double y, double radius,
                               const std::function<bool(const PickedMark&)>& takes);

}  // namespace preview
