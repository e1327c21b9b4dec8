#include "frontends/win32/PreviewPainter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "platform/WideText.h"
#include "preview/Palette.h"
#include "preview/PickLabels.h"
#include "preview/PixelClip.h"

namespace win32 {

namespace {

using preview::Point;
using preview::Role;
using preview::Shape;
using preview::ShapeKind;

constexpr COLORREF Gdi(preview::Colour c) { return RGB(c.Red, c.Green, c.Blue); }
constexpr COLORREF PickColour = Gdi(preview::PickColour);
// In 96-DPI pixels.
constexpr int PickRadius = 5;
constexpr int PickArm = 8;
constexpr int PickLabelHeight = 12;
constexpr int DotRadius = 2;
// How far beyond the area shapes are still drawn, so that no stroke's end
// or join shows at its edge.
constexpr int Guard = 16;
// Circles and texts beyond these sizes in pixels are not handed to GDI as
// they are: a circle becomes the arc through the area, a text is skipped
// (the user has zoomed into one of its strokes).
constexpr double LargestEllipse = 1e5;
constexpr double LargestText = 2e4;

COLORREF Faint(COLORREF c)
{
    const auto toward = [](int v) { return 255 - (255 - v) * 3 / 10; };
    return RGB(toward(GetRValue(c)), toward(GetGValue(c)), toward(GetBValue(c)));
}

COLORREF ColourOf(Role role, bool dimmed)
{
    const COLORREF c = Gdi(preview::ColourOfRole(role));
    return dimmed && role != Role::Input ? Faint(c) : c;
}

// The face a text record names, as "<ＭＳ ゴシック>" or plain.
std::wstring FaceOf(const std::string& fontUtf8)
{
    std::wstring face = platform::WideFromUtf8(fontUtf8);
    if (face.size() >= 2 && face.front() == L'<' && face.back() == L'>')
        face = face.substr(1, face.size() - 2);
    return face.empty() ? L"MS Gothic" : face.substr(0, LF_FACESIZE - 1);
}

HFONT TextFont(const std::wstring& face, int height, int width, int escapement)
{
    return CreateFontW(-height, width, escapement, escapement, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS | CLIP_LH_ANGLES, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                       face.c_str());
}

// Pens and brushes for one pass, made once each rather than once a shape.
class GdiObjects {
public:
    GdiObjects() = default;
    GdiObjects(const GdiObjects&) = delete;
    GdiObjects& operator=(const GdiObjects&) = delete;
    ~GdiObjects()
    {
        for (auto& [key, pen] : pens_)
            DeleteObject(pen);
        for (auto& [key, brush] : brushes_)
            DeleteObject(brush);
        for (const FontKey& key : fonts_)
            DeleteObject(key.Font);
    }
    HPEN Pen(COLORREF colour, int width)
    {
        for (auto& [key, pen] : pens_)
            if (key == std::pair(colour, width))
                return pen;
        pens_.push_back({{colour, width}, CreatePen(PS_SOLID, width, colour)});
        return pens_.back().second;
    }
    // The texts of a drawing mostly share a few faces and sizes.
    HFONT Font(const std::wstring& face, int height, int width, int escapement)
    {
        for (const FontKey& key : fonts_)
            if (key.Face == face && key.Height == height && key.Width == width && key.Escapement == escapement)
                return key.Font;
        if (fonts_.size() >= 64) {
            DeleteObject(fonts_.front().Font);
            fonts_.erase(fonts_.begin());
        }
        fonts_.push_back({face, height, width, escapement, TextFont(face, height, width, escapement)});
        return fonts_.back().Font;
    }
    HBRUSH Brush(COLORREF colour)
    {
        for (auto& [key, brush] : brushes_)
            if (key == colour)
                return brush;
        brushes_.push_back({colour, CreateSolidBrush(colour)});
        return brushes_.back().second;
    }

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

// Points already cut to the guarded area fit GDI's coordinates.
POINT ToPoint(const Point& p) { return {static_cast<LONG>(std::lround(p.X)), static_cast<LONG>(std::lround(p.Y))}; }

std::vector<POINT> ToPoints(const std::vector<Point>& points)
{
    std::vector<POINT> out;
    out.reserve(points.size());
    for (const Point& p : points)
        out.push_back(ToPoint(p));
    return out;
}

std::vector<Point> InPixels(const preview::Fit& fit, const std::vector<Point>& points)
{
    std::vector<Point> out;
    out.reserve(points.size());
    for (const Point& p : points)
        out.push_back(fit.ToPixels(p));
    return out;
}

bool Inside(const Point& p, const preview::Box& box)
{
    return p.X >= box.MinX && p.X <= box.MaxX && p.Y >= box.MinY && p.Y <= box.MaxY;
}

bool Meets(const preview::Box& a, const preview::Box& b)
{
    return !a.Empty && !b.Empty && a.MinX <= b.MaxX && a.MaxX >= b.MinX && a.MinY <= b.MaxY && a.MaxY >= b.MinY;
}


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

