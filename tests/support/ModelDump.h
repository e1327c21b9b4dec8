#pragma once
// The whole of DrawingState as text, field by field, so that two readings
// can be compared exactly: reals as their 64-bit patterns (so -0 and 0
// differ), strings byte by byte in hexadecimal, every element of every list.
// The reader state (first-record flags, pending values, modes) is included:
// it decides what later lines do.
#include <cstdint>
#include <cstring>
#include <string>

#include "exchange/DrawingState.h"

namespace modeldump {

class Writer {
public:
    Writer& Name(const char* name)
    {
        out_ += ' ';
        out_ += name;
        out_ += '=';
        return *this;
    }
    Writer& Int(int64_t v)
    {
        out_ += std::to_string(v);
        return *this;
    }
    Writer& Real(double v)
    {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        if (!out_.empty() && out_.back() != '=')
            out_ += ',';  // reals in a row
        static constexpr char Hex[] = "0123456789abcdef";
        for (int shift = 60; shift >= 0; shift -= 4)
            out_ += Hex[(bits >> shift) & 15];
        return *this;
    }
    Writer& Bytes(const std::string& s)
    {
        static constexpr char Hex[] = "0123456789abcdef";
        out_ += '"';
        for (const unsigned char c : s) {
            out_ += Hex[c >> 4];
            out_ += Hex[c & 15];
        }
        out_ += '"';
        return *this;
    }
    Writer& Reals(const double* v, int n)
    {
        for (int i = 0; i < n; ++i)
            Real(v[i]);
        return *this;
    }
    void Line(const char* what)
    {
        out_ += '\n';
        out_ += what;
    }
    std::string Take() { return std::move(out_) + '\n'; }

private:
    std::string out_;
};

inline void Header(Writer& w, const ElementHeader& h)
{
    w.Name("hdr").Int(h.HhpNumber).Name("lg").Int(h.LayerGroup).Name("ly").Int(h.Layer).Name("c").Int(h.Color);
    w.Name("lt").Int(h.LineType).Name("lw").Int(h.LineWidth).Name("z").Int(h.ZFlags);
}

inline void Line(Writer& w, const LineElement& e)
{
    Header(w, e.Header);
    w.Name("pl").Int(e.PolylineNumber).Name("xy").Real(e.X1).Real(e.Y1).Real(e.X2).Real(e.Y2);
}

inline void Text(Writer& w, const TextElement& e)
{
    Header(w, e.Header);
    w.Name("v").Int(e.TextVariant).Name("tc").Int(e.TextColor).Name("tt").Int(e.TextType);
    w.Name("whd").Real(e.Width).Real(e.Height).Real(e.Spacing);
    w.Name("xy").Real(e.X).Real(e.Y).Real(e.Dx).Real(e.Dy);
    w.Name("font").Bytes(e.FontName).Name("text").Bytes(e.Text);
}

inline void Attributes(Writer& w, const AttributeSet& a)
{
    w.Name("lg").Int(a.LayerGroup).Name("ly").Int(a.Layer).Name("lc").Int(a.LineColor).Name("lt").Int(a.LineType);
    w.Name("lw").Int(a.LineWidth).Name("cn").Int(a.TextType);
    w.Name("free").Real(a.FreeWidth).Real(a.FreeHeight).Real(a.FreeSpacing).Name("fc").Int(a.FreeColor);
}

template <typename T, typename F>
void List(Writer& w, const char* name, const BlockList<T>& list, F each)
{
    w.Line(name);
    w.Name("count").Int(static_cast<int64_t>(list.Count())).Name("capacity").Int(static_cast<int64_t>(list.Capacity()));
    for (std::size_t i = 0; i < list.Count(); ++i) {
        w.Line("  ");
        each(list[i]);
    }
}

inline std::string DumpModel()
{
    const DrawingStateRecord& s = DrawingState;
    Writer w;
    w.Line("header");
    w.Name("file").Bytes(s.DrawingFilePath).Name("hk").Real(s.AxisAngle);
    w.Name("hs").Reals(s.LayerGroupScales, LayerGroupCount).Name("hzs").Reals(s.SheetSize, 2);
    w.Name("bz").Int(s.BzPresent).Name("hn").Reals(s.HnValues, 4);
    for (const TextType& t : s.TextTypes) {
        w.Line("texttype");
        w.Name("whd").Real(t.Width).Real(t.Height).Real(t.Spacing).Name("c").Int(t.Color);
    }
    w.Line("initial");
    Attributes(w, s.InitialAttributes);
    w.Name("font").Bytes(s.InitialAttributes.FontName);
    w.Line("reading");
    Attributes(w, s.ReadingAttributes);
    const ReadingAttributeSet& r = s.ReadingAttributes;
    w.Name("cc").Int(r.TextColor).Name("font").Bytes(r.FontName).Name("pn").Int(r.PointColor);
    w.Name("ext").Int(r.ExtendedColor);
    w.Line("state");
    const FirstRecordFlags& f = s.First;
    w.Name("first").Int(f.Lg).Int(f.Ly).Int(f.Lc).Int(f.Lt).Int(f.Lw).Int(f.Cn);
    w.Name("lwPresent").Int(s.LineWidthPresent).Name("hhp").Int(s.PendingHhpNumber).Name("z").Int(s.PendingZFlags);
    w.Name("plMode").Int(s.PolylineMode).Name("plCount").Int(s.PolylineCount).Name("msg").Int(s.DimensionMode);
    w.Line("pendingDimensionLine");
    Line(w, s.PendingDimensionLine);
    w.Line("layers");
    for (std::size_t i = 0; i < s.LayerGroupNames.size(); ++i)
        w.Name("g").Bytes(s.LayerGroupNames[i]).Int(s.LayerGroupValues[i]);
    for (std::size_t i = 0; i < s.LayerNames.size(); ++i)
        w.Name("l").Bytes(s.LayerNames[i]).Int(s.LayerValues[i]);
    w.Line("picked");
    w.Name("count").Int(s.PickedPointCount);
    for (const PickedPoint& p : s.PickedPoints)
        w.Name("p").Int(p.Present).Real(p.X).Real(p.Y).Int(p.Kind);

    List(w, "order", s.ElementOrder, [&](const ElementOrderEntry& e) { w.Name("k").Int(e.Kind).Int(e.Index); });
    List(w, "lines", s.Lines, [&](const LineElement& e) { Line(w, e); });
    List(w, "circles", s.Circles, [&](const CircleElement& e) {
        Header(w, e.Header);
        w.Name("v").Reals(e.Values, 3);
    });
    List(w, "arcs", s.Arcs, [&](const ArcElement& e) {
        Header(w, e.Header);
        w.Name("v").Reals(e.Values, 7);
    });
    List(w, "texts", s.Texts, [&](const TextElement& e) { Text(w, e); });
    List(w, "points", s.Points, [&](const PointElement& e) {
        Header(w, e.Header);
        w.Name("xy").Real(e.X).Real(e.Y);
    });
    List(w, "pointMarks", s.PointMarks, [&](const PointMarkElement& e) {
        Header(w, e.Header);
        w.Name("v").Real(e.X).Real(e.Y).Real(e.Scale).Real(e.Angle).Name("code").Int(e.Code);
    });
    List(w, "dimensions", s.Dimensions, [&](const DimensionElement& e) {
        Header(w, e.Header);
        w.Name("line");
        Line(w, e.Line);
        w.Name("text");
        Text(w, e.Text);
    });
    List(w, "blocks", s.Blocks, [&](const BlockElement& e) {
        Header(w, e.Header);
        w.Name("xy").Real(e.X).Real(e.Y).Name("name").Bytes(e.Name);
    });
    List(w, "solid2", s.Solid2s, [&](const Solid2Element& e) {
        Header(w, e.Header);
        w.Name("ext").Int(e.ExtendedColor).Name("xy").Real(e.X1).Real(e.Y1).Real(e.X2).Real(e.Y2);
    });
    List(w, "solid3", s.Solid3s, [&](const Solid3Element& e) {
        Header(w, e.Header);
        w.Name("ext").Int(e.ExtendedColor).Name("xy").Real(e.X1).Real(e.Y1).Real(e.X2).Real(e.Y2);
        w.Real(e.X3).Real(e.Y3);
    });
    List(w, "solid4", s.Solid4s, [&](const Solid4Element& e) {
        Header(w, e.Header);
        w.Name("ext").Int(e.ExtendedColor).Name("xy").Real(e.X1).Real(e.Y1).Real(e.X2).Real(e.Y2);
        w.Real(e.X3).Real(e.Y3).Real(e.X4).Real(e.Y4);
    });
    const auto sc = [&](const ScElement& e) {
        Header(w, e.Header);
        w.Name("ext").Int(e.ExtendedColor).Name("v").Reals(e.Values, 7).Name("n").Int(e.Number);
    };
    List(w, "sc", s.Scs, sc);
    List(w, "se", s.Ses, sc);
    const auto so = [&](const SoElement& e) {
        Header(w, e.Header);
        w.Name("ext").Int(e.ExtendedColor).Name("v").Reals(e.Values, 8);
    };
    List(w, "so", s.Sos, so);
    List(w, "sg", s.Sgs, so);
    return w.Take();
}

// FNV-1a, 64 bits: a stable digest of a dump for inputs too large to keep
// their dumps.
inline uint64_t Digest(const std::string& bytes)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (const unsigned char c : bytes)
        h = (h ^ c) * 0x100000001b3ull;
    return h;
}

}  // namespace modeldump
