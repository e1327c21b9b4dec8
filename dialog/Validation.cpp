// Reading the dialog's controls for one press of OK. A bad value is only
// reported by the name of its control, which then gets the focus; the
// order of the checks decides which one when several are bad.
#include <cmath>

#include "dialog/Construction.h"
#include "dialog/Unit1.h"
#include "helpers/MyFunc.h"

namespace {

// A blank prefix or suffix vanishes; any other keeps its spaces.
std::string Framing(const std::string& text)
{
    return StripSpaces(text).empty() ? std::string() : text;
}

// A distance that is, or becomes in drawing units, infinite would put "inf"
// into the host's records.
bool Drawable(double distance)
{
    return std::isfinite(distance) && std::isfinite(distance * CurrentLayerScale());
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
    // Written as "not greater than", so that a value that is not a number
    // fails as well.
    if (!(o.MarkerScale > 0) || !std::isfinite(o.MarkerScale))
        return "Edit1";

    o.ArrowLength = StrToFloatSafe(form.Edit7.Text);
    o.ArrowAngle = StrToFloatSafe(form.Edit8.Text);
    if (!(o.ArrowLength > 0) || o.ArrowLength > 1000)
        return "Edit7";
    if (!(o.ArrowAngle > 0) || o.ArrowAngle >= 180)
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
    if (!(o.ExtensionGap >= 0) || !Drawable(o.ExtensionGap))
        return "Edit5";
    if (!(o.ExtensionOvershoot >= 0) || !Drawable(o.ExtensionOvershoot))
        return "Edit6";
    if (!(o.ReverseOvershoot >= 0) || !Drawable(o.ReverseOvershoot))
        return "Edit9";
    if (!Drawable(o.ValueOffset))
        return "Edit4";
    return {};
}
