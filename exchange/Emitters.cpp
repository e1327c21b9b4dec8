// Output records for the host, appended to the OutputStore as stored lines.
#include "exchange/Emitters.h"

#include <cmath>
#include <initializer_list>
#include <string>

#include "exchange/DrawingState.h"
#include "exchange/OutputStore.h"
#include "helpers/MyFunc.h"

OutputAttributeCacheRecord OutputAttributeCache;

namespace {

// Below this, output geometry is degenerate: no line, no direction.
constexpr double Degenerate = 1e-8;

// The change-driven rule every attribute shares: due when the flag asks for
// it or the value moved; a due value becomes the last one written.
bool TakeIfDue(CachedInt& entry, int32_t value)
{
    if (!entry.MustEmit && entry.Last == value)
        return false;
    entry.Last = value;
    entry.MustEmit = false;
    return true;
}

void EmitIntRecord(const char* keyword, int32_t value)
{
    AppendOutputLine(keyword + FormatInt(value));
}

std::string Reals(std::initializer_list<double> values)
{
    std::string text;
    for (double value : values) {
        if (!text.empty())
            text += ' ';
        text += FormatReal(value);
    }
    return text;
}

const char* TextKeyword(int32_t kind)
{
    static const char* const keywords[] = {"cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2"};
    return kind >= 1 && kind <= 9 ? keywords[kind - 1] : "ch";
}

bool NoDirection(double dx, double dy)
{
    return std::fabs(dx) <= Degenerate && std::fabs(dy) <= Degenerate;
}

bool NoLength(double x1, double y1, double x2, double y2)
{
    return std::fabs(x2 - x1) < Degenerate && std::fabs(y2 - y1) < Degenerate;
}

// The length shown when a dimension figure carries no text of its own:
// rounded to a multiple of 1e-8 so that float noise does not reach the text.
double RoundedLength(double x1, double y1, double x2, double y2)
{
    const long double d = Distance(x1, y1, x2, y2);
    return static_cast<double>(truncl(d / 1e-8L + 0.5L) * 1e-8L);
}

}  // namespace

void ResetOutputAttributes()
{
    OutputAttributeCache = OutputAttributeCacheRecord{};
    OutputAttributeCache.LineColor.Last = 1;
    OutputAttributeCache.LineType.Last = 1;
    OutputAttributeCache.TextType.Last = 1;
    OutputAttributeCache.PointColor.Last = 1;
    OutputAttributeCache.FontName = HostDefaultFontName;
}

int32_t MapColorCode(int32_t color)
{
    if (color <= 0)
        return DrawingState.InitialAttributes.LineColor;
    if (color <= 9)
        return color;
    return color + 91;
}

int32_t MapLineTypeCode(int32_t lineType)
{
    if (lineType <= 0)
        return DrawingState.InitialAttributes.LineType;
    if (lineType <= 9)
        return lineType;
    if (lineType <= 18)
        return lineType + 1;
    return lineType + 12;
}

void SelectLayerGroup(int32_t group)
{
    if (!TakeIfDue(OutputAttributeCache.LayerGroup, group))
        return;
    AppendOutputLine("lg" + FormatHex(group));
    // A layer number means nothing without its group: restate it.
    OutputAttributeCache.Layer.MustEmit = true;
}

void SelectLayer(int32_t layer)
{
    if (TakeIfDue(OutputAttributeCache.Layer, layer))
        AppendOutputLine("ly" + FormatHex(layer));
}

void SelectLineColor(int32_t color, int32_t mapping)
{
    if (mapping == 1)
        color = MapColorCode(color);
    if (TakeIfDue(OutputAttributeCache.LineColor, color))
        EmitIntRecord("lc", color);
}

void SelectLineType(int32_t lineType, int32_t mapping)
{
    if (mapping == 1)
        lineType = MapLineTypeCode(lineType);
    if (TakeIfDue(OutputAttributeCache.LineType, lineType))
        EmitIntRecord("lt", lineType);
}

void SelectLineWidth(int32_t width)
{
    // A host that wrote no width does not expect one back.
    if (!DrawingState.LineWidthPresent)
        return;
    if (width == -1)
        width = DrawingState.InitialAttributes.LineWidth;
    if (width < 0 || width > 30000)
        width = 0;
    if (TakeIfDue(OutputAttributeCache.LineWidth, width))
        EmitIntRecord("lw", width);
}

