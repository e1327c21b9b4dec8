#pragma once
// What the preview's two painters share: the palette, the pens, brushes and
// fonts of one pass, and the shapes cut to the area in pixels before they
// become GDI's integers. The window's painter draws the dimension with
// them, the drawing's renderer the host's drawing.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "frontends/win32/DpiScale.h"
#include "preview/Fit.h"
#include "preview/Palette.h"
#include "preview/Shapes.h"

namespace win32 {

// The SVG picture's palette, so both pictures look alike.
constexpr COLORREF Gdi(preview::Colour c) { return RGB(c.Red, c.Green, c.Blue); }
constexpr COLORREF InputColour = Gdi(preview::InputColour);
constexpr COLORREF PickColour = Gdi(preview::PickColour);
// In 96-DPI pixels: how far beyond the area shapes are still drawn, so that
// no stroke's end or join shows at its edge; the radius of a point element.
constexpr int Guard = 16;
constexpr int DotRadius = 2;

COLORREF ColourOf(preview::Role role, bool dimmed);

// Pens and brushes for one pass, made once each rather than once a shape.
class GdiObjects {
public:
    GdiObjects() = default;
    GdiObjects(const GdiObjects&) = delete;
    GdiObjects& operator=(const GdiObjects&) = delete;
    ~GdiObjects();
    HPEN Pen(COLORREF colour, int width);
    // The texts of a drawing mostly share a few faces and sizes.
    HFONT Font(const std::wstring& face, int height, int width, int escapement);
    HBRUSH Brush(COLORREF colour);

private:
    struct FontKey {
        std::wstring Face;
        int Height, Width, Escapement;
        HFONT Font;
    };
    std::vector<std::pair<std::pair<COLORREF, int>, HPEN>> pens_;
    std::vector<FontKey> fonts_;
    std::vector<std::pair<COLORREF, HBRUSH>> brushes_;
};

// One pass of shapes over a DC: where they are cut, and the pens they take.
struct Pass {
    HDC Dc;
    const preview::Fit& Fit;
    const DpiScale& Scale;
    preview::Box Box;  // the area and its guard, in pixels
    GdiObjects Objects;
    // The host's drawing is one colour, so the order of its lines does not
    // show: they are gathered and drawn in one call a pen, which under Wine
    // is many times faster than one call a line.
    bool Gather = false;
    HPEN Pen = nullptr;
    std::vector<POINT> Points;
    std::vector<DWORD> Runs;

    Pass(HDC dc, const preview::Fit& fit, const DpiScale& scale, const preview::Box& box, bool gather);
    // The DC gets the system's objects back before ours are deleted.
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    void Flush();
    void UsePen(HPEN pen);
};

// The area of width x height pixels and its guard all round.
preview::Box GuardedBox(int width, int height, const DpiScale& scale);

// Points already cut to the guarded area fit GDI's coordinates.
POINT ToPoint(const preview::Point& p);

// A text from its bottom left (in drawing units) along its angle,
// stretched to its length, as the host sets it; nothing where it is too
// small to read or the view is inside one of its strokes. False when it
// was too small: the caller may show where it stands instead.
bool PaintText(Pass& pass, const preview::Point& at, double angleDeg, double height, double length,
               const std::wstring& text, const std::wstring& font, COLORREF colour);
// A path given in pixels, cut to the pass's box.
void PaintLines(Pass& pass, const std::vector<preview::Point>& pixels, bool closed);
// A segment given in pixels, cut to the pass's box.
void PaintSegment(Pass& pass, preview::Point a, preview::Point b);
void PaintFilled(Pass& pass, const std::vector<preview::Point>& pixels);
// A circle given in drawing units; one too large for GDI as the arc through the area.
void PaintCircle(Pass& pass, const preview::Point& centre, double radius, bool filled);

}  // namespace win32
