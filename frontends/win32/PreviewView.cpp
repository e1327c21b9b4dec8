// The preview window's view of the drawing: where the picture stands in
// the window, framing, the wheel, the context menu, and putting the points
// back where the host picked them.
#include <cmath>

#include "dialog/Unit1.h"
#include "frontends/win32/PreviewWindow.h"
#include "platform/WideText.h"

namespace win32 {

namespace {

// In 96-DPI pixels: the room left round the dimension when it is framed.
constexpr int FrameMargin = 24;
// One notch of the wheel zooms by this much.
constexpr double NotchFactor = 1.25;

}  // namespace

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

preview::Fit PreviewWindow::CurrentFit() const
{
    const RECT area = PictureArea();
    return preview::FitOf(view_.value_or(preview::View{}), area.right - area.left, area.bottom - area.top);
}

void PreviewWindow::FrameDimension()
{
    preview::Box bounds = preview::DimensionBounds(live_.Dimension());
    shownBounds_ = bounds;
    // Nothing to frame but the host's drawing (no picked points, no dimension).
    if (bounds.Empty && !saved_)
        bounds = live_.Plan()->Bounds();
    const RECT area = PictureArea();
    view_ = preview::Framed(bounds, area.right - area.left, area.bottom - area.top, scale_.Length(FrameMargin));
    ViewChanged();
}

void PreviewWindow::FrameDrawing()
{
    preview::Box bounds = preview::DimensionBounds(live_.Dimension());
    if (!saved_)
        bounds.Add(live_.Plan()->Bounds());
    const RECT area = PictureArea();
    view_ = preview::Framed(bounds, area.right - area.left, area.bottom - area.top, scale_.Length(FrameMargin));
    ViewChanged();
}

void PreviewWindow::InvalidatePicture()
{
    if (window_ == nullptr)
        return;
    const RECT area = PictureArea();
    InvalidateRect(window_, &area, FALSE);
}

void PreviewWindow::Zoom(int wheelDelta, POINT screen)
{
    // The view stays as it is while a point or the view is dragged.
    if (window_ == nullptr || !view_ || gesture_ != Gesture::None || wheelDelta == 0)
        return;
    ScreenToClient(window_, &screen);
    const RECT area = PictureArea();
    if (!PtInRect(&area, screen))
        return;
    const double factor = std::pow(NotchFactor, wheelDelta / static_cast<double>(WHEEL_DELTA));
    view_ = preview::ZoomedAbout(*view_, factor, screen.x - area.left, screen.y - area.top, area.right - area.left,
                                 area.bottom - area.top);
    // Answered at once: the last picture scaled, the exact one asked for.
    ViewChanged();
    InvalidatePicture();
    PaintNow();
}

bool PreviewWindow::MayChangePoints() const
{
    // Not while OK is at work: its message box is up and the dialog disabled.
    return !saved_ && IsWindowEnabled(dialog_);
}

void PreviewWindow::ResetPoints()
{
    if (!MayChangePoints())
        return;
    if (gesture_ != Gesture::None)
        CancelGesture();
    if (!form_.MovedPoint3 && !form_.MovedPoint4)
        return;
    form_.ResetMovedPoints();
    UpdateResetItem();
    if (placement_.Open && window_ != nullptr) {
        pullValues_();
        Recompute();
    }
}

void PreviewWindow::ShowContextMenu(POINT screen)
{
    if (window_ == nullptr || gesture_ != Gesture::None || !IsWindowEnabled(dialog_))
        return;
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the picture's top left.
        const RECT area = PictureArea();
        screen = {area.left, area.top};
        ClientToScreen(window_, &screen);
    }
    HMENU menu = CreatePopupMenu();
    const bool moved = form_.MovedPoint3 || form_.MovedPoint4;
    AppendMenuW(menu, MF_STRING | (moved ? 0 : MF_GRAYED), ResetPointsMenuCommand,
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
        FrameDimension();
        InvalidatePicture();
        break;
    case FrameDrawingCommand:
        FrameDrawing();
        InvalidatePicture();
        break;
    default:
        break;
    }
}

}  // namespace win32
