#include "dialog/Unit1.h"

#include "dialog/DimensionPreview.h"
#include "dialog/FormLayout.h"
#include "dialog/PreviewSettings.h"
#include "dialog/RepeatSettings.h"
#include "exchange/DrawingState.h"
#include "exchange/Emitters.h"
#include "exchange/ExchangeReader.h"
#include "exchange/OutputStore.h"
#include "helpers/MyFunc.h"
#include "platform/Charset.h"
#include "platform/ExecutablePath.h"
#include "platform/Files.h"

void TComboBox::SetItemIndex(int index)
{
    ItemIndex = (index >= 0 && index < static_cast<int>(Items.size())) ? index : -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < 0)
        index = -1;
    if (index >= static_cast<int>(Items.size()))
        index = static_cast<int>(Items.size()) - 1;
    ItemIndex = index;
}

namespace {

std::vector<std::string> ToStrings(std::span<const std::string_view> items)
{
    return {items.begin(), items.end()};
}

}  // namespace

TForm1::TForm1(FormToolkit* toolkit, DimensionKind kind)
    : Kind(kind), Caption(DescribeKind(kind).Caption), ApplicationTitle(DescribeKind(kind).ApplicationTitle),
      Toolkit(toolkit)
{
    Left = layout::Form().Left;
    Top = layout::Form().Top;
    for (const layout::ControlDescription& d : layout::Controls()) {
        switch (d.Kind) {
        case layout::ControlKind::ComboBox: {
            TComboBox* box = ComboBoxNamed(d.Name);
            box->Items = ToStrings(d.Items);
            box->SetItemIndex(d.DefaultIndex);
            break;
        }
        case layout::ControlKind::Edit: {
            TEdit* edit = EditNamed(d.Name);
            edit->Text = std::string(d.Caption);
            edit->MaxLength = d.MaxLength;
            edit->ImeOff = d.ImeOff;
            break;
        }
        case layout::ControlKind::CheckBox:
            CheckBoxNamed(d.Name)->Checked = d.DefaultChecked;
            break;
        case layout::ControlKind::RadioGroup: {
            TRadioGroup* group = RadioGroupNamed(d.Name);
            group->Items = ToStrings(d.Items);
            group->SetItemIndex(d.DefaultIndex);
            break;
        }
        case layout::ControlKind::Button:
            (d.Name == "Button1" ? Button1 : Button2).Caption = std::string(d.Caption);
            break;
        case layout::ControlKind::Memo:
            Memo1.Lines = ToStrings(DescribeKind(kind).HelpLines);
            break;
        case layout::ControlKind::StatusLabel:
            LabelA1.Caption = std::string(d.Caption);
            break;
        }
    }
}

TComboBox* TForm1::ComboBoxNamed(std::string_view name)
{
    TComboBox* boxes[] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5};
    if (name.size() == 9 && name.starts_with("ComboBox") && name[8] >= '1' && name[8] <= '5')
        return boxes[name[8] - '1'];
    return nullptr;
}

TEdit* TForm1::EditNamed(std::string_view name)
{
    TEdit* edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9};
    if (name.size() == 5 && name.starts_with("Edit") && name[4] >= '1' && name[4] <= '9')
        return edits[name[4] - '1'];
    return nullptr;
}

TCheckBox* TForm1::CheckBoxNamed(std::string_view name)
{
    TCheckBox* boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4};
    if (name.size() == 9 && name.starts_with("CheckBox") && name[8] >= '1' && name[8] <= '4')
        return boxes[name[8] - '1'];
    return nullptr;
}

TRadioGroup* TForm1::RadioGroupNamed(std::string_view name)
{
    if (name == "RadioGroup1")
        return &RadioGroup1;
    if (name == "RadioGroup2")
        return &RadioGroup2;
    return nullptr;
}

void TForm1::ShowStatus(const std::string& text)
{
    LabelA1.Caption = text;
    if (Toolkit)
        Toolkit->RepaintStatus(text);
}

void TForm1::Focus(const std::string& controlName)
{
    if (Toolkit)
        Toolkit->FocusControl(controlName);
}

