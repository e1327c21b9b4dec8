// The settings file "q304.dat": one value per line, CR LF, no keys.
//
//   lines 1-2    SavedLeft, SavedTop            decimal
//   lines 3-7    ComboBox1..ComboBox5           item index
//   lines 8-16   Edit1..Edit9                   text as typed
//   lines 17-18  RadioGroup1, RadioGroup2       item index
//   lines 19-22  CheckBox1..CheckBox4           "1" / "0"
//   lines 23-31  layer group, its scale, axis angle, picked points 1-3
//                (written for reference, never read back)
#include <string_view>
#include <vector>

#include "dialog/Unit1.h"
#include "exchange/DrawingState.h"
#include "helpers/MyFunc.h"
#include "platform/Files.h"

namespace {

constexpr int LinesRead = 22;

// CR LF or LF ends a line; the text after the last line end is a line too.
std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        lines.push_back(bytes.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

// A line break inside an edit text would shift every later line of the
// file, so the text is written up to its first one.
std::string SingleLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

int32_t IndexFromLine(const std::string& line)
{
    const int32_t index = StrToIntSafe(line);
    return index < 0 ? 0 : index;
}

}  // namespace

void TForm1::LoadSettings(const std::string& path)
{
    SavedLeft = 100;
    SavedTop = 100;
    if (!platform::FileExists(path))
        return;
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes))
        return;
    std::vector<std::string> lines = SplitLines(bytes);
    lines.resize(LinesRead);  // missing lines read as empty text

    SavedLeft = StrToIntSafe(lines[0]);
    SavedTop = StrToIntSafe(lines[1]);
    TComboBox* boxes[] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5};
    for (int i = 0; i < 5; ++i)
        boxes[i]->SetItemIndex(IndexFromLine(lines[2 + i]));
    TEdit* edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9};
    for (int i = 0; i < 9; ++i)
        edits[i]->Text = lines[7 + i];
    RadioGroup1.SetItemIndex(IndexFromLine(lines[16]));
    RadioGroup2.SetItemIndex(IndexFromLine(lines[17]));
    TCheckBox* checks[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4};
    for (int i = 0; i < 4; ++i)
        checks[i]->Checked = StrToIntSafe(lines[18 + i]) != 0;
}

void TForm1::SaveSettings(const std::string& path)
{
    std::string bytes;
    auto line = [&bytes](const std::string& text) { bytes += text + "\r\n"; };

    line(FormatInt(SavedLeft));
    line(FormatInt(SavedTop));
    for (const TComboBox* box : {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5})
        line(FormatInt(box->ItemIndex));
    for (const TEdit* edit : {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9})
        line(SingleLine(edit->Text));
    line(FormatInt(RadioGroup1.ItemIndex));
    line(FormatInt(RadioGroup2.ItemIndex));
    for (const TCheckBox* check : {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4})
        line(check->Checked ? "1" : "0");

    const int32_t group = DrawingState.InitialAttributes.LayerGroup;
    line(FormatInt(group));
    // The reader keeps the layer group in 0..15; a model filled otherwise
    // must not make the save read outside the table.
    line(FormatReal(group >= 0 && group < LayerGroupCount ? DrawingState.LayerGroupScales[group] : 1.0));
    line(FormatReal(DrawingState.AxisAngle));
    for (int i = 1; i <= 3; ++i) {
        const bool known = static_cast<int>(DrawingState.PickedPoints.size()) > i;
        line(FormatReal(known ? DrawingState.PickedPoints[i].X : 0.0));
        line(FormatReal(known ? DrawingState.PickedPoints[i].Y : 0.0));
    }

    // Written whole or not at all: a failed write leaves no file, and the
    // next start then uses the defaults.
    platform::WriteWholeFile(path, bytes);
}
