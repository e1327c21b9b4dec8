// The Win32 front end: a hidden application window that owns the taskbar
// button and carries the application title, and the dialog it owns. The
// dialog is a window of its own class run by the dialog manager, so Tab,
// Enter (default button) and Escape (cancel button) behave as in any
// Windows dialog.
#include "frontends/win32/FormWindow.h"

#include <algorithm>

#include "dialog/Frontend.h"
#include "dialog/Unit1.h"
#include "frontends/win32/PreviewWindow.h"
#include "frontends/win32/ScreenPlace.h"
#include "platform/WideText.h"

namespace win32 {

using platform::WideFromSjis;

namespace {

constexpr wchar_t ApplicationClass[] = L"Q308Application";
constexpr wchar_t DialogClass[] = L"Q308Dialog";
constexpr int IconResource = 1;

COLORREF ColourOf(layout::Rgb rgb) { return RGB(rgb.R, rgb.G, rgb.B); }

FormWindow* OwnerOf(HWND window)
{
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Stores the FormWindow with the window as soon as it exists, so that the
// messages of creation already reach it.
void AttachOnCreate(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
}

}  // namespace

FormWindow::FormWindow(TForm1& form) : form_(form)
{
    form_.Toolkit = this;
}

FormWindow::~FormWindow()
{
    form_.Toolkit = nullptr;
    preview_.reset();
    if (dialog_ != nullptr)
        DestroyWindow(dialog_);
    if (application_ != nullptr)
        DestroyWindow(application_);
    for (auto& [height, font] : fonts_)
        DeleteObject(font);
    for (ControlWindow& control : controls_)
        if (control.Background != nullptr)
            DeleteObject(control.Background);
    if (formBrush_ != nullptr)
        DeleteObject(formBrush_);
    if (bigIcon_ != nullptr)
        DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr)
        DestroyIcon(smallIcon_);
}

bool FormWindow::CreateWindows()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const layout::FormDescription& description = layout::Form();
    // The classes' icons, at the system's sizes; each window gets icons of
    // its own density in ApplyScale.
    const auto sharedIcon = [instance](int width, int height) {
        return static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IconResource), IMAGE_ICON, width, height, LR_SHARED));
    };
    const HICON classIcon = sharedIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    const HICON classSmallIcon = sharedIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    formBrush_ = CreateSolidBrush(ColourOf(description.Background));

    WNDCLASSEXW application{};
    application.cbSize = sizeof application;
    application.lpfnWndProc = ApplicationProc;
    application.hInstance = instance;
    application.hIcon = classIcon;
    application.hIconSm = classSmallIcon;
    application.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    application.lpszClassName = ApplicationClass;
    if (RegisterClassExW(&application) == 0)
        return false;

    // The dialog manager keeps its state in the window's extra bytes.
    WNDCLASSEXW dialog{};
    dialog.cbSize = sizeof dialog;
    dialog.lpfnWndProc = DialogProc;
    dialog.cbWndExtra = DLGWINDOWEXTRA;
    dialog.hInstance = instance;
    dialog.hIcon = classIcon;
    dialog.hIconSm = classSmallIcon;
    dialog.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    dialog.hbrBackground = formBrush_;
    dialog.lpszClassName = DialogClass;
    if (RegisterClassExW(&dialog) == 0)
        return false;

    // Zero-sized but visible: Windows gives it the taskbar button, which
    // shows the application title, and it owns the dialog.
    const std::wstring title = WideFromSjis(form_.ApplicationTitle);
    application_ = CreateWindowExW(0, ApplicationClass, title.c_str(),
                                   WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                   GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                   nullptr, nullptr, instance, this);
    if (application_ == nullptr)
        return false;

    // No WS_CLIPCHILDREN: the radio groups' frames are children that leave
    // their inside to the dialog's background.
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    if (description.MinimiseButton)
        style |= WS_MINIMIZEBOX;
    if (description.MaximiseButton)
        style |= WS_MAXIMIZEBOX;
    if (description.Resizable)
        style |= WS_THICKFRAME;
    const DWORD exStyle = WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, description.ClientWidth, description.ClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const std::wstring caption = WideFromSjis(form_.Caption);
    dialog_ = CreateWindowExW(exStyle, DialogClass, caption.c_str(), style, description.Left, description.Top,
                              frame.right - frame.left, frame.bottom - frame.top, application_, nullptr, instance,
                              this);
    if (dialog_ == nullptr)
        return false;
    scale_.Dpi = DpiOfWindow(dialog_);
    CreateControls();
    ApplyScale(nullptr);
    return true;
}

