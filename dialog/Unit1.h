#pragma once
// The program's one dialog. It holds the controls' values, not widgets: a
// front end (Win32 window, console, the tests' recorder) shows them, writes
// the user's changes back into them, keeps Left/Top in step with the
// window, and carries out the four effects the handlers ask for through
// FormToolkit. Strings are Shift-JIS bytes; paths are UTF-8.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/DimensionKind.h"
#include "dialog/FormToolkit.h"
#include "dialog/PointD.h"
#include "dialog/Settings.h"

struct TComboBox {
    std::vector<std::string> Items;
    int ItemIndex = -1;  // -1: no selection
    // As a drop-down list does: an index outside the items clears the selection.
    void SetItemIndex(int index);
};

struct TEdit {
    std::string Text;
    int MaxLength = 0;  // characters; 0: no limit
    bool ImeOff = false;
};

struct TCheckBox {
    bool Checked = false;
};

struct TRadioGroup {
    std::vector<std::string> Items;
    int ItemIndex = -1;
    // As a radio group does: past the last button selects the last one;
    // a negative index clears the selection.
    void SetItemIndex(int index);
};

struct TButton {
    std::string Caption;
};

struct TMemo {
    std::vector<std::string> Lines;
};

struct TLabel {
    std::string Caption;
};

class TForm1 {
public:
    // Every control with the defaults of the form description; the caption,
    // the help text and the settings file those of the kind.
    explicit TForm1(FormToolkit* toolkit = nullptr, DimensionKind kind = DimensionKind::Vertical);

    const DimensionKind Kind;
    std::string Caption;           // "垂直寸法線Ｂ"
    std::string ApplicationTitle;  // "q308_垂直寸法線Ｂ"

    TComboBox ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5;
    TEdit Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9;
    TCheckBox CheckBox1, CheckBox2, CheckBox3, CheckBox4;
    TRadioGroup RadioGroup1, RadioGroup2;
    TButton Button1, Button2;
    TMemo Memo1;
    TLabel LabelA1;

    // The dialog's screen position. The front end sets these before it
    // calls Button1Click and moves its window here after FormShow.
    int Left = 0;
    int Top = 0;
    // The remembered position, loaded from and saved to the settings file.
    int32_t SavedLeft = 0;
    int32_t SavedTop = 0;

    // Where the exchange file and the settings file live, ending in a path
    // delimiter. FormShow sets it to the executable's folder when it is
    // still empty, so a test can point it at a folder of its own first.
    std::string ProgramFolder;

    FormToolkit* Toolkit = nullptr;

    // Points 3 (where the dimension line runs) and 4 (where the value
    // stands) as the user placed them in the preview, for the rest of the
    // run; unset, the host's picks. The model, and so the settings file,
    // keeps what the host picked.
    std::optional<PointD> MovedPoint3, MovedPoint4;
    // A chain's values the user placed, by span number (1-based); span 1
    // also takes MovedPoint4. The others stand where the row puts them.
    std::map<int, PointD> MovedSpanValues;
    // Both points, and every span's value, back where the host picked them.
    void ResetMovedPoints();

    // Dimension after dimension: OK's output ends with the record "hr", so
    // that the host runs this kind again and asks for the next dimension's
    // points at once; Cancel and the close box write no "hr" and so end the
    // series. FormShow reads the kind's choice from q308.ini; FormClose
    // keeps it there when it changed in this run.
    bool RepeatAfterOk = false;
    void ToggleRepeat();  // the dialog's menu item

    // Whether FormShow could read the exchange file: without it the program
    // was not started by the host.
    bool ExchangeFileRead = false;

    // Set by FormClose: the records reached the exchange file. False when
    // writing it failed and the user gave up; the program then ends with a
    // non-zero status.
    bool ExchangeFileWritten = false;

    // Handlers, called by the front end.
    void FormShow();      // once, when the dialog is first shown
    void FormClose();     // once, when the dialog has closed, however it closed
    void Button1Click();  // OK
    void Button2Click();  // Cancel (also Escape)
    // Asks the front end to close the dialog; it then calls FormClose.
    void Close();

    // The kind's settings file in ProgramFolder ("q304.dat" for the vertical dimension).
    std::string SettingsPath() const;
    void LoadSettings(const std::string& path);
    void SaveSettings(const std::string& path);
    // The values the settings file keeps, from the controls and back; the
    // controls take item indexes as they take a selection.
    SettingsValues CurrentSettings() const;
    void ApplySettings(const SettingsValues& values);

    // The control of that name, or nullptr: for front ends that walk the
    // form description.
    TComboBox* ComboBoxNamed(std::string_view name);
    TEdit* EditNamed(std::string_view name);
    const TEdit* EditNamed(std::string_view name) const
    {
        return const_cast<TForm1*>(this)->EditNamed(name);
    }
    TCheckBox* CheckBoxNamed(std::string_view name);
    TRadioGroup* RadioGroupNamed(std::string_view name);

    // Status line: set the text and have it shown at once.
    void ShowStatus(const std::string& text);
    void Focus(const std::string& controlName);

private:
    bool closed_ = false;
    bool repeatAtStart_ = false;
};

// The menu item of the repeat choice, checked while it is on.
inline constexpr const char* RepeatItemText = "連続して作図（ＯＫの後、次の寸法の点を指示）";

// The exchange file in ProgramFolder; each kind names its settings file in
// DimensionKind.
inline constexpr std::string_view ExchangeFileName = "JWC_TEMP.TXT";

// A run that shows no dialog and draws nothing: the exchange file in
// programFolder (the executable's when empty) holds the empty output.
void HandBackNothing(std::string programFolder = {});

namespace platform {
struct FileError;
}
// The question when the exchange file cannot be written: what is lost, the
// file, the system's reason, advice that fits it, and what the buttons do.
// Shift-JIS.
std::string HandBackFailure(const std::string& path, const platform::FileError& error);
