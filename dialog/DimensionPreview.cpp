#include "dialog/DimensionPreview.h"

#include "dialog/FormLayout.h"
#include "dialog/Unit1.h"
#include "exchange/Scratch.h"
#include "helpers/MyFunc.h"

DimensionPreviewResult PreviewDimension(const TForm1& form)
{
    DimensionPreviewResult result;
    const ScratchOutput scratch;
    result.Outcome = ConstructDimension(form, result.Dimension, result.BadControl);
    if (result.Outcome == ConstructionOutcome::Drawn)
        result.Records = scratch.Rendered();
    return result;
}

std::string ControlLabel(const std::string& controlName)
{
    if (const layout::LabelDescription* label = layout::FindLabel(controlName, layout::LabelRole::Caption))
        return std::string(label->Text);
    // Check boxes and radio groups carry their label as their caption.
    if (const layout::ControlDescription* control = layout::FindControl(controlName))
        if (control->Kind == layout::ControlKind::CheckBox || control->Kind == layout::ControlKind::RadioGroup)
            return std::string(control->Caption);
    return controlName;
}

std::string PreviewStatusText(const DimensionPreviewResult& result)
{
    switch (result.Outcome) {
    case ConstructionOutcome::Drawn:
        return "寸法値 " + result.Dimension.ValueText + (result.Dimension.ArrowsReversed ? "　（逆矢印）" : "") +
               (result.Dimension.DimensionOptions.AsFigure ? "　寸法図形" : "");
    case ConstructionOutcome::Refused: {
        const std::string accepted = AcceptedValues(result.BadControl);
        return "「" + ControlLabel(result.BadControl) + "」の値は受け付けられません" +
               (accepted.empty() ? "" : "（" + accepted + "）");
    }
    case ConstructionOutcome::ZeroLength:
        break;
    }
    return ZeroLengthMessage;
}

std::string AcceptedValues(const std::string& controlName)
{
    // The checks OK makes, as a user reads them.
    static const struct {
        const char* Control;
        const char* Accepted;
    } ranges[] = {
        {"Edit1", "0 < 値"},          {"Edit7", "0 < 値 ≦ 1000"},   {"Edit8", "0 < 値 < 180"},
        {"Edit5", "0 ≦ 値"},          {"Edit6", "0 ≦ 値"},          {"Edit9", "0 ≦ 値"},
        {"Edit4", "図面に描ける大きさの数値"},
    };
    for (const auto& range : ranges)
        if (controlName == range.Control)
            return range.Accepted;
    if (controlName.starts_with("ComboBox") || controlName.starts_with("RadioGroup"))
        return "項目を選択";
    return {};
}

std::vector<std::string> PreviewStatusLines(const DimensionPreviewResult& result, const TForm1& form)
{
    std::vector<std::string> lines{PreviewStatusText(result)};
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
        lines.push_back("JWC_TEMP.TXT を読めません。Jw_cad の外部変形から " +
                        std::string(DescribeKind(form.Kind).Launcher) + " で起動してください");
    return lines;
}

std::string MovingPointText(int number)
{
    return number == 3 ? "点3（寸法線の位置）を移動中" : "点4（寸法値の位置）を移動中";
}