    void Flush()
    {
        if (!Runs.empty())
            PolyPolyline(Dc, Points.data(), Runs.data(), static_cast<DWORD>(Runs.size()));
        Points.clear();
        Runs.clear();
    }
    Pass(HDC dc, const preview::Fit& fit, const DpiScale& scale, const preview::Box& box, bool gather)
        : Dc(dc), Fit(fit), Scale(scale), Box(box), Gather(gather)
    {
        SelectObject(Dc, GetStockObject(NULL_BRUSH));
    }
    // The DC gets the system's objects back before ours are deleted.
    ~Pass()
    {
        Flush();
        SelectObject(Dc, GetStockObject(BLACK_PEN));
        SelectObject(Dc, GetStockObject(WHITE_BRUSH));
        SelectObject(Dc, GetStockObject(SYSTEM_FONT));
    }
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    void UsePen(HPEN pen)
    {
        if (pen == Pen)
            return;
        Flush();
        SelectObject(Dc, pen);
        Pen = pen;
    }
};

// The text from its bottom left along its angle, stretched to the length
// its record gives it, as the host sets it.
void PaintText(Pass& pass, const Shape& s, COLORREF colour)
{
    // Too small to read, or zoomed into one stroke: nothing to set.
    const double heightPixels = s.Height * pass.Fit.Scale;
    if (!(heightPixels >= 2) || heightPixels > LargestText || s.Utf8.empty())
        return;
    preview::Box bounds;
    const preview::Box drawing = preview::ShapeBounds(s);
    bounds.Add(pass.Fit.ToPixels({drawing.MinX, drawing.MinY}).X, pass.Fit.ToPixels({drawing.MinX, drawing.MinY}).Y);
    bounds.Add(pass.Fit.ToPixels({drawing.MaxX, drawing.MaxY}).X, pass.Fit.ToPixels({drawing.MaxX, drawing.MaxY}).Y);
    if (!Meets(bounds, pass.Box) || bounds.Width() > LargestText * 100)
        return;
    pass.Flush();
    const std::wstring text = platform::WideFromUtf8(s.Utf8);
    const int height = static_cast<int>(std::lround(heightPixels));
    const std::wstring face = FaceOf(s.FontUtf8);
    HDC dc = pass.Dc;
    SelectObject(dc, pass.Objects.Font(face, height, 0, 0));
    SIZE natural{};
    TEXTMETRICW metrics{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &natural);
    GetTextMetricsW(dc, &metrics);
    const double wanted = s.Length * pass.Fit.Scale;
    int width = 0;
    if (natural.cx > 0 && wanted > 0)
        width = static_cast<int>(std::clamp(std::lround(metrics.tmAveCharWidth * wanted / natural.cx), 1L, 100000L));
    const int escapement = static_cast<int>(std::lround(std::fmod(s.AngleDeg, 360.0) * 10));
    SelectObject(dc, pass.Objects.Font(face, height, width, escapement));
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    const POINT at = ToPoint(pass.Fit.ToPixels(s.Centre));
    TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

void PaintLines(Pass& pass, const std::vector<Point>& pixels, bool closed)
{
    std::vector<Point> path = pixels;
    if (closed && !path.empty())
        path.push_back(path.front());
    for (const std::vector<Point>& run : preview::ClipPolyline(path, pass.Box)) {
        const std::vector<POINT> points = ToPoints(run);
        if (pass.Gather) {
            pass.Points.insert(pass.Points.end(), points.begin(), points.end());
            pass.Runs.push_back(static_cast<DWORD>(points.size()));
        } else {
            Polyline(pass.Dc, points.data(), static_cast<int>(points.size()));
        }
    }
}

void PaintFilled(Pass& pass, const std::vector<Point>& pixels)
{
    const std::vector<POINT> points = ToPoints(preview::ClipPolygon(pixels, pass.Box));
    if (points.size() >= 3)
        Polygon(pass.Dc, points.data(), static_cast<int>(points.size()));
}

void PaintCircle(Pass& pass, const Shape& s)
{
    const Point c = pass.Fit.ToPixels(s.Centre);
    const double r = std::max(1.0, s.Radius * pass.Fit.Scale);
    preview::Box bounds;
    bounds.Add(c.X - r, c.Y - r);
    bounds.Add(c.X + r, c.Y + r);
    if (!std::isfinite(r) || !Meets(bounds, pass.Box))
        return;
    if (r <= LargestEllipse && bounds.MinX > pass.Box.MinX - 4 * LargestEllipse &&
        bounds.MaxX < pass.Box.MaxX + 4 * LargestEllipse && bounds.MinY > pass.Box.MinY - 4 * LargestEllipse &&
        bounds.MaxY < pass.Box.MaxY + 4 * LargestEllipse) {
        const POINT centre = ToPoint(c);
        const int radius = static_cast<int>(std::lround(r));
        Ellipse(pass.Dc, centre.x - radius, centre.y - radius, centre.x + radius + 1, centre.y + radius + 1);
        return;
    }
    std::vector<Point> arc = preview::VisibleArc(c, r, pass.Box);
    if (arc.empty())
        return;
    if (s.Filled) {
        arc.push_back(c);  // the sector through the area holds all the circle covers of it
        PaintFilled(pass, arc);
    } else {
        PaintLines(pass, arc, false);
    }
}

void PaintShape(Pass& pass, const Shape& s, bool dimmed)
{
    const COLORREF colour = ColourOf(s.Style, dimmed && s.Style != Role::Input);
    if (s.Kind == ShapeKind::Text) {
        PaintText(pass, s, colour);
        return;
    }
    HDC dc = pass.Dc;
    pass.UsePen(pass.Objects.Pen(colour, std::max(1, pass.Scale.Length(s.Style == Role::Input ? 1 : 2))));
    const bool filled = s.Filled || s.Kind == ShapeKind::Dot;
    SelectObject(dc, filled ? static_cast<HGDIOBJ>(pass.Objects.Brush(colour)) : GetStockObject(NULL_BRUSH));
    switch (s.Kind) {
    case ShapeKind::Path: {
        const std::vector<Point> pixels = InPixels(pass.Fit, s.Points);
        if (s.Closed && s.Filled)
            PaintFilled(pass, pixels);
        else
            PaintLines(pass, pixels, s.Closed);
        break;
    }
    case ShapeKind::Circle:
        PaintCircle(pass, s);
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
        Ellipse(dc, c.x - radius, c.y - radius, c.x + radius + 1, c.y + radius + 1);
        MoveToEx(dc, c.x - arm, c.y, nullptr);
        LineTo(dc, c.x + arm + 1, c.y);
        MoveToEx(dc, c.x, c.y - arm, nullptr);
        LineTo(dc, c.x, c.y + arm + 1);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

preview::Box GuardedBox(int width, int height, const DpiScale& scale)
{
    preview::Box box;
    const int guard = scale.Length(Guard);
    box.Add(-guard, -guard);
    box.Add(width + guard, height + guard);
    return box;
}

// The input's shapes come first in a picture; counted from the end, where
// the few of the dimension are.
std::size_t InputCount(const preview::Picture& picture)
{
    std::size_t count = picture.Shapes.size();
    while (count > 0 && picture.Shapes[count - 1].Style != Role::Input)
        --count;
    return count;
}

}  // namespace

PreviewPainter::~PreviewPainter()
{
    if (input_ != nullptr)
        DeleteObject(input_);
    if (frame_ != nullptr)
        DeleteObject(frame_);
}

bool PreviewPainter::KeptFor(int width, int height, const preview::Fit& fit, int dpi, std::size_t inputCount) const
{
    // A view put back where it was (the strip took a line and gave it
    // back) may differ in the last bits of its origin: a millionth of a
    // pixel is the same picture.
    return input_ != nullptr && width == inputWidth_ && height == inputHeight_ && dpi == inputDpi_ &&
           inputCount == inputCount_ && fit.Scale == inputFit_.Scale &&
           std::fabs(fit.OriginX - inputFit_.OriginX) < 1e-6 && std::fabs(fit.OriginY - inputFit_.OriginY) < 1e-6;
}

void PreviewPainter::MakeInput(HDC dc, int width, int height, const preview::Picture& picture,
                               std::size_t inputCount, const preview::Fit& fit, const DpiScale& scale)
{
    if (input_ == nullptr || width != inputWidth_ || height != inputHeight_) {
        if (input_ != nullptr)
            DeleteObject(input_);
        input_ = CreateCompatibleBitmap(dc, width, height);
    }
    inputWidth_ = width;
    inputHeight_ = height;
    inputDpi_ = scale.Dpi;
    inputCount_ = inputCount;
    inputFit_ = fit;
    HDC memory = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(memory, input_);
    const RECT all{0, 0, width, height};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    {
        Pass pass(memory, fit, scale, GuardedBox(width, height, scale), true);
        for (std::size_t i = 0; i < inputCount; ++i)
            PaintShape(pass, picture.Shapes[i], false);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
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

bool PreviewPainter::Paint(HDC dc, const RECT& area, int keptHeight, const preview::Picture& picture,
                           const preview::Fit& fit, const DpiScale& scale, bool shiftOnly)
{
    const int width = std::max(1L, area.right - area.left), height = std::max(1L, area.bottom - area.top);
    const int inputHeight = std::max(height, keptHeight);
    const std::size_t inputCount = InputCount(picture);
    bool shifted = false;
    int dx = 0, dy = 0;
    if (!KeptFor(width, inputHeight, fit, scale.Dpi, inputCount)) {
        const double moveX = fit.OriginX - inputFit_.OriginX, moveY = fit.OriginY - inputFit_.OriginY;
        shifted = shiftOnly && input_ != nullptr && width == inputWidth_ && inputHeight == inputHeight_ &&
                  scale.Dpi == inputDpi_ && inputCount == inputCount_ && fit.Scale == inputFit_.Scale &&
                  std::fabs(moveX) < width && std::fabs(moveY) < height;
        if (shifted) {
            dx = static_cast<int>(std::lround(moveX));
            dy = static_cast<int>(std::lround(moveY));
        } else {
            MakeInput(dc, width, inputHeight, picture, inputCount, fit, scale);
        }
    }
    MakeFrame(dc, width, height);
    // Composed off screen and copied in one go: no flicker while the user
    // types or drags.
    HDC frame = CreateCompatibleDC(dc);
    HDC input = CreateCompatibleDC(dc);
    const HGDIOBJ oldFrame = SelectObject(frame, frame_);
    const HGDIOBJ oldInput = SelectObject(input, input_);
    if (shifted) {
        const RECT all{0, 0, width, height};
        FillRect(frame, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    BitBlt(frame, dx, dy, width, height, input, 0, 0, SRCCOPY);
    {
        Pass pass(frame, fit, scale, GuardedBox(width, height, scale), false);
        // The picked points beneath the dimension, which they must not hide.
        PaintPicks(pass, picture, width, height);
        for (std::size_t i = inputCount; i < picture.Shapes.size(); ++i)
            PaintShape(pass, picture.Shapes[i], picture.OutputDimmed);
    }
    BitBlt(dc, area.left, area.top, width, height, frame, 0, 0, SRCCOPY);
    SelectObject(input, oldInput);
    SelectObject(frame, oldFrame);
    DeleteDC(input);
    DeleteDC(frame);
    return shifted;
}

}  // namespace win32