void FormWindow::LoadIcons()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto load = [this, instance](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IconResource), IMAGE_ICON,
                                             SystemMetricForDpi(width, scale_.Dpi),
                                             SystemMetricForDpi(height, scale_.Dpi), 0));
    };
    const HICON bigIcon = load(SM_CXICON, SM_CYICON);
    const HICON smallIcon = load(SM_CXSMICON, SM_CYSMICON);
    for (HWND window : {dialog_, application_}) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    }
    if (bigIcon_ != nullptr)
        DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr)
        DestroyIcon(smallIcon_);
    bigIcon_ = bigIcon;
    smallIcon_ = smallIcon;
}

int FormWindow::Run()
{
    if (!CreateWindows()) {
        // Without a window there is nothing to cancel: still answer the
        // host, as a cancelled dialog would.
        form_.FormShow();
        form_.FormClose();
        return 1;
    }
    form_.FormShow();
    PushValues();
    PlaceAtFormPosition();
    ShowWindow(application_, SW_SHOWNOACTIVATE);
    ShowWindow(dialog_, SW_SHOWNORMAL);
    SetForegroundWindow(dialog_);
    // The first control in tab order has the focus, as in any dialog.
    for (const ControlWindow& control : controls_)
        if (control.Description->TabOrder == 0)
            FocusControl(std::string(control.Description->Name));
    UpdateWindow(dialog_);
    preview_ = std::make_unique<PreviewWindow>(form_, dialog_, [this] { PullValues(); });
    preview_->Start();
    AddRepeatItem();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (dialog_ != nullptr && preview_ && preview_->PreTranslate(message))
            continue;
        if (dialog_ != nullptr && IsDialogMessageW(dialog_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return form_.ExchangeFileWritten ? 0 : 1;
}

void FormWindow::PlaceAtFormPosition()
{
    RECT window;
    GetWindowRect(dialog_, &window);
    const POINT place = WhollyOnScreen(form_.Left, form_.Top, window.right - window.left, window.bottom - window.top);
    SetWindowPos(dialog_, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

template <typename Handler>
void FormWindow::RunHandler(Handler handler)
{
    if (closed_ || inHandler_)
        return;
    PullValues();
    inHandler_ = true;
    handler();
    inHandler_ = false;
}

void FormWindow::RequestClose()
{
    // While OK is at work (its message box is up), closing would free the
    // model under it; the request is dropped, as the disabled dialog's own
    // close box would.
    RunHandler([this] { form_.Close(); });
}

void FormWindow::ControlChanged()
{
    if (!closed_ && !inHandler_ && preview_)
        preview_->ControlsChanged();
}

void FormWindow::ClosingPreview()
{
    if (preview_)
        preview_->SaveState();
}

void FormWindow::AddRepeatItem()
{
    if (HMENU menu = GetSystemMenu(dialog_, FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, RepeatCommand, WideFromSjis(RepeatItemText).c_str());
    }
    ShowRepeatCheck();
}

void FormWindow::ShowRepeatCheck()
{
    if (HMENU menu = GetSystemMenu(dialog_, FALSE))
        CheckMenuItem(menu, RepeatCommand, MF_BYCOMMAND | (form_.RepeatAfterOk ? MF_CHECKED : MF_UNCHECKED));
}

void FormWindow::FocusControl(const std::string& controlName)
{
    const ControlWindow* control = FindControl(controlName);
    if (control == nullptr || dialog_ == nullptr)
        return;
    HWND target = control->Window;
    if (!control->Buttons.empty()) {
        // A radio group takes the focus on its checked button.
        target = control->Buttons.front();
        for (HWND button : control->Buttons)
            if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                target = button;
    }
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

void FormWindow::ShowMessage(const std::string& sjisText)
{
    const std::wstring text = WideFromSjis(sjisText);
    const std::wstring title = WideFromSjis(form_.ApplicationTitle);
    MessageBoxW(dialog_, text.c_str(), title.c_str(), MB_ICONQUESTION | MB_OK);
}

bool FormWindow::AskRetry(const std::string& sjisText)
{
    const std::wstring text = WideFromSjis(sjisText);
    // This run's kind: the vertical form's title is not the user's tool under /h or /a.
    const std::wstring title = WideFromSjis(form_.ApplicationTitle);
    // The dialog is still there when the form closes (CloseForm destroys it
    // only afterwards) and owns the box; one already being destroyed cannot.
    const HWND owner = dialog_ != nullptr && IsWindowVisible(dialog_) ? dialog_ : nullptr;
    return MessageBoxW(owner, text.c_str(), title.c_str(), MB_ICONWARNING | MB_RETRYCANCEL | MB_DEFBUTTON1) ==
           IDRETRY;
}

void FormWindow::RepaintStatus(const std::string& sjisText)
{
    const ControlWindow* status = nullptr;
    for (const ControlWindow& control : controls_)
        if (control.Description->Kind == layout::ControlKind::StatusLabel)
            status = &control;
    if (status == nullptr)
        return;
    SetWindowTextW(status->Window, WideFromSjis(sjisText).c_str());
    // The handler does not return to the message loop before it ends, so
    // the label is painted here and now.
    RedrawWindow(status->Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void FormWindow::CloseForm()
{
    if (closed_)
        return;
    closed_ = true;
    ClosingPreview();
    form_.FormClose();
    if (dialog_ != nullptr)
        DestroyWindow(dialog_);
}

LRESULT CALLBACK FormWindow::ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    AttachOnCreate(window, message, lParam);
    FormWindow* self = OwnerOf(window);
    if (self == nullptr || self->application_ != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleApplication(message, wParam, lParam);
}

LRESULT FormWindow::HandleApplication(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        // The taskbar button's Close: as the dialog's close box.
        if (dialog_ != nullptr)
            PostMessageW(dialog_, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        // Activating the taskbar window passes on to the dialog, or to the
        // message box the dialog is waiting on.
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(application_) && dialog_ != nullptr) {
            HWND popup = GetLastActivePopup(dialog_);
            SetActiveWindow(popup != nullptr && IsWindowEnabled(popup) ? popup : dialog_);
            return 0;
        }
        break;
    case WM_SIZE:
        // The dialog goes and comes with the taskbar window.
        if (dialog_ != nullptr && wParam == SIZE_MINIMIZED)
            ShowWindow(dialog_, SW_HIDE);
        else if (dialog_ != nullptr && wParam == SIZE_RESTORED && !IsWindowVisible(dialog_)) {
            ShowWindow(dialog_, SW_SHOW);
            SetActiveWindow(dialog_);
        }
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            CloseForm();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(application_, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    AttachOnCreate(window, message, lParam);
    FormWindow* self = OwnerOf(window);
    if (self == nullptr || self->dialog_ != window)
        return DefDlgProcW(window, message, wParam, lParam);
    return self->HandleDialog(message, wParam, lParam);
}

LRESULT FormWindow::HandleDialog(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (code == BN_CLICKED && id == IDOK) {
            RunHandler([this] { form_.Button1Click(); });
            return 0;
        }
        if (code == BN_CLICKED && id == IDCANCEL) {
            RunHandler([this] { form_.Button2Click(); });
            return 0;
        }
        if (code == BN_CLICKED)
            for (const ControlWindow& control : controls_)
                for (HWND button : control.Buttons)
                    if (button == reinterpret_cast<HWND>(lParam))
                        KeepTabStopOnCheckedRadio(control);
        if (code == EN_CHANGE || code == CBN_SELCHANGE || code == BN_CLICKED)
            ControlChanged();
        return 0;
    }
    case WM_CLOSE:
        RequestClose();
        return 0;
    case WM_SYSCOMMAND:
        // Minimising the dialog minimises the taskbar window, which hides
        // the dialog and shows it again when restored.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            ShowWindow(application_, SW_MINIMIZE);
            return 0;
        }
        if ((wParam & 0xFFF0) == RepeatCommand) {
            if (!closed_ && !inHandler_) {
                form_.ToggleRepeat();
                ShowRepeatCheck();
            }
            return 0;
        }
        if (preview_ && preview_->HandleSysCommand(wParam))
            return 0;
        break;
    case WM_SHOWWINDOW:
        if (preview_)
            preview_->FollowDialog(wParam != FALSE);
        break;
    case WM_WINDOWPOSCHANGED:
        if (preview_) {
            const auto& change = *reinterpret_cast<const WINDOWPOS*>(lParam);
            if ((change.flags & SWP_NOMOVE) == 0 || (change.flags & SWP_NOSIZE) == 0)
                preview_->DialogMoved();
            preview_->StayAboveDialog(change);
        }
        break;
    case WM_DPICHANGED:
        // Dragged onto a monitor of another density: the whole form again
        // at the new one, in the rectangle Windows suggests.
        if (HIWORD(wParam) > 0 && lParam != 0) {
            scale_.Dpi = HIWORD(wParam);
            ApplyScale(reinterpret_cast<const RECT*>(lParam));
        }
        return 0;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<LRESULT>(formBrush_);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
        const HWND child = reinterpret_cast<HWND>(lParam);
        const HBRUSH own = BrushFor(child);
        if (own == nullptr && message == WM_CTLCOLOREDIT)
            break;
        const HBRUSH brush = own != nullptr ? own : formBrush_;
        LOGBRUSH colour{};
        GetObjectW(brush, sizeof colour, &colour);
        SetBkColor(reinterpret_cast<HDC>(wParam), colour.lbColor);
        return reinterpret_cast<LRESULT>(brush);
    }
    case WM_ENDSESSION:
        if (wParam)
            CloseForm();
        return 0;
    case WM_DESTROY:
        // Every way the dialog goes answers the host exactly once.
        if (!closed_) {
            closed_ = true;
            ClosingPreview();
            form_.FormClose();
        }
        dialog_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefDlgProcW(dialog_, message, wParam, lParam);
}

}  // namespace win32

int RunFrontend(TForm1& form)
{
    win32::FormWindow window(form);
    return window.Run();
}
