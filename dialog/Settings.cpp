// The settings file: its lines as data, and TForm1's load and save of it.
#include "dialog/Settings.h"

#include <algorithm>
#include <vector>

#include "dialog/Unit1.h"
#include "exchange/DrawingState.h"
#include "helpers/MyFunc.h"
#include "platform/Files.h"

namespace {

// CR LF or LF ends a line. With ended, the text after the last line end is
// dropped; otherwise it is a line too.
std::vector<std::string_view> SplitLines(std::string_view bytes, bool ended)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            if (ended)
                break;
            end = bytes.size();
        }
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        lines.push_back(bytes.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

int32_t IndexFromLine(std::string_view line)
{
    const int32_t index = StrToIntSafe(std::string(line));
    return index < 0 ? 0 : index;
}

std::string SingleLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

void ParseSettings(std::string_view bytes, bool complete, SettingsValues& values)
{
    const std::vector<std::string_view> lines = SplitLines(bytes, !complete);
    const std::size_t count = complete ? SettingsLinesRead : std::min<std::size_t>(lines.size(), SettingsLinesRead);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view line = i < lines.size() ? lines[i] : std::string_view();
        if (i == 0)
            values.SavedLeft = StrToIntSafe(std::string(line));
        else if (i == 1)
            values.SavedTop = StrToIntSafe(std::string(line));
        else if (i < 7)
            values.ComboBoxIndex[i - 2] = IndexFromLine(line);
        else if (i < 16)
            values.EditText[i - 7] = std::string(line);
        else if (i < 18)
            values.RadioGroupIndex[i - 16] = IndexFromLine(line);
        else
            values.CheckBoxChecked[i - 18] = StrToIntSafe(std::string(line)) != 0;
    }
}

std::string RenderSettings(const SettingsValues& values, const SettingsRunValues& run)
{
    std::string bytes;
    auto line = [&bytes](const std::string& text) { bytes += text + "\r\n"; };
    line(FormatInt(values.SavedLeft));
    line(FormatInt(values.SavedTop));
    for (int32_t index : values.ComboBoxIndex)
        line(FormatInt(index));
    for (const std::string& text : values.EditText)
        line(SingleLine(text));
    for (int32_t index : values.RadioGroupIndex)
        line(FormatInt(index));
    for (bool checked : values.CheckBoxChecked)
        line(checked ? "1" : "0");
    line(FormatInt(run.LayerGroup));
    line(FormatReal(run.LayerScale));
    line(FormatReal(run.AxisAngle));
    for (int i = 0; i < 3; ++i) {
        line(FormatReal(run.PointX[i]));
        line(FormatReal(run.PointY[i]));
    }
    return bytes;
}

SettingsRunValues SettingsRunFromModel(bool chain)
{
    SettingsRunValues run;
    const int32_t group = DrawingState.InitialAttributes.LayerGroup;
    run.LayerGroup = group;
    // The reader keeps the layer group in 0..15; a model filled otherwise
    // must not make the save read outside the table.
    run.LayerScale = group >= 0 && group < LayerGroupCount ? DrawingState.LayerGroupScales[group] : 1.0;
    run.AxisAngle = DrawingState.AxisAngle;
    // A chain's host numbers its line position 1 and its measured points from 2.
    const int chainOrder[3] = {2, 3, 1};
    for (int i = 0; i < 3; ++i) {
        const int number = chain ? chainOrder[i] : i + 1;
        if (static_cast<int>(DrawingState.PickedPoints.size()) > number) {
            run.PointX[i] = DrawingState.PickedPoints[number].X;
            run.PointY[i] = DrawingState.PickedPoints[number].Y;
        }
    }
    return run;
}

SettingsValues TForm1::CurrentSettings() const
{
    SettingsValues values;
    values.SavedLeft = SavedLeft;
    values.SavedTop = SavedTop;
    const TComboBox* boxes[] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5};
    for (int i = 0; i < 5; ++i)
        values.ComboBoxIndex[i] = boxes[i]->ItemIndex;
    const TEdit* edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9};
    for (int i = 0; i < 9; ++i)
        values.EditText[i] = edits[i]->Text;
    values.RadioGroupIndex[0] = RadioGroup1.ItemIndex;
    values.RadioGroupIndex[1] = RadioGroup2.ItemIndex;
    const TCheckBox* checks[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4};
    for (int i = 0; i < 4; ++i)
        values.CheckBoxChecked[i] = checks[i]->Checked;
    return values;
}

void TForm1::ApplySettings(const SettingsValues& values)
{
    SavedLeft = values.SavedLeft;
    SavedTop = values.SavedTop;
    TComboBox* boxes[] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5};
    for (int i = 0; i < 5; ++i)
        boxes[i]->SetItemIndex(values.ComboBoxIndex[i]);
    TEdit* edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9};
    for (int i = 0; i < 9; ++i)
        edits[i]->Text = values.EditText[i];
    RadioGroup1.SetItemIndex(values.RadioGroupIndex[0]);
    RadioGroup2.SetItemIndex(values.RadioGroupIndex[1]);
    TCheckBox* checks[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4};
    for (int i = 0; i < 4; ++i)
        checks[i]->Checked = values.CheckBoxChecked[i];
}

void TForm1::LoadSettings(const std::string& path)
{
    SavedLeft = 100;
    SavedTop = 100;
    if (!platform::FileExists(path))
        return;
    std::string bytes;
    const bool complete = platform::ReadWholeFile(path, bytes);
    SettingsValues values = CurrentSettings();
    ParseSettings(bytes, complete, values);
    ApplySettings(values);
}

void TForm1::SaveSettings(const std::string& path)
{
    // Written whole or not at all: a failed write leaves no file, and the
    // next start then uses the defaults. Where no temporary file can be made
    // beside it, the file is written in place rather than never saved.
    platform::WriteWholeFile(path, RenderSettings(CurrentSettings(), SettingsRunFromModel(IsChain(Kind))),
                             platform::WithoutTemporary::WriteInPlace);
}
