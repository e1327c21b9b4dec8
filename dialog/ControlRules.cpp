#include "dialog/ControlRules.h"

#include <cmath>

#include "dialog/Construction.h"
#include "dialog/FormLayout.h"
#include "dialog/Unit1.h"

namespace {

// A distance that is, or becomes in drawing units, infinite would put "inf"
// into the host's records.
bool Drawable(double distance) { return std::isfinite(distance) && std::isfinite(distance * CurrentLayerScale()); }

// Written as "not less than" and so on, so that a value that is not a
// number fails as well.
struct NumberRule {
    std::string_view Control;
    const char* Accepted;
    bool (*Accepts)(double);
};

const NumberRule NumberRules[] = {
    {"Edit1", "0 < 値", [](double v) { return v > 0 && std::isfinite(v); }},
    {"Edit7", "0 < 値 ≦ 1000", [](double v) { return v > 0 && v <= 1000; }},
    {"Edit8", "0 < 値 < 180", [](double v) { return v > 0 && v < 180; }},
    {"Edit5", "0 ≦ 値", [](double v) { return v >= 0 && Drawable(v); }},
    {"Edit6", "0 ≦ 値", [](double v) { return v >= 0 && Drawable(v); }},
    {"Edit9", "0 ≦ 値", [](double v) { return v >= 0 && Drawable(v); }},
    {"Edit4", "図面に描ける大きさの数値", [](double v) { return Drawable(v); }},
};

const NumberRule* RuleOf(std::string_view controlName)
{
    for (const NumberRule& rule : NumberRules)
        if (rule.Control == controlName)
            return &rule;
    return nullptr;
}

// Full-width digits, point or minus: "５", "．", "－" in Shift-JIS.
bool HasFullWidthDigits(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) || i + 1 >= text.size())
            continue;
        const auto trail = static_cast<unsigned char>(text[++i]);
        if ((lead == 0x82 && trail >= 0x4F && trail <= 0x58) || (lead == 0x81 && (trail == 0x44 || trail == 0x7C)))
            return true;
    }
    return false;
}

}  // namespace

bool Accepts(std::string_view controlName, double value)
{
    const NumberRule* rule = RuleOf(controlName);
    return rule == nullptr || rule->Accepts(value);
}

std::string AcceptedValues(std::string_view controlName)
{
    if (const NumberRule* rule = RuleOf(controlName))
        return rule->Accepted;
    if (controlName.starts_with("ComboBox") || controlName.starts_with("RadioGroup"))
        return "項目を選択";
    return {};
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

std::string RefusalText(const TForm1& form, const std::string& controlName)
{
    const std::string accepted = AcceptedValues(controlName);
    const TEdit* edit = form.EditNamed(controlName);
    // One line of the dialog's status band, at its longest label.
    const std::string what = edit != nullptr && HasFullWidthDigits(edit->Text) ? "は半角の数字で入力してください"
                                                                               : "の値は受け付けられません";
    return "「" + ControlLabel(controlName) + "」" + what + (accepted.empty() ? "" : "（" + accepted + "）");
}
