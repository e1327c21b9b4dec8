// The drawing elements among the exchange file's records. Each is stored in
// the list of its kind, stamped with the attributes in force, and noted in
// ElementOrder:
//
//   "ci" r1 r2 r3                        circle
//   "ci" v1..v7 [...]                    arc
//   ("ch"|"cv"|"cs"|...|"c2") x y dx dy text
//                                        text; "cs" after "msg" ends a dimension
//   "pt" x y                             point
//   "pt" x y scale angle code [...]      point marker
//   "BL" x y name [...]                  block
//   "sl" x1 y1 x2 y2 [x3 y3 [x4 y4]]     solid, reduced to its distinct points
//   ("sc"|"se"|"so"|"sg") v1..v8 [...]   other solids
//   x1 y1 x2 y2                          line, or the line of a dimension
#include <cmath>
#include <string_view>

#include "exchange/DrawingState.h"
#include "exchange/Elements.h"
#include "exchange/Tokens.h"
#include "helpers/Numbers.h"

namespace {

constexpr std::size_t MaxElementTextBytes = 255;
constexpr double SamePointTolerance = 1e-10;

struct Point {
    double X, Y;
};

bool SamePoint(const Point& a, const Point& b)
{
    return std::fabs(a.X - b.X) <= SamePointTolerance && std::fabs(a.Y - b.Y) <= SamePointTolerance;
}

void Stamp(ElementHeader& header)
{
    const DrawingStateRecord& s = DrawingState;
    const ReadingAttributeSet& reading = s.ReadingAttributes;
    header.HhpNumber = s.PendingHhpNumber;
    header.LayerGroup = reading.LayerGroup;
    header.Layer = reading.Layer;
    header.Color = reading.LineColor;
    header.LineType = reading.LineType;
    header.LineWidth = reading.LineWidth;
    header.ZFlags = s.PendingZFlags;
}

// A new record at the end of its list, with its order entry and header.
// The record goes in before its order entry, so running out of memory never
// leaves an entry pointing past the end of a list.
template <typename T>
T& AppendElement(BlockList<T>& list, ElementKind kind)
{
    const auto index = static_cast<int32_t>(list.Count());
    T& record = list.Append();
    AppendElementOrder(kind, index);
    Stamp(record.Header);
    return record;
}

// "hhp" and "z" records mark one element only; other elements end a
// polyline or a dimension in progress.
void ElementDone(bool endsModes)
{
    DrawingStateRecord& s = DrawingState;
    s.PendingZFlags = 0;
    s.PendingHhpNumber = 0;
    if (endsModes) {
        s.PolylineMode = false;
        s.DimensionMode = false;
    }
}

class Values {
public:
    explicit Values(const TokenList& tokens) : tokens_(tokens) {}
    double Real(int i) const { return StrToFloatSafe(tokens_[i]); }
    int32_t Int(int i) const { return StrToIntSafe(tokens_[i]); }
    Point At(int i) const { return {Real(i), Real(i + 1)}; }

private:
    const TokenList& tokens_;
};

void FillText(TextElement& e, int32_t variant, const TokenList& t)
{
    const DrawingStateRecord& s = DrawingState;
    const ReadingAttributeSet& reading = s.ReadingAttributes;
    const Values v(t);
    Stamp(e.Header);
    e.TextVariant = variant;
    e.TextColor = reading.TextColor;
    e.TextType = reading.TextType;
    if (reading.TextType >= 1 && reading.TextType <= TextTypeCount) {
        const TextType& type = s.TextTypes[reading.TextType - 1];
        e.Width = type.Width;
        e.Height = type.Height;
        e.Spacing = type.Spacing;
        e.Header.Color = type.Color;
    } else {
        e.Width = reading.FreeWidth;
        e.Height = reading.FreeHeight;
        e.Spacing = reading.FreeSpacing;
        e.Header.Color = reading.FreeColor;
    }
    e.X = v.Real(1);
    e.Y = v.Real(2);
    e.Dx = v.Real(3);
    e.Dy = v.Real(4);
    e.FontName.assign(reading.FontName, 0, MaxElementTextBytes);
    e.Text.assign(t[5].substr(0, MaxElementTextBytes));
}

int TextVariantOf(std::string_view key)
{
    static constexpr std::string_view Kinds[] = {"ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2"};
    for (int i = 0; i < static_cast<int>(std::size(Kinds)); ++i)
        if (key == Kinds[i])
            return i;
    return -1;
}

void StoreText(int variant, const TokenList& t)
{
    DrawingStateRecord& s = DrawingState;
    if (s.DimensionMode && variant == 2) {
        DimensionElement& d = AppendElement(s.Dimensions, KindDimension);
        d.Line = s.PendingDimensionLine;
        FillText(d.Text, variant, t);
    } else {
        FillText(AppendElement(s.Texts, KindText), variant, t);
    }
}

void StoreSolid2(const Point& a, const Point& b)
{
    Solid2Element& e = AppendElement(DrawingState.Solid2s, KindSolid2);
    e.ExtendedColor = DrawingState.ReadingAttributes.ExtendedColor;
    e.X1 = a.X, e.Y1 = a.Y, e.X2 = b.X, e.Y2 = b.Y;
}

void StoreSolid3(const Point& a, const Point& b, const Point& c)
{
    Solid3Element& e = AppendElement(DrawingState.Solid3s, KindSolid3);
    e.ExtendedColor = DrawingState.ReadingAttributes.ExtendedColor;
    e.X1 = a.X, e.Y1 = a.Y, e.X2 = b.X, e.Y2 = b.Y, e.X3 = c.X, e.Y3 = c.Y;
}

void StoreSolid4(const Point& a, const Point& b, const Point& c, const Point& d)
{
    Solid4Element& e = AppendElement(DrawingState.Solid4s, KindSolid4);
    e.ExtendedColor = DrawingState.ReadingAttributes.ExtendedColor;
    e.X1 = a.X, e.Y1 = a.Y, e.X2 = b.X, e.Y2 = b.Y;
    e.X3 = c.X, e.Y3 = c.Y, e.X4 = d.X, e.Y4 = d.Y;
}

// A triangle whose corners coincide is stored as what it really is.
void StoreSolidOfThree(const Point& p1, const Point& p2, const Point& p3)
{
    if (SamePoint(p1, p2))
        StoreSolid2(p1, p3);
    else if (SamePoint(p2, p3))
        StoreSolid2(p1, p2);
    else
        StoreSolid3(p1, p2, p3);
}

void StoreSolidOfFour(const Point& p1, const Point& p2, const Point& p3, const Point& p4)
{
    const bool e12 = SamePoint(p1, p2), e13 = SamePoint(p1, p3), e23 = SamePoint(p2, p3);
    const bool e24 = SamePoint(p2, p4), e34 = SamePoint(p3, p4), e14 = SamePoint(p1, p4);
    if (e12 && e13)
        StoreSolid2(p1, p4);
    else if (e23 && e24)
        StoreSolid2(p1, p2);
    else if (e12 && e34)
        StoreSolid2(p1, p3);
    else if (e14 || e24 || e34)
        StoreSolid3(p1, p2, p3);
    else if (e13 || e23)
        StoreSolid3(p1, p2, p4);
    else if (e12)
        StoreSolid3(p1, p3, p4);
    else
        StoreSolid4(p1, p2, p3, p4);
}

template <typename T>
void StoreValues(BlockList<T>& list, ElementKind kind, const Values& v, int reals)
{
    T& e = AppendElement(list, kind);
    e.ExtendedColor = DrawingState.ReadingAttributes.ExtendedColor;
    for (int i = 0; i < reals; ++i)
        e.Values[i] = v.Real(i + 1);
    if constexpr (requires { e.Number; })
        e.Number = v.Int(reals + 1);
}

void StoreLine(const Values& v)
{
    DrawingStateRecord& s = DrawingState;
    LineElement line;
    if (s.DimensionMode) {
        Stamp(line.Header);
        line.X1 = v.Real(0), line.Y1 = v.Real(1), line.X2 = v.Real(2), line.Y2 = v.Real(3);
        s.PendingDimensionLine = line;
        return;
    }
    LineElement& e = AppendElement(s.Lines, KindLine);
    e.PolylineNumber = s.PolylineMode ? s.PolylineCount : 0;
    e.X1 = v.Real(0), e.Y1 = v.Real(1), e.X2 = v.Real(2), e.Y2 = v.Real(3);
}

// Every keyed element starts with one of these; lines of four numbers,
// the most common records, need no keyword comparison at all.
bool MayNameElement(std::string_view key)
{
    return !key.empty() && (key[0] == 'c' || key[0] == 'p' || key[0] == 'B' || key[0] == 's');
}

// Rules 28..40 in their order; false when none takes the line.
bool StoreKeyedElement(const TokenList& t)
{
    DrawingStateRecord& s = DrawingState;
    const std::string_view key = t[0];
    const int n = t.Count;
    const Values v(t);
    if (!MayNameElement(key))
        return false;

    if (key == "ci" && n == 4) {
        CircleElement& e = AppendElement(s.Circles, KindCircle);
        for (int i = 0; i < 3; ++i)
            e.Values[i] = v.Real(i + 1);
        return true;
    }
    if (key == "ci" && n >= 8) {
        ArcElement& e = AppendElement(s.Arcs, KindArc);
        for (int i = 0; i < 7; ++i)
            e.Values[i] = v.Real(i + 1);
        return true;
    }
    if (const int variant = TextVariantOf(key); variant >= 0 && n >= 6) {
        StoreText(variant, t);
        return true;
    }
    if (key == "pt" && n == 3) {
        PointElement& e = AppendElement(s.Points, KindPoint);
        e.Header.Color = s.ReadingAttributes.PointColor;
        e.X = v.Real(1), e.Y = v.Real(2);
        return true;
    }
    if (key == "pt" && n >= 6) {
        PointMarkElement& e = AppendElement(s.PointMarks, KindPointMark);
        e.Header.Color = s.ReadingAttributes.PointColor;
        e.X = v.Real(1), e.Y = v.Real(2), e.Scale = v.Real(3), e.Angle = v.Real(4);
        e.Code = v.Int(5);
        return true;
    }
    if (key == "BL" && n >= 4) {
        BlockElement& e = AppendElement(s.Blocks, KindBlock);
        e.X = v.Real(1), e.Y = v.Real(2);
        e.Name = t[3];
        return true;
    }
    if (key == "sl" && n == 5) {
        StoreSolid2(v.At(1), v.At(3));
        return true;
    }
    if (key == "sl" && n == 7) {
        StoreSolidOfThree(v.At(1), v.At(3), v.At(5));
        return true;
    }
    if (key == "sl" && n >= 9) {
        StoreSolidOfFour(v.At(1), v.At(3), v.At(5), v.At(7));
        return true;
    }
    if (n >= 9) {
        if (key == "sc") {
            StoreValues(s.Scs, KindSc, v, 7);
            return true;
        }
        if (key == "se") {
            StoreValues(s.Ses, KindSe, v, 7);
            return true;
        }
        if (key == "so") {
            StoreValues(s.Sos, KindSo, v, 8);
            return true;
        }
        if (key == "sg") {
            StoreValues(s.Sgs, KindSg, v, 8);
            return true;
        }
    }
    return false;
}

}  // namespace

void AppendElementOrder(int32_t kind, int32_t index)
{
    ElementOrderEntry& entry = DrawingState.ElementOrder.Append();
    entry.Kind = kind;
    entry.Index = index;
}

bool ApplyElementRules(const TokenList& tokens)
{
    if (StoreKeyedElement(tokens)) {
        ElementDone(true);
        return true;
    }
    if (tokens.Count == 4) {
        StoreLine(Values(tokens));
        ElementDone(false);
        return true;
    }
    return false;
}
