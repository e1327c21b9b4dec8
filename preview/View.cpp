#include "preview/View.h"

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

double ClampScale(double scale)
{
    return std::isfinite(scale) ? std::clamp(scale, SmallestScale, LargestScale) : 1.0;
}

// A centre the sums of the painter can still take.
Point ClampCentre(Point p)
{
    return {std::clamp(p.X, -LargestUsable, LargestUsable), std::clamp(p.Y, -LargestUsable, LargestUsable)};
}

}  // namespace

Fit FitOf(const View& view, int width, int height)
{
    Fit fit;
    fit.Scale = view.Scale;
    fit.OriginX = width / 2.0 - view.Centre.X * view.Scale;
    fit.OriginY = height / 2.0 + view.Centre.Y * view.Scale;
    return fit;
}

Point ToDrawing(const Fit& fit, double x, double y) { return {(x - fit.OriginX) / fit.Scale, (fit.OriginY - y) / fit.Scale}; }

Box DimensionBounds(const Picture& picture)
{
    Box box;
    for (const Shape& s : picture.Shapes)
        if (s.Style != Role::Input)
            box.Add(ShapeBounds(s));
    for (const PickedMark& p : picture.Picked)
        box.Add(p.At.X, p.At.Y);
    return box;
}

View Framed(const Box& bounds, int width, int height, int margin, double scaleForAPoint)
{
    View view;
    if (bounds.Empty)
        return view;
    view.Centre = ClampCentre({(bounds.MinX + bounds.MaxX) / 2, (bounds.MinY + bounds.MaxY) / 2});
    const double roomX = std::max(1, width - 2 * margin), roomY = std::max(1, height - 2 * margin);
    const double w = bounds.Width(), h = bounds.Height();
    if (w > 0 || h > 0)
        view.Scale = std::min(w > 0 ? roomX / w : roomY / h, h > 0 ? roomY / h : roomX / w);
    else
        view.Scale = scaleForAPoint;
    view.Scale = ClampScale(view.Scale);
    return view;
}

View ZoomedAbout(const View& view, double factor, double x, double y, int width, int height)
{
    const Point fixed = ToDrawing(FitOf(view, width, height), x, y);
    View zoomed;
    zoomed.Scale = ClampScale(view.Scale * factor);
    // The centre moves so that fixed lands on (x, y) again.
    zoomed.Centre = ClampCentre({fixed.X - (x - width / 2.0) / zoomed.Scale, fixed.Y + (y - height / 2.0) / zoomed.Scale});
    return zoomed;
}

View Panned(const View& view, double dx, double dy)
{
    View panned = view;
    panned.Centre = ClampCentre({view.Centre.X - dx / view.Scale, view.Centre.Y + dy / view.Scale});
    return panned;
}

bool Shows(const View& view, const Box& bounds, int width, int height, int margin)
{
    if (bounds.Empty)
        return true;
    const Fit fit = FitOf(view, width, height);
    const Point low = fit.ToPixels({bounds.MinX, bounds.MinY}), high = fit.ToPixels({bounds.MaxX, bounds.MaxY});
    return low.X >= margin && high.X <= width - margin && high.Y >= margin && low.Y <= height - margin;
}

bool DimensionLeaves(const View& view, const Box& before, const Box& after, int width, int height, int margin)
{
    if (after.Empty)
        return false;
    if (Shows(view, before, width, height, margin) && !Shows(view, after, width, height, margin))
        return true;
    const Fit fit = FitOf(view, width, height);
    const Point low = fit.ToPixels({after.MinX, after.MinY}), high = fit.ToPixels({after.MaxX, after.MaxY});
    return high.X < 0 || low.X > width || low.Y < 0 || high.Y > height;
}

const PickedMark* PickedMarkAt(const Picture& picture, const Fit& fit, double x, double y, double radius,
                               const std::function<bool(const PickedMark&)>& takes)
{
    const PickedMark* found = nullptr;
    double nearest = radius * radius;
    for (const PickedMark& mark : picture.Picked) {
        if (!takes(mark))
            continue;
        const Point at = fit.ToPixels(mark.At);
        const double d = (at.X - x) * (at.X - x) + (at.Y - y) * (at.Y - y);
        if (d <= nearest) {
            nearest = d;
            found = &mark;
        }
    }
    return found;
}

}  // namespace preview
