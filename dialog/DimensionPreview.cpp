#include "dialog/DimensionPreview.h"

#include "dialog/ControlRules.h"
#include "dialog/Unit1.h"
#include "exchange/Scratch.h"
#include "helpers/MyFunc.h"

DimensionPreviewResult PreviewDimension(const TForm1& form)
{
    DimensionPreviewResult result;
    const ScratchOutput scratch;
    result.Outcome = ConstructDimension(form, result.Dimension, result.BadControl, {}, &result.Chain);
    if (result.Outcome == ConstructionOutcome::Drawn)
        result.Records = scratch.Rendered();
    return result;
}

namespace {

// Every span's value in row order, each with its reversed arrows noted.
std::string ChainValuesText(const ChainRow& row)
{
    std::string text = "寸法値";
    for (const ChainSpan& span : row.Spans)
        text += " " + span.Dimension.ValueText + (span.Dimension.ArrowsReversed ? "（逆矢印）" : "");
    return text + (row.Spans.front().Dimension.DimensionOptions.AsFigure ? "　寸法図形" : "");
}

}  // namespace

std::string PreviewStatusText(const DimensionPreviewResult& result, const TForm1& form)
{
    switch (result.Outcome) {
    case ConstructionOutcome::Drawn:
        if (IsChain(form.Kind))
            return ChainValuesText(result.Chain);
        return "寸法値 " + result.Dimension.ValueText + (result.Dimension.ArrowsReversed ? "　（逆矢印）" : "") +
               (result.Dimension.DimensionOptions.AsFigure ? "　寸法図形" : "");
    case ConstructionOutcome::Refused:
        return RefusalText(form, result.BadControl);
    case ConstructionOutcome::TooFewPoints:
        return TooFewPointsMessage;
    case ConstructionOutcome::ZeroLength:
        break;
    }
    return ZeroLengthMessage;
}

std::string NotStartedByHostText(DimensionKind kind)
{
    return "JWC_TEMP.TXT を読めません。Jw_cad の外部変形から " + std::string(DescribeKind(kind).Launcher) +
           " で起動してください";
}

std::vector<std::string> PreviewStatusLines(const DimensionPreviewResult& result, const TForm1& form)
{
    std::vector<std::string> lines{PreviewStatusText(result, form)};
    // What of a row cannot be drawn, or read, is said, never dropped in silence.
    if (!result.Chain.ZeroSpans.empty())
        lines.push_back(ZeroSpansNote(result.Chain));
    if (!result.Chain.Overlapping.empty())
        lines.push_back(SpanList(result.Chain.Overlapping) + "の寸法値が重なっています（ドラッグで移動できます）");
    // The distances OK takes as 0 when their text is no number; the others
    // refuse it, and the status line says so.
    std::string readAsZero;
    const std::pair<const char*, const TEdit*> distances[] = {
        {"Edit4", &form.Edit4}, {"Edit5", &form.Edit5}, {"Edit6", &form.Edit6}, {"Edit9", &form.Edit9}};
    for (const auto& [name, edit] : distances)
        if (!IsNumberText(edit->Text))
            readAsZero += "「" + ControlLabel(name) + "」";
    if (!readAsZero.empty())
        lines.push_back(readAsZero + "は数値でないため 0 として作図します");
    if (!form.ExchangeFileRead)
        lines.push_back(NotStartedByHostText(form.Kind));
    return lines;
}

std::string MovingPointText(int number, int span)
{
    if (span > 0)
        return "スパン" + FormatInt(span) + "の寸法値を移動中";
    return "点" + FormatInt(number) + (number == 4 ? "（寸法値の位置）を移動中" : "（寸法線の位置）を移動中");
}
