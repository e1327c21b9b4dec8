// OK: the whole dimension in one uninterrupted pass. Either every record is
// emitted and the dialog closes, or nothing is emitted and it stays open.
#include <cmath>

#include "dialog/Construction.h"
#include "dialog/Unit1.h"

void TForm1::Button1Click()
{
    // Where the dialog stood when OK was pressed, even if a check then fails.
    SavedLeft = Left;
    SavedTop = Top;

    DimensionConstruction c;
    const std::string badControl = ReadDimensionOptions(*this, c.DimensionOptions);
    if (!badControl.empty()) {
        Focus(badControl);
        return;
    }
    SaveSettings(ProgramFolder + std::string(SettingsFileName));

    DeriveDimensionLine(c);
    if (std::fabs(c.MeasuredLength) < 1e-10) {
        if (Toolkit)
            Toolkit->ShowMessage("寸法が「0」になりますので作図出来ません");
        return;
    }
    ShowStatus("処理中です");
    EmitAttributeSetUp();

    DrawExtensionLines(c);

    c.ValueTextType = ChooseValueTextType(c.DimensionOptions.TextTypeChoice);
    c.ValueText = BuildValueText(c.DimensionOptions, c.DimLineStart, c.DimLineEnd);

    PlaceValue(c);
    DrawDimension(c);

    ShowStatus("ファイル生成中です");
    Close();
}
