// Plane geometry. Every intermediate is a long double (the x87 80-bit format
// where the compiler has it); only results are rounded to doubles.
#include "helpers/Geometry.h"

#include <cmath>

#include "helpers/Numbers.h"

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

void Rotate(double x, double y, double cx, double cy, long double angle, double& rx, double& ry)
{
    const long double c = cosl(angle);
    const long double s = sinl(angle);
    const long double dx = static_cast<long double>(x) - cx;
    const long double dy = static_cast<long double>(y) - cy;
    rx = static_cast<double>(cx + dx * c - dy * s);
    ry = static_cast<double>(cy + dx * s + dy * c);
}

}  // namespace

double Distance(double x1, double y1, double x2, double y2)
{
    const long double dx = static_cast<long double>(x2) - x1;
    const long double dy = static_cast<long double>(y2) - y1;
    return static_cast<double>(sqrtl(dx * dx + dy * dy));
}

double AngleRad(double dx, double dy)
{
    if (std::fabs(dx) < 1e-10 && std::fabs(dy) < 1e-10) return 0;
    long double a = atan2l(static_cast<long double>(dy), static_cast<long double>(dx));
    if (a < 0) a += 2 * kPi;
    return static_cast<double>(a);
}

double AngleDeg(double dx, double dy)
{
    const long double degrees = static_cast<long double>(AngleRad(dx, dy)) * 180 / kPi;
    return SnapTiny(static_cast<double>(degrees));
}

double NormalizeDeg(double angle)
{
    long double r = fabsl(static_cast<long double>(angle));
    if (r >= 360) r -= truncl(r / 360) * 360;
    if (fabsl(r) <= 1e-10L) r = 0;
    if (fabsl(r - 360) <= 1e-10L) r = 0;
    if (angle < 0) r = -r;
    if (r < 0) r += 360;
    if (r >= 360) r -= 360;
    // -0 from a negative multiple of 360 would print with a sign.
    if (r == 0) return 0;
    return static_cast<double>(r);
}

void RotatePoint(double x, double y, double cx, double cy, double angle, double& rx, double& ry)
{
    Rotate(x, y, cx, cy, angle, rx, ry);
}

void RotatePointDeg(double x, double y, double cx, double cy, double angle, double& rx, double& ry)
{
    Rotate(x, y, cx, cy, static_cast<long double>(angle) / 180 * kPi, rx, ry);
}
