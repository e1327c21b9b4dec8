// Where the value stands along the dimension line, the line and the value
// (or one dimension figure), reversed arrows with their run-out lines, the
// end markers, and the host's text type put back.
#include <cmath>

#include "dialog/Construction.h"
#include "exchange/DrawingState.h"
#include "exchange/Emitters.h"
#include "helpers/MyFunc.h"

namespace {

constexpr double Tolerance = 1e-10;

// The value reads left to right or bottom to top, never upside down.
double UprightAngle(double axisAngle)
{
    double angle = NormalizeDeg(axisAngle + 90);
    if (angle >= 180)
        angle -= 180;
    if (angle > 90.00000001)
        angle += 180;
    return angle;
}

// One end: reversed arrows get a run-out line beyond the end, under the
// value when it stands on this side; then the marker.
void DrawEnd(const DimensionConstruction& c, const PointD& here, const PointD& other, int32_t kind,
             ValueSideKind side)
{
    double markerAngle = AngleDeg(here.X - other.X, here.Y - other.Y) + (c.ArrowsReversed ? 180 : 0);
    if (markerAngle >= 360)
        markerAngle -= 360;
    if (c.ArrowsReversed) {
        const double outwards = Radians(markerAngle + 180);
        auto runout = [&](double length) {
            EmitZFlags(4);
            EmitLine(here.X, here.Y, here.X + length * std::cos(outwards), here.Y + length * std::sin(outwards));
        };
        if (c.ValueSide == side)
            runout(c.ValueRunout);
        else if (c.DimensionOptions.ReverseOvershoot > Tolerance)
            runout(c.DimensionOptions.ReverseOvershoot);
    }
    if (side == BeyondStart && c.SkipStartMarker)
        return;
    DrawMarker(kind, here, markerAngle, c.DimensionOptions, c.LayerScale);
}

}  // namespace

void PlaceValue(DimensionConstruction& c)
{
    const ValueTextTypeRecord& type = c.ValueTextType;
    c.ValueWidth = TextWidth(c.ValueText, type.Width, type.Spacing);
    const double w = c.ValueWidth * c.LayerScale;
    c.ValueAngle = UprightAngle(c.AxisAngle);

    // In the frame where the dimension line is vertical.
    const double x3 = Rotated(c.P3, c.P1, -c.AxisAngle).X;
    const double y4 = Rotated(c.P4, c.P1, -c.AxisAngle).Y;
    const double y2 = Rotated(c.P2, c.P1, -c.AxisAngle).Y;
    const double y1 = c.P1.Y;

    // A point 4 level with an end counts as beyond it; the second test of
    // each pair wins.
    c.ValueSide = Centre;
    c.ValueRunout = 0.0;
    double shift = 0.0;
    if (y1 < y2) {
        if (y1 + Tolerance >= y4) {
            c.ValueSide = BeyondStart;
            c.ValueRunout = (y1 - y4) + w;
            shift = -w / 2;
        }
        if (y2 - Tolerance <= y4) {
            c.ValueSide = BeyondEnd;
            c.ValueRunout = (y4 - y2) + w;
            shift = w / 2;
        }
    } else {
        if (y1 - Tolerance <= y4) {
            c.ValueSide = BeyondStart;
            c.ValueRunout = (y4 - y1) + w;
            shift = w / 2;
        }
        if (y2 + Tolerance >= y4) {
            c.ValueSide = BeyondEnd;
            c.ValueRunout = (y2 - y4) + w;
            shift = -w / 2;
        }
    }

    c.ValueAnchor = Rotated({x3, y4 + shift}, c.P1, c.AxisAngle);
    const PointD offset = Rotated({-w / 2, c.DimensionOptions.ValueOffset}, {0.0, 0.0}, c.ValueAngle);
    c.ValueOrigin = {c.ValueAnchor.X + offset.X, c.ValueAnchor.Y + offset.Y};
    c.ValueDirection = {10 * std::cos(Radians(c.ValueAngle)), 10 * std::sin(Radians(c.ValueAngle))};
}

void DrawDimension(DimensionConstruction& c)
{
    const DimensionOptionsRecord& o = c.DimensionOptions;
    const ValueTextTypeRecord& type = c.ValueTextType;
    const PointD& s = c.DimLineStart;
    const PointD& e = c.DimLineEnd;
    if (!o.AsFigure) {
        EmitZFlags(4);
        EmitLine(s.X, s.Y, e.X, e.Y);
        SelectTextType(type.Number, type.Color, 0, type.Width, type.Height, type.Spacing);
        SelectTextColor(0);
        EmitZFlags(4);
        EmitText(2, c.ValueText, c.ValueOrigin.X, c.ValueOrigin.Y, c.ValueDirection.X, c.ValueDirection.Y);
    } else {
        SelectTextType(type.Number, type.Color, 0, type.Width, type.Height, type.Spacing);
        EmitDimensionFigure(c.ValueText, s.X, s.Y, e.X, e.Y, c.ValueOrigin.X, c.ValueOrigin.Y, c.ValueDirection.X,
                            c.ValueDirection.Y);
    }

    // Markers that exactly fill the line still fit.
    const double reach = MarkerReach(o.StartMarker, o, c.LayerScale) + MarkerReach(o.EndMarker, o, c.LayerScale);
    c.ArrowsReversed = reach > Distance(s.X, s.Y, e.X, e.Y) || c.ValueSide != Centre;

    DrawEnd(c, s, e, o.StartMarker, BeyondStart);
    DrawEnd(c, e, s, o.EndMarker, BeyondEnd);

    const InitialAttributeSet& a = DrawingState.InitialAttributes;
    SelectTextType(a.TextType, a.FreeColor, 0, a.FreeWidth, a.FreeHeight, a.FreeSpacing);
}
