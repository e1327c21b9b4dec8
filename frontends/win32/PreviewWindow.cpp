#include "frontends/win32/PreviewWindow.h"

#include <algorithm>

#include "dialog/FormLayout.h"
#include "dialog/Unit1.h"
#include "frontends/win32/PreviewPainter.h"
#include "frontends/win32/ScreenPlace.h"
#include "platform/WideText.h"

namespace win32 {

namespace {

constexpr wchar_t PreviewClass[] = L"Q308Preview";
// A system-menu command of our own: below the system's (0xF000 on) and with
// the low four bits clear, which the system keeps for itself.
constexpr UINT PreviewCommand = 0x0110;
// In 96-DPI pixels, scaled to the window's density like the dialog's form.
constexpr int StatusHeight = 24;
constexpr int DefaultWidth = 420;
constexpr int MinimumWidth = 200;
constexpr int MinimumHeight = 160;
constexpr COLORREF StatusColour = RGB(231, 231, 231);

std::wstring Title(const TForm1& form) { return platform::WideFromSjis("プレビュー - " + form.Caption); }

}  // namespace

PreviewWindow::PreviewWindow(TForm1& form, HWND dialog, std::function<void()> pullValues)
    : form_(form), dialog_(dialog), pullValues_(std::move(pullValues))
{
}

PreviewWindow::~PreviewWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    if (font_ != nullptr)
        DeleteObject(font_);
    if (statusBrush_ != nullptr)
        DeleteObject(statusBrush_);
}

void PreviewWindow::Start()
{
    fileAtStart_ = LoadPreviewSettings(form_.ProgramFolder + std::string(PreviewSettingsFileName), placement_);
    if (HMENU menu = GetSystemMenu(dialog_, FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        const std::wstring item = platform::WideFromSjis("プレビュー(&P)\tCtrl+P");
        AppendMenuW(menu, MF_STRING, PreviewCommand, item.c_str());
    }
    if (placement_.Open)
        Open();
}

bool PreviewWindow::Create()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hIcon = reinterpret_cast<HICON>(SendMessageW(dialog_, WM_GETICON, ICON_BIG, 0));
    windowClass.hIconSm = reinterpret_cast<HICON>(SendMessageW(dialog_, WM_GETICON, ICON_SMALL, 0));
    windowClass.lpszClassName = PreviewClass;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    // No activation: a click, a move or a resize leaves the focus, Enter and
    // Escape with the dialog.
    const std::wstring title = Title(form_);
    window_ = CreateWindowExW(WS_EX_NOACTIVATE, PreviewClass, title.c_str(),
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0,
                              DefaultWidth, 300, dialog_, nullptr, instance, this);
    if (window_ == nullptr)
        return false;
    statusBrush_ = CreateSolidBrush(StatusColour);
    // A real static control, so that tests and screen readers can read it.
    status_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
                              0, 0, 10, StatusHeight, window_, nullptr, instance, nullptr);
    // It comes up beside the dialog, so at the dialog's density.
    scale_.Dpi = DpiOfWindow(dialog_);
    ApplyScale(nullptr);
    return true;
}

