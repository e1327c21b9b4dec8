// The paint plan: a view gets exactly the shapes that meet it, through the
// index as without it; a walk gives what is smaller than a pixel as that
// pixel, once, inside the walk's area, however many such shapes there are
// and wherever they lie; the model's elements go in as the SVG picture
// draws them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "exchange/ExchangeReader.h"
#include "exchange/Scratch.h"
#include "preview/InputPlan.h"
#include "preview/PaintPlan.h"
#include "preview/View.h"
#include "tests/support/MixedRecords.h"

using namespace preview;

namespace {

Shape Path(std::vector<Point> points, bool closed = false, bool filled = false)
{
    Shape s;
    s.Points = std::move(points);
    s.Closed = closed;
    s.Filled = filled;
    return s;
}

Shape Circle(Point centre, double radius, bool filled = false)
{
    Shape s;
    s.Kind = ShapeKind::Circle;
    s.Centre = centre;
    s.Radius = radius;
    s.Filled = filled;
    return s;
}

Shape Dot(Point at)
{
    Shape s;
    s.Kind = ShapeKind::Dot;
    s.Centre = at;
    return s;
}

Shape Text(Point at, double angle, double length, double height, std::string utf8 = "T")
{
    Shape s;
    s.Kind = ShapeKind::Text;
    s.Centre = at;
    s.AngleDeg = angle;
    s.Length = length;
    s.Height = height;
    s.Utf8 = std::move(utf8);
    s.FontUtf8 = "<MS Gothic>";
    return s;
}

std::vector<uint32_t> Sorted(std::vector<uint32_t> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// What a walk handed over.
struct Recorder : PlanPainter {
    std::vector<PlanShape> Painted;
    std::vector<std::pair<int, int>> Plain, Dots;
    int AbandonAfter = -1;
    int Asked = 0;
    void Paint(const PlanShape& shape) override { Painted.push_back(shape); }
    void Pixel(int x, int y, bool dot) override { (dot ? Dots : Plain).push_back({x, y}); }
    bool Abandon() override { return AbandonAfter >= 0 && ++Asked > AbandonAfter; }
};

Box Pixels(int width, int height, int guard = 0) { return BoxOf(-guard, -guard, width + guard, height + guard); }

}  // namespace

// The index's order: the first 4^k places of the curve fill the square of
// side 2^k at the origin, each a neighbour of the one before.
TEST(PaintPlan, HilbertCurveVisitsNeighbourAfterNeighbour)
{
    std::vector<std::pair<uint32_t, std::pair<int, int>>> cells;
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 256; ++y)
            cells.push_back({HilbertIndex(x, y), {x, y}});
    std::sort(cells.begin(), cells.end());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        ASSERT_EQ(cells[i].first, i);
        if (i > 0) {
            const auto [x0, y0] = cells[i - 1].second;
            const auto [x1, y1] = cells[i].second;
            ASSERT_EQ(std::abs(x1 - x0) + std::abs(y1 - y0), 1) << "at " << i;
        }
    }
}

