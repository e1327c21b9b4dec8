// The marker at each end of the dimension line: a line arrow of two
// strokes, or a point record whose code the host draws as its own shape.
#include <cmath>
#include <numbers>

#include "dialog/Construction.h"
#include "exchange/Emitters.h"
#include "helpers/MyFunc.h"

namespace {

constexpr int32_t LineArrow = 0;
constexpr int32_t LastMarker = 11;

// Room of the point markers 1..11 along the line, in drawing-size mm at scale 1.
constexpr double PointMarkerReach[LastMarker + 1] = {
    0.0,                                 // the line arrow's reach depends on its length and angle
    7.5, 1.25, 1.25, 1.25, 1.25, 7.5, 1.25,
    1.25 * std::numbers::sqrt2,          // "～"
    7.5,
    1.25 * std::numbers::sqrt2,          // "／"
    7.5,
};

}  // namespace

double MarkerReach(int32_t kind, const DimensionOptionsRecord& o, double layerScale)
{
    double reach = 0.0;
    if (kind == LineArrow)
        reach = o.ArrowLength * std::cos(Radians(o.ArrowAngle));
    else if (kind > 0 && kind <= LastMarker)
        reach = PointMarkerReach[kind] * o.MarkerScale;
    return reach * layerScale;
}

void DrawMarker(int32_t kind, const PointD& p, double angle, const DimensionOptionsRecord& o, double layerScale)
{
    if (kind != LineArrow) {
        // The host sizes the shape itself, so the scale goes as typed.
        EmitZFlags(4);
        EmitPoint(kind, p.X, p.Y, o.MarkerScale, angle);
        return;
    }
    // Both strokes start at the tip and lie back at ArrowAngle to the line.
    const double length = o.ArrowLength * layerScale;
    for (const double b : {angle + 180 + o.ArrowAngle, angle + 180 - o.ArrowAngle}) {
        EmitZFlags(4);
        EmitLine(p.X, p.Y, p.X + length * std::cos(Radians(b)), p.Y + length * std::sin(Radians(b)));
    }
}
