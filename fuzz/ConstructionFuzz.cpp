// The whole press of OK on arbitrary input: the bytes decide the kind, the
// drawing the host handed over (picked points, a chain's row of up to 99, axis angle, layer-group scales, text
// types, the host's attributes, extreme and denormal values among them) and
// every control of the dialog. Whatever they are, each stored output line
// is at most 255 bytes, every number in a record is finite and written in
// the record format, and a press of OK either closes the dialog or leaves
// the output empty.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "dialog/FormToolkit.h"
#include "dialog/Unit1.h"
#include "exchange/DrawingState.h"
#include "exchange/OutputStore.h"
#include "helpers/MyFunc.h"
#include "FuzzSupport.h"

using fuzzsupport::Require;

namespace {

class Toolkit : public FormToolkit {
public:
    bool CloseRequested = false;
    void FocusControl(const std::string&) override {}
    void ShowMessage(const std::string&) override {}
    void RepaintStatus(const std::string&) override {}
    void CloseForm() override { CloseRequested = true; }
};

// Finite values, the edges of the doubles among them; the reader never
// stores a value that is not finite.
double Real(FuzzedDataProvider& in)
{
    static constexpr double Edges[] = {0.0, -0.0, 1.0, -1.0, 90.0, 180.0, 270.0, 360.0, -90.0, 1e-10, 1e-8,
                                       4.9406564584124654e-324, -4.9406564584124654e-324, 1e-310, DBL_MIN,
                                       -DBL_MIN, DBL_MAX, -DBL_MAX, 1e15, -1e15, 1e100, 1e300, 0.5, 0.1};
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return in.PickValueInArray(Edges);
    case 1: {
        const uint64_t bits = in.ConsumeIntegral<uint64_t>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? value : DBL_MAX;
    }
    case 2:
        return in.ConsumeIntegralInRange<int>(-100000, 100000) / 8.0;
    default:
        return in.ConsumeFloatingPoint<double>();
    }
}

// A control's text: a number in one of the forms a user types, or bytes.
std::string Text(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
        return FormatReal(Real(in));
    case 1:
        return FormatFixed(Real(in), in.ConsumeIntegralInRange<int>(0, 20));
    default:
        return in.ConsumeRandomLengthString(40);
    }
}

void MakeModel(FuzzedDataProvider& in, bool chain)
{
    DrawingStateRecord& s = DrawingState;
    for (int i = 1; i <= 4; ++i) {
        PickedPoint& p = s.PickedPoints[i];
        p.Present = in.ConsumeBool();
        p.X = Real(in);
        p.Y = Real(in);
    }
    // A chain's row, up to the host's 99 points: new ones, a point picked
    // again, or one a hair from the last.
    const int last = chain ? in.ConsumeIntegralInRange<int>(4, PickedPointSlots - 1) : 4;
    for (int i = 5; i <= last; ++i) {
        PickedPoint& p = s.PickedPoints[i];
        const PickedPoint& before = s.PickedPoints[i - 1];
        p.Present = true;
        switch (in.ConsumeIntegralInRange<int>(0, 2)) {
        case 0:
            p.X = before.X;
            p.Y = before.Y;
            break;
        case 1:
            p.X = before.X + 1e-9;
            p.Y = before.Y + 1e-9;
            break;
        default:
            p.X = Real(in);
            p.Y = Real(in);
        }
    }
    s.AxisAngle = Real(in);
    for (double& scale : s.LayerGroupScales)
        scale = Real(in);
    for (TextType& t : s.TextTypes) {
        t.Width = Real(in);
        t.Height = Real(in);
        t.Spacing = Real(in);
        t.Color = in.ConsumeIntegral<int32_t>();
    }
    // As the reader stores them: layer group and layer in 0..15, anything
    // else as the file gave it.
    InitialAttributeSet& a = s.InitialAttributes;
    a.LayerGroup = in.ConsumeIntegralInRange<int32_t>(0, LayerGroupCount - 1);
    a.Layer = in.ConsumeIntegralInRange<int32_t>(0, LayersPerGroup - 1);
    a.LineColor = in.ConsumeIntegral<int32_t>();
    a.LineType = in.ConsumeIntegral<int32_t>();
    a.LineWidth = in.ConsumeIntegral<int32_t>();
    a.TextType = in.ConsumeIntegralInRange<int32_t>(-2, 12);
    a.FreeWidth = Real(in);
    a.FreeHeight = Real(in);
    a.FreeSpacing = Real(in);
    a.FreeColor = in.ConsumeIntegral<int32_t>();
    a.FontName = in.ConsumeRandomLengthString(40);
    s.LineWidthPresent = in.ConsumeBool();
}

