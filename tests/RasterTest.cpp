// Strokes drawn straight into pixels: every pixel written lies in the area
// and on the stroke, from any distance and at any size; what lies outside
// writes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "preview/Raster.h"

using namespace preview;

namespace {

constexpr int Width = 64, Height = 48, Guard = 256;
constexpr uint32_t Ink = 0x9a9a9a, Paper = 0xffffffff, Fence = 0x12345678;

// The area with a fence of words before and after it.
struct Canvas {
    std::vector<uint32_t> Words = std::vector<uint32_t>(Width * Height + 2 * Guard, Fence);
    Canvas() { std::fill(Words.begin() + Guard, Words.end() - Guard, Paper); }
    uint32_t* Pixels() { return Words.data() + Guard; }
    bool FenceWhole() const
    {
        return std::all_of(Words.begin(), Words.begin() + Guard, [](uint32_t w) { return w == Fence; }) &&
               std::all_of(Words.end() - Guard, Words.end(), [](uint32_t w) { return w == Fence; });
    }
    std::vector<Point> Inked() const
    {
        std::vector<Point> inked;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (Words[Guard + y * Width + x] == Ink)
                    inked.push_back({static_cast<double>(x), static_cast<double>(y)});
        return inked;
    }
};

double FromSegment(Point p, Point a, Point b)
{
    const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0;
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

}  // namespace

TEST(Raster, SegmentsWriteOnlyTheirPixelsInsideTheArea)
{
    const struct {
        const char* What;
        Point A, B;
        int Pen;
        int Least, Most;  // pixels inked
    } cases[] = {
        {"inside", {3, 4}, {40, 30}, 1, 38, 38},
        {"across from far away", {-1e15, 20}, {1e15, 20}, 1, Width, Width},
        {"diagonal from far beyond the corners", {-1e12, -0.75e12}, {1e12, 0.75e12}, 1, Width, Width},
        {"just left of the area", {-0.6, -10}, {-0.6, 100}, 1, 0, 0},
        {"on the left column", {-0.4, -10}, {-0.4, 100}, 1, Height, Height},
        {"along the bottom row", {-5, Height - 1}, {Width + 5, Height - 1}, 1, Width, Width},
        {"a point", {10, 10}, {10, 10}, 1, 1, 1},
        {"not a number", {NAN, 0}, {10, 10}, 1, 0, 0},
        {"a wide pen along the edge", {-100, 0}, {100, 0}, 3, 2 * Width, 2 * Width},
        {"a wide pen just outside", {-100, -2.6}, {100, -2.6}, 3, 0, 0},
        // An even pen reaches a pixel further up, as GDI's does.
        {"a pen of two just below the area", {-100, Height}, {100, Height}, 2, Width, Width},
        {"a pen of two just above it", {-100, -1}, {100, -1}, 2, 0, 0},
    };
    for (const auto& c : cases) {
        Canvas canvas;
        Raster(canvas.Pixels(), Width, Height, Ink, c.Pen).Segment(c.A, c.B);
        EXPECT_TRUE(canvas.FenceWhole()) << c.What;
        const std::vector<Point> inked = canvas.Inked();
        EXPECT_GE(static_cast<int>(inked.size()), c.Least) << c.What;
        EXPECT_LE(static_cast<int>(inked.size()), c.Most) << c.What;
        if (std::isfinite(c.A.X) && std::hypot(c.B.X - c.A.X, c.B.Y - c.A.Y) < 1e6) {
            for (const Point& p : inked)
                EXPECT_LE(FromSegment(p, c.A, c.B), 0.75 + c.Pen / 2) << c.What << " at " << p.X << ", " << p.Y;
        }
    }
}

TEST(Raster, CirclesOfEverySizeStayOnTheirOutline)
{
    const struct {
        const char* What;
        Point Centre;
        double Radius;
        bool Inks;
    } cases[] = {
        {"small, inside", {30, 20}, 8, true},
        {"centred outside, crossing", {-20, 20}, 25, true},
        {"around the whole area", {32, 24}, 1000, false},
        {"larger than is drawn whole, crossing", {32, -1e7 + 10}, 1e7, true},
        {"larger than is drawn whole, missing", {32, -1e7 - 10}, 1e7, false},
        {"far away", {1e9, 1e9}, 5, false},
    };
    for (const auto& c : cases) {
        Canvas canvas;
        Raster(canvas.Pixels(), Width, Height, Ink).Circle(c.Centre, c.Radius);
        EXPECT_TRUE(canvas.FenceWhole()) << c.What;
        const std::vector<Point> inked = canvas.Inked();
        EXPECT_EQ(!inked.empty(), c.Inks) << c.What;
        for (const Point& p : inked)
            EXPECT_LE(std::fabs(std::hypot(p.X - c.Centre.X, p.Y - c.Centre.Y) - c.Radius), 1.0)
                << c.What << " at " << p.X << ", " << p.Y;
    }
}

TEST(Raster, DiscsAsTheSystemsEllipseAndCutAtTheEdge)
{
    const struct {
        int X, Y, Radius;
        std::size_t Inked;
    } cases[] = {
        {10, 10, 2, 21},  // five by five, less its corners
        {0, 0, 2, 8},     // the quarter inside, less its corner
        {-3, 5, 2, 0},
        {Width - 1, Height - 1, 0, 1},
    };
    for (const auto& c : cases) {
        Canvas canvas;
        Raster(canvas.Pixels(), Width, Height, Ink).Disc(c.X, c.Y, c.Radius);
        EXPECT_TRUE(canvas.FenceWhole());
        EXPECT_EQ(canvas.Inked().size(), c.Inked) << c.X << ", " << c.Y;
    }
}
