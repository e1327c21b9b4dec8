#include "preview/PickLabels.h"

#include <cmath>

#include "preview/PixelClip.h"

namespace preview {

namespace {

// What a label must not cover, in pixels: the output's segments, and the
// boxes of its texts, circles and dots.
struct Obstacles {
    std::vector<std::pair<Point, Point>> Segments;
    std::vector<Box> Boxes;

    bool Hit(const Box& label) const
    {
        for (const Box& box : Boxes)
            if (Meets(box, label))
                return true;
        for (auto [a, b] : Segments)
            if (ClipSegment(a, b, label))
                return true;
        return false;
    }
};

Obstacles ObstaclesOf(const Picture& picture, const Fit& fit, const Box& near)
{
    Obstacles obstacles;
    for (const Shape& shape : picture.Shapes) {
        if (shape.Style == Role::Input)
            continue;
        if (shape.Kind == ShapeKind::Path) {
            const std::size_t n = shape.Points.size();
            for (std::size_t i = 0; i + 1 < n + (shape.Closed ? 1 : 0); ++i) {
                Point a = fit.ToPixels(shape.Points[i]), b = fit.ToPixels(shape.Points[(i + 1) % n]);
                if (ClipSegment(a, b, near))
                    obstacles.Segments.push_back({a, b});
            }
            continue;
        }
        const Box bounds = ShapeBounds(shape);
        if (bounds.Empty)
            continue;
        const Point low = fit.ToPixels({bounds.MinX, bounds.MinY}), high = fit.ToPixels({bounds.MaxX, bounds.MaxY});
        const Box pixels = BoxOf(low.X, high.Y, high.X, low.Y);
        if (Meets(pixels, near))
            obstacles.Boxes.push_back(pixels);
    }
    return obstacles;
}

}  // namespace

std::vector<LabelPlace> PlacePickLabels(const Picture& picture, const Fit& fit, double digitWidth, double height,
                                        double arm, const Box& area)
{
    std::vector<LabelPlace> places;
    Box near = area;
    near.MinX -= 2 * digitWidth + arm;
    near.MinY -= height + arm;
    near.MaxX += 2 * digitWidth + arm;
    near.MaxY += height + arm;
    Obstacles obstacles = ObstaclesOf(picture, fit, near);
    const auto shown = [&](const Point& at) {
        return std::isfinite(at.X) && std::isfinite(at.Y) && at.X >= area.MinX && at.X <= area.MaxX &&
               at.Y >= area.MinY && at.Y <= area.MaxY;
    };
    for (const PickedMark& mark : picture.Picked)
        if (const Point at = fit.ToPixels(mark.At); mark.Span > 0 && shown(at))
            obstacles.Boxes.push_back(BoxOf(at.X - arm, at.Y - arm, at.X + arm, at.Y + arm));
    for (const PickedMark& mark : picture.Picked) {
        const Point at = fit.ToPixels(mark.At);
        if (mark.Span > 0 || !shown(at))
            continue;
        const double width = digitWidth * (mark.Number >= 10 ? 2 : 1);
        // Upper right first, where the label always stood; then round the mark.
        const double gap = arm / 2;
        const Point offsets[] = {{arm, -gap - height}, {arm, gap},          {-arm - width, -gap - height},
                                 {-arm - width, gap},  {-width / 2, -arm - height}, {-width / 2, arm},
                                 {arm, -height / 2},   {-arm - width, -height / 2}};
        Box chosen;
        for (const Point& offset : offsets) {
            const Box label = BoxOf(at.X + offset.X, at.Y + offset.Y, at.X + offset.X + width,
                                    at.Y + offset.Y + height);
            if (chosen.Empty)
                chosen = label;  // where nothing is clear, the usual place
            if (!obstacles.Hit(label)) {
                chosen = label;
                break;
            }
        }
        places.push_back({mark.Number, chosen});
        obstacles.Boxes.push_back(chosen);
    }
    return places;
}

}  // namespace preview
