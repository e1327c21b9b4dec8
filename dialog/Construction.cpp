// OK: the whole dimension in one uninterrupted pass. Either every record is
// emitted and the dialog closes, or nothing is emitted and it stays open.
#include <cmath>

#include "dialog/Construction.h"

#include "dialog/ChainConstruction.h"
#include "dialog/ControlRules.h"
#include "dialog/Unit1.h"
#include "exchange/Emitters.h"

bool AcceptControls(const TForm1& form, DimensionConstruction& c, std::string& badControl,
                    const ConstructionEffects& effects)
{
    badControl = ReadDimensionOptions(form, c.DimensionOptions);
    if (!badControl.empty())
        return false;
    if (effects.ChecksPassed)
        effects.ChecksPassed();
    c.Kind = form.Kind;
    return true;
}

ConstructionOutcome ConstructDimension(const TForm1& form, DimensionConstruction& c, std::string& badControl,
                                       const ConstructionEffects& effects, ChainRow* row)
{
    if (IsChain(form.Kind)) {
        ChainRow own;
        return ConstructChain(form, c, row ? *row : own, badControl, effects);
    }
    if (!AcceptControls(form, c, badControl, effects))
        return ConstructionOutcome::Refused;
    c.MovedP3 = form.MovedPoint3;
    c.MovedP4 = form.MovedPoint4;
    DeriveDimensionLine(c);
    if (std::fabs(c.MeasuredLength) < 1e-10)
        return ConstructionOutcome::ZeroLength;
    if (effects.DrawingStarts)
        effects.DrawingStarts();
    EmitAttributeSetUp();

    DrawExtensionLines(c);

    c.ValueTextType = ChooseValueTextType(c.DimensionOptions.TextTypeChoice);
    c.ValueText = BuildValueText(c.DimensionOptions, c.DimLineStart, c.DimLineEnd);

    PlaceValue(c);
    DrawDimension(c);
    return ConstructionOutcome::Drawn;
}

void TForm1::Button1Click()
{
    // Where the dialog stood when OK was pressed, even if a check then fails.
    SavedLeft = Left;
    SavedTop = Top;

    DimensionConstruction c;
    ChainRow row;
    std::string badControl;
    const ConstructionEffects effects{
        [this] { SaveSettings(SettingsPath()); },
        [this] { ShowStatus("処理中です"); },
    };
    switch (ConstructDimension(*this, c, badControl, effects, &row)) {
    case ConstructionOutcome::Refused:
        // The band says why; the focus goes where the value is to be mended.
        ShowStatus(RefusalText(*this, badControl));
        Focus(badControl);
        return;
    case ConstructionOutcome::ZeroLength:
        if (Toolkit)
            Toolkit->ShowMessage(ZeroLengthMessage);
        return;
    case ConstructionOutcome::TooFewPoints:
        // Nothing can be drawn from this exchange file: the host finds "hq".
        if (Toolkit)
            Toolkit->ShowMessage(TooFewPointsMessage);
        Close();
        return;
    case ConstructionOutcome::Drawn:
        // A span that cannot be drawn is told, not dropped in silence.
        if (Toolkit && !row.ZeroSpans.empty())
            Toolkit->ShowMessage(ZeroSpansNote(row));
        break;
    }
    // After every record of the dimension, so the host draws it before it
    // runs this kind again.
    if (RepeatAfterOk)
        EmitRepeatRequest();
    ShowStatus("ファイル生成中です");
    Close();
}
