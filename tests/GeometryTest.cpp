#include "helpers/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(Distance, IsEuclidean)
{
    EXPECT_EQ(Distance(0, 0, 3, 4), 5);
    EXPECT_EQ(Distance(3, 4, 0, 0), 5);
    EXPECT_EQ(Distance(-1, -1, -1, -1), 0);
    // Squares beyond the double range still give the distance.
    EXPECT_DOUBLE_EQ(Distance(0, 0, 3e200, 4e200), 5e200);
}

TEST(AngleRad, FullTurnFromTheXAxis)
{
    const struct {
        double dx, dy, expected;
    } cases[] = {
        {0, 0, 0}, {5e-11, -5e-11, 0}, {1, 0, 0}, {0, 1, kPi / 2}, {-1, 0, kPi}, {0, -1, 3 * kPi / 2},
        {1, -1, 7 * kPi / 4}, {-1e-10, 0, kPi},  // only strictly smaller components count as zero
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(AngleRad(c.dx, c.dy), c.expected) << c.dx << ", " << c.dy;
    EXPECT_GE(AngleRad(1, -1e-300), 0);
}

TEST(AngleDeg, SnapsToTheGrid)
{
    const struct {
        double dx, dy, expected;
    } cases[] = {
        {1, 1, 45}, {0, -1, 270}, {-1, 0, 180}, {1, -1e-13, 360}, {0, 0, 0},
        {std::cos(kPi / 6), std::sin(kPi / 6), 30}, {-std::sqrt(3.0), -1, 210},
    };
    for (const auto& c : cases) EXPECT_EQ(AngleDeg(c.dx, c.dy), c.expected) << c.dx << ", " << c.dy;
}

TEST(NormalizeDeg, BringsIntoOneTurn)
{
    const struct {
        double angle, expected;
    } cases[] = {
        {-90, 270}, {720, 0}, {359.99999999999, 0}, {-30.5, 329.5}, {1e-11, 0}, {-1e-11, 0}, {360, 0},
        {-360, 0}, {-720, 0}, {725, 5}, {-725, 355}, {0, 0}, {359.5, 359.5}, {1e6 + 0.25, 280.25},
    };
    for (const auto& c : cases) {
        const double r = NormalizeDeg(c.angle);
        EXPECT_EQ(r, c.expected) << c.angle;
        EXPECT_FALSE(std::signbit(r)) << c.angle;
    }
}

TEST(RotatePoint, TurnsCounterClockwiseAboutTheCentre)
{
    const struct {
        double x, y, cx, cy, degrees, ex, ey;
    } cases[] = {
        {1, 0, 0, 0, 90, 0, 1}, {2, 1, 1, 1, 180, 0, 1}, {1, 0, 0, 0, -90, 0, -1},
        {5, 5, 5, 5, 37, 5, 5}, {3, 4, 1, 1, 0, 3, 4}, {1, 2, 1, 1, 90, 0, 1},
        {11, 10, 10, 10, 45, 10 + std::sqrt(0.5), 10 + std::sqrt(0.5)},
    };
    for (const auto& c : cases) {
        double rx, ry;
        RotatePointDeg(c.x, c.y, c.cx, c.cy, c.degrees, rx, ry);
        EXPECT_NEAR(rx, c.ex, 1e-15) << c.degrees;
        EXPECT_NEAR(ry, c.ey, 1e-15) << c.degrees;
        RotatePoint(c.x, c.y, c.cx, c.cy, c.degrees / 180 * kPi, rx, ry);
        EXPECT_NEAR(rx, c.ex, 1e-15) << c.degrees;
        EXPECT_NEAR(ry, c.ey, 1e-15) << c.degrees;
    }
}

}  // namespace
