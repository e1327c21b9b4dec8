#pragma once
// The records OK would emit now, computed from the dialog's current values
// by the very phases OK runs, without any of OK's effects: no settings
// written, no status text, no focus move, no message, no close, and the
// output store and attribute cache exactly as they were.
#include <string>
#include <vector>

#include "dialog/ChainConstruction.h"
#include "dialog/Construction.h"

class TForm1;

struct DimensionPreviewResult {
    ConstructionOutcome Outcome = ConstructionOutcome::Refused;
    std::string BadControl;           // Refused: the control OK would put the focus on
    DimensionConstruction Dimension;  // Drawn: the values the phases derived
    std::string Records;              // Drawn: the records as the exchange file would carry them
    ChainRow Chain;                   // a chain kind's row
};

DimensionPreviewResult PreviewDimension(const TForm1& form);

// One line for a status strip: the value text when the dimension can be
// drawn (with the reversed arrows and the dimension figure noted), the
// refused control by its label with what it would accept, or the
// zero-length message. Shift-JIS.
std::string PreviewStatusText(const DimensionPreviewResult& result, const TForm1& form);

// Started without an exchange file (a double-click on the program): how it
// is meant to be started. Shift-JIS.
std::string NotStartedByHostText(DimensionKind kind);

// The strip under the preview, Shift-JIS: the status line, then notes: the
// distances whose text is no number and is read as 0, and, where the
// program could not read the exchange file, how it is meant to be started.
std::vector<std::string> PreviewStatusLines(const DimensionPreviewResult& result, const TForm1& form);

// The strip while a picked point, or a chain's span's value (span > 0), is
// dragged: which, and what it fixes.
std::string MovingPointText(int number, int span);

// What the picture's colours and numbers stand for.
inline constexpr const char* PreviewLegend = "灰色：作図データ　1～4：指示点　3・4：ドラッグで移動";
inline constexpr const char* ChainPreviewLegend = "灰色：作図データ　数字：指示点　1・□：ドラッグで移動";
