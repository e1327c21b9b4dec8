// The chain's construction: the row's frame, the spans, the values'
// places, then each span by the single construction's phases.
#include "dialog/ChainConstruction.h"

#include <cmath>

#include "dialog/Unit1.h"
#include "exchange/DrawingState.h"
#include "helpers/MyFunc.h"

std::vector<PointD> ChainPointsOfModel()
{
    // Points the user did not pick (the picking ended early) are not written.
    std::vector<PointD> points;
    for (int n = 2; n < static_cast<int>(DrawingState.PickedPoints.size()); ++n)
        if (DrawingState.PickedPoints[n].Present)
            points.push_back(PickedPointAt(n));
    return points;
}

std::string SpanList(const std::vector<int>& numbers)
{
    // A long row's list is cut short, so that the strip and a message stay readable.
    constexpr std::size_t Named = 10;
    std::string list;
    for (std::size_t i = 0; i < numbers.size() && i < Named; ++i)
        list += (list.empty() ? "スパン" : "・") + FormatInt(numbers[i]);
    if (numbers.size() > Named)
        list += "ほか" + FormatInt(static_cast<int64_t>(numbers.size() - Named)) + "か所";
    return list;
}

std::string ZeroSpansNote(const ChainRow& row)
{
    return row.ZeroSpans.empty() ? std::string() : SpanList(row.ZeroSpans) + "は長さが「0」のため作図しません";
}

ConstructionOutcome ConstructChain(const TForm1& form, DimensionConstruction& c, ChainRow& row,
                                   std::string& badControl, const ConstructionEffects& effects)
{
    if (!AcceptControls(form, c, badControl, effects))
        return ConstructionOutcome::Refused;
    ScaleDistances(c);
    row = ChainRow{};
    row.Points = ChainPointsOfModel();
    row.LinePosition = form.MovedPoint3.value_or(PickedPointAt(1));
    if (row.Points.size() < 2)
        return ConstructionOutcome::TooFewPoints;
    const PointD& first = row.Points.front();
    const PointD& last = row.Points.back();
    const double axis = ConstructionAxisAngle(form.Kind, DrawingState.AxisAngle, first.X, first.Y, last.X, last.Y);

    const ValueTextTypeRecord type = ChooseValueTextType(c.DimensionOptions.TextTypeChoice);
    for (std::size_t k = 0; k + 1 < row.Points.size(); ++k) {
        ChainSpan span;
        span.Number = static_cast<int>(k) + 1;
        DimensionConstruction& d = span.Dimension;
        d.DimensionOptions = c.DimensionOptions;
        d.Kind = form.Kind;
        d.LayerScale = c.LayerScale;
        d.AxisAngle = axis;
        d.P1 = row.Points[k];
        d.P2 = row.Points[k + 1];
        d.P3 = row.LinePosition;
        DeriveLineEnds(d);
        if (!(std::fabs(d.MeasuredLength) >= 1e-10)) {
            row.ZeroSpans.push_back(span.Number);
            continue;
        }
        d.ValueTextType = type;
        d.ValueText = BuildValueText(d.DimensionOptions, d.DimLineStart, d.DimLineEnd);
        // What the row already drew at its shared point stays drawn once.
        if (!row.Spans.empty() && row.Spans.back().Dimension.P2.X == d.P1.X &&
            row.Spans.back().Dimension.P2.Y == d.P1.Y) {
            d.SkipStartExtension = true;
            const DimensionOptionsRecord& o = d.DimensionOptions;
            d.SkipStartMarker = o.StartMarker != 0 && o.StartMarker == o.EndMarker;
        }
        row.Spans.push_back(std::move(span));
    }
    if (row.Spans.empty())
        return ConstructionOutcome::ZeroLength;

    std::map<int, PointD> placed;
    if (form.MovedPoint4)
        placed[1] = *form.MovedPoint4;
    for (const auto& [number, at] : form.MovedSpanValues)
        placed[number] = at;
    PlaceChainValues(row, placed);

    if (effects.DrawingStarts)
        effects.DrawingStarts();
    EmitAttributeSetUp();
    for (ChainSpan& span : row.Spans) {
        DrawExtensionLines(span.Dimension);
        PlaceValue(span.Dimension);
        DrawDimension(span.Dimension);
    }
    c = row.Spans.front().Dimension;
    return ConstructionOutcome::Drawn;
}
