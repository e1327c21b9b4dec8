#pragma once
// The dialog as a native window. The controls are built from the form
// description; their values live in TForm1 and are copied across before
// each handler runs and after FormShow. The description is in 96-DPI
// pixels; the window draws it at the density of its monitor. Only the Win32
// front end includes this.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/FormLayout.h"
#include "dialog/FormToolkit.h"
#include "frontends/win32/DpiScale.h"

class TForm1;

namespace win32 {

class PreviewWindow;

// One control of the description and the windows that show it: a radio
// group has its frame in Window and one window per item in Buttons.
struct ControlWindow {
    const layout::ControlDescription* Description = nullptr;
    HWND Window = nullptr;
    std::vector<HWND> Buttons;
    HBRUSH Background = nullptr;  // only when the control has a colour of its own
};

class FormWindow final : public FormToolkit {
public:
    explicit FormWindow(TForm1& form);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Shows the dialog, runs the message loop until it has closed and
    // returns the program's exit status.
    int Run();

    void FocusControl(const std::string& controlName) override;
    void ShowMessage(const std::string& sjisText) override;
    void RepaintStatus(const std::string& sjisText) override;
    void CloseForm() override;
    bool AskRetry(const std::string& sjisText) override;

private:
    static LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleApplication(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleDialog(UINT message, WPARAM wParam, LPARAM lParam);

    bool CreateWindows();
    // FormWindowControls.cpp: the children, built from the description.
    void CreateControls();
    void CreateLabel(const layout::LabelDescription& label);
    void CreateControl(const layout::ControlDescription& control);
    // A font of the form's face, height in 96-DPI pixels, at the current density.
    HFONT FontOfHeight(int height);
    // Places the dialog and every child, with fonts and icons, at the
    // current density: when the dialog is made and whenever its DPI
    // changes. The dialog keeps its position unless a rectangle is given.
    void ApplyScale(const RECT* dialogRect);
    void PlaceLabel(HWND window, const layout::LabelDescription& label);
    void PlaceControl(const ControlWindow& control);
    void LoadIcons();
    // Control values: windows -> TForm1 (before a handler) and back.
    void PullValues();
    void PushValues();
    void KeepTabStopOnCheckedRadio(const ControlWindow& group);
    const ControlWindow* FindControl(std::string_view name) const;
    HBRUSH BrushFor(HWND child) const;

    void PlaceAtFormPosition();
    // Runs one of the form's handlers with the values copied in first.
    template <typename Handler>
    void RunHandler(Handler handler);
    void RequestClose();
    // A control's value changed under the user's hand: the preview follows.
    void ControlChanged();
    // The dialog is closing, however: the preview's state is kept first.
    void ClosingPreview();
    // The system menu's repeat item, below the preview's, checked while the
    // form's choice is on.
    void AddRepeatItem();
    void ShowRepeatCheck();

    // Below the system's commands and the preview's (0x0110, 0x0120), with
    // the low four bits clear, which the system keeps for itself.
    static constexpr UINT RepeatCommand = 0x0130;

    TForm1& form_;
    HWND application_ = nullptr;
    HWND dialog_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HBRUSH formBrush_ = nullptr;
    DpiScale scale_;
    std::vector<std::pair<int, HFONT>> fonts_;  // by height in 96-DPI pixels
    std::vector<ControlWindow> controls_;
    std::vector<std::pair<HWND, const layout::LabelDescription*>> labels_;
    bool inHandler_ = false;
    bool closed_ = false;
    std::unique_ptr<PreviewWindow> preview_;
};

}  // namespace win32
