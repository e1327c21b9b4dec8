#include "preview/DraggedPoint.h"

#include <charconv>
#include <cmath>

#include "dialog/DimensionPreview.h"
#include "preview/View.h"

namespace preview {

namespace {

// The powers of ten a double holds exactly, as literals: pow() need not
// be exact everywhere.
constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// value rounded to a multiple of 10^exponent. Dividing by an exact power of
// ten rounds once, so the result is the double nearest the decimal, the
// one a reader of its text gets.
double RoundedToPowerOfTen(double value, int exponent)
{
    if (exponent >= 0) {
        const double step = PowersOfTen[exponent];
        return std::round(value / step) * step;
    }
    const double scale = PowersOfTen[-exponent];
    return std::round(value * scale) / scale;
}

double Snapped(double value, double unitsPerPixel)
{
    if (!std::isfinite(value) || !std::isfinite(unitsPerPixel) || unitsPerPixel <= 0)
        return value;
    const int exponent = static_cast<int>(std::floor(std::log10(unitsPerPixel)));
    if (exponent < -22 || exponent > 22)
        return value;
    const double rounded = RoundedToPowerOfTen(value, exponent);
    return std::isfinite(rounded) ? rounded : value;
}

std::string PairText(double x, double y) { return "（" + CoordinateText(x) + ", " + CoordinateText(y) + "）"; }

}  // namespace

Point DrawingPointAt(const Fit& fit, double x, double y)
{
    const Point exact = ToDrawing(fit, x, y);
    const double unitsPerPixel = 1 / fit.Scale;
    return {Snapped(exact.X, unitsPerPixel), Snapped(exact.Y, unitsPerPixel)};
}

std::string CoordinateText(double value)
{
    if (value == 0)
        value = 0;  // no "-0"
    char text[32];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("0");
}

std::string MovingPointLine(int number, int span, const Point& at)
{
    return MovingPointText(number, span) + PairText(at.X, at.Y);
}

std::string MovedPointsNote(const std::vector<MovedPoint>& moved)
{
    // A row can have 98 values moved: the strip names the first few.
    constexpr std::size_t Named = 4;
    std::string points;
    for (std::size_t i = 0; i < moved.size() && i < Named; ++i)
        points += (i == 0 ? "" : "・") + moved[i].Name + PairText(moved[i].At.X, moved[i].At.Y);
    if (moved.size() > Named)
        points += "ほか" + std::to_string(moved.size() - Named) + "か所";
    if (points.empty())
        return points;
    return "移動した点：" + points + "　指示点に戻す：Ctrl+R";
}

}  // namespace preview
