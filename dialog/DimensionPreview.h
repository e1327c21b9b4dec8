#pragma once
// The records OK would emit now, computed from the dialog's current values
// by the very phases OK runs, without any of OK's effects: no settings
// written, no status text, no focus move, no message, no close, and the
// output store and attribute cache exactly as they were.
#include <string>

#include "dialog/Construction.h"

class TForm1;

struct DimensionPreviewResult {
    ConstructionOutcome Outcome = ConstructionOutcome::Refused;
    std::string BadControl;           // Refused: the control OK would put the focus on
    DimensionConstruction Dimension;  // Drawn: the values the phases derived
    std::string Records;              // Drawn: the records as the exchange file would carry them
};

DimensionPreviewResult PreviewDimension(const TForm1& form);

// The label the dialog shows for a control ("長さ" for Edit7,
// "小数点以下の０表示" for RadioGroup1); the name itself when it has none.
std::string ControlLabel(const std::string& controlName);

// One line for a status strip: the value text when the dimension can be
// drawn (with the reversed arrows noted), the refused control by its label,
// or the zero-length message. Shift-JIS.
std::string PreviewStatusText(const DimensionPreviewResult& result);
