#pragma once
// The preview window beside the dialog: what OK would draw now, redrawn on
// every change of a control. Owned by the dialog, it never takes the focus
// from it; it is opened and closed from the dialog's system menu or with
// Ctrl+P, and q308.ini beside the program remembers whether it was open and
// where. With no q308.ini and the window never opened, nothing of it shows
// and no file of it is written.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>

#include "dialog/PreviewSettings.h"
#include "frontends/win32/DpiScale.h"
#include "preview/LivePreview.h"

class TForm1;

namespace win32 {

class PreviewWindow {
public:
    // pullValues copies the dialog's controls into the form.
    PreviewWindow(TForm1& form, HWND dialog, std::function<void()> pullValues);
    ~PreviewWindow();
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    // After FormShow, with the dialog shown: reads q308.ini, adds the system
    // menu item, and opens the window if the file says it was open.
    void Start();
    void Toggle();
    // A control of the dialog changed.
    void ControlsChanged();
    // Ctrl+P anywhere in the dialog or the preview; true when it was that.
    bool TranslateShortcut(const MSG& message);
    // The dialog's WM_SYSCOMMAND; true when it was the preview's item.
    bool HandleSysCommand(WPARAM command);
    // The dialog was hidden or shown again (with the taskbar window).
    void FollowDialog(bool shown);
    // The dialog is closing: q308.ini, when the preview was used in this run
    // or the file was there at start. Once only.
    void SaveState();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create();
    void Open();
    void Close();
    void Recompute();
    void Layout();
    void Paint();
    void RememberPlace();
    RECT DefaultPlace() const;
    void CheckMenuItem();
    // Font and sizes at scale_'s density.
    void ApplyScale(const RECT* suggested);

    TForm1& form_;
    HWND dialog_;
    std::function<void()> pullValues_;
    HWND window_ = nullptr;
    HWND status_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH statusBrush_ = nullptr;
    DpiScale scale_;
    preview::LivePreview live_;
    bool started_ = false;
    PreviewPlacement placement_;
    bool fileAtStart_ = false;
    bool used_ = false;
    bool saved_ = false;
};

}  // namespace win32
