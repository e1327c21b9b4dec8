#include "frontends/win32/PreviewPainter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "frontends/win32/PreviewGdi.h"
#include "platform/WideText.h"
#include "preview/PickLabels.h"

namespace win32 {

namespace {

using preview::Point;
using preview::Role;
using preview::Shape;
using preview::ShapeKind;

// In 96-DPI pixels.
constexpr int PickRadius = 5;
constexpr int PickArm = 8;
constexpr int PickLabelHeight = 12;
// How long a paint of a small drawing waits for the renderer before it
// shows the last picture moved and scaled instead: such a drawing is
// painted within it, so its every view comes exact at once. A larger one is
// not waited for: the wait would only add to the answer (and on a busy
// machine the thread may not run again for a while after it).
constexpr DWORD RendererWait = 2;
constexpr std::size_t WaitedForBelow = 20000;
// Beyond this enlargement the last picture shows too little to be of use.
constexpr double LargestStretch = 256;

bool Inside(const Point& p, const preview::Box& box)
{
    return p.X >= box.MinX && p.X <= box.MaxX && p.Y >= box.MinY && p.Y <= box.MaxY;
}

void PaintShape(Pass& pass, const Shape& s, bool dimmed)
{
    const COLORREF colour = ColourOf(s.Style, dimmed && s.Style != Role::Input);
    if (s.Kind == ShapeKind::Text) {
        PaintText(pass, s.Centre, s.AngleDeg, s.Height, s.Length, platform::WideFromUtf8(s.Utf8),
                  platform::WideFromUtf8(s.FontUtf8), colour);
        return;
    }
    HDC dc = pass.Dc;
    pass.UsePen(pass.Objects.Pen(colour, std::max(1, pass.Scale.Length(s.Style == Role::Input ? 1 : 2))));
    const bool filled = s.Filled || s.Kind == ShapeKind::Dot;
    SelectObject(dc, filled ? static_cast<HGDIOBJ>(pass.Objects.Brush(colour)) : GetStockObject(NULL_BRUSH));
    switch (s.Kind) {
    case ShapeKind::Path: {
        std::vector<Point> pixels;
        pixels.reserve(s.Points.size());
        for (const Point& p : s.Points)
            pixels.push_back(pass.Fit.ToPixels(p));
        if (s.Closed && s.Filled)
            PaintFilled(pass, pixels);
        else
            PaintLines(pass, pixels, s.Closed);
        break;
    }
    case ShapeKind::Circle:
        PaintCircle(pass, s.Centre, s.Radius, s.Filled);
        break;
    case ShapeKind::Dot: {
        const Point c = pass.Fit.ToPixels(s.Centre);
        if (!Inside(c, pass.Box))
            break;
        const POINT at = ToPoint(c);
        const int r = pass.Scale.Length(DotRadius);
        Ellipse(dc, at.x - r, at.y - r, at.x + r + 1, at.y + r + 1);
        break;
    }
    case ShapeKind::Text:
        break;
    }
}

void PaintPicks(Pass& pass, const preview::Picture& picture, int width, int height)
{
    const std::vector<preview::PickedMark>& picks = picture.Picked;
    const int radius = pass.Scale.Length(PickRadius), arm = pass.Scale.Length(PickArm);
    HDC dc = pass.Dc;
    HFONT font = CreateFontW(-pass.Scale.Length(PickLabelHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH, L"MS Gothic");
    pass.UsePen(pass.Objects.Pen(PickColour, std::max(1, pass.Scale.Length(1))));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    const HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, PickColour);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    SIZE digit{};
    GetTextExtentPoint32W(dc, L"4", 1, &digit);
    preview::Box area;
    area.Add(0, 0);
    area.Add(width, height);
    // Each number where it leaves the dimension's value and lines clear.
    for (const preview::LabelPlace& label :
         preview::PlacePickLabels(picture, pass.Fit, digit.cx, digit.cy, arm, area)) {
        const std::wstring number = std::to_wstring(label.Number);
        TextOutW(dc, static_cast<int>(std::lround(label.At.MinX)), static_cast<int>(std::lround(label.At.MinY)),
                 number.c_str(), static_cast<int>(number.size()));
    }
    for (const preview::PickedMark& pick : picks) {
        const Point at = pass.Fit.ToPixels(pick.At);
        if (!Inside(at, pass.Box))
            continue;
        const POINT c = ToPoint(at);
        if (pick.Span > 0) {
            // A value's grip: a square, told apart from the points picked.
            Rectangle(dc, c.x - radius, c.y - radius, c.x + radius + 1, c.y + radius + 1);
            continue;
        }
        Ellipse(dc, c.x - radius, c.y - radius, c.x + radius + 1, c.y + radius + 1);
        MoveToEx(dc, c.x - arm, c.y, nullptr);
        LineTo(dc, c.x + arm + 1, c.y);
        MoveToEx(dc, c.x, c.y - arm, nullptr);
        LineTo(dc, c.x, c.y + arm + 1);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// The picture painted for one fit, shown through another: moved, and
// scaled about the drawing's points, into width x height pixels of dc.
// Only the part that lands in the area is copied, in whole pixels of
// the picture, so no coordinate leaves GDI's range.
void ShowMoved(HDC dc, int width, int height, HDC picture, int pictureWidth, int pictureHeight,
               const preview::Fit& from, const preview::Fit& to)
{
    const double k = to.Scale / from.Scale;
    if (!std::isfinite(k) || !(k > 0) || k > LargestStretch)
        return;
    // A pixel u of the picture lands at to.Origin + (u - from.Origin) * k.
    if (k == 1) {
        const double dx = to.OriginX - from.OriginX, dy = to.OriginY - from.OriginY;
        if (std::fabs(dx) < width && std::fabs(dy) < height)
            BitBlt(dc, static_cast<int>(std::lround(dx)), static_cast<int>(std::lround(dy)), pictureWidth,
                   pictureHeight, picture, 0, 0, SRCCOPY);
        return;
    }
    const auto source = [&](double v, double toOrigin, double fromOrigin) { return fromOrigin + (v - toOrigin) / k; };
    const double u0 = std::clamp(std::floor(source(0, to.OriginX, from.OriginX)), 0.0, double(pictureWidth));
    const double u1 = std::clamp(std::ceil(source(width, to.OriginX, from.OriginX)), 0.0, double(pictureWidth));
    const double w0 = std::clamp(std::floor(source(0, to.OriginY, from.OriginY)), 0.0, double(pictureHeight));
    const double w1 = std::clamp(std::ceil(source(height, to.OriginY, from.OriginY)), 0.0, double(pictureHeight));
    if (!(u1 > u0) || !(w1 > w0))
        return;
    // Near the area, but for the last bits of origins far from it: kept
    // within reach of an integer all the same.
    const auto land = [&](double u, double fromOrigin, double toOrigin) {
        return static_cast<int>(std::lround(std::clamp(toOrigin + (u - fromOrigin) * k, -1e6, 1e6)));
    };
    const int x0 = land(u0, from.OriginX, to.OriginX), x1 = land(u1, from.OriginX, to.OriginX);
    const int y0 = land(w0, from.OriginY, to.OriginY), y1 = land(w1, from.OriginY, to.OriginY);
    if (x1 <= x0 || y1 <= y0)
        return;
    // Shrunk, lines would drop out pixel by pixel: halftone keeps them as a lighter grey.
    SetStretchBltMode(dc, k < 1 ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x0, y0, x1 - x0, y1 - y0, picture, static_cast<int>(u0), static_cast<int>(w0),
               static_cast<int>(u1 - u0), static_cast<int>(w1 - w0), SRCCOPY);
}

}  // namespace

PreviewPainter::~PreviewPainter()
{
    renderer_.Stop();
    shown_.Release();
    if (frame_ != nullptr)
        DeleteObject(frame_);
}

void PreviewPainter::MakeFrame(HDC dc, int width, int height)
{
    if (frame_ != nullptr && width == frameWidth_ && height == frameHeight_)
        return;
    if (frame_ != nullptr)
        DeleteObject(frame_);
    frame_ = CreateCompatibleBitmap(dc, width, height);
    frameWidth_ = width;
    frameHeight_ = height;
}

bool PreviewPainter::Paint(HDC dc, const RECT& area, int keptHeight, const std::shared_ptr<const preview::PaintPlan>& plan,
                           const preview::Picture& dimension, const preview::Fit& fit, const DpiScale& scale)
{
    const int width = std::max(1L, area.right - area.left), height = std::max(1L, area.bottom - area.top);
    const DrawingView view{plan, fit, width, std::max(height, keptHeight), scale.Dpi};
    bool exact = false;
    if (plan) {
        renderer_.Take(shown_);
        exact = shown_.Bitmap != nullptr && shown_.View.Same(view);
        // Waited for once, when it is asked for: a frame of a drag while a
        // large picture is still being painted does not wait again.
        if (!exact && renderer_.Ask(view) && plan->Count() < WaitedForBelow && renderer_.Wait(RendererWait) &&
            renderer_.Take(shown_))
            exact = shown_.View.Same(view);
    }
    MakeFrame(dc, width, height);
    // Composed off screen and copied in one go: no flicker while the user
    // types or drags.
    HDC frame = CreateCompatibleDC(dc);
    const HGDIOBJ oldFrame = SelectObject(frame, frame_);
    if (exact && shown_.Bitmap != nullptr) {
        HDC drawing = CreateCompatibleDC(dc);
        const HGDIOBJ old = SelectObject(drawing, shown_.Bitmap);
        BitBlt(frame, 0, 0, width, height, drawing, 0, 0, SRCCOPY);
        SelectObject(drawing, old);
        DeleteDC(drawing);
    } else {
        const RECT all{0, 0, width, height};
        FillRect(frame, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (plan && shown_.Bitmap != nullptr && shown_.View.Plan == plan) {
            HDC drawing = CreateCompatibleDC(dc);
            const HGDIOBJ old = SelectObject(drawing, shown_.Bitmap);
            ShowMoved(frame, width, height, drawing, shown_.Width, shown_.Height, shown_.View.Fit, fit);
            SelectObject(drawing, old);
            DeleteDC(drawing);
        }
    }
    {
        Pass pass(frame, fit, scale, GuardedBox(width, height, scale), false);
        // The picked points beneath the dimension, which they must not hide.
        PaintPicks(pass, dimension, width, height);
        for (const Shape& s : dimension.Shapes)
            PaintShape(pass, s, dimension.OutputDimmed);
    }
    BitBlt(dc, area.left, area.top, width, height, frame, 0, 0, SRCCOPY);
    SelectObject(frame, oldFrame);
    DeleteDC(frame);
    return exact;
}

}  // namespace win32
