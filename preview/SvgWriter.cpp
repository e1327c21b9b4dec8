#include "preview/Palette.h"
#include "preview/SvgWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "preview/Fit.h"

namespace preview {

namespace {

// Everything that is not drawing geometry (picked-point marks, dots, the
// legend, line widths) is sized in units of one hundredth of the drawing's
// extent, so the picture reads the same at any drawing size.
constexpr double UnitsPerExtent = 100.0;
constexpr double MarginUnits = 8.0;
constexpr double PickRadiusUnits = 1.2;
constexpr double PickArmUnits = 1.8;
constexpr double PickLabelUnits = 3.0;
constexpr double DotUnits = 0.5;
constexpr double LegendUnits = 2.8;
constexpr double LegendLineSpacing = 1.5;
constexpr double PicturePixels = 900.0;

// Each part's colour, from the palette the window paints with, and its group's id.
struct Palette {
    preview::Colour Rgb;
    const char* Id;

    std::string Colour() const { return HexOf(Rgb); }
};

constexpr Palette InputStyle{InputColour, "input"};
constexpr Palette LineStyle{LineColour, "output-lines"};
constexpr Palette MarkerStyle{MarkerColour, "output-markers"};
constexpr Palette TextStyle{TextColour, "output-texts"};
constexpr Palette PickStyle{PickColour, "picked-points"};
constexpr const char* LegendColour = "#222222";

const Palette& StyleOf(Role role)
{
    switch (role) {
    case Role::Input: return InputStyle;
    case Role::OutputLine: return LineStyle;
    case Role::OutputMarker: return MarkerStyle;
    case Role::OutputText: return TextStyle;
    }
    return InputStyle;
}

// A rough advance for a legend character: full-width scripts take a whole
// em, everything else about six tenths.
double EstimatedWidth(const std::string& utf8, double size)
{
    double width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        width += length >= 3 ? size : 0.6 * size;
        i += static_cast<std::size_t>(length);
    }
    return width;
}

struct LegendLine {
    std::string Utf8;  // already escaped
    double Width = 0;
};

// The caption lines, then the colour key, each word in its colour.
std::vector<LegendLine> LegendLines(const Picture& picture, double size)
{
    std::vector<LegendLine> lines;
    std::string key;
    std::string keyPlain;
    for (const auto& [palette, name] : {std::pair{&InputStyle, "input"}, std::pair{&LineStyle, "output lines"},
                                        std::pair{&MarkerStyle, "markers"}, std::pair{&TextStyle, "texts"},
                                        std::pair{&PickStyle, "picked points"}}) {
        key += std::string(key.empty() ? "" : ", ") + "<tspan fill=\"" + palette->Colour() + "\">" + name + "</tspan>";
        keyPlain += std::string(keyPlain.empty() ? "" : ", ") + name;
    }
    for (const std::string& text : picture.Caption)
        lines.push_back({EscapeXml(text), EstimatedWidth(text, size)});
    lines.push_back({key, EstimatedWidth(keyPlain, size)});
    return lines;
}

class SvgBuilder {
public:
    explicit SvgBuilder(int decimals) : decimals_(decimals) {}

    std::string X(double x) const { return FormatNumber(x, decimals_); }
    // Drawing y points up, SVG y down.
    std::string Y(double y) const { return FormatNumber(-y, decimals_); }
    std::string L(double length) const { return FormatNumber(length, decimals_); }
    std::string Xy(const Point& p) const { return X(p.X) + "," + Y(p.Y); }

    std::string& Out() { return out_; }

