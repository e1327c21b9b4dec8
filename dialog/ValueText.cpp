// The dimension value: its text type, and the string of prefix, number,
// unit and suffix.
#include "dialog/Construction.h"
#include "exchange/DrawingState.h"
#include "helpers/MyFunc.h"

namespace {

ValueTextTypeRecord HostTextType(int32_t number)
{
    const TextType& t = DrawingState.TextTypes[number - 1];
    return {number, t.Width, t.Height, t.Spacing, t.Color};
}

// Zeros after the decimal point go from the end, and the point with them
// when nothing else followed it; the integer digits always stay.
std::string WithoutTrailingZeros(const std::string& s)
{
    const std::size_t point = s.find('.');
    if (point == std::string::npos)
        return s;
    std::size_t cut = s.size();
    for (std::size_t i = s.size(); i-- > point;) {
        if (s[i] != '0' && s[i] != '.')
            break;
        cut = i;
    }
    return s.substr(0, cut);
}

}  // namespace

ValueTextTypeRecord ChooseValueTextType(int32_t textTypeChoice)
{
    if (textTypeChoice >= 1 && textTypeChoice <= TextTypeCount)
        return HostTextType(textTypeChoice);
    const InitialAttributeSet& a = DrawingState.InitialAttributes;
    if (a.TextType == 0)
        return {0, a.FreeWidth, a.FreeHeight, a.FreeSpacing, a.FreeColor};
    const int32_t t = (a.TextType < 1 || a.TextType > TextTypeCount) ? 1 : a.TextType;
    return HostTextType(t);
}

std::string BuildValueText(const DimensionOptionsRecord& o, const PointD& start, const PointD& end)
{
    // Drawing units read as millimetres.
    double value = Distance(start.X, start.Y, end.X, end.Y);
    if (o.UnitChoice == 1)
        value /= 1000;
    value = RoundDecimals(value, o.Decimals, o.RoundingMode);
    std::string s = o.UseSeparators ? FormatWithSeparators(value, o.Decimals) : FormatFixed(value, o.Decimals);
    if (o.ZeroDisplay == 0)
        s = WithoutTrailingZeros(s);
    // Only the number turns full width; the framing stays as typed.
    if (o.FullWidth)
        s = ToFullWidth(s);
    s = o.Prefix + s;
    if (o.AppendUnit)
        s += o.UnitChoice == 0 ? "mm" : "ｍ";
    return s + o.Suffix;
}
