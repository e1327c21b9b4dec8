// From the checked options and the model to the dimension line: drawing
// units, the line's two ends, its length, and the host's attributes for
// everything this run draws.
#include "dialog/Construction.h"
#include "exchange/DrawingState.h"
#include "exchange/Emitters.h"
#include "helpers/MyFunc.h"

namespace {

// The foot of the dimension line on the extension line of point p: the x
// of P3 and the y of p in the drawing turned by -AxisAngle about p.
PointD DimLineEndFor(const PointD& p, const PointD& p3, double axisAngle)
{
    const PointD q = Rotated(p3, p, -axisAngle);
    return Rotated({q.X, p.Y}, p, axisAngle);
}

}  // namespace

PointD PickedPointAt(int number)
{
    if (number >= 0 && number < static_cast<int>(DrawingState.PickedPoints.size()))
        return {DrawingState.PickedPoints[number].X, DrawingState.PickedPoints[number].Y};
    return {};
}

PointD Rotated(const PointD& p, const PointD& centre, double angle)
{
    PointD r;
    RotatePointDeg(p.X, p.Y, centre.X, centre.Y, angle, r.X, r.Y);
    return r;
}

double CurrentLayerScale()
{
    const int32_t group = DrawingState.InitialAttributes.LayerGroup;
    return group >= 0 && group < LayerGroupCount ? DrawingState.LayerGroupScales[group] : 1.0;
}

void ScaleDistances(DimensionConstruction& c)
{
    c.LayerScale = CurrentLayerScale();
    DimensionOptionsRecord& o = c.DimensionOptions;
    o.ValueOffset *= c.LayerScale;
    o.ExtensionGap *= c.LayerScale;
    o.ExtensionOvershoot *= c.LayerScale;
    o.ReverseOvershoot *= c.LayerScale;
}

void DeriveLineEnds(DimensionConstruction& c)
{
    c.DimLineStart = DimLineEndFor(c.P1, c.P3, c.AxisAngle);
    c.DimLineEnd = DimLineEndFor(c.P2, c.P3, c.AxisAngle);
    c.MeasuredLength = Distance(c.DimLineStart.X, c.DimLineStart.Y, c.DimLineEnd.X, c.DimLineEnd.Y);
}

void DeriveDimensionLine(DimensionConstruction& c)
{
    ScaleDistances(c);

    c.P1 = PickedPointAt(1);
    c.P2 = PickedPointAt(2);
    c.P3 = c.MovedP3.value_or(PickedPointAt(3));
    c.P4 = c.MovedP4.value_or(PickedPointAt(4));
    c.AxisAngle = ConstructionAxisAngle(c.Kind, DrawingState.AxisAngle, c.P1.X, c.P1.Y, c.P2.X, c.P2.Y);
    DeriveLineEnds(c);
}

void EmitAttributeSetUp()
{
    const InitialAttributeSet& a = DrawingState.InitialAttributes;
    SelectLayerGroup(a.LayerGroup);
    SelectLayer(a.Layer);
    SelectLineColor(a.LineColor, 0);
    // The points take the line colour: the host has no point colour of its own to hand over.
    SelectPointColor(a.LineColor, 0);
    SelectLineType(a.LineType, 0);
    SelectLineWidth(a.LineWidth);
    SelectFont(a.FontName);
}
