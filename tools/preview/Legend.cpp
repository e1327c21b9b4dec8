#include "tools/preview/Legend.h"

#include "helpers/Numbers.h"
#include "preview/SvgWriter.h"

namespace preview {

namespace {

std::string Plural(int count, const std::string& what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string UndrawnList(const Tally& tally)
{
    if (tally.Undrawn.empty())
        return "nothing";
    std::string list;
    for (const auto& [what, count] : tally.Undrawn) {
        if (!list.empty())
            list += ", ";
        list += std::to_string(count) + " x " + what;
    }
    return list;
}

// What was read and drawn, one line each, in plain text.
std::vector<std::string> LegendText(const Preview& preview)
{
    const LegendFacts& f = preview.Facts;
    std::vector<std::string> plain;
    plain.push_back("value: " + (f.HasValue ? f.ValueUtf8 : std::string("none in the output")));
    plain.push_back("layer group " + FormatHex(f.LayerGroup) +
                    (f.HasLayerGroup ? std::string() : std::string(" (the host's, none in the output)")) +
                    ", scale 1:" + FormatReal(f.LayerScale) + ", axis angle " + FormatReal(f.AxisAngle) + " deg");
    const int drawingRecords = f.OutputRecords - f.AttributeRecords - f.UnreadRecords;
    plain.push_back("output: " + Plural(f.OutputRecords, "record") + " (" + std::to_string(f.AttributeRecords) +
                    " attribute, " + std::to_string(drawingRecords) + " drawing), " +
                    Plural(f.Output.Drawn, "element") + " drawn");
    Tally outputLeft = f.Output;
    if (f.UnreadRecords)
        outputLeft.Skip("record the reader ignores", f.UnreadRecords);
    plain.push_back("output not drawn: " + UndrawnList(outputLeft));
    plain.push_back("input: " + Plural(f.Input.Drawn, "element") + " drawn, not drawn: " + UndrawnList(f.Input));
    if (!f.MissingPicks.empty()) {
        std::string missing = "picked points not shown (missing or unusable):";
        for (int n : f.MissingPicks)
            missing += " " + std::to_string(n);
        plain.push_back(missing);
    }
    return plain;
}

}  // namespace

Picture ToPicture(const Preview& preview)
{
    Picture picture;
    picture.Shapes = preview.Shapes;
    picture.Picked = preview.Picked;
    picture.Caption = LegendText(preview);
    picture.Title = "Dimension preview" + (preview.Facts.HasValue ? ": " + preview.Facts.ValueUtf8 : std::string());
    return picture;
}

std::string WriteSvg(const Preview& preview) { return WriteSvg(ToPicture(preview)); }

std::string DefaultSvgPath(const std::string& outputPath)
{
    const std::size_t slash = outputPath.find_last_of('/');
    const std::size_t dot = outputPath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? outputPath.substr(0, dot) : outputPath) + ".svg";
}

}  // namespace preview
