#pragma once
// Where the preview window stands on the screen, as rectangle arithmetic a
// test can check without a screen: beside the dialog where there is room,
// else narrower, else over the dialog's far side; always wholly inside the
// work area it is given. Pixels of the screen, y down; Right and Bottom
// are exclusive.
namespace preview {

struct PixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const PixelRect&) const = default;
};

// The place the preview opens at when none is remembered: the dialog's
// height (no more than the work area's) and width wide, right of the
// dialog, else left of it; where neither side has room for width, on the
// roomier side as narrow as it must be down to minimumWidth; where not
// even that fits, below or above the dialog, as wide as it, where that
// side has minimumHeight; where nothing fits, minimumWidth wide against the
// screen's edge on the side with more room, over as little of the dialog as
// it can.
PixelRect PlaceBesideDialog(const PixelRect& dialog, const PixelRect& work, int width, int minimumWidth,
                            int minimumHeight);

// Whether the two share any pixel.
bool Overlaps(const PixelRect& a, const PixelRect& b);

// A remembered place: kept where it lies wholly in the work area;
// otherwise no larger than the work area and moved the least distance into
// it. Sizes below the minimum are raised to it first.
// Given as a position and a size, so that no value a damaged file holds
// can overflow a sum.
PixelRect WhollyInside(int left, int top, int width, int height, const PixelRect& work, int minimumWidth,
                       int minimumHeight);

}  // namespace preview