namespace {

// "現在の文字種(No3)", "No1: W2.5 H2.5 D0.5": the value's text types as the
// list shows them.
void FillTextTypeList(TComboBox& box)
{
    box.Items.clear();
    box.ItemIndex = -1;
    const int32_t current = DrawingState.InitialAttributes.TextType;
    if (current == 0)
        box.Items.push_back("現在の文字種(Free)");
    else
        box.Items.push_back("現在の文字種(No" + FormatInt(current) + ")");
    for (int i = 1; i <= TextTypeCount; ++i) {
        const TextType& t = DrawingState.TextTypes[i - 1];
        box.Items.push_back("No" + FormatInt(i) + ": W" + FormatReal(t.Width) + " H" + FormatReal(t.Height) +
                            " D" + FormatReal(t.Spacing));
    }
}

// A run that was ended while it wrote one of its files leaves the temporary
// file behind; nothing else would ever remove it.
void RemoveLeftoverTemporaries(const std::string& folder)
{
    // Every kind's settings file: the run that was ended may have been of another kind.
    std::vector<std::string_view> names{ExchangeFileName, PreviewSettingsFileName};
    for (const DimensionKind kind : AllKinds)
        names.push_back(DescribeKind(kind).SettingsFileName);
    for (const std::string_view name : names) {
        const std::string temporary = platform::TemporaryPath(folder + std::string(name));
        if (platform::FileExists(temporary))
            platform::RemoveFile(temporary);
    }
}

// The records reach the host, or the user decides to give up: the file may
// be held by another program for longer than the writer waits, or the disk
// may be full. Each failed attempt is told once; only the user tries again.
bool HandBack(const std::string& path, FormToolkit* toolkit)
{
    for (;;) {
        platform::FileError error;
        if (TryWriteExchangeFile(path, error))
            return true;
        if (toolkit == nullptr || !toolkit->AskRetry(HandBackFailure(path, error)))
            break;
    }
    DiscardExchangeFile(path);
    return false;
}

}  // namespace

// Lines short enough that no message box breaks them again, inside a word.
std::string HandBackFailure(const std::string& path, const platform::FileError& error)
{
    std::string text = "寸法を Jw_cad に渡せませんでした。\n\n" + platform::Utf8ToSjis(path) + "\n";
    const std::string reason = platform::FileErrorText(error);
    if (!reason.empty())
        text += reason + "\n";
    text += "\n";
    if (error.Passing)
        text += "このファイルを開いているプログラム（ウイルス対策、\n同期ソフトなど）を閉じてから、";
    else if (error.Full)
        text += "ディスクの空き領域を増やしてから、";
    else
        text += "このフォルダーに書き込めることを確かめてから、";
    return text + "\n［再試行］をクリックしてください。\n"
                  "［キャンセル］をクリックすると、何も作図されません。";
}

void TForm1::FormShow()
{
    InitDrawingState();
    if (ProgramFolder.empty())
        ProgramFolder = platform::ExecutableFolder();
    RemoveLeftoverTemporaries(ProgramFolder);
    ExchangeFileRead = ReadExchangeFile(ProgramFolder + std::string(ExchangeFileName));
    ResetOutputAttributes();
    FillTextTypeList(ComboBox3);
    LoadSettings(SettingsPath());
    RepeatAfterOk = repeatAtStart_ = LoadRepeatChoice(ProgramFolder + std::string(PreviewSettingsFileName), Kind);
    Left = SavedLeft;
    Top = SavedTop;
    // Double-clicked rather than started by the host: the band says so
    // before OK can only find a length of 0.
    if (!ExchangeFileRead)
        ShowStatus(NotStartedByHostText(Kind));
}

void TForm1::FormClose()
{
    // A second close would write the freed, empty store over the first
    // run's output.
    if (closed_)
        return;
    closed_ = true;
    // However the dialog closed: the choice is the user's, not the run's.
    // Unchanged, it writes nothing, so an untouched run leaves no new file.
    if (RepeatAfterOk != repeatAtStart_)
        SaveRepeatChoice(ProgramFolder + std::string(PreviewSettingsFileName), Kind, RepeatAfterOk);
    {
        // The records are written from the output store alone; the model
        // goes meanwhile.
        const DrawingStateRelease release = FreeDrawingStateAside();
        ExchangeFileWritten = HandBack(ProgramFolder + std::string(ExchangeFileName), Toolkit);
    }
    FreeDrawingState();
}

std::string TForm1::SettingsPath() const { return ProgramFolder + std::string(DescribeKind(Kind).SettingsFileName); }

void TForm1::Button2Click() { Close(); }

void TForm1::ToggleRepeat() { RepeatAfterOk = !RepeatAfterOk; }

void TForm1::ResetMovedPoints()
{
    MovedPoint3.reset();
    MovedPoint4.reset();
    MovedSpanValues.clear();
}

void HandBackNothing(std::string programFolder)
{
    if (programFolder.empty())
        programFolder = platform::ExecutableFolder();
    InitDrawingState();
    WriteExchangeFile(programFolder + std::string(ExchangeFileName));
    FreeDrawingState();
}

void TForm1::Close()
{
    if (Toolkit)
        Toolkit->CloseForm();
}
