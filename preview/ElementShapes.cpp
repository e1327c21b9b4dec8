#include "preview/ElementShapes.h"

#include <cmath>

#include "helpers/MyFunc.h"
#include "platform/Charset.h"
#include "preview/MarkerShapes.h"

namespace preview {

namespace {

bool AllUsable(const double* values, int count)
{
    for (int i = 0; i < count; ++i)
        if (!Usable(values[i]))
            return false;
    return true;
}

Shape LineShape(double x1, double y1, double x2, double y2, Role role)
{
    Shape shape;
    shape.Kind = ShapeKind::Path;
    shape.Style = role;
    shape.Points = {{x1, y1}, {x2, y2}};
    return shape;
}

bool LineIsUsable(const LineElement& line)
{
    const double v[] = {line.X1, line.Y1, line.X2, line.Y2};
    return AllUsable(v, 4);
}

// Segments of one polyline that meet end to start become one path.
void AddLine(const LineElement& line, Role role, int32_t& openPolyline, std::vector<Shape>& out)
{
    if (line.PolylineNumber != 0 && line.PolylineNumber == openPolyline && !out.empty()) {
        Point& last = out.back().Points.back();
        if (last.X == line.X1 && last.Y == line.Y1) {
            out.back().Points.push_back({line.X2, line.Y2});
            return;
        }
    }
    out.push_back(LineShape(line.X1, line.Y1, line.X2, line.Y2, role));
    openPolyline = line.PolylineNumber;
}

}  // namespace

double ScaleOf(const double (&scales)[LayerGroupCount], int32_t group)
{
    // The reader keeps layer groups in range; a stray value falls back to 1:1.
    return group >= 0 && group < LayerGroupCount ? scales[group] : 1.0;
}

int Tally::UndrawnTotal() const
{
    int total = 0;
    for (const auto& [what, count] : Undrawn)
        total += count;
    return total;
}

bool AddCircleShape(const CircleElement& circle, Role role, std::vector<Shape>& out)
{
    const double* v = circle.Values;  // x, y, radius
    if (!AllUsable(v, 3) || !(v[2] > 0))
        return false;
    Shape shape;
    shape.Kind = ShapeKind::Circle;
    shape.Style = role;
    shape.Centre = {v[0], v[1]};
    shape.Radius = v[2];
    out.push_back(std::move(shape));
    return true;
}

bool AddArcShape(const ArcElement& arc, Role role, std::vector<Shape>& out)
{
    // x, y, radius, start and end angle (degrees), flatness (minor / major
    // radius), tilt of the major axis (degrees). Angles are taken on the
    // untilted ellipse and run counter-clockwise from start to end.
    const double* v = arc.Values;
    if (!AllUsable(v, 7) || !(v[2] > 0) || !(v[5] > 0) || !Usable(v[2] * v[5]))
        return false;
    const double cx = v[0], cy = v[1], r = v[2], flat = v[5];
    double sweep = NormalizeDeg(v[4] - v[3]);
    if (sweep <= 0)
        sweep = 360;  // equal angles: the whole ellipse
    const int steps = std::max(8, static_cast<int>(std::ceil(sweep / 5.0)));
    const double tc = std::cos(Radians(v[6])), ts = std::sin(Radians(v[6]));

    Shape shape;
    shape.Kind = ShapeKind::Path;
    shape.Style = role;
    shape.Closed = sweep >= 360;
    const int last = shape.Closed ? steps - 1 : steps;
    for (int i = 0; i <= last; ++i) {
        const double t = Radians(v[3] + sweep * i / steps);
        const double u = r * std::cos(t), w = r * flat * std::sin(t);
        shape.Points.push_back({cx + u * tc - w * ts, cy + u * ts + w * tc});
    }
    out.push_back(std::move(shape));
    return true;
}

bool TextIsDrawable(const TextElement& text, double scale)
{
    const double v[] = {text.X, text.Y, text.Dx, text.Dy, text.Width, text.Height, text.Spacing, scale};
    if (!AllUsable(v, 8))
        return false;
    if (std::fabs(text.Dx) <= 1e-8 && std::fabs(text.Dy) <= 1e-8)
        return false;  // no direction, as the emitters see it
    return Usable(text.Height * scale) && Usable(TextWidth(text.Text, text.Width, text.Spacing) * scale);
}

bool TextShapeNumbers(const TextElement& text, double scale, Role role, Shape& shape)
{
    if (!TextIsDrawable(text, scale))
        return false;
    shape = Shape{};
    shape.Kind = ShapeKind::Text;
    shape.Style = role;
    shape.Centre = {text.X, text.Y};
    shape.AngleDeg = AngleDeg(text.Dx, text.Dy);
    shape.Height = std::fabs(text.Height * scale);
    shape.Length = std::fabs(TextWidth(text.Text, text.Width, text.Spacing) * scale);
    return Usable(shape.Height) && Usable(shape.Length);
}

bool AddTextShape(const TextElement& text, double scale, Role role, std::vector<Shape>& out)
{
    Shape shape;
    if (!TextShapeNumbers(text, scale, role, shape))
        return false;
    shape.Utf8 = platform::SjisToUtf8(text.Text);
    // A drawing's texts mostly share one font: its name is converted once.
    thread_local std::string lastFont, lastFontUtf8;
    if (text.FontName != lastFont || lastFontUtf8.empty()) {
        lastFont = text.FontName;
        lastFontUtf8 = platform::SjisToUtf8(text.FontName);
    }
    shape.FontUtf8 = lastFontUtf8;
    out.push_back(std::move(shape));
    return true;
}

void AddEntryShapes(const DrawingStateRecord& state, const ElementOrderEntry& entry,
                    const double (&scales)[LayerGroupCount], const RoleSet& roles, int32_t& openPolyline,
                    std::vector<Shape>& out, Tally& tally)
{
    const auto index = static_cast<std::size_t>(entry.Index);
    if (entry.Kind != KindLine)
        openPolyline = 0;
    bool drawn = false;
    // Named only when counted as left out: an entry costs no string.
    const char* what = "element of unknown kind";
    int markerCode = 0;
    switch (entry.Kind) {
    case KindLine: {
        const LineElement& line = state.Lines[index];
        what = "line with unusable values";
        if ((drawn = LineIsUsable(line)))
            AddLine(line, roles.Line, openPolyline, out);
        break;
    }
    case KindCircle:
        what = "circle";
        drawn = AddCircleShape(state.Circles[index], roles.Line, out);
        break;
    case KindArc:
        what = "arc";
        drawn = AddArcShape(state.Arcs[index], roles.Line, out);
        break;
    case KindText: {
        const TextElement& text = state.Texts[index];
        what = "text";
        drawn = AddTextShape(text, ScaleOf(scales, text.Header.LayerGroup), roles.Text, out);
        break;
    }
    case KindPoint: {
        const PointElement& point = state.Points[index];
        what = "point";
        if ((drawn = Usable(Point{point.X, point.Y}))) {
            Shape dot;
            dot.Kind = ShapeKind::Dot;
            dot.Style = roles.Marker;
            dot.Centre = {point.X, point.Y};
            out.push_back(std::move(dot));
        }
        break;
    }
    case KindPointMark: {
        const PointMarkElement& mark = state.PointMarks[index];
        const double size = mark.Scale * ScaleOf(scales, mark.Header.LayerGroup);
        what = nullptr;
        markerCode = mark.Code;
        drawn = AddPointMarker(mark.Code, mark.X, mark.Y, size, mark.Angle, roles.Marker, out);
        break;
    }
    case KindDimension: {
        // A figure is drawn when either half is; a bad half is counted.
        const DimensionElement& dim = state.Dimensions[index];
        const bool line = LineIsUsable(dim.Line);
        if (line)
            out.push_back(LineShape(dim.Line.X1, dim.Line.Y1, dim.Line.X2, dim.Line.Y2, roles.Line));
        const bool text = AddTextShape(dim.Text, ScaleOf(scales, dim.Text.Header.LayerGroup), roles.Text, out);
        drawn = line || text;
        what = "dimension figure";
        if (drawn && !(line && text))
            tally.Skip(line ? "dimension text" : "dimension line");
        break;
    }
    case KindBlock:
        what = "block";
        break;
    case KindSolid2:
    case KindSolid3:
    case KindSolid4:
        what = "solid";
        break;
    case KindSc:
        what = "\"sc\" record";
        break;
    case KindSe:
        what = "\"se\" record";
        break;
    case KindSo:
        what = "\"so\" record";
        break;
    case KindSg:
        what = "\"sg\" record";
        break;
    }
    if (drawn)
        ++tally.Drawn;
    else
        tally.Skip(what != nullptr ? std::string(what) : "point marker of code " + std::to_string(markerCode));
}

void AddElementShapes(const DrawingStateRecord& state, const double (&scales)[LayerGroupCount],
                      const RoleSet& roles, std::vector<Shape>& out, Tally& tally)
{
    int32_t openPolyline = 0;
    for (std::size_t i = 0; i < state.ElementOrder.Count(); ++i)
        AddEntryShapes(state, state.ElementOrder[i], scales, roles, openPolyline, out, tally);
}

}  // namespace preview
