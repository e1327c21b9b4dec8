#include "preview/PaintPlan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "helpers/Geometry.h"
#include "platform/Charset.h"
#include "preview/PixelClip.h"

namespace preview {

namespace {

constexpr uint8_t KindMask = 3;
constexpr uint8_t ClosedBit = 4;
constexpr uint8_t FilledBit = 8;
// A text's values: x, y, the direction of its baseline (cosine and sine,
// so that no walk takes them again), height, length, and the number of its
// characters' entry (a small integer, exact in a double).
constexpr std::size_t TextValues = PaintPlan::TextValueCount;
// How many shapes a walk paints between asking the painter whether to go on.
constexpr std::size_t AbandonCheck = 1024;
// The largest area a walk gathers its pixels in; a window is far smaller.
constexpr double LargestSide = 16384;

bool Inside(double x, double y, const Box& box)
{
    return x >= box.MinX && x <= box.MaxX && y >= box.MinY && y <= box.MaxY;
}

bool Within(const FloatBox& b, const Box& box)
{
    return b.MinX >= box.MinX && b.MaxX <= box.MaxX && b.MinY >= box.MinY && b.MaxY <= box.MaxY;
}

bool SegmentMeets(Point a, Point b, const Box& box) { return ClipSegment(a, b, box); }

// Whether (x, y) lies inside the polygon (crossings of a ray to the right).
bool InPolygon(double x, double y, const PlanShape& shape)
{
    bool in = false;
    for (std::size_t i = 0, j = shape.PointCount - 1; i < shape.PointCount; j = i++) {
        const Point a = shape.At(i), b = shape.At(j);
        if ((a.Y > y) != (b.Y > y) && x < a.X + (y - a.Y) / (b.Y - a.Y) * (b.X - a.X))
            in = !in;
    }
    return in;
}

// The two corners of a text's box along its baseline and up from it.
struct TextFrame {
    Point Origin;
    double Ux, Uy;  // along the baseline
    double Length, Height;
};

TextFrame FrameOf(const PlanShape& s)
{
    return {{s.Values[0], s.Values[1]}, s.Values[2], s.Values[3], s.TextLength(), s.TextHeight()};
}

// Separating axes: the box's two and the text's two.
bool TextMeets(const PlanShape& shape, const Box& view)
{
    const TextFrame t = FrameOf(shape);
    const double nx = -t.Uy, ny = t.Ux;
    const Point corners[4] = {t.Origin,
                              {t.Origin.X + t.Length * t.Ux, t.Origin.Y + t.Length * t.Uy},
                              {t.Origin.X + t.Height * nx, t.Origin.Y + t.Height * ny},
                              {t.Origin.X + t.Length * t.Ux + t.Height * nx, t.Origin.Y + t.Length * t.Uy + t.Height * ny}};
    Box own;
    for (const Point& c : corners)
        own.Add(c.X, c.Y);
    if (own.MinX > view.MaxX || own.MaxX < view.MinX || own.MinY > view.MaxY || own.MaxY < view.MinY)
        return false;
    const auto overlaps = [&](double ax, double ay, double low, double high) {
        double from = std::numeric_limits<double>::infinity(), to = -from;
        for (const double x : {view.MinX, view.MaxX})
            for (const double y : {view.MinY, view.MaxY}) {
                const double d = (x - t.Origin.X) * ax + (y - t.Origin.Y) * ay;
                from = std::min(from, d);
                to = std::max(to, d);
            }
        return from <= high && to >= low;
    };
    return overlaps(t.Ux, t.Uy, 0, t.Length) && overlaps(nx, ny, 0, t.Height);
}

bool CircleMeets(const PlanShape& shape, const Box& view)
{
    const double cx = shape.Values[0], cy = shape.Values[1], r = shape.Values[2];
    const double nearest = std::hypot(std::clamp(cx, view.MinX, view.MaxX) - cx, std::clamp(cy, view.MinY, view.MaxY) - cy);
    if (nearest > r)
        return false;
    if (shape.Filled)
        return true;
    const double farX = std::max(std::fabs(view.MinX - cx), std::fabs(view.MaxX - cx));
    const double farY = std::max(std::fabs(view.MinY - cy), std::fabs(view.MaxY - cy));
    return std::hypot(farX, farY) >= r;
}

bool PathMeets(const PlanShape& shape, const Box& view)
{
    // Mostly a corner is in the view already.
    if (Inside(shape.Values[0], shape.Values[1], view))
        return true;
    if (shape.PointCount == 1)
        return false;
    for (std::size_t i = 1; i < shape.PointCount; ++i)
        if (SegmentMeets(shape.At(i - 1), shape.At(i), view))
            return true;
    if (shape.Closed && shape.PointCount > 2) {
        if (SegmentMeets(shape.At(shape.PointCount - 1), shape.At(0), view))
            return true;
        // A filled outline round the whole view.
        if (shape.Filled)
            return InPolygon((view.MinX + view.MaxX) / 2, (view.MinY + view.MaxY) / 2, shape);
    }
    return false;
}

}  // namespace

std::size_t PaintPlan::ValueCount(PlanKind kind, const double* values, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (!Usable(values[i]))
            return 0;
    switch (kind) {
    case PlanKind::Path: return count >= 2 && count % 2 == 0 ? count : 0;
    case PlanKind::Circle: return count == 3 && values[2] > 0 ? 3 : 0;
    case PlanKind::Dot: return count == 2 ? 2 : 0;
    case PlanKind::Text: return 0;  // a text has characters too: as a Shape
    }
    return 0;
}

std::size_t PaintPlan::ValueCount(const Shape& shape)
{
    switch (shape.Kind) {
    case ShapeKind::Path:
        if (shape.Points.empty() ||
            !std::all_of(shape.Points.begin(), shape.Points.end(), [](const Point& p) { return Usable(p); }))
            return 0;
        return 2 * shape.Points.size();
    case ShapeKind::Circle: return Usable(shape.Centre) && Usable(shape.Radius) && shape.Radius > 0 ? 3 : 0;
    case ShapeKind::Dot: return Usable(shape.Centre) ? 2 : 0;
    case ShapeKind::Text:
        return Usable(shape.Centre) && Usable(shape.AngleDeg) && Usable(shape.Height) && Usable(shape.Length)
                   ? TextValues
                   : 0;
    }
    return 0;
}

void PaintPlan::Write(std::size_t shape, std::size_t value, PlanKind kind, bool closed, bool filled,
                      const double* values, std::size_t count)
{
    kinds_[shape] = static_cast<uint8_t>(static_cast<uint8_t>(kind) | (closed ? ClosedBit : 0) | (filled ? FilledBit : 0));
    starts_[shape] = static_cast<uint32_t>(value);
    std::copy(values, values + count, values_.begin() + static_cast<std::ptrdiff_t>(value));
    bounds_.Add(BoundsOfValues(kind, values, count));
}

void PaintPlan::Write(std::size_t shape, std::size_t value, const Shape& s)
{
    switch (s.Kind) {
    case ShapeKind::Path: {
        double* v = values_.data() + value;
        for (const Point& p : s.Points) {
            *v++ = p.X;
            *v++ = p.Y;
        }
        kinds_[shape] = static_cast<uint8_t>(static_cast<uint8_t>(PlanKind::Path) | (s.Closed ? ClosedBit : 0) |
                                             (s.Filled ? FilledBit : 0));
        starts_[shape] = static_cast<uint32_t>(value);
        bounds_.Add(BoundsOfValues(PlanKind::Path, values_.data() + value, 2 * s.Points.size()));
        break;
    }
    case ShapeKind::Circle: {
        const double v[] = {s.Centre.X, s.Centre.Y, s.Radius};
        Write(shape, value, PlanKind::Circle, false, s.Filled, v, 3);
        break;
    }
    case ShapeKind::Dot: {
        const double v[] = {s.Centre.X, s.Centre.Y};
        Write(shape, value, PlanKind::Dot, false, false, v, 2);
        break;
    }
    case ShapeKind::Text:
        WriteText(shape, value, s, platform::Utf8ToSjis(s.Utf8), platform::Utf8ToSjis(s.FontUtf8));
        break;
    }
}

void PaintPlan::WriteText(std::size_t shape, std::size_t value, const Shape& s, const std::string& sjis,
                          const std::string& fontSjis)
{
    // Texts of one drawing share a few fonts.
    auto font = std::find(fonts_.begin(), fonts_.end(), fontSjis);
    if (font == fonts_.end())
        font = fonts_.insert(fonts_.end(), fontSjis);
    // Characters beyond what 32-bit places reach are left out.
    const std::size_t length = chars_.size() + sjis.size() < std::numeric_limits<uint32_t>::max() ? sjis.size() : 0;
    const double a = Radians(s.AngleDeg);
    const double v[TextValues] = {s.Centre.X, s.Centre.Y, std::cos(a), std::sin(a), s.Height, s.Length,
                                  static_cast<double>(texts_.size())};
    texts_.push_back({static_cast<uint32_t>(chars_.size()), static_cast<uint32_t>(length),
                      static_cast<uint32_t>(font - fonts_.begin())});
    chars_.append(sjis, 0, length);
    Write(shape, value, PlanKind::Text, false, false, v, TextValues);
}

void PaintPlan::Size(std::size_t shapes, std::size_t values, std::size_t texts, std::size_t chars)
{
    kinds_.assign(shapes, 0);
    starts_.assign(shapes + 1, 0);
    starts_[shapes] = static_cast<uint32_t>(values);
    values_.assign(values, 0.0);
    texts_.reserve(texts);
    chars_.reserve(chars);
}

void PaintPlan::Put(std::size_t shape, std::size_t value, const Shape& s) { Write(shape, value, s); }

void PaintPlan::PutText(std::size_t shape, std::size_t value, const Shape& numbers, const std::string& sjis,
                        const std::string& fontSjis)
{
    WriteText(shape, value, numbers, sjis, fontSjis);
}

void PaintPlan::Put(std::size_t shape, std::size_t value, PlanKind kind, const double* values, std::size_t count)
{
    Write(shape, value, kind, false, false, values, count);
}

bool PaintPlan::AddSegment(double x1, double y1, double x2, double y2)
{
    Shape s;
    s.Points = {{x1, y1}, {x2, y2}};
    return Add(s);
}

bool PaintPlan::Add(const Shape& shape)
{
    const std::size_t count = ValueCount(shape);
    // Shapes are numbered, and their values found, by 32-bit numbers.
    if (count == 0 || kinds_.size() >= std::numeric_limits<uint32_t>::max() - 1 ||
        values_.size() + count >= std::numeric_limits<uint32_t>::max())
        return false;
    if (starts_.empty())
        starts_.push_back(0);
    const std::size_t shapeAt = kinds_.size(), valueAt = values_.size();
    kinds_.push_back(0);
    values_.resize(valueAt + count);
    starts_.push_back(static_cast<uint32_t>(valueAt + count));
    Write(shapeAt, valueAt, shape);
    return true;
}

void PaintPlan::Finish()
{
    index_.Build(
        Count(),
        [this](std::size_t i) { return BoundsOf(static_cast<uint32_t>(i)); },
        [this](std::size_t i) {
            return static_cast<PlanKind>(kinds_[i] & KindMask) == PlanKind::Dot ? DotFlag : OtherFlag;
        });
}

std::size_t PaintPlan::Bytes() const
{
    std::size_t fonts = 0;
    for (const std::string& f : fonts_)
        fonts += sizeof f + f.capacity();
    return kinds_.capacity() + starts_.capacity() * sizeof(uint32_t) + values_.capacity() * sizeof(double) +
           texts_.capacity() * sizeof(TextRef) + chars_.capacity() + fonts + index_.Bytes();
}

PlanShape PaintPlan::ShapeAt(uint32_t index) const
{
    PlanShape s = NumbersAt(index);
    if (s.Kind == PlanKind::Text) {
        const TextRef& t = texts_[static_cast<std::size_t>(s.Values[6])];
        s.Sjis = std::string_view(chars_).substr(t.Start, t.Length);
        s.FontSjis = fonts_[t.Font];
    }
    return s;
}

PlanShape PaintPlan::NumbersAt(uint32_t index) const
{
    PlanShape s;
    const uint8_t k = kinds_[index];
    s.Kind = static_cast<PlanKind>(k & KindMask);
    s.Closed = (k & ClosedBit) != 0;
    s.Filled = (k & FilledBit) != 0;
    s.Values = values_.data() + starts_[index];
    s.PointCount = (starts_[index + 1] - starts_[index]) / 2;
    return s;
}

Shape PaintPlan::ToShape(uint32_t index) const
{
    const PlanShape p = ShapeAt(index);
    Shape s;
    s.Style = Role::Input;
    s.Closed = p.Closed;
    s.Filled = p.Filled;
    switch (p.Kind) {
    case PlanKind::Path:
        s.Kind = ShapeKind::Path;
        for (std::size_t k = 0; k < p.PointCount; ++k)
            s.Points.push_back(p.At(k));
        break;
    case PlanKind::Circle:
        s.Kind = ShapeKind::Circle;
        s.Centre = p.At(0);
        s.Radius = p.Values[2];
        break;
    case PlanKind::Dot:
        s.Kind = ShapeKind::Dot;
        s.Centre = p.At(0);
        break;
    case PlanKind::Text:
        s.Kind = ShapeKind::Text;
        s.Centre = p.At(0);
        s.AngleDeg = p.TextAngleDeg();
        s.Height = p.TextHeight();
        s.Length = p.TextLength();
        s.Utf8 = platform::SjisToUtf8(std::string(p.Sjis));
        s.FontUtf8 = platform::SjisToUtf8(std::string(p.FontSjis));
        break;
    }
    return s;
}

Box PaintPlan::BoundsOf(uint32_t index) const
{
    const PlanShape s = NumbersAt(index);
    return BoundsOfValues(s.Kind, s.Values, starts_[index + 1] - starts_[index]);
}

Box PaintPlan::BoundsOfValues(PlanKind kind, const double* v, std::size_t count)
{
    Box box;
    switch (kind) {
    case PlanKind::Path:
        for (std::size_t k = 0; k + 1 < count; k += 2)
            box.Add(v[k], v[k + 1]);
        break;
    case PlanKind::Circle:
        box.Add(v[0] - v[2], v[1] - v[2]);
        box.Add(v[0] + v[2], v[1] + v[2]);
        break;
    case PlanKind::Dot:
        box.Add(v[0], v[1]);
        break;
    case PlanKind::Text: {
        const double ux = v[2], uy = v[3], nx = -uy, ny = ux, height = v[4], length = v[5];
        box.Add(v[0], v[1]);
        box.Add(v[0] + length * ux, v[1] + length * uy);
        box.Add(v[0] + height * nx, v[1] + height * ny);
        box.Add(v[0] + length * ux + height * nx, v[1] + length * uy + height * ny);
        break;
    }
    }
    return box;
}

double PlanShape::TextAngleDeg() const { return std::atan2(Values[3], Values[2]) * 180 / 3.14159265358979323846; }

bool PaintPlan::Meets(uint32_t index, const Box& view) const
{
    const PlanShape s = NumbersAt(index);
    switch (s.Kind) {
    case PlanKind::Path: return PathMeets(s, view);
    case PlanKind::Circle: return CircleMeets(s, view);
    case PlanKind::Dot: return Inside(s.Values[0], s.Values[1], view);
    case PlanKind::Text: return TextMeets(s, view);
    }
    return false;
}

void PaintPlan::Query(const Box& view, std::vector<uint32_t>& out) const
{
    if (view.Empty)
        return;
    struct Visitor : PlanIndex::Visitor {
        const PaintPlan& Plan;
        const Box& View;
        std::vector<uint32_t>& Out;
        Visitor(const PaintPlan& plan, const Box& view, std::vector<uint32_t>& out) : Plan(plan), View(view), Out(out) {}
        bool Enter(const FloatBox& box, PlanIndex::Node node, uint8_t) override
        {
            // Wholly inside: every shape below it is in the view.
            if (!Within(box, View))
                return true;
            std::size_t first = 0, last = 0;
            Plan.index_.ItemsUnder(node, first, last);
            for (std::size_t i = first; i < last; ++i)
                Out.push_back(static_cast<uint32_t>(i));
            return false;
        }
        void Item(std::size_t item) override
        {
            if (Plan.Meets(static_cast<uint32_t>(item), View))
                Out.push_back(static_cast<uint32_t>(item));
        }
    } visitor(*this, view, out);
    index_.Search(view.MinX, view.MinY, view.MaxX, view.MaxY, visitor);
}

bool PaintPlan::Walk(const Fit& fit, const Box& pixels, PlanPainter& painter, Walked* walked) const
{
    if (pixels.Empty || !(fit.Scale > 0) || !std::isfinite(fit.Scale))
        return true;
    // The pixels as cells of whole numbers, and as a view of the drawing.
    const double cellMinX = std::floor(std::max(pixels.MinX, -LargestSide));
    const double cellMinY = std::floor(std::max(pixels.MinY, -LargestSide));
    const double cellMaxX = std::floor(std::min(pixels.MaxX, 2 * LargestSide));
    const double cellMaxY = std::floor(std::min(pixels.MaxY, 2 * LargestSide));
    if (cellMaxX < cellMinX || cellMaxY < cellMinY)
        return true;
    Box view;
    view.Add((pixels.MinX - fit.OriginX) / fit.Scale, (fit.OriginY - pixels.MaxY) / fit.Scale);
    view.Add((pixels.MaxX - fit.OriginX) / fit.Scale, (fit.OriginY - pixels.MinY) / fit.Scale);
    if (!std::isfinite(view.MinX) || !std::isfinite(view.MaxX) || !std::isfinite(view.MinY) || !std::isfinite(view.MaxY))
        return true;

    struct Visitor : PlanIndex::Visitor {
        const PaintPlan& Plan;
        const Fit& F;
        const Box& View;
        PlanPainter& Painter;
        int MinX, MinY, Columns, Rows;
        // Which cells were handed over, plain and with a point element.
        std::vector<bool> Plain, Dots;
        Walked Done;
        std::size_t Since = 0;
        bool Abandoned = false;

        Visitor(const PaintPlan& plan, const Fit& fit, const Box& view, PlanPainter& painter, double minX, double minY,
                double maxX, double maxY)
            : Plan(plan), F(fit), View(view), Painter(painter), MinX(static_cast<int>(minX)),
              MinY(static_cast<int>(minY)), Columns(static_cast<int>(maxX - minX) + 1),
              Rows(static_cast<int>(maxY - minY) + 1),
              Plain(static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Rows)), Dots(Plain.size())
        {
        }
        bool Tiny(const FloatBox& b) const
        {
            return (static_cast<double>(b.MaxX) - b.MinX) * F.Scale < 1 &&
                   (static_cast<double>(b.MaxY) - b.MinY) * F.Scale < 1;
        }
        bool Tiny(const Box& b) const { return b.Width() * F.Scale < 1 && b.Height() * F.Scale < 1; }
        void Mark(double x, double y, bool dot)
        {
            const Point p = F.ToPixels({x, y});
            const double cx = std::floor(p.X) - MinX, cy = std::floor(p.Y) - MinY;
            if (!(cx >= 0 && cx < Columns && cy >= 0 && cy < Rows))
                return;
            const std::size_t cell = static_cast<std::size_t>(cy) * static_cast<std::size_t>(Columns) +
                                     static_cast<std::size_t>(cx);
            std::vector<bool>& seen = dot ? Dots : Plain;
            if (seen[cell])
                return;
            seen[cell] = true;
            ++Done.Pixels;
            Painter.Pixel(MinX + static_cast<int>(cx), MinY + static_cast<int>(cy), dot);
        }
        void MarkBox(const FloatBox& b, uint8_t flags)
        {
            const double x = (static_cast<double>(b.MinX) + b.MaxX) / 2, y = (static_cast<double>(b.MinY) + b.MaxY) / 2;
            if (flags & DotFlag)
                Mark(x, y, true);
            if (flags & OtherFlag)
                Mark(x, y, false);
        }
        void Count()
        {
            if (++Since >= AbandonCheck) {
                Since = 0;
                Abandoned = Abandoned || Painter.Abandon();
            }
        }
        bool Enter(const FloatBox& box, PlanIndex::Node, uint8_t flags) override
        {
            if (!Tiny(box))
                return true;
            MarkBox(box, flags);
            Count();
            return false;
        }
        void Item(std::size_t i) override
        {
            const auto item = static_cast<uint32_t>(i);
            const PlanShape s = Plan.NumbersAt(item);
            if (s.Kind == PlanKind::Dot) {
                // Drawn at a size of its own, whatever the zoom.
                if (Inside(s.Values[0], s.Values[1], View))
                    Mark(s.Values[0], s.Values[1], true);
            } else if (const Box box = Plan.BoundsOf(item); Tiny(box)) {
                if (box.MinX <= View.MaxX && box.MaxX >= View.MinX && box.MinY <= View.MaxY && box.MaxY >= View.MinY)
                    Mark((box.MinX + box.MaxX) / 2, (box.MinY + box.MaxY) / 2, false);
            } else if (Plan.Meets(item, View)) {
                Painter.Paint(Plan.ShapeAt(item));
                ++Done.Shapes;
            }
            Count();
        }
        bool Stopped() const override { return Abandoned; }
    } visitor(*this, fit, view, painter, cellMinX, cellMinY, cellMaxX, cellMaxY);
    index_.Search(view.MinX, view.MinY, view.MaxX, view.MaxY, visitor);
    if (walked != nullptr)
        *walked = visitor.Done;
    return !visitor.Abandoned;
}

}  // namespace preview
