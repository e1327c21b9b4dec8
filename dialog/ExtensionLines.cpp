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
    const double qx = Rotated(c.P3, p, -a).X;
    const double gap = c.DimensionOptions.ExtensionGap;
    const double overshoot = c.DimensionOptions.ExtensionOvershoot;
    // A dimension line level with the point counts as the positive side.
    const bool positive = qx >= p.X;
    const double startX = positive ? p.X + gap : p.X - gap;
    const double endX = positive ? qx + overshoot : qx - overshoot;
    const PointD start = Rotated({startX, p.Y}, p, a);
    const PointD end = Rotated({endX, p.Y}, p, a);
    EmitZFlags(4);
    EmitLine(start.X, start.Y, end.X, end.Y);
}

}  // namespace

void DrawExtensionLines(const DimensionConstruction& c)
{
    if (!c.SkipStartExtension)
        DrawExtensionLine(c.P1, c);
    DrawExtensionLine(c.P2, c);
}
