#include "preview/PixelClip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace preview {

namespace {

bool Finite(const Point& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

bool Inside(const Point& p, const Box& box)
{
    return p.X >= box.MinX && p.X <= box.MaxX && p.Y >= box.MinY && p.Y <= box.MaxY;
}

// One edge of the box for Sutherland-Hodgman: which side is in, and where
// a segment crosses it.
struct Edge {
    int Axis;     // 0: x, 1: y
    double At;
    bool KeepBelow;  // inside is coordinate <= At

    bool In(const Point& p) const
    {
        const double v = Axis == 0 ? p.X : p.Y;
        return KeepBelow ? v <= At : v >= At;
    }
    Point Cross(const Point& a, const Point& b) const
    {
        const double va = Axis == 0 ? a.X : a.Y, vb = Axis == 0 ? b.X : b.Y;
        const double t = (At - va) / (vb - va);
        Point p{a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
        (Axis == 0 ? p.X : p.Y) = At;
        return p;
    }
};

}  // namespace

bool ClipSegment(Point& a, Point& b, const Box& box)
{
    if (!Finite(a) || !Finite(b) || box.Empty)
        return false;
    // Liang-Barsky. An end cut at an edge is put on it exactly: far ends
    // leave the sums only as exact as their own last bits.
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    double enter = 0, leave = 1;
    int enterEdge = -1, leaveEdge = -1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.X - box.MinX, box.MaxX - a.X, a.Y - box.MinY, box.MaxY - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0 && t > enter) {
            enter = t;
            enterEdge = i;
        } else if (p[i] > 0 && t < leave) {
            leave = t;
            leaveEdge = i;
        }
        if (enter > leave)
            return false;
    }
    const double edges[4] = {box.MinX, box.MaxX, box.MinY, box.MaxY};
    const auto onEdge = [&](Point point, int edge) {
        (edge < 2 ? point.X : point.Y) = edges[edge];
        point.X = std::clamp(point.X, box.MinX, box.MaxX);
        point.Y = std::clamp(point.Y, box.MinY, box.MaxY);
        return point;
    };
    const Point start = a;
    if (enterEdge >= 0)
        a = onEdge({start.X + enter * dx, start.Y + enter * dy}, enterEdge);
    if (leaveEdge >= 0)
        b = onEdge({start.X + leave * dx, start.Y + leave * dy}, leaveEdge);
    return true;
}

std::vector<std::vector<Point>> ClipPolyline(const std::vector<Point>& points, const Box& box)
{
    std::vector<std::vector<Point>> runs;
    for (std::size_t i = 1; i < points.size(); ++i) {
        Point a = points[i - 1], b = points[i];
        if (!ClipSegment(a, b, box))
            continue;
        // A run goes on while each segment starts where the last one ended
        // unclipped.
        const bool continues = !runs.empty() && runs.back().back().X == a.X && runs.back().back().Y == a.Y &&
                               Inside(points[i - 1], box);
        if (!continues)
            runs.push_back({a});
        runs.back().push_back(b);
    }
    return runs;
}

std::vector<Point> ClipPolygon(const std::vector<Point>& points, const Box& box)
{
    if (box.Empty || std::any_of(points.begin(), points.end(), [](const Point& p) { return !Finite(p); }))
        return {};
    std::vector<Point> polygon = points;
    const Edge edges[] = {{0, box.MinX, false}, {0, box.MaxX, true}, {1, box.MinY, false}, {1, box.MaxY, true}};
    for (const Edge& edge : edges) {
        std::vector<Point> cut;
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const Point& current = polygon[i];
            const Point& previous = polygon[(i + polygon.size() - 1) % polygon.size()];
            if (edge.In(current)) {
                if (!edge.In(previous))
                    cut.push_back(edge.Cross(previous, current));
                cut.push_back(current);
            } else if (edge.In(previous)) {
                cut.push_back(edge.Cross(previous, current));
            }
        }
        polygon = std::move(cut);
        if (polygon.empty())
            break;
    }
    return polygon;
}

std::vector<Point> VisibleArc(const Point& centre, double radius, const Box& box)
{
    if (!Finite(centre) || !std::isfinite(radius) || !(radius > 0) || box.Empty)
        return {};
    // The outline comes near the box only where the box holds points both
    // nearer to the centre than the radius and farther.
    const double nearX = std::clamp(centre.X, box.MinX, box.MaxX), nearY = std::clamp(centre.Y, box.MinY, box.MaxY);
    const double nearest = std::hypot(nearX - centre.X, nearY - centre.Y);
    const double farX = std::max(std::fabs(box.MinX - centre.X), std::fabs(box.MaxX - centre.X));
    const double farY = std::max(std::fabs(box.MinY - centre.Y), std::fabs(box.MaxY - centre.Y));
    if (nearest > radius || std::hypot(farX, farY) < radius)
        return {};
    // The angles of the box's corners seen from the centre bound the arc
    // through it, when the centre lies outside the box; around it, the
    // whole circle.
    double from = 0, to = 2 * std::numbers::pi;
    if (!Inside(centre, box)) {
        const double middle = std::atan2(nearY - centre.Y, nearX - centre.X);
        double low = 0, high = 0;
        for (double x : {box.MinX, box.MaxX})
            for (double y : {box.MinY, box.MaxY}) {
                double d = std::atan2(y - centre.Y, x - centre.X) - middle;
                d = std::remainder(d, 2 * std::numbers::pi);
                low = std::min(low, d);
                high = std::max(high, d);
            }
        from = middle + low;
        to = middle + high;
    }
    // A chord of angle a strays r (1 - cos(a / 2)) ~ r a^2 / 8 from the arc.
    const double step = std::sqrt(0.8 / radius);
    const int count = std::clamp(static_cast<int>(std::ceil((to - from) / step)), 8, 4096);
    std::vector<Point> arc;
    arc.reserve(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        const double a = from + (to - from) * i / count;
        arc.push_back({centre.X + radius * std::cos(a), centre.Y + radius * std::sin(a)});
    }
    return arc;
}

}  // namespace preview