    void Shape(const preview::Shape& s, double unit)
    {
        const std::string colour = StyleOf(s.Style).Colour();
        const std::string fill = s.Filled ? std::string(" fill=\"") + colour + "\"" : std::string();
        switch (s.Kind) {
        case ShapeKind::Path:
            if (s.Points.size() == 2 && !s.Closed) {
                out_ += "<line x1=\"" + X(s.Points[0].X) + "\" y1=\"" + Y(s.Points[0].Y) + "\" x2=\"" +
                        X(s.Points[1].X) + "\" y2=\"" + Y(s.Points[1].Y) + "\"/>\n";
            } else {
                out_ += s.Closed ? "<polygon" : "<polyline";
                out_ += fill + " points=\"";
                for (std::size_t i = 0; i < s.Points.size(); ++i)
                    out_ += (i ? " " : "") + Xy(s.Points[i]);
                out_ += "\"/>\n";
            }
            break;
        case ShapeKind::Circle:
            out_ += "<circle" + fill + " cx=\"" + X(s.Centre.X) + "\" cy=\"" + Y(s.Centre.Y) + "\" r=\"" +
                    L(s.Radius) + "\"/>\n";
            break;
        case ShapeKind::Dot:
            out_ += std::string("<circle fill=\"") + colour + "\" stroke=\"none\" cx=\"" + X(s.Centre.X) +
                    "\" cy=\"" + Y(s.Centre.Y) + "\" r=\"" + L(DotUnits * unit) + "\"/>\n";
            break;
        case ShapeKind::Text: {
            const std::string x = X(s.Centre.X), y = Y(s.Centre.Y);
            out_ += std::string("<text fill=\"") + colour + "\" stroke=\"none\" x=\"" + x + "\" y=\"" + y +
                    "\" font-size=\"" + L(s.Height) + "\"";
            // SVG turns clockwise with y down: the drawing's angle negated.
            if (s.AngleDeg != 0)
                out_ += " transform=\"rotate(" + FormatNumber(-s.AngleDeg, 6) + " " + x + " " + y + ")\"";
            if (s.Length > 0 && !s.Utf8.empty())
                out_ += " textLength=\"" + L(s.Length) + "\" lengthAdjust=\"spacingAndGlyphs\"";
            out_ += ">" + EscapeXml(s.Utf8) + "</text>\n";
            break;
        }
        }
    }

private:
    int decimals_;
    std::string out_;
};

}  // namespace

std::string EscapeXml(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                break;  // not a character XML 1.0 allows
            out += c;
        }
    }
    return out;
}

std::string FormatNumber(double value, int decimals)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    std::string text(buffer, result.ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
}

