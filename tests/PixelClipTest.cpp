// Shapes cut to the window before they become GDI's integer coordinates:
// lines and polygons from far outside keep their direction inside, and a
// circle millions of pixels across becomes the arc through the window.
#include <gtest/gtest.h>

#include <cmath>

#include "preview/PixelClip.h"

using namespace preview;

namespace {

Box Area(double w, double h)
{
    Box box;
    box.Add(0, 0);
    box.Add(w, h);
    return box;
}

bool Within(const Point& p, const Box& box, double slack = 1e-9)
{
    return p.X >= box.MinX - slack && p.X <= box.MaxX + slack && p.Y >= box.MinY - slack && p.Y <= box.MaxY + slack;
}

// Distance of p from the line through a and b.
double FromLine(const Point& p, const Point& a, const Point& b)
{
    return std::fabs((b.X - a.X) * (a.Y - p.Y) - (a.X - p.X) * (b.Y - a.Y)) / std::hypot(b.X - a.X, b.Y - a.Y);
}

double Area(const std::vector<Point>& polygon)
{
    double twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % polygon.size()];
        twice += a.X * b.Y - b.X * a.Y;
    }
    return std::fabs(twice) / 2;
}

}  // namespace

TEST(PixelClip, SegmentsKeepTheirLineInsideTheBox)
{
    const Box box = Area(400, 300);
    const struct {
        Point A, B;
        bool Visible;
    } cases[] = {
        {{10, 10}, {390, 290}, true},                // wholly inside: unchanged
        {{-1e15, 150}, {1e15, 150}, true},           // across, from a zoom far in
        {{-1e15, -7.5e14}, {1e15, 7.5e14}, true},    // the diagonal through the centre
        {{-100, -100}, {-1, 500}, false},            // left of the box
        {{500, 0}, {600, 300}, false},               // right of it
        {{0, 400}, {400, 301}, false},               // below, slanting towards a corner
        {{200, 150}, {200, 150}, true},              // one point inside
        {{NAN, 0}, {10, 10}, false},                 // no coordinates to draw
        {{0, 0}, {INFINITY, 10}, false},
    };
    for (const auto& c : cases) {
        Point a = c.A, b = c.B;
        ASSERT_EQ(ClipSegment(a, b, box), c.Visible) << c.A.X << ", " << c.A.Y;
        if (!c.Visible)
            continue;
        EXPECT_TRUE(Within(a, box) && Within(b, box));
        if (c.A.X != c.B.X || c.A.Y != c.B.Y) {
            EXPECT_LT(FromLine(a, c.A, c.B), 1e-6 * std::max(1.0, std::fabs(c.A.X)));
            EXPECT_LT(FromLine(b, c.A, c.B), 1e-6 * std::max(1.0, std::fabs(c.A.X)));
        }
    }
    // The part inside is all of it that is inside: across the box, edge to edge.
    Point a{-1e15, 150}, b{1e15, 150};
    ClipSegment(a, b, box);
    EXPECT_DOUBLE_EQ(a.X, 0);
    EXPECT_DOUBLE_EQ(b.X, 400);
}

TEST(PixelClip, APolylineBreaksIntoTheRunsThatAreInside)
{
    const Box box = Area(100, 100);
    // In, out past the right edge, back in, and out through the bottom.
    const std::vector<Point> line = {{10, 10}, {50, 50}, {300, 50}, {50, 80}, {50, 500}};
    const std::vector<std::vector<Point>> runs = ClipPolyline(line, box);
    ASSERT_EQ(runs.size(), 2u);
    ASSERT_EQ(runs[0].size(), 3u);
    EXPECT_DOUBLE_EQ(runs[0][2].X, 100);  // leaves at the right edge
    ASSERT_EQ(runs[1].size(), 3u);
    EXPECT_DOUBLE_EQ(runs[1][0].X, 100);  // and comes back there
    EXPECT_DOUBLE_EQ(runs[1][2].Y, 100);  // then leaves through the bottom
    EXPECT_TRUE(ClipPolyline({{-5, -5}, {-1, -9}}, box).empty());
    EXPECT_TRUE(ClipPolyline({{5, 5}}, box).empty()) << "one point draws no line";
}

TEST(PixelClip, APolygonKeepsWhatItCoversOfTheBox)
{
    const Box box = Area(100, 100);
    // A square far larger than the box covers all of it.
    const std::vector<Point> huge = {{-1e12, -1e12}, {1e12, -1e12}, {1e12, 1e12}, {-1e12, 1e12}};
    EXPECT_NEAR(Area(ClipPolygon(huge, box)), 100 * 100, 1e-3);
    // A triangle half in: the half inside.
    const std::vector<Point> triangle = {{50, 0}, {150, 0}, {50, 100}};
    EXPECT_NEAR(Area(ClipPolygon(triangle, box)), 50 * 100 - 50 * 50 / 2.0, 1e-9);
    for (const Point& p : ClipPolygon(triangle, box))
        EXPECT_TRUE(Within(p, box));
    EXPECT_TRUE(ClipPolygon({{200, 200}, {300, 200}, {250, 300}}, box).empty());
    EXPECT_TRUE(ClipPolygon({{0, 0}, {NAN, 5}, {5, 5}}, box).empty());
}

TEST(PixelClip, AHugeCircleIsTheArcThroughTheBox)
{
    const Box box = Area(400, 300);
    const struct {
        Point Centre;
        double Radius;
        bool Seen;
    } cases[] = {
        {{200, 1e9 + 150}, 1e9, true},      // its top runs across the middle of the box
        {{-3e8, 150}, 3e8 + 200, true},     // its right side, upright through the box
        {{200, 150}, 1e9, false},           // the box well inside it: no outline to see
        {{200, 5e9}, 1e9, false},           // the box well outside it
        {{200, 1e9 + 150}, NAN, false},
    };
    for (const auto& c : cases) {
        const std::vector<Point> arc = VisibleArc(c.Centre, c.Radius, box);
        ASSERT_EQ(!arc.empty(), c.Seen) << c.Centre.X << ", " << c.Centre.Y << " r " << c.Radius;
        if (arc.empty())
            continue;
        EXPECT_LE(arc.size(), 4097u);
        // Every point on the circle, and the chords near it: the middle of
        // each chord strays from the circle by less than a tenth of a pixel.
        for (std::size_t i = 0; i < arc.size(); ++i) {
            EXPECT_NEAR(std::hypot(arc[i].X - c.Centre.X, arc[i].Y - c.Centre.Y), c.Radius, 1e-6 * c.Radius);
            if (i > 0) {
                const Point middle{(arc[i - 1].X + arc[i].X) / 2, (arc[i - 1].Y + arc[i].Y) / 2};
                EXPECT_LT(c.Radius - std::hypot(middle.X - c.Centre.X, middle.Y - c.Centre.Y), 0.1 + 1e-6 * c.Radius);
            }
        }
        // And it crosses the whole box: what of it lies inside, cut, reaches two edges.
        const std::vector<std::vector<Point>> runs = ClipPolyline(arc, box);
        ASSERT_EQ(runs.size(), 1u);
        const Point& first = runs[0].front();
        const Point& last = runs[0].back();
        const auto onEdge = [&](const Point& p) {
            return std::fabs(p.X) < 1e-3 || std::fabs(p.X - 400) < 1e-3 || std::fabs(p.Y) < 1e-3 ||
                   std::fabs(p.Y - 300) < 1e-3;
        };
        EXPECT_TRUE(onEdge(first) && onEdge(last));
    }
}
