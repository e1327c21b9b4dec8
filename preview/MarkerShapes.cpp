#include "preview/MarkerShapes.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

#include "helpers/Geometry.h"

namespace preview {

namespace {

// Marker units are drawing-size millimetres; the tip is at the origin and the
// marker points along +x, so its body lies at negative x. Lengths follow the
// room the program allows each kind: 7.5 for the arrow heads, 1.25 for the rest.
constexpr double HeadLength = 7.5;
constexpr double HeadHalfWidth = 1.5;
constexpr double Small = 1.25;

class MarkerFrame {
public:
    MarkerFrame(double x, double y, double size, double angleDeg, Role role, std::vector<Shape>& out)
        : x_(x), y_(y), size_(size), role_(role), out_(out)
    {
        const double a = Radians(angleDeg);
        cos_ = std::cos(a);
        sin_ = std::sin(a);
    }

    Point Place(double u, double v) const
    {
        const double su = u * size_, sv = v * size_;
        return {x_ + su * cos_ - sv * sin_, y_ + su * sin_ + sv * cos_};
    }

    void Path(std::initializer_list<Point> local, bool closed, bool filled)
    {
        Shape shape;
        shape.Kind = ShapeKind::Path;
        shape.Style = role_;
        shape.Closed = closed;
        shape.Filled = filled;
        for (const Point& p : local)
            shape.Points.push_back(Place(p.X, p.Y));
        out_.push_back(std::move(shape));
    }

    void Circle(double radius, bool filled)
    {
        Shape shape;
        shape.Kind = ShapeKind::Circle;
        shape.Style = role_;
        shape.Filled = filled;
        shape.Centre = {x_, y_};
        shape.Radius = std::fabs(radius * size_);
        out_.push_back(std::move(shape));
    }

    // A tilde across the tip, running diagonally like a slash.
    void Wave()
    {
        Shape shape;
        shape.Kind = ShapeKind::Path;
        shape.Style = role_;
        constexpr int Steps = 16;
        const double half = Small * std::numbers::sqrt2;
        for (int i = 0; i <= Steps; ++i) {
            const double t = -half + 2 * half * i / Steps;
            const double w = 0.35 * std::sin(t / half * std::numbers::pi);
            // Along the diagonal (1, 1)/sqrt2, offset across it by w.
            const double u = (t - w) / std::numbers::sqrt2;
            const double v = (t + w) / std::numbers::sqrt2;
            shape.Points.push_back(Place(u, v));
        }
        out_.push_back(std::move(shape));
    }

private:
    double x_, y_, size_;
    double cos_ = 1, sin_ = 0;
    Role role_;
    std::vector<Shape>& out_;
};

}  // namespace

bool AddPointMarker(int code, double x, double y, double size, double angleDeg, Role role,
                    std::vector<Shape>& out)
{
    if (code < FirstMarkerCode || code > LastMarkerCode)
        return false;
    if (!Usable(x) || !Usable(y) || !Usable(size) || !Usable(angleDeg))
        return false;

    MarkerFrame m(x, y, size, angleDeg, role, out);
    const Point head[] = {{0, 0}, {-HeadLength, HeadHalfWidth}, {-HeadLength, -HeadHalfWidth}};
    switch (code) {
    case 1:  // open triangle
        m.Path({head[0], head[1], head[2]}, true, false);
        break;
    case 2:  // open square
        m.Path({{-Small, -Small}, {Small, -Small}, {Small, Small}, {-Small, Small}}, true, false);
        break;
    case 3:  // ring
        m.Circle(Small, false);
        break;
    case 4:  // ring with an inner ring, to tell it from 3
        m.Circle(Small, false);
        m.Circle(Small * 0.5, false);
        break;
    case 5:  // filled square
        m.Path({{-Small, -Small}, {Small, -Small}, {Small, Small}, {-Small, Small}}, true, true);
        break;
    case 6:  // filled triangle
        m.Path({head[0], head[1], head[2]}, true, true);
        break;
    case 7:  // filled disc
        m.Circle(Small, true);
        break;
    case 8:  // wave
        m.Wave();
        break;
    case 9:  // open arrow head, two strokes
        m.Path({head[1], head[0], head[2]}, false, false);
        break;
    case 10:  // slash
        m.Path({{-Small, -Small}, {Small, Small}}, false, false);
        break;
    case 11:  // open triangle with its axis, to tell it from 1
        m.Path({head[0], head[1], head[2]}, true, false);
        m.Path({{0, 0}, {-HeadLength, 0}}, false, false);
        break;
    }
    return true;
}

}  // namespace preview
