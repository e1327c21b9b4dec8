#include "tools/preview/PreviewLoader.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "exchange/Scratch.h"
#include "exchange/Tokens.h"
#include "platform/Charset.h"
#include "platform/Files.h"
#include "preview/RecordShapes.h"

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
void CountOutputRecords(const std::string& bytes, const TextType (&textTypes)[TextTypeCount], LegendFacts& facts)
{
    const ScratchModel scratch;
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
    const HostSettings host = HostSettingsOf(DrawingState);
    facts.AxisAngle = DrawingState.AxisAngle;
    preview.Picked = PickedMarksOf(DrawingState, &facts.MissingPicks);
    AddElementShapes(DrawingState, host.Scales, InputRoles, preview.Shapes, facts.Input);
    FreeDrawingState();

    std::string output;
    if (!platform::ReadWholeFile(outputPath, output)) {
        error = "cannot read the output exchange file " + outputPath;
        return false;
    }
    AddRecordShapes(output, host, OutputRoles, preview.Shapes, facts.Output, [&](const DrawingStateRecord& read) {
        FindValueText(read, facts);
        // The layer group the output selects, else the host's own.
        facts.HasLayerGroup = !read.First.Lg;
        facts.LayerGroup = facts.HasLayerGroup ? read.InitialAttributes.LayerGroup : host.Attributes.LayerGroup;
    });
    if (facts.LayerGroup >= 0 && facts.LayerGroup < LayerGroupCount)
        facts.LayerScale = host.Scales[facts.LayerGroup];
    CountOutputRecords(output, host.TextTypes, facts);
    return true;
}

}  // namespace preview
