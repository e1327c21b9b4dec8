#include "dialog/DimensionPreview.h"

#include "dialog/FormLayout.h"
#include "exchange/Scratch.h"

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
        return "寸法値 " + result.Dimension.ValueText + (result.Dimension.ArrowsReversed ? "　（逆矢印）" : "");
    case ConstructionOutcome::Refused:
        return "「" + ControlLabel(result.BadControl) + "」の値は受け付けられません";
    case ConstructionOutcome::ZeroLength:
        break;
    }
    return ZeroLengthMessage;
}
