#include "preview/PlanRaster.h"

#include <cmath>
#include <utility>


namespace preview {

PlanRaster::PlanRaster(Raster& raster, const Fit& fit, int dotRadius, std::function<bool()> abandon)
    : raster_(raster), fit_(fit), dotRadius_(dotRadius), abandon_(std::move(abandon))
{
}

void PlanRaster::Paint(const PlanShape& s)
{
    switch (s.Kind) {
    case PlanKind::Path:
        if (s.Closed && s.Filled && s.PointCount >= 3) {
            later_.push_back(s);
            break;
        }
        for (std::size_t k = 1; k < s.PointCount; ++k)
            raster_.Segment(fit_.ToPixels(s.At(k - 1)), fit_.ToPixels(s.At(k)));
        if (s.Closed && s.PointCount > 2)
            raster_.Segment(fit_.ToPixels(s.At(s.PointCount - 1)), fit_.ToPixels(s.At(0)));
        if (s.PointCount == 1)
            raster_.Segment(fit_.ToPixels(s.At(0)), fit_.ToPixels(s.At(0)));
        break;
    case PlanKind::Circle:
        if (s.Filled)
            later_.push_back(s);
        else
            raster_.Circle(fit_.ToPixels(s.At(0)), s.Values[2] * fit_.Scale);
        break;
    case PlanKind::Dot: {
        const Point at = fit_.ToPixels(s.At(0));
        if (std::fabs(at.X) < 1e6 && std::fabs(at.Y) < 1e6)
            raster_.Disc(static_cast<int>(std::lround(at.X)), static_cast<int>(std::lround(at.Y)), dotRadius_);
        break;
    }
    case PlanKind::Text:
        if (s.TextHeight() * fit_.Scale >= SmallestSetText) {
            later_.push_back(s);
        } else {
            // Half way up its box, along it.
            const double up = s.TextHeight() / 2, length = s.TextLength();
            const double ux = s.TextDirection().X, uy = s.TextDirection().Y;
            const Point from{s.Values[0] - up * uy, s.Values[1] + up * ux};
            raster_.Segment(fit_.ToPixels(from), fit_.ToPixels({from.X + length * ux, from.Y + length * uy}));
        }
        break;
    }
}

void PlanRaster::Pixel(int x, int y, bool dot)
{
    if (dot)
        raster_.Disc(x, y, dotRadius_);
    else
        raster_.Plot(x, y);
}

}  // namespace preview
