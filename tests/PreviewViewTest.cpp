// What the preview shows of the drawing: the first view framed on the
// dimension, zoom about the pointer, panning, when the view must follow the
// dimension, and which picked point the pointer is on.
#include <gtest/gtest.h>

#include <cmath>

#include "preview/View.h"

using namespace preview;

namespace {

Shape Line(Point a, Point b, Role role)
{
    Shape s;
    s.Style = role;
    s.Points = {a, b};
    return s;
}

}  // namespace

// A plan of 20 m by 12 m around a 2400 dimension: the first view frames the
// dimension and the picked points, not the plan.
TEST(PreviewView, FirstViewFramesTheDimensionAndThePickedPoints)
{
    Picture picture;
    picture.Shapes = {Line({-10000, -6000}, {10000, 6000}, Role::Input), Line({0, 0}, {0, 2400}, Role::OutputLine),
                      Line({0, 2400}, {-300, 2400}, Role::OutputLine)};
    picture.Picked = {{1, {-600, 0}}, {2, {-600, 2400}}, {3, {0, 1000}}, {4, {-200, 1200}}};
    const Box bounds = DimensionBounds(picture);
    EXPECT_EQ(std::tuple(bounds.MinX, bounds.MinY, bounds.MaxX, bounds.MaxY), std::tuple(-600.0, 0.0, 0.0, 2400.0));

    const struct {
        int Width, Height, Margin;
        double Scale;
    } areas[] = {{420, 300, 20, 260.0 / 2400}, {1000, 300, 20, 260.0 / 2400}, {200, 2000, 10, 180.0 / 600}};
    for (const auto& a : areas) {
        const View view = Framed(bounds, a.Width, a.Height, a.Margin);
        EXPECT_DOUBLE_EQ(view.Scale, a.Scale);
        EXPECT_TRUE(Shows(view, bounds, a.Width, a.Height, a.Margin - 1));
        EXPECT_FALSE(Shows(view, BoxOf(-10000, -6000, 10000, 6000), a.Width, a.Height, 0)) << "the plan is clipped";
        // Centred: the margins left over are equal on both sides.
        const Fit fit = FitOf(view, a.Width, a.Height);
        const Point low = fit.ToPixels({bounds.MinX, bounds.MinY}), high = fit.ToPixels({bounds.MaxX, bounds.MaxY});
        EXPECT_NEAR(low.X, a.Width - high.X, 1e-9);
        EXPECT_NEAR(high.Y, a.Height - low.Y, 1e-9);
    }
    // One point alone: shown at its centre at the scale asked for.
    const View point = Framed(BoxOf(5, 5, 5, 5), 100, 100, 10, 2);
    EXPECT_EQ(std::tuple(point.Centre.X, point.Centre.Y, point.Scale), std::tuple(5.0, 5.0, 2.0));
}

TEST(PreviewView, ZoomKeepsThePointUnderThePointer)
{
    const View start = Framed(BoxOf(-600, 0, 0, 2400), 420, 300, 20);
    const struct {
        double Factor, X, Y;
    } zooms[] = {{1.25, 10, 10}, {0.8, 400, 280}, {2, 210, 150}, {1e30, 7, 3}, {1e-30, 100, 200}, {1.1, -50, 500}};
    for (const auto& z : zooms) {
        SCOPED_TRACE(std::to_string(z.Factor) + " at " + std::to_string(z.X) + ", " + std::to_string(z.Y));
        const Point before = ToDrawing(FitOf(start, 420, 300), z.X, z.Y);
        const View zoomed = ZoomedAbout(start, z.Factor, z.X, z.Y, 420, 300);
        EXPECT_GE(zoomed.Scale, SmallestScale);
        EXPECT_LE(zoomed.Scale, LargestScale);
        const Point after = FitOf(zoomed, 420, 300).ToPixels(before);
        EXPECT_NEAR(after.X, z.X, 1e-6);
        EXPECT_NEAR(after.Y, z.Y, 1e-6);
    }
    // Zooming in and out again comes back.
    const View back = ZoomedAbout(ZoomedAbout(start, 1.25, 33, 44, 420, 300), 0.8, 33, 44, 420, 300);
    EXPECT_NEAR(back.Scale, start.Scale, 1e-12);
    EXPECT_NEAR(back.Centre.X, start.Centre.X, 1e-9);
    EXPECT_NEAR(back.Centre.Y, start.Centre.Y, 1e-9);
}

