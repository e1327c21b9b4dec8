#include "frontends/win32/PreviewWindow.h"

#include <algorithm>

#include "dialog/FormLayout.h"
#include "dialog/Unit1.h"
#include "frontends/win32/ScreenPlace.h"
#include "platform/WideText.h"
#include "preview/PreviewPlace.h"

namespace win32 {

namespace {

constexpr wchar_t PreviewClass[] = L"Q308Preview";
// In 96-DPI pixels, scaled to the window's density like the dialog's form.
constexpr int DefaultWidth = 420;
constexpr int MinimumWidth = 200;
constexpr int MinimumHeight = 160;
constexpr int LegendFontHeight = 11;
constexpr int LegendPadding = 2;
constexpr COLORREF LegendColour = RGB(0x60, 0x60, 0x60);
// How near a mark the pointer takes it, and the room left round the
// dimension when it is framed.
constexpr int GripRadius = 7;
constexpr int FrameMargin = 24;
// Posted to itself when the preview was activated: the activation goes
// back to the dialog once the activating message is done with.
constexpr UINT GiveBackMessage = WM_APP + 1;

std::wstring Title(const TForm1& form) { return platform::WideFromSjis("プレビュー - " + form.Caption); }

preview::PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

struct PopupSearch {
    HWND Dialog, Except, Found;
};

BOOL CALLBACK FindEnabledPopup(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<PopupSearch*>(parameter);
    if (window != search->Except && GetWindow(window, GW_OWNER) == search->Dialog && IsWindowVisible(window) &&
        IsWindowEnabled(window)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

HCURSOR SystemCursor(LPSTR name) { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(name)); }

// A window the dialog is waiting on (its message box), if any.
HWND EnabledPopupOf(HWND dialog, HWND except)
{
    PopupSearch search{dialog, except, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindEnabledPopup, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

}  // namespace

PreviewWindow::PreviewWindow(TForm1& form, HWND dialog, std::function<void()> pullValues)
    : form_(form), dialog_(dialog), pullValues_(std::move(pullValues)), session_(form), openedAt_(Microseconds())
{
}

PreviewWindow::~PreviewWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    if (font_ != nullptr)
        DeleteObject(font_);
    if (legendFont_ != nullptr)
        DeleteObject(legendFont_);
}

void PreviewWindow::Start()
{
    fileAtStart_ = LoadPreviewSettings(form_.ProgramFolder + std::string(PreviewSettingsFileName), placement_);
    // A first run shows the preview, so that it is found without reading;
    // closing it is remembered as ever.
    if (!fileAtStart_)
        placement_.Open = true;
    if (HMENU menu = GetSystemMenu(dialog_, FALSE)) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, PreviewCommand, platform::WideFromSjis(PreviewItemText).c_str());
        AppendMenuW(menu, MF_STRING | MF_GRAYED, ResetPointsCommand, platform::WideFromSjis(ResetItemText).c_str());
    }
    if (placement_.Open)
        Open(true);
}

bool PreviewWindow::Create()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hIcon = reinterpret_cast<HICON>(SendMessageW(dialog_, WM_GETICON, ICON_BIG, 0));
    windowClass.hIconSm = reinterpret_cast<HICON>(SendMessageW(dialog_, WM_GETICON, ICON_SMALL, 0));
    windowClass.lpszClassName = PreviewClass;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    // No activation: a click leaves the focus, Enter and Escape with the
    // dialog (and a move or resize gives them back, GiveBackActivation).
    const std::wstring title = Title(form_);
    window_ = CreateWindowExW(WS_EX_NOACTIVATE, PreviewClass, title.c_str(),
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0,
                              DefaultWidth, 300, dialog_, nullptr, instance, this);
    if (window_ == nullptr)
        return false;
    strip_.Create(window_);
    painter_.Notify(window_, DrawingReadyMessage);
    // It comes up beside the dialog, so at the dialog's density.
    scale_.Dpi = DpiOfWindow(dialog_);
    ApplyScale(nullptr);
    return true;
}

