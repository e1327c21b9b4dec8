#pragma once
// A paint plan walked into pixels: its strokes, circles, pixels and point
// elements drawn by a Raster; what a raster cannot draw (filled shapes,
// texts large enough to read) kept for the system's painter, after the
// walk. Texts too small to read are a stroke where their characters run.
#include <functional>
#include <vector>

#include "preview/Fit.h"
#include "preview/PaintPlan.h"
#include "preview/Raster.h"

namespace preview {

class PlanRaster : public PlanPainter {
public:
    // Texts lower than this many pixels are drawn as their stroke.
    static constexpr double SmallestSetText = 5;

    PlanRaster(Raster& raster, const Fit& fit, int dotRadius, std::function<bool()> abandon = {});

    void Paint(const PlanShape& shape) override;
    void Pixel(int x, int y, bool dot) override;
    bool Abandon() override { return abandon_ && abandon_(); }

    // The shapes left for the system's painter.
    const std::vector<PlanShape>& Later() const { return later_; }

private:
    Raster& raster_;
    const Fit& fit_;
    int dotRadius_;
    std::function<bool()> abandon_;
    std::vector<PlanShape> later_;
};

}  // namespace preview
