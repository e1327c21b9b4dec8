#include "tools/preview/PreviewLoader.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "exchange/Tokens.h"
#include "platform/Charset.h"
#include "platform/Files.h"

namespace preview {

namespace {

// First tokens of the records that set attributes, header values, names,
// picked points, modes and flags rather than drawing anything; "hq" is the
// record of a run that drew nothing.
bool IsAttributeRecord(std::string_view t0)
{
    static constexpr std::array<std::string_view, 19> Whole = {
        "hk", "hs", "hzs", "hcw", "hch", "hcd", "hcc", "bz", "hn", "z1",
        "z2", "z3", "z4", "z5", "pl", "msg", "#", "hq", "hhp"};
    static constexpr std::array<std::string_view, 11> Leading = {
        "lgn", "lyn", "lg", "ly", "lc", "lt", "lw", "cn", "cc", "pn", "hp"};
    if (t0.find("file=") != std::string_view::npos)
        return true;
    if (std::find(Whole.begin(), Whole.end(), t0) != Whole.end())
        return true;
    return std::any_of(Leading.begin(), Leading.end(),
                       [&](std::string_view key) { return t0.starts_with(key); });
}

// The file's lines as the reader sees them: LF or CR LF ends a line, a lone
// CR is dropped, byte 0x1A ends the file.
std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (char c : bytes) {
        if (c == '\x1A')
            break;
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            open = false;
        } else if (c != '\r') {
            line.push_back(c);
            open = true;
        }
    }
    if (open)
        lines.push_back(std::move(line));
    return lines;
}

// Replays the output line by line to see what the reader made of each one.
// The element lists were already counted from the full read; here only the
// lines that made no element are sorted out.
bool CountOutputRecords(const std::string& path, const TextType (&textTypes)[TextTypeCount], LegendFacts& facts)
{
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes))
        return false;
    InitDrawingState();
    std::copy(std::begin(textTypes), std::end(textTypes), DrawingState.TextTypes);
    TokenList tokens;
    for (const std::string& line : SplitLines(bytes)) {
        TokeniseLine(line, tokens);
        if (tokens.Count == 1 && tokens[0].empty())
            continue;  // blank lines are no records
        ++facts.OutputRecords;
        const std::size_t elementsBefore = DrawingState.ElementOrder.Count();
        const bool dimensionBefore = DrawingState.DimensionMode;
        ParseExchangeLine(line);
        if (DrawingState.ElementOrder.Count() > elementsBefore)
            continue;
        if (IsAttributeRecord(tokens[0]))
            ++facts.AttributeRecords;
        else if (dimensionBefore && tokens.Count == 4)
            ++facts.DimensionLines;
        else
            ++facts.UnreadRecords;
    }
    return true;
}

void TakeHostAttributes(const InitialAttributeSet& host)
{
    ReadingAttributeSet& r = DrawingState.ReadingAttributes;
    static_cast<AttributeSet&>(r) = host;
    if (!host.FontName.empty())
        r.FontName = host.FontName;
}

void FindValueText(const DrawingStateRecord& state, LegendFacts& facts)
{
    for (std::size_t i = 0; i < state.ElementOrder.Count(); ++i) {
        const ElementOrderEntry entry = state.ElementOrder[i];
        const TextElement* text = nullptr;
        if (entry.Kind == KindDimension)
            text = &state.Dimensions[static_cast<std::size_t>(entry.Index)].Text;
        else if (entry.Kind == KindText && state.Texts[static_cast<std::size_t>(entry.Index)].TextVariant == 2)
            text = &state.Texts[static_cast<std::size_t>(entry.Index)];
        if (text) {
            facts.HasValue = true;
            facts.ValueUtf8 = platform::SjisToUtf8(text->Text);
            return;
        }
    }
}

}  // namespace

bool LoadPreview(const std::string& inputPath, const std::string& outputPath, Preview& preview,
                 std::string& error)
{
    preview = Preview{};
    LegendFacts& facts = preview.Facts;

    InitDrawingState();
    if (!ReadExchangeFile(inputPath)) {
        FreeDrawingState();
        error = "cannot read the input exchange file " + inputPath;
        return false;
    }
    double scales[LayerGroupCount];
    std::copy(std::begin(DrawingState.LayerGroupScales), std::end(DrawingState.LayerGroupScales), scales);
    TextType textTypes[TextTypeCount];
    std::copy(std::begin(DrawingState.TextTypes), std::end(DrawingState.TextTypes), textTypes);
    const InitialAttributeSet host = DrawingState.InitialAttributes;
    facts.AxisAngle = DrawingState.AxisAngle;
    for (int n = 1; n <= 4; ++n) {
        const PickedPoint& p = DrawingState.PickedPoints[static_cast<std::size_t>(n)];
        if (p.Present && Usable(Point{p.X, p.Y}))
            preview.Picked.push_back({n, {p.X, p.Y}});
        else
            facts.MissingPicks.push_back(n);
    }
    AddElementShapes(DrawingState, scales, InputRoles, preview.Shapes, facts.Input);

    // The host reads the output in its own attributes and text types: the
    // reader starts from those, so that every element is stamped with the
    // layer group and text size the host will use for it.
    InitDrawingState();
    std::copy(std::begin(textTypes), std::end(textTypes), DrawingState.TextTypes);
    TakeHostAttributes(host);
    if (!ReadExchangeFile(outputPath)) {
        FreeDrawingState();
        error = "cannot read the output exchange file " + outputPath;
        return false;
    }
    AddElementShapes(DrawingState, scales, OutputRoles, preview.Shapes, facts.Output);
    FindValueText(DrawingState, facts);
    // The layer group the output selects, else the host's own.
    facts.HasLayerGroup = !DrawingState.First.Lg;
    facts.LayerGroup = facts.HasLayerGroup ? DrawingState.InitialAttributes.LayerGroup : host.LayerGroup;
    if (facts.LayerGroup >= 0 && facts.LayerGroup < LayerGroupCount)
        facts.LayerScale = scales[facts.LayerGroup];

    const bool counted = CountOutputRecords(outputPath, textTypes, facts);
    FreeDrawingState();
    if (!counted) {
        error = "cannot read the output exchange file " + outputPath;
        return false;
    }
    return true;
}

}  // namespace preview
