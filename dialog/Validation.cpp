// Reading the dialog's controls for one press of OK. A bad value is
// reported by the name of its control, which then gets the focus; the
// order of the checks decides which one when several are bad. What each
// accepts is ControlRules.cpp's table.
#include "dialog/Construction.h"
#include "dialog/ControlRules.h"
#include "dialog/Unit1.h"
#include "helpers/MyFunc.h"

namespace {

// A blank prefix or suffix vanishes; any other keeps its spaces.
std::string Framing(const std::string& text)
{
    return StripSpaces(text).empty() ? std::string() : text;
}

}  // namespace

std::string ReadDimensionOptions(const TForm1& form, DimensionOptionsRecord& o)
{
    o.StartMarker = form.ComboBox1.ItemIndex;
    o.EndMarker = form.ComboBox2.ItemIndex;
    o.MarkerScale = StrToFloatSafe(form.Edit1.Text);
    if (o.StartMarker < 0)
        return "ComboBox1";
    if (o.EndMarker < 0)
        return "ComboBox2";
    if (!Accepts("Edit1", o.MarkerScale))
        return "Edit1";

    o.ArrowLength = StrToFloatSafe(form.Edit7.Text);
    o.ArrowAngle = StrToFloatSafe(form.Edit8.Text);
    if (!Accepts("Edit7", o.ArrowLength))
        return "Edit7";
    if (!Accepts("Edit8", o.ArrowAngle))
        return "Edit8";

    o.TextTypeChoice = form.ComboBox3.ItemIndex;
    o.Prefix = Framing(form.Edit2.Text);
    o.Suffix = Framing(form.Edit3.Text);

    o.Decimals = form.ComboBox4.ItemIndex;
    o.RoundingMode = form.ComboBox5.ItemIndex;
    o.ZeroDisplay = form.RadioGroup1.ItemIndex;
    o.UnitChoice = form.RadioGroup2.ItemIndex;
    o.UseSeparators = form.CheckBox1.Checked;
    o.AppendUnit = form.CheckBox2.Checked;
    o.FullWidth = form.CheckBox3.Checked;
    o.AsFigure = form.CheckBox4.Checked;
    o.ValueOffset = StrToFloatSafe(form.Edit4.Text);
    o.ExtensionGap = StrToFloatSafe(form.Edit5.Text);
    o.ExtensionOvershoot = StrToFloatSafe(form.Edit6.Text);
    o.ReverseOvershoot = StrToFloatSafe(form.Edit9.Text);

    if (o.TextTypeChoice < 0)
        return "ComboBox3";
    if (o.Decimals < 0)
        return "ComboBox4";
    if (o.RoundingMode < 0)
        return "ComboBox5";
    if (o.ZeroDisplay < 0)
        return "RadioGroup1";
    if (o.UnitChoice < 0)
        return "RadioGroup2";
    if (!Accepts("Edit5", o.ExtensionGap))
        return "Edit5";
    if (!Accepts("Edit6", o.ExtensionOvershoot))
        return "Edit6";
    if (!Accepts("Edit9", o.ReverseOvershoot))
        return "Edit9";
    if (!Accepts("Edit4", o.ValueOffset))
        return "Edit4";
    return {};
}