void PreviewWindow::ApplyScale(const RECT* suggested)
{
    const HFONT previous = font_;
    font_ = CreateFontW(-scale_.Length(layout::Form().FontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        static_cast<DWORD>(layout::Form().Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, platform::WideFromSjis(layout::Form().FontName).c_str());
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (previous != nullptr)
        DeleteObject(previous);
    if (suggested != nullptr)
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    InvalidateRect(window_, nullptr, TRUE);
}

RECT PreviewWindow::DefaultPlace() const
{
    // Beside the dialog at its height: right of it, or left where the
    // screen has no room on the right.
    RECT dialog{};
    GetWindowRect(dialog_, &dialog);
    const RECT work = NearestWorkArea(dialog);
    const int height = dialog.bottom - dialog.top;
    const int width = scale_.Length(DefaultWidth);
    int left = dialog.right;
    if (left + width > work.right && dialog.left - width >= work.left)
        left = dialog.left - width;
    return {left, dialog.top, left + width, dialog.top + height};
}

void PreviewWindow::Open()
{
    if (window_ == nullptr && !Create())
        return;
    used_ = true;
    RECT place = DefaultPlace();
    if (placement_.HasPlace)
        place = {placement_.Left, placement_.Top, placement_.Left + placement_.Width,
                 placement_.Top + placement_.Height};
    // No bigger than the screen it comes up on, and on a screen the user can reach.
    const RECT work = NearestWorkArea(place);
    const int minimumWidth = scale_.Length(MinimumWidth), minimumHeight = scale_.Length(MinimumHeight);
    const int width = std::clamp(static_cast<int>(place.right - place.left), minimumWidth,
                                 std::max<int>(minimumWidth, work.right - work.left));
    const int height = std::clamp(static_cast<int>(place.bottom - place.top), minimumHeight,
                                  std::max<int>(minimumHeight, work.bottom - work.top));
    const POINT at = ReachablePosition(place.left, place.top, width, height, scale_.Dpi);
    SetWindowPos(window_, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    pullValues_();
    Recompute();
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    placement_.Open = true;
    RememberPlace();
    CheckMenuItem();
}

void PreviewWindow::Close()
{
    if (window_ != nullptr)
        ShowWindow(window_, SW_HIDE);
    placement_.Open = false;
    CheckMenuItem();
}

void PreviewWindow::Toggle()
{
    if (placement_.Open)
        Close();
    else
        Open();
}

void PreviewWindow::CheckMenuItem()
{
    if (HMENU menu = GetSystemMenu(dialog_, FALSE))
        ::CheckMenuItem(menu, PreviewCommand, MF_BYCOMMAND | (placement_.Open ? MF_CHECKED : MF_UNCHECKED));
}

void PreviewWindow::ControlsChanged()
{
    if (!placement_.Open || window_ == nullptr)
        return;
    pullValues_();
    Recompute();
}

void PreviewWindow::Recompute()
{
    if (!started_) {
        live_.Start();
        started_ = true;
    }
    live_.Update(form_);
    SetWindowTextW(status_, platform::WideFromSjis(live_.Status()).c_str());
    RECT picture{};
    GetClientRect(window_, &picture);
    picture.bottom = std::max(picture.top, picture.bottom - scale_.Length(StatusHeight));
    InvalidateRect(window_, &picture, FALSE);
}

bool PreviewWindow::TranslateShortcut(const MSG& message)
{
    if (message.message != WM_KEYDOWN || message.wParam != 'P' || (GetKeyState(VK_CONTROL) & 0x8000) == 0 ||
        (GetKeyState(VK_MENU) & 0x8000) != 0 || (GetKeyState(VK_SHIFT) & 0x8000) != 0)
        return false;
    const bool ours = message.hwnd == dialog_ || IsChild(dialog_, message.hwnd) ||
                      (window_ != nullptr && (message.hwnd == window_ || IsChild(window_, message.hwnd)));
    if (!ours || !IsWindowEnabled(dialog_))
        return false;
    Toggle();
    return true;
}

bool PreviewWindow::HandleSysCommand(WPARAM command)
{
    if ((command & 0xFFF0) != PreviewCommand)
        return false;
    Toggle();
    return true;
}

void PreviewWindow::FollowDialog(bool shown)
{
    if (window_ != nullptr && placement_.Open)
        ShowWindow(window_, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void PreviewWindow::RememberPlace()
{
    if (window_ == nullptr || !IsWindowVisible(window_) || IsIconic(window_))
        return;
    RECT rect{};
    GetWindowRect(window_, &rect);
    placement_.HasPlace = true;
    placement_.Left = rect.left;
    placement_.Top = rect.top;
    placement_.Width = rect.right - rect.left;
    placement_.Height = rect.bottom - rect.top;
}

void PreviewWindow::SaveState()
{
    if (saved_)
        return;
    saved_ = true;
    if (used_ || fileAtStart_)
        SavePreviewSettings(form_.ProgramFolder + std::string(PreviewSettingsFileName), placement_);
}

void PreviewWindow::Layout()
{
    RECT client{};
    GetClientRect(window_, &client);
    const int height = scale_.Length(StatusHeight);
    SetWindowPos(status_, nullptr, 0, std::max(0L, client.bottom - height), client.right, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewWindow::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT area{};
    GetClientRect(window_, &area);
    area.bottom = std::max(area.top, area.bottom - scale_.Length(StatusHeight));
    // Drawn off screen and copied in one go: no flicker while the user types.
    const int width = std::max(1L, area.right - area.left), height = std::max(1L, area.bottom - area.top);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT local{0, 0, width, height};
    PaintPicture(memory, local, live_.Current(), scale_);
    BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(window_, &paint);
}

LRESULT CALLBACK PreviewWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || (self->window_ != nullptr && self->window_ != window))
        return DefWindowProcW(window, message, wParam, lParam);
    if (self->window_ == nullptr)
        self->window_ = window;
    return self->Handle(message, wParam, lParam);
}

LRESULT PreviewWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;  // the whole client area is painted by WM_PAINT
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SIZE:
        Layout();
        InvalidateRect(window_, nullptr, FALSE);
        RememberPlace();
        return 0;
    case WM_MOVE:
        RememberPlace();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {scale_.Length(MinimumWidth), scale_.Length(MinimumHeight)};
        return 0;
    }
    case WM_DPICHANGED:
        // Dragged onto a monitor of another density: its font and sizes
        // again at the new one, in the rectangle Windows suggests.
        scale_.Dpi = HIWORD(wParam);
        ApplyScale(reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), StatusColour);
        return reinterpret_cast<LRESULT>(statusBrush_);
    case WM_CLOSE:
        // Its close box closes the preview only; the dialog stays as it is.
        Close();
        return 0;
    case WM_NCDESTROY: {
        const HWND window = window_;
        window_ = nullptr;
        status_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace win32