void PreviewWindow::ApplyScale(const RECT* suggested)
{
    const auto makeFont = [this](int height) {
        return CreateFontW(-scale_.Length(height), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           static_cast<DWORD>(layout::Form().Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                           platform::WideFromSjis(layout::Form().FontName).c_str());
    };
    const HFONT previous = font_, previousLegend = legendFont_;
    font_ = makeFont(layout::Form().FontHeight);
    legendFont_ = makeFont(LegendFontHeight);
    strip_.SetFont(font_);
    session_.SetMetrics(scale_.Length(GripRadius), scale_.Length(FrameMargin));
    SendMessageW(strip_.Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (previous != nullptr)
        DeleteObject(previous);
    if (previousLegend != nullptr)
        DeleteObject(previousLegend);
    if (suggested != nullptr)
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    InvalidateRect(window_, nullptr, TRUE);
}

RECT PreviewWindow::DefaultPlace(int width) const
{
    RECT dialog{};
    GetWindowRect(dialog_, &dialog);
    const preview::PixelRect place =
        preview::PlaceBesideDialog(ToPixelRect(dialog), ToPixelRect(NearestWorkArea(dialog)),
                                   width > 0 ? width : scale_.Length(DefaultWidth), scale_.Length(MinimumWidth),
                                   scale_.Length(MinimumHeight));
    return {place.Left, place.Top, place.Right, place.Bottom};
}

void PreviewWindow::DialogMoved()
{
    if (window_ == nullptr || !placement_.Open || !docked_ || sizing_ || IsIconic(dialog_))
        return;
    RECT now{};
    GetWindowRect(window_, &now);
    const RECT place = DefaultPlace(now.right - now.left);
    if (!EqualRect(&now, &place))
        SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewWindow::Open(bool atStart)
{
    if (window_ == nullptr && !Create())
        return;
    used_ = true;
    if (!atStart)
        openedAt_ = Microseconds();
    exactAwaitedSince_ = openedAt_;
    RECT place = DefaultPlace();
    docked_ = true;
    if (placement_.HasPlace) {
        // Where the user left it, wholly on the screen nearest to that. The
        // screen is looked up with values no file can make overflow.
        const auto position = [](int32_t v) { return std::clamp<int32_t>(v, -1000000, 1000000); };
        const auto extent = [](int32_t v) { return std::clamp<int32_t>(v, 0, 100000); };
        const RECT asked{position(placement_.Left), position(placement_.Top),
                         position(placement_.Left) + extent(placement_.Width),
                         position(placement_.Top) + extent(placement_.Height)};
        const preview::PixelRect kept = preview::WhollyInside(
            placement_.Left, placement_.Top, placement_.Width, placement_.Height,
            ToPixelRect(NearestWorkArea(asked)), scale_.Length(MinimumWidth), scale_.Length(MinimumHeight));
        // A place that would cover the dialog (taken at another density, or
        // the dialog moved since) gives way to the place beside it.
        RECT dialog{};
        GetWindowRect(dialog_, &dialog);
        const RECT beside = DefaultPlace(kept.Width());
        if (!preview::Overlaps(kept, ToPixelRect(dialog)) || preview::Overlaps(ToPixelRect(beside), ToPixelRect(dialog))) {
            place = {kept.Left, kept.Top, kept.Right, kept.Bottom};
            docked_ = EqualRect(&place, &beside) != FALSE;
        } else {
            place = beside;
        }
    }
    SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (!started_) {
        session_.Start();
        started_ = true;
    }
    Layout();
    pullValues_();
    session_.ForgetView();
    Apply(session_.ControlsChanged());
    // The host's drawing made into its plan while the window comes up.
    if (!session_.Live().HasPlan() && planAskedAt_ == 0) {
        planAskedAt_ = Microseconds();
        const HWND window = window_;
        session_.Live().MakePlanAside([window] { PostMessageW(window, PlanMadeMessage, 0, 0); });
    }
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    // Wine raises the dialog once more while it takes in the events of
    // its showing; a moment later the preview goes above it again.
    SetTimer(window_, RaiseTimer, RaiseDelay, nullptr);
    placement_.Open = true;
    RememberPlace();
    CheckMenuItem();
}

void PreviewWindow::Close()
{
    Apply(session_.Escape());
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

void PreviewWindow::UpdateResetItem()
{
    const bool moved = session_.PointsMoved();
    if (HMENU menu = GetSystemMenu(dialog_, FALSE))
        EnableMenuItem(menu, ResetPointsCommand, MF_BYCOMMAND | (moved ? MF_ENABLED : MF_GRAYED));
}

void PreviewWindow::ControlsChanged()
{
    if (!placement_.Open || window_ == nullptr)
        return;
    pullValues_();
    Apply(session_.ControlsChanged());
}

void PreviewWindow::Apply(const preview::Reaction& reaction)
{
    if (reaction.Release) {
        ending_ = true;
        if (GetCapture() == window_)
            ReleaseCapture();
        ending_ = false;
    }
    if (reaction.ViewChanged)
        ViewChanged();
    if (reaction.Capture)
        SetCapture(window_);
    if (reaction.StripChanged)
        UpdateStrip();
    UpdateResetItem();
    if (reaction.Repaint)
        InvalidatePicture();
}

void PreviewWindow::UpdateStrip()
{
    std::vector<std::wstring> lines;
    for (const std::string& line : session_.StripLines())
        lines.push_back(platform::WideFromSjis(line));
    if (strip_.SetLines(lines))
        Layout(true);
}

bool PreviewWindow::PreTranslate(const MSG& message)
{
    const bool ours = message.hwnd == dialog_ || IsChild(dialog_, message.hwnd) ||
                      (window_ != nullptr && (message.hwnd == window_ || IsChild(window_, message.hwnd)));
    if (!ours)
        return false;
    if (message.message == WM_MOUSEWHEEL) {
        // Windows hands the wheel to the focus; over the preview it is the preview's.
        const POINT at{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
        const HWND under = WindowFromPoint(at);
        if (window_ == nullptr || !IsWindowVisible(window_) || (under != window_ && !IsChild(window_, under)))
            return false;
        Zoom(GET_WHEEL_DELTA_WPARAM(message.wParam), at);
        return true;
    }
    if (session_.Busy() && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        // Escape ends the drag, not the dialog.
        Apply(session_.Escape());
        return true;
    }
    if (session_.Busy() && (message.message == WM_SYSKEYDOWN ||
                            (message.message == WM_KEYDOWN && message.wParam == VK_RETURN))) {
        // OK or a button's mnemonic: with the point where it is now.
        Apply(session_.Enter());
        return false;
    }
    if (message.message != WM_KEYDOWN || (GetKeyState(VK_CONTROL) & 0x8000) == 0 ||
        (GetKeyState(VK_MENU) & 0x8000) != 0 || (GetKeyState(VK_SHIFT) & 0x8000) != 0 || !IsWindowEnabled(dialog_))
        return false;
    if (message.wParam == 'P') {
        Toggle();
        return true;
    }
    if (message.wParam == 'R') {
        ResetPoints();
        return true;
    }
    return false;
}

bool PreviewWindow::HandleSysCommand(WPARAM command)
{
    switch (command & 0xFFF0) {
    case PreviewCommand:
        Toggle();
        return true;
    case ResetPointsCommand:
        ResetPoints();
        return true;
    default:
        return false;
    }
}

void PreviewWindow::FollowDialog(bool shown)
{
    if (window_ != nullptr && placement_.Open)
        ShowWindow(window_, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void PreviewWindow::StayAboveDialog(const WINDOWPOS& change)
{
    if ((change.flags & SWP_NOZORDER) == 0)
        RaiseAboveDialog();
}

void PreviewWindow::RaiseAboveDialog()
{
    if (window_ == nullptr || raising_ || !IsWindowVisible(window_))
        return;
    // Below the dialog, then on top: a real change of order, which Wine
    // passes on to the X server; a window already first would be left
    // where X has it.
    raising_ = true;
    SetWindowPos(window_, dialog_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    raising_ = false;
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
    // The threads that read the plan or the model end before the model goes.
    session_.Live().WaitForPlan();
    painter_.Stop();
    // The dialog goes: a drag still under way ends where it is, without
    // painting anything more.
    if (session_.Busy()) {
        session_.Enter();
        ending_ = true;
        ReleaseCapture();
        ending_ = false;
    }
    if (used_ || fileAtStart_)
        SavePreviewSettings(form_.ProgramFolder + std::string(PreviewSettingsFileName), placement_);
}

void PreviewWindow::GiveBackActivation()
{
    if (saved_ || !IsWindowVisible(dialog_))
        return;
    // To the dialog, or to the message box it is waiting on.
    HWND target = dialog_;
    if (!IsWindowEnabled(dialog_))
        if (HWND popup = EnabledPopupOf(dialog_, window_))
            target = popup;
    if (GetForegroundWindow() != target)
        SetForegroundWindow(target);
    if (GetActiveWindow() != target)
        SetActiveWindow(target);
}

void PreviewWindow::Layout(bool keepDrawing)
{
    if (window_ == nullptr)
        return;
    const RECT before = PictureArea();
    RECT client{};
    GetClientRect(window_, &client);
    // The legend: one line, two where the window is narrow.
    HDC dc = GetDC(window_);
    const HGDIOBJ old = SelectObject(dc, legendFont_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const char* legend = IsChain(form_.Kind) ? ChainPreviewLegend : PreviewLegend;
    legendLines_ =
        WrapToWidth(dc, {platform::WideFromSjis(legend)}, client.right - 4 * scale_.Length(LegendPadding), 2);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    legendHeight_ = static_cast<int>(legendLines_.size()) * metrics.tmHeight + 2 * scale_.Length(LegendPadding);
    const int height = strip_.HeightFor(client.right, std::max(0L, client.bottom - legendHeight_) / 3, scale_);
    SetWindowPos(strip_.Window(), nullptr, 0, std::max(0L, client.bottom - height), client.right, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT after = PictureArea();
    Apply(session_.Resize(after.right - after.left, after.bottom - after.top,
                          keepDrawing && before.top == after.top && before.left == after.left));
    InvalidateRect(window_, nullptr, FALSE);
}

void PreviewWindow::Paint()
{
    const long long start = Microseconds();
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client{};
    GetClientRect(window_, &client);
    // The legend above the picture, where it hides nothing of it.
    RECT band{0, 0, client.right, std::min(static_cast<LONG>(legendHeight_), client.bottom)};
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const HGDIOBJ old = SelectObject(dc, legendFont_);
    const int padding = scale_.Length(LegendPadding);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SetTextColor(dc, LegendColour);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    int y = padding;
    for (const std::wstring& line : legendLines_) {
        ExtTextOutW(dc, 2 * padding, y, ETO_CLIPPED, &band, line.c_str(), static_cast<UINT>(line.size()), nullptr);
        y += metrics.tmHeight;
    }
    SelectObject(dc, old);
    const RECT area = PictureArea();
    // Until the host's drawing is made into its plan, the dimension alone.
    std::shared_ptr<const preview::PaintPlan> plan;
    if (session_.Live().HasPlan())
        plan = session_.Live().Plan();
    bool exact = false;
    if (area.bottom > area.top && area.right > area.left)
        exact = painter_.Paint(dc, area, client.bottom - area.top, plan, session_.Dimension(), session_.CurrentFit(),
                               scale_);
    EndPaint(window_, &paint);

    const long long end = Microseconds();
    SetTimeProperty(PaintTimeProperty, end - (viewChangedAt_ != 0 ? viewChangedAt_ : start));
    if (viewChangedAt_ != 0) {
        // The time first, so that whoever sees the count sees its time.
        SetTimeProperty(AnswerTimeProperty, end - viewChangedAt_);
        SetPropW(window_, AnswerCountProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(++answerCount_)));
        viewChangedAt_ = 0;
    }
    if (exact && exactAwaitedSince_ != 0) {
        SetTimeProperty(ExactTimeProperty, end - exactAwaitedSince_);
        exactAwaitedSince_ = 0;
    }
    if (exact && !firstPictureTimed_) {
        SetTimeProperty(FirstPictureProperty, end - openedAt_);
        firstPictureTimed_ = true;
    }
}

long long PreviewWindow::Microseconds()
{
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart > 0 ? now.QuadPart / frequency.QuadPart * 1000000 +
                                        now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart
                                  : 0;
}

void PreviewWindow::SetTimeProperty(const wchar_t* name, long long microseconds)
{
    // At least 1: 0 is what a time not yet taken reads.
    const auto value = static_cast<ULONG_PTR>(std::max(1LL, microseconds));
    SetPropW(window_, name, reinterpret_cast<HANDLE>(value));
}

void PreviewWindow::ViewChanged()
{
    viewChangedAt_ = exactAwaitedSince_ = Microseconds();
    if (window_ != nullptr)
        RemovePropW(window_, ExactTimeProperty);
}

void PreviewWindow::PaintNow()
{
    if (window_ != nullptr)
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

RECT PreviewWindow::PictureArea() const
{
    RECT client{};
    GetClientRect(window_, &client);
    RECT strip{};
    GetWindowRect(strip_.Window(), &strip);
    const LONG top = std::min(static_cast<LONG>(legendHeight_), client.bottom);
    const LONG bottom = std::max(top, client.bottom - (strip.bottom - strip.top));
    return {0, top, client.right, bottom};
}

void PreviewWindow::InvalidatePicture()
{
    if (window_ == nullptr)
        return;
    const RECT area = PictureArea();
    InvalidateRect(window_, &area, FALSE);
}

template <typename Event>
void PreviewWindow::Mouse(int x, int y, Event event)
{
    const RECT area = PictureArea();
    Apply(event(x - area.left, y - area.top));
}

void PreviewWindow::Zoom(int wheelDelta, POINT screen)
{
    if (window_ == nullptr)
        return;
    ScreenToClient(window_, &screen);
    preview::Reaction zoomed;
    Mouse(screen.x, screen.y, [&](double px, double py) {
        return zoomed = session_.Wheel(wheelDelta / static_cast<double>(WHEEL_DELTA), px, py);
    });
    // Answered at once: the last picture scaled, the exact one asked for.
    if (zoomed.ViewChanged)
        PaintNow();
}

bool PreviewWindow::SetCursorForPointer()
{
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(window_, &at);
    const RECT area = PictureArea();
    switch (session_.PointerAt(at.x - area.left, at.y - area.top, MayChangePoints())) {
    case preview::Pointer::Hand:
        SetCursor(SystemCursor(IDC_HAND));
        return true;
    case preview::Pointer::Move:
        SetCursor(SystemCursor(IDC_SIZEALL));
        return true;
    case preview::Pointer::Arrow:
        break;
    }
    return false;
}

bool PreviewWindow::MayChangePoints() const
{
    // Not while OK is at work: its message box is up and the dialog disabled.
    return !saved_ && IsWindowEnabled(dialog_);
}

void PreviewWindow::ResetPoints()
{
    if (!MayChangePoints() || !session_.PointsMoved())
        return;
    if (placement_.Open && window_ != nullptr) {
        pullValues_();
        Apply(session_.Reset());
    } else {
        form_.ResetMovedPoints();
        UpdateResetItem();
    }
}

void PreviewWindow::ShowContextMenu(POINT screen)
{
    if (window_ == nullptr || session_.Busy() || !IsWindowEnabled(dialog_))
        return;
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the picture's top left.
        const RECT area = PictureArea();
        screen = {area.left, area.top};
        ClientToScreen(window_, &screen);
    }
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | (session_.PointsMoved() ? 0 : MF_GRAYED), ResetPointsMenuCommand,
                platform::WideFromSjis(ResetItemText).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, FrameDimensionCommand,
                platform::WideFromSjis("寸法に合わせて表示(&D)\tダブルクリック").c_str());
    AppendMenuW(menu, MF_STRING, FrameDrawingCommand, platform::WideFromSjis("図面全体を表示(&A)").c_str());
    // Owned by the dialog, which is the active window: the menu closes as
    // any menu does when the user clicks elsewhere, and the keys stay there.
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, screen.x, screen.y, 0,
        dialog_, nullptr));
    DestroyMenu(menu);
    switch (chosen) {
    case ResetPointsMenuCommand:
        ResetPoints();
        break;
    case FrameDimensionCommand:
        Apply(session_.FrameDimension());
        break;
    case FrameDrawingCommand:
        Apply(session_.FrameDrawing());
        break;
    default:
        break;
    }
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
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ACTIVATE:
        // Wine activates a window the user moves or resizes, whatever its
        // style; the keys go back to the dialog once that is over.
        if (LOWORD(wParam) != WA_INACTIVE && !sizing_)
            PostMessageW(window_, GiveBackMessage, 0, 0);
        break;
    case GiveBackMessage:
        if (!sizing_)
            GiveBackActivation();
        return 0;
    case WM_ENTERSIZEMOVE:
        sizing_ = true;
        GetWindowRect(window_, &sizeMoveStart_);
        break;
    case WM_EXITSIZEMOVE: {
        sizing_ = false;
        // Moved or resized by the user: it stays where he put it.
        RECT now{};
        GetWindowRect(window_, &now);
        if (!EqualRect(&now, &sizeMoveStart_))
            docked_ = false;
        GiveBackActivation();
        break;
    }
    case WM_ERASEBKGND:
        return 1;  // the whole client area is painted by WM_PAINT
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->hwndItem != strip_.Window())
            break;
        strip_.Draw(*item, scale_);
        return TRUE;
    }
    case WM_SIZE:
        Layout();
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
    case WM_DPICHANGED: {
        // Dragged onto a monitor of another density: its font and sizes
        // again at the new one, in the rectangle Windows suggests, showing
        // the same part of the drawing.
        const int dpi = HIWORD(wParam);
        if (dpi <= 0 || lParam == 0)
            return 0;
        session_.Rescale(static_cast<double>(dpi) / scale_.Dpi);
        ViewChanged();
        scale_.Dpi = dpi;
        ApplyScale(reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const auto button = message == WM_LBUTTONDOWN ? preview::Button::Left : preview::Button::Middle;
        Mouse(x, y, [&](double px, double py) { return session_.Press(px, py, button, MayChangePoints()); });
        SetCursorForPointer();
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        Mouse(x, y, [&](double px, double py) { return session_.DoubleClick(px, py, MayChangePoints()); });
        return 0;
    case WM_MOUSEMOVE: {
        const long long start = Microseconds();
        preview::Reaction moved;
        Mouse(x, y, [&](double px, double py) { return moved = session_.Move(px, py); });
        if (moved.PointMoved) {
            // Painted now, strip and all, not when the queue is next empty:
            // the picture keeps up with the pointer and the time is the frame's.
            PaintNow();
            const long long spent = Microseconds() - start;
            SetPropW(window_, FrameTimeProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(spent)));
        } else if (moved.ViewChanged) {
            // Each step of a pan answered at once: the last picture moved
            // along, the exact one asked for.
            PaintNow();
        }
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
        Apply(session_.Release());
        return 0;
    case WM_CAPTURECHANGED:
        if (!ending_ && session_.Busy())
            Apply(session_.CaptureLost());
        return 0;
    case WM_MOUSEWHEEL:
        // Where Windows hands the wheel to the window under the pointer.
        Zoom(GET_WHEEL_DELTA_WPARAM(wParam), POINT{x, y});
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && SetCursorForPointer())
            return TRUE;
        break;
    case WM_CONTEXTMENU:
        ShowContextMenu(POINT{x, y});
        return 0;
    case WM_TIMER:
        if (wParam == RaiseTimer) {
            KillTimer(window_, RaiseTimer);
            RaiseAboveDialog();
            return 0;
        }
        return 0;
    case DrawingReadyMessage:
        InvalidatePicture();
        return 0;
    case PlanMadeMessage:
        SetTimeProperty(PlanTimeProperty, Microseconds() - planAskedAt_);
        InvalidatePicture();
        return 0;
    case WM_CLOSE:
        // Its close box closes the preview only; the dialog stays as it is.
        Close();
        return 0;
    case WM_NCDESTROY: {
        const HWND window = window_;
        for (const wchar_t* name :
             {FrameTimeProperty, PaintTimeProperty, AnswerTimeProperty, AnswerCountProperty, ExactTimeProperty,
              FirstPictureProperty, PlanTimeProperty})
            RemovePropW(window, name);
        window_ = nullptr;
        strip_.Forget();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace win32