// Shapes on, across and outside the edges of the view [0, 100] x [0, 100].
TEST(PaintPlan, ViewGetsExactlyTheShapesThatMeetIt)
{
    const struct {
        const char* What;
        Shape S;
        bool Meets;
    } cases[] = {
        {"segment inside", Path({{10, 10}, {20, 20}}), true},
        {"segment from outside ending on the right edge", Path({{150, 50}, {100, 50}}), true},
        {"segment across the view", Path({{-50, 50}, {150, 50}}), true},
        {"segment right of the view", Path({{101, 0}, {200, 100}}), false},
        {"segment past the corner, its box over it", Path({{90, 200}, {200, 90}}), false},
        {"segment through the corner point", Path({{90, 110}, {110, 90}}), true},
        {"segment along the top edge", Path({{-10, 100}, {110, 100}}), true},
        {"segment just above the top edge", Path({{-10, 100.000001}, {110, 100.000001}}), false},
        {"polyline whose second leg comes in", Path({{-50, -50}, {-10, -50}, {50, 50}}), true},
        {"open outline round the view", Path({{-10, -10}, {110, -10}, {110, 110}, {-10, 110}}), false},
        {"closed outline round the view", Path({{-10, -10}, {110, -10}, {110, 110}, {-10, 110}}, true), false},
        {"filled outline round the view", Path({{-10, -10}, {110, -10}, {110, 110}, {-10, 110}}, true, true), true},
        {"triangle whose closing side crosses the view", Path({{-50, 50}, {-60, -200}, {150, 50}}, true), true},
        {"the same left open", Path({{-50, 50}, {-60, -200}, {150, 50}}), false},
        {"one point of a path inside", Path({{50, 50}}), true},
        {"circle inside", Circle({50, 50}, 30), true},
        {"circle round the whole view", Circle({50, 50}, 1000), false},
        {"filled circle round the whole view", Circle({50, 50}, 1000, true), true},
        {"huge circle whose outline crosses the view", Circle({50, -1e6}, 1e6 + 50), true},
        {"huge circle stopping short of the view", Circle({50, -1e6}, 1e6 - 1), false},
        {"circle beyond the corner, its box over it", Circle({110, 110}, 14), false},
        {"circle touching the corner", Circle({110, 110}, std::hypot(10, 10)), true},
        {"dot on the corner", Dot({100, 100}), true},
        {"dot just outside", Dot({100.000001, 50}), false},
        {"text inside", Text({10, 10}, 0, 20, 5), true},
        {"text whose box pokes in from below", Text({40, -5}, 0, 20, 6), true},
        {"text turned past the corner, its box over it", Text({130, 90}, 135, 40, 5), false},
        {"text turned into the view", Text({130, 50}, 180, 40, 5), true},
        {"text standing up left of the view", Text({-1, 10}, 90, 40, 5), false},
        {"line across the whole usable range", Path({{-1e12, 50}, {1e12, 50}}), true},
        {"line at the far edge of the range", Path({{-1e12, -1e12}, {1e12, -1e12}}), false},
    };
    PaintPlan plan;
    for (const auto& c : cases)
        ASSERT_TRUE(plan.Add(c.S)) << c.What;
    plan.Finish();
    const Box view = BoxOf(0, 0, 100, 100);
    std::vector<uint32_t> expected;
    for (uint32_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(plan.Meets(i, view), cases[i].Meets) << cases[i].What;
        if (cases[i].Meets)
            expected.push_back(i);
    }
    std::vector<uint32_t> found;
    plan.Query(view, found);
    EXPECT_EQ(Sorted(found), expected);
}

TEST(PaintPlan, ValuesThePictureCannotHoldAreRefused)
{
    PaintPlan plan;
    EXPECT_FALSE(plan.Add(Path({{0, 0}, {1e300, 0}})));  // one element 1e300 long
    EXPECT_FALSE(plan.Add(Path({{0, 0}, {NAN, 0}})));
    EXPECT_FALSE(plan.Add(Circle({0, 0}, INFINITY)));
    EXPECT_FALSE(plan.Add(Circle({0, 0}, 0)));
    EXPECT_FALSE(plan.Add(Text({0, 0}, 0, 1e13, 1)));
    EXPECT_FALSE(plan.Add(Path({})));
    EXPECT_TRUE(plan.Add(Path({{-1e12, -1e12}, {1e12, 1e12}})));
    plan.Finish();
    EXPECT_EQ(plan.Count(), 1u);
    std::vector<uint32_t> found;
    plan.Query(BoxOf(-1, -1, 1, 1), found);
    EXPECT_EQ(found, std::vector<uint32_t>{0});
}