std::string WriteSvg(const Picture& preview)
{
    Box drawing = PictureBounds(preview);
    double extent = std::max(drawing.Width(), drawing.Height());
    if (!(extent > 1e-9))
        extent = 10.0;
    const double unit = extent / UnitsPerExtent;
    // About a thousandth of a unit survives the rounding of coordinates.
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(unit))) + 3, 0, 12);

    // Picked-point marks and labels stand out from their points.
    for (const PickedMark& p : preview.Picked) {
        drawing.Add(p.At.X - PickArmUnits * unit, p.At.Y - PickArmUnits * unit);
        drawing.Add(p.At.X + PickArmUnits * unit, p.At.Y + PickArmUnits * unit);
        const double labelX = p.At.X + PickArmUnits * unit;
        drawing.Add(labelX + EstimatedWidth(std::to_string(p.Number), PickLabelUnits * unit),
                    p.At.Y + (PickArmUnits + PickLabelUnits) * unit);
    }
    for (const Shape& s : preview.Shapes)
        if (s.Kind == ShapeKind::Dot) {
            drawing.Add(s.Centre.X - DotUnits * unit, s.Centre.Y - DotUnits * unit);
            drawing.Add(s.Centre.X + DotUnits * unit, s.Centre.Y + DotUnits * unit);
        }

    // The legend sits below the drawing, its first baseline a margin lower.
    const double legendSize = LegendUnits * unit;
    const std::vector<LegendLine> legend = LegendLines(preview, legendSize);
    const double legendX = drawing.MinX;
    const double legendTop = drawing.MinY - MarginUnits * unit;
    Box all = drawing;
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const double baseline = legendTop - (static_cast<double>(i) + 1) * LegendLineSpacing * legendSize;
        all.Add(legendX, baseline - 0.3 * legendSize);  // descenders
        all.Add(legendX + legend[i].Width, baseline + legendSize);
    }

    const double margin = MarginUnits * unit;
    const double left = all.MinX - margin, top = all.MaxY + margin;
    const double width = all.Width() + 2 * margin, height = all.Height() + 2 * margin;
    const double longest = std::max(width, height);
    const long pixelsWide = std::max(1L, std::lround(PicturePixels * width / longest));
    const long pixelsHigh = std::max(1L, std::lround(PicturePixels * height / longest));

    SvgBuilder svg(decimals);
    std::string& out = svg.Out();
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(pixelsWide) + "\" height=\"" +
           std::to_string(pixelsHigh) + "\" viewBox=\"" + svg.X(left) + " " + svg.Y(top) + " " + svg.L(width) +
           " " + svg.L(height) + "\">\n";
    out += "<title>" + EscapeXml(preview.Title) + "</title>\n";
    out += "<rect fill=\"#ffffff\" stroke=\"none\" x=\"" + svg.X(left) + "\" y=\"" + svg.Y(top) + "\" width=\"" + svg.L(width) +
           "\" height=\"" + svg.L(height) + "\"/>\n";

    const std::string thin = svg.L(0.15 * unit), thick = svg.L(0.25 * unit);
    for (const Palette* style : {&InputStyle, &LineStyle, &MarkerStyle, &TextStyle}) {
        // An output that can no longer be drawn shows faintly.
        const bool faint = preview.OutputDimmed && style != &InputStyle;
        out += std::string("<g id=\"") + style->Id + "\" stroke=\"" + style->Colour() + "\" stroke-width=\"" +
               (style == &InputStyle ? thin : thick) +
               "\" fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\" font-family=\"sans-serif\""
               " xml:space=\"preserve\"" + (faint ? " opacity=\"0.3\"" : "") + ">\n";
        for (const Shape& s : preview.Shapes)
            if (&StyleOf(s.Style) == style)
                svg.Shape(s, unit);
        out += "</g>\n";
    }

    out += std::string("<g id=\"") + PickStyle.Id + "\" stroke=\"" + PickStyle.Colour() + "\" stroke-width=\"" +
           thin + "\" fill=\"none\" font-family=\"sans-serif\">\n";
    for (const PickedMark& p : preview.Picked) {
        const double arm = PickArmUnits * unit;
        if (p.Span > 0) {
            // A value's grip: a square, told apart from the points picked.
            const double r = PickRadiusUnits * unit;
            out += "<rect x=\"" + svg.X(p.At.X - r) + "\" y=\"" + svg.Y(p.At.Y + r) + "\" width=\"" + svg.L(2 * r) +
                   "\" height=\"" + svg.L(2 * r) + "\"/>\n";
            continue;
        }
        out += "<circle cx=\"" + svg.X(p.At.X) + "\" cy=\"" + svg.Y(p.At.Y) + "\" r=\"" +
               svg.L(PickRadiusUnits * unit) + "\"/>\n";
        out += "<line x1=\"" + svg.X(p.At.X - arm) + "\" y1=\"" + svg.Y(p.At.Y) + "\" x2=\"" + svg.X(p.At.X + arm) +
               "\" y2=\"" + svg.Y(p.At.Y) + "\"/>\n";
        out += "<line x1=\"" + svg.X(p.At.X) + "\" y1=\"" + svg.Y(p.At.Y - arm) + "\" x2=\"" + svg.X(p.At.X) +
               "\" y2=\"" + svg.Y(p.At.Y + arm) + "\"/>\n";
        out += std::string("<text fill=\"") + PickStyle.Colour() + "\" stroke=\"none\" x=\"" + svg.X(p.At.X + arm) +
               "\" y=\"" + svg.Y(p.At.Y + arm) + "\" font-size=\"" + svg.L(PickLabelUnits * unit) + "\">" +
               std::to_string(p.Number) + "</text>\n";
    }
    out += "</g>\n";

    out += std::string("<g id=\"legend\" fill=\"") + LegendColour + "\" stroke=\"none\" font-family=\"sans-serif\" font-size=\"" +
           svg.L(legendSize) + "\">\n";
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const double baseline = legendTop - (static_cast<double>(i) + 1) * LegendLineSpacing * legendSize;
        out += "<text x=\"" + svg.X(legendX) + "\" y=\"" + svg.Y(baseline) + "\">" + legend[i].Utf8 + "</text>\n";
    }
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace preview