TEST(PreviewView, PanMovesTheDrawingWithThePointer)
{
    const View start{{100, 200}, 0.5};
    const Point grabbed = ToDrawing(FitOf(start, 400, 300), 150, 120);
    const View panned = Panned(start, 30, -40);
    const Point now = FitOf(panned, 400, 300).ToPixels(grabbed);
    EXPECT_NEAR(now.X, 180, 1e-9);
    EXPECT_NEAR(now.Y, 80, 1e-9);
    EXPECT_EQ(panned.Scale, start.Scale);
    // Far beyond any drawing, the view stops where the painter can still count.
    const View far = Panned(start, -1e300, 1e300);
    EXPECT_TRUE(std::isfinite(FitOf(far, 400, 300).OriginX) && std::isfinite(FitOf(far, 400, 300).OriginY));
}

TEST(PreviewView, TheViewFollowsOnlyADimensionThatLeavesIt)
{
    const View view = Framed(BoxOf(0, 0, 100, 100), 220, 220, 10);  // one pixel a unit... and two
    EXPECT_TRUE(Shows(view, BoxOf(10, 10, 90, 90), 220, 220, 10));
    EXPECT_TRUE(Shows(view, BoxOf(0, 0, 100, 100), 220, 220, 10));
    EXPECT_FALSE(Shows(view, BoxOf(0, 0, 100, 101), 220, 220, 10));
    EXPECT_FALSE(Shows(view, BoxOf(-1, 0, 50, 50), 220, 220, 10));
    EXPECT_TRUE(Shows(view, Box{}, 220, 220, 10)) << "nothing to show is always shown";
}

TEST(PreviewView, ThePointerTakesTheNearestAllowedPickedPoint)
{
    Picture picture;
    picture.Picked = {{1, {0, 0}}, {2, {0, 100}}, {3, {10, 50}}, {4, {14, 50}}};
    const Fit fit = FitOf(View{{0, 50}, 1}, 200, 200);  // point (x, y) at pixel (100 + x, 150 - y)
    const unsigned three = 1u << 3, four = 1u << 4, both = three | four;
    const struct {
        double X, Y;
        unsigned Allowed;
        int Number;
    } cases[] = {
        {110, 100, both, 3}, {114, 100, both, 4}, {112.5, 100, both, 4}, {111.5, 100, both, 3},
        {110, 106, both, 3}, {110, 107, both, 0},  // six pixels reach, seven do not
        {100, 150, both, 0}, {100, 150, 1u << 1, 1},  // point 1 only when allowed
        {110, 100, four, 4}, {300, 300, both, 0},
    };
    for (const auto& c : cases) {
        const PickedMark* mark = PickedMarkAt(picture, fit, c.X, c.Y, 6, [&](const PickedMark& m) {
            return (c.Allowed & (1u << m.Number)) != 0;
        });
        EXPECT_EQ(mark != nullptr ? mark->Number : 0, c.Number) << c.X << ", " << c.Y;
    }
}

TEST(PreviewView, AChangeReframesOnlyADimensionThatLeftTheView)
{
    const View view = Framed(BoxOf(0, 0, 100, 100), 220, 220, 10);  // two pixels a unit, 10 to spare
    const struct {
        Box Before, After;
        bool Leaves;
    } cases[] = {
        {BoxOf(0, 0, 100, 100), BoxOf(0, 0, 100, 104), false},   // still inside the margin's spare pixels
        {BoxOf(0, 0, 100, 100), BoxOf(0, 0, 100, 120), true},    // it grew out of the view
        {BoxOf(0, 0, 100, 100), BoxOf(20, 20, 80, 80), false},  // it shrank
        // The user zoomed in on part of it: a change that keeps part in view stays.
        {BoxOf(-500, -500, 500, 500), BoxOf(-500, -500, 520, 500), false},
        {BoxOf(-500, -500, 500, 500), BoxOf(1000, 1000, 1100, 1100), true},  // wholly out of the area
        {Box{}, BoxOf(0, 0, 100, 100), false},                               // first drawn, and in view
        {BoxOf(0, 0, 100, 100), Box{}, false},                               // nothing to show
    };
    for (const auto& c : cases)
        EXPECT_EQ(DimensionLeaves(view, c.Before, c.After, 220, 220, 0), c.Leaves)
            << c.After.MinX << ", " << c.After.MinY << " - " << c.After.MaxX << ", " << c.After.MaxY;
}
