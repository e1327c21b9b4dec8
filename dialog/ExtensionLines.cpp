// The two extension lines: each along the host's axis through its measured
// point, from ExtensionGap off the point to ExtensionOvershoot past the
// dimension line, on whichever side of the point the dimension line lies.
#include "dialog/Construction.h"
#include "exchange/Emitters.h"
#include "helpers/MyFunc.h"

namespace {

void DrawExtensionLine(const PointD& p, const DimensionConstruction& c)
{
    const double a = c.AxisAngle;
    double qx = 0.0;
    double qy = 0.0;
    RotatePointDeg(c.P3.X, c.P3.Y, p.X, p.Y, -a, qx, qy);
    const double gap = c.DimensionOptions.ExtensionGap;
    const double overshoot = c.DimensionOptions.ExtensionOvershoot;
    // A dimension line level with the point counts as the positive side.
    const bool positive = qx >= p.X;
    const double startX = positive ? p.X + gap : p.X - gap;
    const double endX = positive ? qx + overshoot : qx - overshoot;
    PointD start;
    PointD end;
    RotatePointDeg(startX, p.Y, p.X, p.Y, a, start.X, start.Y);
    RotatePointDeg(endX, p.Y, p.X, p.Y, a, end.X, end.Y);
    EmitZFlags(4);
    EmitLine(start.X, start.Y, end.X, end.Y);
}

}  // namespace

void DrawExtensionLines(const DimensionConstruction& c)
{
    DrawExtensionLine(c.P1, c);
    DrawExtensionLine(c.P2, c);
}
