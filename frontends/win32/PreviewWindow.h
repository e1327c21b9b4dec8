#pragma once
// The preview window beside the dialog: what OK would draw now, redrawn on
// every change of a control. Owned by the dialog, it never takes the focus
// from it; it opens by itself on a first run, is opened and closed from the
// dialog's system menu or with Ctrl+P, and q308.ini beside the program
// remembers whether it was open and where.
//
// It is a view of the drawing: framed on the dimension at first, zoomed
// with the wheel about the pointer, panned by dragging empty space, framed
// again from its context menu or by a double-click. Points 3 and 4 are
// dragged by their marks; Ctrl+R (or the menus) puts them back where the
// host picked them.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog/PointD.h"
#include "dialog/PreviewSettings.h"
#include "frontends/win32/DpiScale.h"
#include "frontends/win32/PreviewPainter.h"
#include "frontends/win32/PreviewStrip.h"
#include "preview/PreviewSession.h"

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
    // menu items, and opens the window if the file says it was open or
    // there is no such file yet (a first run).
    void Start();
    void Toggle();
    // A control of the dialog changed.
    void ControlsChanged();
    // Before the dialog's message loop dispatches a message: Ctrl+P and
    // Ctrl+R anywhere in the dialog or the preview, Escape and Enter while
    // the mouse drags in the preview, and the wheel over the preview
    // (delivered to the focus, which is the dialog's). True when the
    // message was the preview's and is done with.
    bool PreTranslate(const MSG& message);
    // The dialog's WM_SYSCOMMAND; true when it was one of the preview's items.
    bool HandleSysCommand(WPARAM command);
    // The dialog was hidden or shown again (with the taskbar window).
    void FollowDialog(bool shown);
    // The dialog's WM_WINDOWPOSCHANGED: where the preview overlaps it (on a
    // screen too small for both side by side) it stays above it, as an
    // owned window does, which Wine leaves undone when it raises the dialog.
    void StayAboveDialog(const WINDOWPOS& change);
    // The dialog moved or changed its size (a drag, a new density): a
    // preview the user has not placed himself moves along beside it.
    void DialogMoved();
    void RaiseAboveDialog();
    // The dialog is closing: q308.ini, when the preview was used in this run
    // or the file was there at start. Once only.
    void SaveState();

private:
    // System-menu commands of our own: below the system's (0xF000 on) and
    // with the low four bits clear, which the system keeps for itself.
    static constexpr UINT PreviewCommand = 0x0110;
    static constexpr UINT ResetPointsCommand = 0x0120;
    // The context menu's commands.
    static constexpr UINT FrameDimensionCommand = 1;
    static constexpr UINT FrameDrawingCommand = 2;
    static constexpr UINT ResetPointsMenuCommand = 3;
    static constexpr const char* PreviewItemText = "プレビュー(&P)\tCtrl+P";
    static constexpr const char* ResetItemText = "指示点に戻す(&R)\tCtrl+R";
    static constexpr UINT_PTR RaiseTimer = 2;
    static constexpr UINT RaiseDelay = 100;
    // Posted by the drawing's renderer when it has painted the view asked for.
    static constexpr UINT DrawingReadyMessage = WM_APP + 2;
    // Posted by the thread that makes the host's drawing into its paint
    // plan, meanwhile the preview shows the dimension, once it is made.
    static constexpr UINT PlanMadeMessage = WM_APP + 3;
    // Times in microseconds, for anyone who measures the program from
    // outside: the last mouse move of a drag (recomputing and painting);
    // the last paint of the picture, any cause, counted from the change of
    // the view that asked for it where there was one; the last paint that
    // answered a change of the view, so counted, and how many did; since
    // the last change of the view until its exact picture was shown (none
    // until then); from the preview's opening to its first picture with
    // the host's drawing.
    static constexpr const wchar_t* FrameTimeProperty = L"Q308.FrameMicroseconds";
    static constexpr const wchar_t* PaintTimeProperty = L"Q308.PaintMicroseconds";
    static constexpr const wchar_t* AnswerTimeProperty = L"Q308.AnswerMicroseconds";
    static constexpr const wchar_t* AnswerCountProperty = L"Q308.AnswerCount";
    static constexpr const wchar_t* ExactTimeProperty = L"Q308.ExactMicroseconds";
    static constexpr const wchar_t* FirstPictureProperty = L"Q308.FirstPictureMicroseconds";
    // How long making the host's drawing into its paint plan took.
    static constexpr const wchar_t* PlanTimeProperty = L"Q308.PlanMicroseconds";

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create();
    // atStart: as the dialog comes up, whose showing the first picture is timed from.
    void Open(bool atStart = false);
    void Close();
    // Does what the session answered: the mouse held or given back, the
    // strip laid out anew, the picture painted.
    void Apply(const preview::Reaction& reaction);
    void UpdateStrip();
    // The legend, the picture and the strip in the client area. With
    // keepDrawing, the drawing stays where it is on the screen while the
    // strip takes more or fewer lines (a drag adds one).
    void Layout(bool keepDrawing = false);
    void Paint();
    static long long Microseconds();
    void SetTimeProperty(const wchar_t* name, long long microseconds);
    // The view changed: its paint is timed from now, and its exact picture is awaited.
    void ViewChanged();
    // The picture painted now, not when the queue is next empty.
    void PaintNow();
    void RememberPlace();
    // Beside the dialog, width wide where there is room (0: the usual width).
    RECT DefaultPlace(int width = 0) const;
    void CheckMenuItem();
    void UpdateResetItem();
    // Font and sizes at scale_'s density.
    void ApplyScale(const RECT* suggested);
    // After a move or resize of the preview, the keys belong to the dialog.
    void GiveBackActivation();

    // Where the picture stands in the client area: below the legend, above the strip.
    RECT PictureArea() const;
    void InvalidatePicture();
    // A mouse event at client (x, y), in the picture's pixels.
    template <typename Event>
    void Mouse(int x, int y, Event event);
    void Zoom(int wheelDelta, POINT screen);
    void ShowContextMenu(POINT screen);
    void ResetPoints();
    bool MayChangePoints() const;
    bool SetCursorForPointer();

    TForm1& form_;
    HWND dialog_;
    std::function<void()> pullValues_;
    HWND window_ = nullptr;
    PreviewStrip strip_;
    PreviewPainter painter_;
    HFONT font_ = nullptr;
    HFONT legendFont_ = nullptr;
    int legendHeight_ = 0;
    std::vector<std::wstring> legendLines_;  // wrapped to the window by Layout
    DpiScale scale_;
    preview::PreviewSession session_;
    bool started_ = false;
    PreviewPlacement placement_;
    bool fileAtStart_ = false;
    bool used_ = false;
    bool saved_ = false;
    bool sizing_ = false;
    bool raising_ = false;
    bool ending_ = false;  // the capture is given back on purpose, not lost
    bool docked_ = true;   // where the program put it, beside the dialog
    RECT sizeMoveStart_{};

    long long openedAt_ = 0;       // when the preview was opened (or the dialog shown)
    bool firstPictureTimed_ = false;
    long long viewChangedAt_ = 0;  // 0: no change waits for its paint
    long long exactAwaitedSince_ = 0;  // 0: the picture shown is the exact one
    long long answerCount_ = 0;
    long long planAskedAt_ = 0;
};

}  // namespace win32
