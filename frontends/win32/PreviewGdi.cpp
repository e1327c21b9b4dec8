#include "frontends/win32/PreviewGdi.h"

#include <algorithm>
#include <cmath>

#include "platform/WideText.h"
#include "preview/PixelClip.h"

namespace win32 {

namespace {

using preview::Point;

// Circles and texts beyond these sizes in pixels are not handed to GDI as
// they are: a circle becomes the arc through the area, a text is skipped
// (the user has zoomed into one of its strokes).
constexpr double LargestEllipse = 1e5;
constexpr double LargestText = 2e4;
// Texts lower than this many pixels are not set: nothing of them could be read.
constexpr double SmallestText = 2;

COLORREF Faint(COLORREF c)
{
    const auto toward = [](int v) { return 255 - (255 - v) * 3 / 10; };
    return RGB(toward(GetRValue(c)), toward(GetGValue(c)), toward(GetBValue(c)));
}

// The face a text record names, as "<ＭＳ ゴシック>" or plain.
std::wstring FaceOf(std::wstring face)
{
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

// Edges count: a line along the view's edge, or a point on it, is in view.
bool Touches(const preview::Box& a, const preview::Box& b)
{
    return !a.Empty && !b.Empty && a.MinX <= b.MaxX && a.MaxX >= b.MinX && a.MinY <= b.MaxY && a.MaxY >= b.MinY;
}

std::vector<POINT> ToPoints(const std::vector<Point>& points)
{
    std::vector<POINT> out;
    out.reserve(points.size());
    for (const Point& p : points)
        out.push_back(ToPoint(p));
    return out;
}

}  // namespace

COLORREF ColourOf(preview::Role role, bool dimmed)
{
    const COLORREF c = Gdi(preview::ColourOfRole(role));
    return dimmed && role != preview::Role::Input ? Faint(c) : c;
}

GdiObjects::~GdiObjects()
{
    for (auto& [key, pen] : pens_)
        DeleteObject(pen);
    for (auto& [key, brush] : brushes_)
        DeleteObject(brush);
    for (const FontKey& key : fonts_)
        DeleteObject(key.Font);
}

HPEN GdiObjects::Pen(COLORREF colour, int width)
{
    for (auto& [key, pen] : pens_)
        if (key == std::pair(colour, width))
            return pen;
    pens_.push_back({{colour, width}, CreatePen(PS_SOLID, width, colour)});
    return pens_.back().second;
}

HFONT GdiObjects::Font(const std::wstring& face, int height, int width, int escapement)
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

HBRUSH GdiObjects::Brush(COLORREF colour)
{
    for (auto& [key, brush] : brushes_)
        if (key == colour)
            return brush;
    brushes_.push_back({colour, CreateSolidBrush(colour)});
    return brushes_.back().second;
}

Pass::Pass(HDC dc, const preview::Fit& fit, const DpiScale& scale, const preview::Box& box, bool gather)
    : Dc(dc), Fit(fit), Scale(scale), Box(box), Gather(gather)
{
    SelectObject(Dc, GetStockObject(NULL_BRUSH));
}

Pass::~Pass()
{
    Flush();
    SelectObject(Dc, GetStockObject(BLACK_PEN));
    SelectObject(Dc, GetStockObject(WHITE_BRUSH));
    SelectObject(Dc, GetStockObject(SYSTEM_FONT));
}

void Pass::Flush()
{
    if (!Runs.empty())
        PolyPolyline(Dc, Points.data(), Runs.data(), static_cast<DWORD>(Runs.size()));
    Points.clear();
    Runs.clear();
}

void Pass::UsePen(HPEN pen)
{
    if (pen == Pen)
        return;
    Flush();
    SelectObject(Dc, pen);
    Pen = pen;
}

preview::Box GuardedBox(int width, int height, const DpiScale& scale)
{
    preview::Box box;
    const int guard = scale.Length(Guard);
    box.Add(-guard, -guard);
    box.Add(width + guard, height + guard);
    return box;
}

POINT ToPoint(const Point& p) { return {static_cast<LONG>(std::lround(p.X)), static_cast<LONG>(std::lround(p.Y))}; }

bool PaintText(Pass& pass, const Point& at, double angleDeg, double height, double length, const std::wstring& text,
               const std::wstring& font, COLORREF colour)
{
    const double heightPixels = height * pass.Fit.Scale;
    if (!(heightPixels >= SmallestText))
        return false;
    if (heightPixels > LargestText || text.empty())
        return true;
    // Where the text's box lies in pixels, from its corners.
    const double a = angleDeg * 3.14159265358979323846 / 180;
    const double ux = std::cos(a), uy = std::sin(a);
    preview::Box bounds;
    for (const double along : {0.0, length})
        for (const double up : {0.0, height}) {
            const Point p = pass.Fit.ToPixels({at.X + along * ux - up * uy, at.Y + along * uy + up * ux});
            bounds.Add(p.X, p.Y);
        }
    if (!Touches(bounds, pass.Box) || bounds.Width() > LargestText * 100)
        return true;
    const int pixels = static_cast<int>(std::lround(heightPixels));
    const std::wstring face = FaceOf(font);
    HDC dc = pass.Dc;
    SelectObject(dc, pass.Objects.Font(face, pixels, 0, 0));
    SIZE natural{};
    TEXTMETRICW metrics{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &natural);
    GetTextMetricsW(dc, &metrics);
    const double wanted = length * pass.Fit.Scale;
    int width = 0;
    if (natural.cx > 0 && wanted > 0)
        width = static_cast<int>(std::clamp(std::lround(metrics.tmAveCharWidth * wanted / natural.cx), 1L, 100000L));
    const int escapement = static_cast<int>(std::lround(std::fmod(angleDeg, 360.0) * 10));
    SelectObject(dc, pass.Objects.Font(face, pixels, width, escapement));
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    const POINT origin = ToPoint(pass.Fit.ToPixels(at));
    TextOutW(dc, origin.x, origin.y, text.c_str(), static_cast<int>(text.size()));
    return true;
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

void PaintSegment(Pass& pass, Point a, Point b)
{
    if (!preview::ClipSegment(a, b, pass.Box))
        return;
    const POINT ends[2] = {ToPoint(a), ToPoint(b)};
    if (pass.Gather) {
        pass.Points.insert(pass.Points.end(), ends, ends + 2);
        pass.Runs.push_back(2);
    } else {
        Polyline(pass.Dc, ends, 2);
    }
}

void PaintFilled(Pass& pass, const std::vector<Point>& pixels)
{
    const std::vector<POINT> points = ToPoints(preview::ClipPolygon(pixels, pass.Box));
    if (points.size() >= 3)
        Polygon(pass.Dc, points.data(), static_cast<int>(points.size()));
}

void PaintCircle(Pass& pass, const Point& centre, double radius, bool filled)
{
    const Point c = pass.Fit.ToPixels(centre);
    const double r = std::max(1.0, radius * pass.Fit.Scale);
    preview::Box bounds;
    bounds.Add(c.X - r, c.Y - r);
    bounds.Add(c.X + r, c.Y + r);
    if (!std::isfinite(r) || !Touches(bounds, pass.Box))
        return;
    if (r <= LargestEllipse && bounds.MinX > pass.Box.MinX - 4 * LargestEllipse &&
        bounds.MaxX < pass.Box.MaxX + 4 * LargestEllipse && bounds.MinY > pass.Box.MinY - 4 * LargestEllipse &&
        bounds.MaxY < pass.Box.MaxY + 4 * LargestEllipse) {
        const POINT at = ToPoint(c);
        const int pixels = static_cast<int>(std::lround(r));
        Ellipse(pass.Dc, at.x - pixels, at.y - pixels, at.x + pixels + 1, at.y + pixels + 1);
        return;
    }
    std::vector<Point> arc = preview::VisibleArc(c, r, pass.Box);
    if (arc.empty())
        return;
    if (filled) {
        arc.push_back(c);  // the sector through the area holds all the circle covers of it
        PaintFilled(pass, arc);
    } else {
        PaintLines(pass, arc, false);
    }
}

}  // namespace win32