// Many shapes of every size, views of every size: the index finds what a
// look at each shape finds. The shapes go in row by row, as a drawing's
// neighbours would, so that the index's nodes are small and a search both
// passes nodes by and takes some whole.
TEST(PaintPlan, IndexFindsWhatEveryShapeAloneWould)
{
    std::mt19937 random(24);
    std::uniform_real_distribution<double> place(-1000, 1000), unit(0, 1);
    std::vector<std::pair<std::pair<int, double>, Shape>> shapes;
    for (int i = 0; i < 20000; ++i) {
        const Point at{place(random), place(random)};
        const double size = std::pow(10.0, unit(random) * 7 - 4);  // 1e-4 to 1e3
        Shape s;
        switch (i % 5) {
        case 0: s = Path({at, {at.X + size * (unit(random) - 0.5), at.Y + size * (unit(random) - 0.5)}}); break;
        case 1: s = Circle(at, size, i % 10 == 1); break;
        case 2: s = Dot(at); break;
        case 3: s = Text(at, unit(random) * 360, size, size / 5); break;
        default: s = Path({at, {at.X + size, at.Y}, {at.X, at.Y + size}}, true, i % 10 == 4); break;
        }
        shapes.push_back({{static_cast<int>(std::floor(at.Y / 50)), at.X}, s});
    }
    std::sort(shapes.begin(), shapes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    PaintPlan plan;
    for (const auto& [row, s] : shapes)
        ASSERT_TRUE(plan.Add(s));
    plan.Finish();
    for (int v = 0; v < 60; ++v) {
        const Point at{place(random), place(random)};
        const double size = std::pow(10.0, unit(random) * 6 - 3);
        const Box view = BoxOf(at.X, at.Y, at.X + size, at.Y + size * (0.2 + unit(random)));
        std::vector<uint32_t> expected, found;
        for (uint32_t i = 0; i < plan.Count(); ++i)
            if (plan.Meets(i, view))
                expected.push_back(i);
        plan.Query(view, found);
        ASSERT_EQ(Sorted(found), expected) << "view " << v;
    }
}

// Bad input: what is smaller than a pixel comes as that pixel, once, and
// always inside the walk's area.
TEST(PaintPlan, WalkGivesEachPixelOnceInsideTheArea)
{
    const struct {
        const char* What;
        std::vector<Shape> Shapes;
        int Copies;
        View Seen;
        std::size_t Painted, Plain, Dots;
    } cases[] = {
        {"a million copies of one point", {Dot({5, 5})}, 1000000, {{0, 0}, 1}, 0, 0, 1},
        {"a million copies of one short line", {Path({{5, 5}, {5.1, 5}})}, 1000000, {{0, 0}, 1}, 0, 1, 0},
        {"the same lines zoomed in: painted whole", {Path({{5, 5}, {5.1, 5}})}, 1000, {{5, 5}, 100}, 1000, 0, 0},
        {"points at the far edges of the range",
         {Dot({-1e12, -1e12}), Dot({1e12, 1e12}), Dot({0, 0})}, 1000, {{0, 0}, SmallestScale}, 0, 0, 1},
        {"lines from edge to edge of the range, zoomed far in",
         {Path({{-1e12, -1e12}, {1e12, 1e12}}), Path({{-1e12, 1e12}, {1e12, -1e12}})}, 10, {{0, 0}, LargestScale},
         20, 0, 0},
        {"tiny texts", {Text({1, 1}, 30, 0.5, 0.1, "abc"), Text({3, 1}, 0, 0.5, 0.1, "def")}, 5000, {{0, 0}, 1}, 0, 2, 0},
    };
    for (const auto& c : cases) {
        PaintPlan plan;
        for (int k = 0; k < c.Copies; ++k)
            for (const Shape& s : c.Shapes)
                plan.Add(s);
        plan.Finish();
        const int width = 400, height = 300;
        const Fit fit = FitOf(c.Seen, width, height);
        Recorder recorder;
        PaintPlan::Walked walked;
        EXPECT_TRUE(plan.Walk(fit, Pixels(width, height, 16), recorder, &walked)) << c.What;
        EXPECT_EQ(recorder.Painted.size(), c.Painted) << c.What;
        EXPECT_EQ(recorder.Plain.size(), c.Plain) << c.What;
        EXPECT_EQ(recorder.Dots.size(), c.Dots) << c.What;
        EXPECT_EQ(walked.Shapes, recorder.Painted.size()) << c.What;
        for (const auto& list : {recorder.Plain, recorder.Dots}) {
            for (const auto& [x, y] : list)
                EXPECT_TRUE(x >= -16 && x <= width + 16 && y >= -16 && y <= height + 16) << c.What << " " << x << "," << y;
            std::vector<std::pair<int, int>> unique = list;
            std::sort(unique.begin(), unique.end());
            EXPECT_EQ(std::unique(unique.begin(), unique.end()), unique.end()) << c.What;
        }
    }
}

TEST(PaintPlan, WalkOfOnlyTextsPaintsThemWhenTheyAreLargerThanAPixel)
{
    PaintPlan plan;
    for (int i = 0; i < 1000; ++i)
        plan.Add(Text({i * 10.0, 0}, 0, 8, 3, "abc"));
    plan.Finish();
    const struct {
        double Scale;
        std::size_t Painted;
    } cases[] = {
        {0.01, 0},  // each under a pixel
        {1, 21},    // x from -195 to 205: the texts at 0, 10, ... 200
        {40, 2},    // x from 0 to 10: the texts at 0 and 10
    };
    for (const auto& c : cases) {
        Recorder recorder;
        plan.Walk(FitOf({{5, 1}, c.Scale}, 400, 300), Pixels(400, 300), recorder);
        EXPECT_EQ(recorder.Painted.size(), c.Painted) << c.Scale;
        for (const PlanShape& s : recorder.Painted)
            EXPECT_EQ(s.Sjis, "abc");
    }
}

TEST(PaintPlan, PainterCanAbandonAWalk)
{
    PaintPlan plan;
    for (int i = 0; i < 100000; ++i)
        plan.AddSegment(0, i, 100000, i);
    plan.Finish();
    Recorder recorder;
    recorder.AbandonAfter = 2;
    // 80,000 lines, each 500 pixels long, in the view.
    EXPECT_FALSE(plan.Walk(FitOf({{50000, 50000}, 0.005}, 400, 300), Pixels(400, 300), recorder));
    EXPECT_LT(recorder.Painted.size(), 10000u);
}

// The model's elements go in as AddElementShapes draws them, one shape of
// the plan for each (in an order of the plan's own).
TEST(PaintPlan, InputPlanHoldsTheShapesOfTheModel)
{
    const ScratchModel scratch;
    const std::string bytes = records::MixedExchangeFile(2000);
    ParseExchangeBytes(bytes.data(), bytes.size());
    double scales[LayerGroupCount];
    std::copy(std::begin(DrawingState.LayerGroupScales), std::end(DrawingState.LayerGroupScales), scales);
    std::vector<Shape> shapes;
    Tally fromShapes, fromPlan;
    AddElementShapes(DrawingState, scales, InputRoles, shapes, fromShapes);
    const auto plan = MakeInputPlan(DrawingState, scales, fromPlan);
    EXPECT_EQ(fromPlan.Drawn, fromShapes.Drawn);
    EXPECT_EQ(fromPlan.Undrawn, fromShapes.Undrawn);
    ASSERT_EQ(plan->Count(), shapes.size());
    using Key = std::tuple<int, double, double, double, double, double, std::string, std::string>;
    const auto key = [](const Shape& s) {
        const Point first = s.Points.empty() ? s.Centre : s.Points.front();
        const Point last = s.Points.empty() ? s.Centre : s.Points.back();
        return Key{static_cast<int>(s.Kind), first.X, first.Y, last.X, s.Radius, s.Height, s.Utf8, s.FontUtf8};
    };
    std::vector<Key> expected, found;
    for (const Shape& s : shapes)
        expected.push_back(key(s));
    for (uint32_t i = 0; i < plan->Count(); ++i)
        found.push_back(key(plan->ToShape(i)));
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected);
}