void SelectTextType(int32_t textType, int32_t color, int32_t mapping, double width, double height, double spacing)
{
    if (mapping == 1)
        color = MapColorCode(color);
    if (textType < 0 || textType > 10) {
        const InitialAttributeSet& initial = DrawingState.InitialAttributes;
        textType = initial.TextType;
        if (textType == 0) {
            width = initial.FreeWidth;
            height = initial.FreeHeight;
            spacing = initial.FreeSpacing;
            color = initial.FreeColor;
        }
    }

    OutputAttributeCacheRecord& cache = OutputAttributeCache;
    const bool freeSizeMoved = textType == 0 && (width != cache.FreeWidth || height != cache.FreeHeight ||
                                                 spacing != cache.FreeSpacing || color != cache.FreeColor);
    if (!cache.TextType.MustEmit && cache.TextType.Last == textType && !freeSizeMoved)
        return;

    if (textType == 0) {
        AppendOutputLine("cn0 " + Reals({width, height, spacing, static_cast<double>(color)}));
        cache.FreeWidth = width;
        cache.FreeHeight = height;
        cache.FreeSpacing = spacing;
        cache.FreeColor = color;
    } else {
        EmitIntRecord("cn", textType);
    }
    cache.TextType.Last = textType;
    cache.TextType.MustEmit = false;
}

void SelectTextColor(int32_t color)
{
    if (color < 0 || color > 8)
        color = 0;
    if (TakeIfDue(OutputAttributeCache.TextColor, color))
        EmitIntRecord("cc", color);
}

void SelectFont(const std::string& fontName)
{
    const std::string& name =
        fontName.empty() || fontName == "<>" ? DrawingState.InitialAttributes.FontName : fontName;
    OutputAttributeCacheRecord& cache = OutputAttributeCache;
    if (!cache.FontMustEmit && cache.FontName == name)
        return;
    AppendOutputLine("cn\"$" + name);
    cache.FontName = name;
    cache.FontMustEmit = false;
}

void SelectPointColor(int32_t color, int32_t mapping)
{
    if (mapping == 1)
        color = MapColorCode(color);
    if (TakeIfDue(OutputAttributeCache.PointColor, color))
        EmitIntRecord("pn", color);
}

void EmitZFlags(uint8_t flags)
{
    if (flags & 0x01)
        AppendOutputLine("z1");
    if (flags & 0x02)
        AppendOutputLine("z2");
    if (flags & 0x04)
        AppendOutputLine("z3");
    // z5 stands in for z4 when both are asked for.
    if ((flags & 0x08) && !(flags & 0x10))
        AppendOutputLine("z4");
    if (flags & 0x10)
        AppendOutputLine("z5");
}

void EmitLine(double x1, double y1, double x2, double y2)
{
    if (NoLength(x1, y1, x2, y2))
        return;
    AppendOutputLine(Reals({x1, y1, x2, y2}));
}

void EmitPoint(int32_t code, double x, double y, double scale, double angle)
{
    if (code < -7 || code > 11)
        code = -3;
    if (std::fabs(scale) <= Degenerate)
        scale = 1.0;
    AppendOutputLine("pt " + Reals({x, y, scale, angle}) + " " + FormatInt(code));
}

void EmitText(int32_t kind, const std::string& text, double x, double y, double dx, double dy)
{
    if (NoDirection(dx, dy) || StripSpaces(text).empty())
        return;
    AppendOutputLine(std::string(TextKeyword(kind)) + " " + Reals({x, y, dx, dy}) + " \"");
    AppendOutputLine(text);
}

void EmitDimensionFigure(const std::string& text, double x1, double y1, double x2, double y2,
                         double tx, double ty, double dx, double dy)
{
    if (NoLength(x1, y1, x2, y2) || NoDirection(dx, dy))
        return;
    const std::string shown =
        StripSpaces(text).empty() ? FormatReal(RoundedLength(x1, y1, x2, y2)) : text;
    AppendOutputLine("msg");
    AppendOutputLine(Reals({x1, y1, x2, y2}));
    AppendOutputLine("cs " + Reals({tx, ty, dx, dy}) + " \"");
    AppendOutputLine(shown);
}

void EmitRepeatRequest()
{
    AppendOutputLine("hr");
}
