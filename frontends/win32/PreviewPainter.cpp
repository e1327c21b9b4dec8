#include "frontends/win32/PreviewPainter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/WideText.h"
#include "preview/Fit.h"

namespace win32 {

namespace {

using preview::Point;
using preview::Role;
using preview::Shape;
using preview::ShapeKind;

// The SVG picture's palette, so both painters look alike.
constexpr COLORREF InputColour = RGB(0x9a, 0x9a, 0x9a);
constexpr COLORREF LineColour = RGB(0x1f, 0x5f, 0xbf);
constexpr COLORREF MarkerColour = RGB(0xd0, 0x3a, 0x2b);
constexpr COLORREF TextColour = RGB(0x1a, 0x7f, 0x37);
constexpr COLORREF PickColour = RGB(0xe0, 0x8a, 0x00);
// In 96-DPI pixels.
constexpr int MarginPixels = 24;
constexpr int PickRadius = 5;
constexpr int PickArm = 8;
constexpr int PickLabelHeight = 12;
constexpr int DotRadius = 2;

COLORREF Faint(COLORREF c)
{
    const auto toward = [](int v) { return 255 - (255 - v) * 3 / 10; };
    return RGB(toward(GetRValue(c)), toward(GetGValue(c)), toward(GetBValue(c)));
}

COLORREF ColourOf(Role role, bool dimmed)
{
    COLORREF c = InputColour;
    switch (role) {
    case Role::Input: return InputColour;
    case Role::OutputLine: c = LineColour; break;
    case Role::OutputMarker: c = MarkerColour; break;
    case Role::OutputText: c = TextColour; break;
    }
    return dimmed ? Faint(c) : c;
}

POINT Pixel(const preview::Fit& fit, const Point& p)
{
    const Point q = fit.ToPixels(p);
    return {static_cast<LONG>(std::lround(q.X)), static_cast<LONG>(std::lround(q.Y))};
}

// The face a text record names, as "<ＭＳ ゴシック>" or plain.
std::wstring FaceOf(const std::string& fontUtf8)
{
    std::wstring face = platform::WideFromUtf8(fontUtf8);
    if (face.size() >= 2 && face.front() == L'<' && face.back() == L'>')
        face = face.substr(1, face.size() - 2);
    return face.empty() ? L"MS Gothic" : face.substr(0, LF_FACESIZE - 1);
}

HFONT TextFont(const std::wstring& face, int height, int width, double angleDeg)
{
    const int escapement = static_cast<int>(std::lround(angleDeg * 10));
    return CreateFontW(-height, width, escapement, escapement, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS | CLIP_LH_ANGLES, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                       face.c_str());
}

// The text from its bottom left along its angle, stretched to the length
// its record gives it, as the host sets it.
void PaintText(HDC dc, const preview::Fit& fit, const Shape& s, COLORREF colour)
{
    const int height = static_cast<int>(std::lround(s.Height * fit.Scale));
    const std::wstring text = platform::WideFromUtf8(s.Utf8);
    if (height < 2 || text.empty())
        return;
    const std::wstring face = FaceOf(s.FontUtf8);
    HFONT font = TextFont(face, height, 0, 0);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE natural{};
    TEXTMETRICW metrics{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &natural);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    const double wanted = s.Length * fit.Scale;
    int width = 0;
    if (natural.cx > 0 && wanted > 0)
        width = std::max(1, static_cast<int>(std::lround(metrics.tmAveCharWidth * wanted / natural.cx)));
    font = TextFont(face, height, width, s.AngleDeg);
    old = SelectObject(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    const POINT at = Pixel(fit, s.Centre);
    TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
    DeleteObject(font);
}

void PaintShape(HDC dc, const preview::Fit& fit, const Shape& s, bool dimmed, const DpiScale& scale)
{
    const COLORREF colour = ColourOf(s.Style, dimmed && s.Style != Role::Input);
    if (s.Kind == ShapeKind::Text) {
        PaintText(dc, fit, s, colour);
        return;
    }
    HPEN pen = CreatePen(PS_SOLID, std::max(1, scale.Length(s.Style == Role::Input ? 1 : 2)), colour);
    HBRUSH brush = s.Filled || s.Kind == ShapeKind::Dot ? CreateSolidBrush(colour) : nullptr;
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HGDIOBJ oldBrush = SelectObject(dc, brush != nullptr ? brush : GetStockObject(NULL_BRUSH));
    switch (s.Kind) {
    case ShapeKind::Path: {
        std::vector<POINT> points;
        for (const Point& p : s.Points)
            points.push_back(Pixel(fit, p));
        if (s.Closed)
            Polygon(dc, points.data(), static_cast<int>(points.size()));
        else
            Polyline(dc, points.data(), static_cast<int>(points.size()));
        break;
    }
    case ShapeKind::Circle: {
        const POINT c = Pixel(fit, s.Centre);
        const int r = std::max(1, static_cast<int>(std::lround(s.Radius * fit.Scale)));
        Ellipse(dc, c.x - r, c.y - r, c.x + r + 1, c.y + r + 1);
        break;
    }
    case ShapeKind::Dot: {
        const POINT c = Pixel(fit, s.Centre);
        const int r = scale.Length(DotRadius);
        Ellipse(dc, c.x - r, c.y - r, c.x + r + 1, c.y + r + 1);
        break;
    }
    case ShapeKind::Text:
        break;
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    if (brush != nullptr)
        DeleteObject(brush);
}

void PaintPicks(HDC dc, const preview::Fit& fit, const std::vector<preview::PickedMark>& picks,
                const DpiScale& scale)
{
    const int radius = scale.Length(PickRadius), arm = scale.Length(PickArm);
    HPEN pen = CreatePen(PS_SOLID, std::max(1, scale.Length(1)), PickColour);
    HFONT font = CreateFontW(-scale.Length(PickLabelHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"MS Gothic");
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, PickColour);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BOTTOM | TA_LEFT | TA_NOUPDATECP);
    for (const preview::PickedMark& pick : picks) {
        const POINT c = Pixel(fit, pick.At);
        Ellipse(dc, c.x - radius, c.y - radius, c.x + radius + 1, c.y + radius + 1);
        MoveToEx(dc, c.x - arm, c.y, nullptr);
        LineTo(dc, c.x + arm + 1, c.y);
        MoveToEx(dc, c.x, c.y - arm, nullptr);
        LineTo(dc, c.x, c.y + arm + 1);
        const std::wstring number = std::to_wstring(pick.Number);
        TextOutW(dc, c.x + arm, c.y - arm / 2, number.c_str(), static_cast<int>(number.size()));
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldFont);
    DeleteObject(pen);
    DeleteObject(font);
}

}  // namespace

void PaintPicture(HDC dc, const RECT& area, const preview::Picture& picture, const DpiScale& scale)
{
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const preview::Fit fit = preview::FitInto(preview::PictureBounds(picture), area.right - area.left,
                                              area.bottom - area.top, scale.Length(MarginPixels));
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SetViewportOrgEx(dc, area.left, area.top, nullptr);
    // The input first, then the dimension over it, then the picked points on top.
    for (const Shape& s : picture.Shapes)
        if (s.Style == Role::Input)
            PaintShape(dc, fit, s, false, scale);
    for (const Shape& s : picture.Shapes)
        if (s.Style != Role::Input)
            PaintShape(dc, fit, s, picture.OutputDimmed, scale);
    PaintPicks(dc, fit, picture.Picked, scale);
    RestoreDC(dc, saved);
}

}  // namespace win32
