#pragma once
// The dialog's form as data: every control, label, text, size and colour in
// one place. Front ends (Win32, console) build their windows or screens from
// this and repeat none of it. Texts are Shift-JIS byte strings.
#include <cstdint>
#include <span>
#include <string_view>

namespace layout {

enum class ControlKind {
    ComboBox,     // drop-down list, no typing
    Edit,         // single line
    CheckBox,
    RadioGroup,   // framed group of radio buttons with a caption
    Button,
    Memo,         // read-only, vertical scroll bar, no word wrap, Enter inserts nothing
    StatusLabel,  // strip docked to the bottom edge, text centred both ways
};

struct Rgb {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
};

constexpr Rgb White{255, 255, 255};

struct ControlDescription {
    std::string_view Name;  // "ComboBox1", "Edit7", ...
    ControlKind Kind;
    int Left, Top, Width, Height;
    // Check box, radio group and button caption; edit and status label:
    // the initial text.
    std::string_view Caption;
    // Item lists (combo box, radio group) and the memo's lines.
    std::span<const std::string_view> Items;
    int DefaultIndex;  // combo box / radio group selection; -1 none
    bool DefaultChecked;
    int MaxLength;     // edit: characters; 0 means no limit
    bool ImeOff;       // the Japanese input method is disabled in the control
    int Columns;       // radio group
    int TabOrder;      // -1: not a tab stop
    bool IsDefaultButton;
    bool IsCancelButton;
    bool HasBackground;
    Rgb Background;
};

enum class LabelRole {
    Caption,  // the label beside a control, naming it
    Unit,     // the unit after a control
    Heading,  // a heading above a control
    Note,     // a remark beside a control
};

// Static labels size themselves to their text (Width x Height is what a
// monospaced face of the label's height needs; a toolkit that measures
// text may use its own measure).
struct LabelDescription {
    std::string_view Text;
    int Left, Top, Width, Height;
    int FontHeight;               // pixels
    std::string_view ControlName; // the control the label belongs to
    LabelRole Role;
};

struct FormDescription {
    std::string_view Caption;           // "垂直寸法線Ｂ"
    std::string_view ApplicationTitle;  // "q308_垂直寸法線Ｂ"
    int ClientWidth, ClientHeight;
    int Left, Top;                      // initial position; FormShow replaces it
    std::string_view FontName;          // "ＭＳ ゴシック"
    int FontHeight;                     // pixels
    int Charset;                        // 128: Shift-JIS
    Rgb Background;
    bool Resizable;                     // single fixed border
    bool MinimiseButton;
    bool MaximiseButton;
    // The layout is never rearranged for the screen's density: a front end
    // that draws at another density magnifies this 96-DPI layout as a whole.
    bool ScaleWithDpi;
};

const FormDescription& Form();
// Input controls in tab order, then the memo and the status label.
std::span<const ControlDescription> Controls();
std::span<const LabelDescription> Labels();

// nullptr when no control has that name.
const ControlDescription* FindControl(std::string_view name);
// The first label of that role belonging to the control; nullptr if none.
const LabelDescription* FindLabel(std::string_view controlName, LabelRole role);

}  // namespace layout
