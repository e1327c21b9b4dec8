#include "preview/Fit.h"

#include <algorithm>

namespace preview {

Box PictureBounds(const Picture& picture)
{
    Box box;
    for (const Shape& s : picture.Shapes)
        box.Add(ShapeBounds(s));
    for (const PickedMark& p : picture.Picked)
        box.Add(p.At.X, p.At.Y);
    if (box.Empty)
        box.Add(0, 0);
    return box;
}

Fit FitInto(const Box& bounds, int width, int height, int margin)
{
    const double roomX = std::max(1, width - 2 * margin);
    const double roomY = std::max(1, height - 2 * margin);
    Fit fit;
    const double w = bounds.Width(), h = bounds.Height();
    if (w > 0 || h > 0)
        fit.Scale = std::min(w > 0 ? roomX / w : roomY / h, h > 0 ? roomY / h : roomX / w);
    const double centreX = (bounds.MinX + bounds.MaxX) / 2, centreY = (bounds.MinY + bounds.MaxY) / 2;
    fit.OriginX = width / 2.0 - centreX * fit.Scale;
    fit.OriginY = height / 2.0 + centreY * fit.Scale;
    return fit;
}

}  // namespace preview