void SetControls(FuzzedDataProvider& in, TForm1& form)
{
    for (TEdit* edit : {&form.Edit1, &form.Edit2, &form.Edit3, &form.Edit4, &form.Edit5, &form.Edit6, &form.Edit7,
                        &form.Edit8, &form.Edit9})
        if (in.ConsumeBool())
            edit->Text = Text(in);
    for (TComboBox* box : {&form.ComboBox1, &form.ComboBox2, &form.ComboBox3, &form.ComboBox4, &form.ComboBox5})
        box->SetItemIndex(in.ConsumeIntegralInRange<int>(-1, 12));
    for (TRadioGroup* group : {&form.RadioGroup1, &form.RadioGroup2})
        group->SetItemIndex(in.ConsumeIntegralInRange<int>(-1, 2));
    for (TCheckBox* check : {&form.CheckBox1, &form.CheckBox2, &form.CheckBox3, &form.CheckBox4})
        check->Checked = in.ConsumeBool();
}

// A number of a record names a finite value and is exactly what the record
// format writes for the double nearest to it. Read in extended precision,
// since fifteen digits of the very largest doubles round up past the
// range of a double (FormatReal(DBL_MAX) is "1.79769313486232E308").
void RequireRecordNumber(std::string_view token)
{
    const std::string text(token);
    char* end = nullptr;
    const long double value = std::strtold(text.c_str(), &end);
    Require(end == text.c_str() + text.size() && std::isfinite(value), "a number of a record is finite", text);
    const double nearest = value > DBL_MAX ? DBL_MAX : (value < -DBL_MAX ? -DBL_MAX : static_cast<double>(value));
    Require(FormatReal(nearest) == token, "a number of a record is in the record format", text);
}

bool StartsWithNumber(std::string_view token)
{
    return !token.empty() && (token[0] == '-' || (token[0] >= '0' && token[0] <= '9'));
}

void RequireRecords()
{
    const BlockList<std::string>& lines = OutputStore.Lines;
    bool textFollows = false;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        const std::string& line = lines[i];
        Require(line.size() <= MaxStoredLineBytes, "a stored line is at most 255 bytes");
        if (textFollows) {
            textFollows = false;  // the text of a text record: any bytes
            continue;
        }
        std::string_view rest = line;
        if (!rest.empty() && rest.back() == '"') {
            rest.remove_suffix(1);
            textFollows = true;
        }
        if (rest.starts_with("cn\"$"))
            continue;  // the font record: a name
        bool first = true;
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            const std::string_view token = rest.substr(0, blank);
            if (first && !StartsWithNumber(token)) {
                // A keyword, perhaps with its number run on ("lc3", "lgA").
                std::size_t letters = 0;
                while (letters < token.size() && token[letters] >= 'a' && token[letters] <= 'z')
                    ++letters;
                Require(letters > 0, "a record starts with a keyword or a number");
                const std::string_view number = token.substr(letters);
                if (token.starts_with("lg") || token.starts_with("ly"))
                    Require(number.size() == 1 && std::string_view("0123456789ABCDEF").find(number[0]) != std::string_view::npos,
                            "a layer group or layer is one hexadecimal digit");
                else if (!number.empty())
                    RequireRecordNumber(number);
            } else {
                Require(!token.empty(), "numbers are separated by one blank");
                RequireRecordNumber(token);
            }
            first = false;
            rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    Toolkit toolkit;
    const DimensionKind kind = in.PickValueInArray(AllKinds);
    TForm1 form(&toolkit, kind);
    // A folder that does not exist: no exchange file, no settings, and the
    // files OK and the close write cannot be made, so every run starts the same.
    form.ProgramFolder = "/nonexistent-q308-fuzz/";
    form.FormShow();
    MakeModel(in, IsChain(kind));
    SetControls(in, form);
    form.Left = in.ConsumeIntegral<int>();
    form.Top = in.ConsumeIntegral<int>();

    form.Button1Click();
    RequireRecords();
    if (!toolkit.CloseRequested)
        Require(OutputStore.Lines.Count() == 0, "a refused OK draws nothing");
    form.FormClose();
    return 0;
}
