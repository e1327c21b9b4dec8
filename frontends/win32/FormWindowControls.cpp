// The dialog's child windows: built from the form description, placed at the
// dialog's density, filled from and read back into TForm1.
#include "frontends/win32/FormWindow.h"

#include <imm.h>

#include <algorithm>

#include "dialog/Unit1.h"
#include "platform/WideText.h"

namespace win32 {

using platform::SjisFromWide;
using platform::WideFromSjis;

namespace {

using layout::ControlKind;

constexpr int FirstControlId = 100;
// A radio group's buttons: FirstRadioId + 10 * the group's place + item.
constexpr int FirstRadioId = 1000;
// Items a dropped list shows before it scrolls.
constexpr int DropDownCount = 8;

// Made without a size: ApplyScale places every child.
HWND CreateChild(HWND parent, DWORD exStyle, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id)
{
    return CreateWindowExW(exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void Place(HWND window, const RECT& rect, int height)
{
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT RectInParent(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dropped list shows DropDownCount items, and the closed box is
// exactly as high as the description says. Resizing the box may reset its
// selection field, so the field comes last. What CB_GETITEMHEIGHT reports
// for the field differs between systems, so it is set to a known height
// first and then corrected by what the box measures.
void FitComboBoxHeight(HWND box, int width, int height)
{
    const LRESULT item = SendMessageW(box, CB_GETITEMHEIGHT, 0, 0);
    SetWindowPos(box, nullptr, 0, 0, width, height + DropDownCount * static_cast<int>(item) + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LRESULT field = item;
    SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const RECT rect = RectInParent(box);
        const int difference = height - (rect.bottom - rect.top);
        if (difference == 0)
            break;
        field += difference;
        SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

// The memo is read-only and must not swallow Tab, Enter and Escape: they
// keep moving the focus, pressing OK and cancelling, as on every other control.
LRESULT CALLBACK MemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
        return result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return result;
}

std::wstring JoinLines(const std::vector<std::string>& lines)
{
    std::wstring text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += L"\r\n";
        text += WideFromSjis(lines[i]);
    }
    return text;
}

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

HFONT FormWindow::FontOfHeight(int height)
{
    for (auto& [fontHeight, font] : fonts_)
        if (fontHeight == height)
            return font;
    const layout::FormDescription& form = layout::Form();
    // A negative height asks for the character height itself, leading excluded.
    const HFONT font = CreateFontW(-scale_.Length(height), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   static_cast<DWORD>(form.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, WideFromSjis(form.FontName).c_str());
    fonts_.emplace_back(height, font);
    return font;
}

void FormWindow::CreateControls()
{
    // Creation order is the tab order: each control follows its labels.
    for (const layout::ControlDescription& control : layout::Controls()) {
        for (const layout::LabelDescription& label : layout::Labels())
            if (label.ControlName == control.Name)
                CreateLabel(label);
        CreateControl(control);
    }
    SendMessageW(dialog_, DM_SETDEFID, IDOK, 0);
}

void FormWindow::CreateLabel(const layout::LabelDescription& label)
{
    const HWND window = CreateChild(dialog_, 0, L"STATIC", WideFromSjis(label.Text), SS_LEFT | SS_NOPREFIX, -1);
    labels_.emplace_back(window, &label);
}

void FormWindow::PlaceLabel(HWND window, const layout::LabelDescription& label)
{
    const std::wstring text = WideFromSjis(label.Text);
    const HFONT font = FontOfHeight(label.FontHeight);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // Sized to its text in the real font, so no face cuts it short.
    const RECT described = scale_.Rect(label.Left, label.Top, label.Width, label.Height);
    SIZE size{described.right - described.left, described.bottom - described.top};
    if (HDC dc = GetDC(dialog_)) {
        const HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size) &&
            GetTextMetricsW(dc, &metrics))
            size.cy = metrics.tmHeight;
        SelectObject(dc, old);
        ReleaseDC(dialog_, dc);
    }
    SetWindowPos(window, nullptr, described.left, described.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::CreateControl(const layout::ControlDescription& d)
{
    ControlWindow control;
    control.Description = &d;
    const int id = d.IsDefaultButton  ? IDOK
                   : d.IsCancelButton ? IDCANCEL
                                      : FirstControlId + static_cast<int>(controls_.size());
    const DWORD tabStop = d.TabOrder >= 0 ? WS_TABSTOP : 0;
    const std::wstring caption = WideFromSjis(d.Caption);

    switch (d.Kind) {
    case ControlKind::ComboBox:
        control.Window =
            CreateChild(dialog_, 0, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_GROUP | tabStop, id);
        break;
    case ControlKind::Edit:
        control.Window = CreateChild(dialog_, WS_EX_CLIENTEDGE, L"EDIT", caption,
                                     ES_LEFT | ES_AUTOHSCROLL | WS_GROUP | tabStop, id);
        SendMessageW(control.Window, EM_LIMITTEXT, static_cast<WPARAM>(d.MaxLength), 0);
        break;
    case ControlKind::CheckBox:
        control.Window = CreateChild(dialog_, 0, L"BUTTON", caption, BS_AUTOCHECKBOX | WS_GROUP | tabStop, id);
        break;
    case ControlKind::RadioGroup: {
        control.Window = CreateChild(dialog_, 0, L"BUTTON", caption, BS_GROUPBOX | WS_GROUP, id);
        for (std::size_t i = 0; i < d.Items.size(); ++i)
            control.Buttons.push_back(CreateChild(dialog_, 0, L"BUTTON", WideFromSjis(d.Items[i]),
                                                  BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | tabStop : 0),
                                                  FirstRadioId + 10 * static_cast<int>(controls_.size()) +
                                                      static_cast<int>(i)));
        break;
    }
    case ControlKind::Button:
        control.Window = CreateChild(dialog_, 0, L"BUTTON", caption,
                                     (d.IsDefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_GROUP | tabStop, id);
        break;
    case ControlKind::Memo: {
        control.Window = CreateChild(dialog_, WS_EX_CLIENTEDGE, L"EDIT", L"",
                                     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                                         WS_GROUP | tabStop,
                                     id);
        const LONG_PTR original =
            SetWindowLongPtrW(control.Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MemoProc));
        SetWindowLongPtrW(control.Window, GWLP_USERDATA, original);
        break;
    }
    case ControlKind::StatusLabel:
        control.Window = CreateChild(dialog_, 0, L"STATIC", caption, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, id);
        break;
    }
    if (control.Window == nullptr)
        return;
    if (d.ImeOff) {
        // No Japanese input method in number fields.
        ImmAssociateContext(control.Window, nullptr);
    }
    if (d.HasBackground)
        control.Background = CreateSolidBrush(RGB(d.Background.R, d.Background.G, d.Background.B));
    controls_.push_back(std::move(control));
}

void FormWindow::PlaceControl(const ControlWindow& control)
{
    const layout::ControlDescription& d = *control.Description;
    const HFONT font = FontOfHeight(layout::Form().FontHeight);
    const RECT rect = scale_.Rect(d.Left, d.Top, d.Width, d.Height);
    const int height = rect.bottom - rect.top;
    SendMessageW(control.Window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (d.Kind == ControlKind::ComboBox) {
        Place(control.Window, rect, height + DropDownCount * height);
        FitComboBoxHeight(control.Window, rect.right - rect.left, height);
    } else {
        Place(control.Window, rect, height);
    }
    // A radio group's buttons stand in columns under the frame's caption.
    const int count = static_cast<int>(control.Buttons.size());
    const int columns = std::max(1, d.Columns);
    const int rows = std::max(1, (count + columns - 1) / columns);
    const int top = layout::Form().FontHeight + 2;
    const int columnWidth = (d.Width - 10) / columns;
    const int rowHeight = (d.Height - top - 5) / rows;
    for (int i = 0; i < count; ++i) {
        const RECT button = scale_.Rect(d.Left + 8 + i / rows * columnWidth, d.Top + top + i % rows * rowHeight,
                                        columnWidth - 4, rowHeight);
        const HWND window = control.Buttons[static_cast<std::size_t>(i)];
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Place(window, button, button.bottom - button.top);
    }
}

void FormWindow::ApplyScale(const RECT* dialogRect)
{
    // The fonts of the old density go once every child has its new one.
    std::vector<std::pair<int, HFONT>> previous;
    previous.swap(fonts_);
    if (dialogRect != nullptr) {
        Place(dialog_, *dialogRect, dialogRect->bottom - dialogRect->top);
    } else {
        const layout::FormDescription& form = layout::Form();
        RECT frame{0, 0, scale_.Length(form.ClientWidth), scale_.Length(form.ClientHeight)};
        AdjustFrameForDpi(frame, static_cast<DWORD>(GetWindowLongW(dialog_, GWL_STYLE)),
                          static_cast<DWORD>(GetWindowLongW(dialog_, GWL_EXSTYLE)), scale_.Dpi);
        SetWindowPos(dialog_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const auto& [window, label] : labels_)
        PlaceLabel(window, *label);
    for (const ControlWindow& control : controls_)
        PlaceControl(control);
    for (const auto& [height, font] : previous)
        DeleteObject(font);
    LoadIcons();
    RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

const ControlWindow* FormWindow::FindControl(std::string_view name) const
{
    for (const ControlWindow& control : controls_)
        if (control.Description->Name == name)
            return &control;
    return nullptr;
}

HBRUSH FormWindow::BrushFor(HWND child) const
{
    for (const ControlWindow& control : controls_)
        if (control.Window == child)
            return control.Background;
    return nullptr;
}

void FormWindow::KeepTabStopOnCheckedRadio(const ControlWindow& group)
{
    // Tab enters a radio group on its checked button (the first when none is).
    HWND stop = group.Buttons.empty() ? nullptr : group.Buttons.front();
    for (HWND button : group.Buttons)
        if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
            stop = button;
    for (HWND button : group.Buttons) {
        LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_TABSTOP);
        if (button == stop && group.Description->TabOrder >= 0)
            style |= WS_TABSTOP;
        SetWindowLongPtrW(button, GWL_STYLE, style);
    }
}

void FormWindow::PullValues()
{
    if (dialog_ == nullptr)
        return;
    for (const ControlWindow& control : controls_) {
        const std::string name(control.Description->Name);
        if (TEdit* edit = form_.EditNamed(name)) {
            edit->Text = SjisFromWide(TextOf(control.Window));
        } else if (TComboBox* box = form_.ComboBoxNamed(name)) {
            const LRESULT index = SendMessageW(control.Window, CB_GETCURSEL, 0, 0);
            box->ItemIndex = index == CB_ERR ? -1 : static_cast<int>(index);
        } else if (TCheckBox* check = form_.CheckBoxNamed(name)) {
            check->Checked = SendMessageW(control.Window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        } else if (TRadioGroup* group = form_.RadioGroupNamed(name)) {
            group->ItemIndex = -1;
            for (std::size_t i = 0; i < control.Buttons.size(); ++i)
                if (SendMessageW(control.Buttons[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
                    group->ItemIndex = static_cast<int>(i);
        }
    }
    RECT window;
    GetWindowRect(dialog_, &window);
    form_.Left = window.left;
    form_.Top = window.top;
}

void FormWindow::PushValues()
{
    for (const ControlWindow& control : controls_) {
        const std::string name(control.Description->Name);
        if (TEdit* edit = form_.EditNamed(name)) {
            SetWindowTextW(control.Window, WideFromSjis(edit->Text).c_str());
        } else if (TComboBox* box = form_.ComboBoxNamed(name)) {
            SendMessageW(control.Window, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : box->Items)
                SendMessageW(control.Window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromSjis(item).c_str()));
            SendMessageW(control.Window, CB_SETCURSEL, static_cast<WPARAM>(box->ItemIndex), 0);
        } else if (TCheckBox* check = form_.CheckBoxNamed(name)) {
            SendMessageW(control.Window, BM_SETCHECK, check->Checked ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if (TRadioGroup* group = form_.RadioGroupNamed(name)) {
            for (std::size_t i = 0; i < control.Buttons.size(); ++i) {
                const bool checked = static_cast<int>(i) == group->ItemIndex;
                SendMessageW(control.Buttons[i], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            KeepTabStopOnCheckedRadio(control);
        } else if (control.Description->Kind == ControlKind::Memo) {
            SetWindowTextW(control.Window, JoinLines(form_.Memo1.Lines).c_str());
        } else if (control.Description->Kind == ControlKind::StatusLabel) {
            SetWindowTextW(control.Window, WideFromSjis(form_.LabelA1.Caption).c_str());
        } else if (control.Description->Kind == ControlKind::Button) {
            const TButton& button = name == "Button1" ? form_.Button1 : form_.Button2;
            SetWindowTextW(control.Window, WideFromSjis(button.Caption).c_str());
        }
    }
}

}  // namespace win32
