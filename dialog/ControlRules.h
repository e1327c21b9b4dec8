#pragma once
// What each control of the dialog accepts, in one table: OK's check reads
// it to refuse a value, and the refusal's wording (the dialog's status band
// and the preview's strip) reads it to say what would do.
#include <string>
#include <string_view>

class TForm1;

// Whether the number read from an edit box is one it accepts. A control
// without a rule accepts anything.
bool Accepts(std::string_view controlName, double value);

// What a control accepts as a user reads it ("0 < 値 ≦ 1000", "項目を選択");
// empty when there is nothing to say. Shift-JIS.
std::string AcceptedValues(std::string_view controlName);

// The label the dialog shows for a control ("長さ" for Edit7,
// "小数点以下の０表示" for RadioGroup1); the name itself when it has none.
std::string ControlLabel(const std::string& controlName);

// Why OK refused the control's value, in one sentence: its label and what
// it accepts; where the text holds full-width digits (typed with the input
// method on), that the number goes in half-width. Shift-JIS.
std::string RefusalText(const TForm1& form, const std::string& controlName);
