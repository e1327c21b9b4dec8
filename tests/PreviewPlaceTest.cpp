// Where the preview window opens: beside the dialog where there is room,
// narrower or over the dialog's far side where there is not, and always
// wholly on the work area, at the densities of common displays.
#include <gtest/gtest.h>

#include <climits>

#include "preview/PreviewPlace.h"

using preview::PixelRect;

namespace {

bool Inside(const PixelRect& inner, const PixelRect& outer)
{
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

std::string Describe(const PixelRect& r)
{
    return std::to_string(r.Left) + ", " + std::to_string(r.Top) + " - " + std::to_string(r.Right) + ", " +
           std::to_string(r.Bottom);
}

}  // namespace

TEST(PreviewPlace, BesideTheDialogNarrowerOrOverItsFarSide)
{
    const PixelRect screen{0, 0, 1280, 1024};
    // The dialog's frame as Wine draws it: 509 x 376 client pixels scaled,
    // plus a constant frame; the preview's default width 420 scaled.
    const struct {
        const char* What;
        PixelRect Dialog;
        int Width, Minimum;
        PixelRect Expected;
    } cases[] = {
        {"96 DPI, room on the right", {100, 120, 615, 520}, 420, 200, {615, 120, 1035, 520}},
        {"96 DPI, room on the left only", {860, 120, 1375, 520}, 420, 200, {440, 120, 860, 520}},
        // 770 wide at x = 100: 410 pixels to its right, too few for 630.
        {"144 DPI, narrower on the right", {100, 100, 870, 692}, 630, 300, {870, 100, 1280, 692}},
        {"144 DPI, narrower on the left", {500, 100, 1270, 692}, 630, 300, {0, 100, 500, 692}},
        // 1024 wide at 192 DPI: no side holds even the minimum.
        {"192 DPI, over the far side", {100, 50, 1130, 838}, 840, 400, {880, 50, 1280, 838}},
        {"192 DPI, dialog on the right", {200, 50, 1230, 838}, 840, 400, {0, 50, 400, 838}},
        {"dialog taller than the screen", {100, -40, 615, 1100}, 420, 200, {615, 0, 1035, 1024}},
        {"dialog below the screen's bottom", {100, 900, 615, 1300}, 420, 200, {615, 624, 1035, 1024}},
        {"dialog wider than the screen: below it", {-100, 0, 1400, 500}, 420, 200, {0, 500, 1280, 1000}},
        {"no side has room: above it", {100, 700, 1230, 1000}, 420, 200, {100, 400, 1230, 700}},
        {"short dialog: the preview's minimum height", {100, 100, 615, 150}, 420, 200, {615, 100, 1035, 300}},
    };
    for (const auto& c : cases) {
        const PixelRect place = preview::PlaceBesideDialog(c.Dialog, screen, c.Width, c.Minimum, 200);
        EXPECT_EQ(place, c.Expected) << c.What << ": " << Describe(place);
        EXPECT_TRUE(Inside(place, screen)) << c.What;
    }
}

TEST(PreviewPlace, OnASecondScreenAndOnOneSmallerThanThePreview)
{
    // The work area of a monitor left of the primary, without the taskbar.
    const PixelRect left{-1920, 0, 0, 1040};
    EXPECT_EQ(preview::PlaceBesideDialog({-1800, 100, -1285, 500}, left, 420, 200, 200),
              (PixelRect{-1285, 100, -865, 500}));
    // A screen narrower than the minimum: the whole width, nothing outside.
    const PixelRect tiny{0, 0, 150, 120};
    const PixelRect place = preview::PlaceBesideDialog({0, 0, 140, 110}, tiny, 420, 200, 160);
    EXPECT_EQ(place, tiny) << Describe(place);
}

TEST(PreviewPlace, ARememberedPlaceIsBroughtWhollyOnTheScreen)
{
    const PixelRect screen{0, 0, 1280, 1024};
    const struct {
        const char* What;
        int Left, Top, Width, Height;
        PixelRect Expected;
    } cases[] = {
        {"on the screen: kept", 700, 300, 380, 280, {700, 300, 1080, 580}},
        {"across the right edge", 1100, 300, 380, 280, {900, 300, 1280, 580}},
        {"above the top", 10, -50, 400, 300, {10, 0, 410, 300}},
        {"far away", 50000, -40000, 400, 300, {880, 0, 1280, 300}},
        {"larger than the screen", 10, 10, 100000, 2000000000, {0, 0, 1280, 1024}},
        {"smaller than the minimum", 100, 100, 20, 10, {100, 100, 300, 260}},
        {"the extremes of a damaged file", INT_MIN, INT_MAX, INT_MAX, INT_MIN, {0, 864, 1280, 1024}},
    };
    for (const auto& c : cases) {
        const PixelRect place = preview::WhollyInside(c.Left, c.Top, c.Width, c.Height, screen, 200, 160);
        EXPECT_EQ(place, c.Expected) << c.What << ": " << Describe(place);
    }
}

TEST(PreviewPlace, OverlapIsAnySharedPixel)
{
    const PixelRect dialog{100, 100, 615, 500};
    EXPECT_FALSE(preview::Overlaps(dialog, {615, 100, 1035, 500})) << "side by side";
    EXPECT_FALSE(preview::Overlaps(dialog, {100, 500, 615, 700})) << "one below the other";
    EXPECT_TRUE(preview::Overlaps(dialog, {614, 100, 1034, 500}));
    EXPECT_TRUE(preview::Overlaps(dialog, {0, 0, 2000, 2000})) << "one around the other";
}
