// The mouse in the preview's picture: points 3 and 4 taken by their marks
// and dragged, the view panned by a drag on empty space (or with the middle
// button), the pointer's shape over each.
#include <cstdlib>

#include "dialog/Unit1.h"
#include "frontends/win32/PreviewWindow.h"
#include "preview/DraggedPoint.h"

namespace win32 {

namespace {

// In 96-DPI pixels: how near a mark the pointer takes it.
constexpr int GripRadius = 7;
constexpr unsigned DraggablePoints = (1u << 3) | (1u << 4);

HCURSOR SystemCursor(LPSTR name) { return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(name)); }

}  // namespace

int PreviewWindow::GripAt(int x, int y)
{
    const RECT area = PictureArea();
    if (!view_ || !PtInRect(&area, POINT{x, y}))
        return 0;
    return preview::PickedMarkAt(live_.Dimension(), CurrentFit(), x - area.left, y - area.top,
                                 scale_.Length(GripRadius), DraggablePoints);
}

void PreviewWindow::ButtonDown(int x, int y, bool left)
{
    const RECT area = PictureArea();
    if (gesture_ != Gesture::None || !view_ || !PtInRect(&area, POINT{x, y}))
        return;
    const int grip = left && MayChangePoints() ? GripAt(x, y) : 0;
    gestureStart_ = {x, y};
    if (grip != 0) {
        gesture_ = Gesture::DragPoint;
        dragNumber_ = grip;
        dragFrom_ = grip == 3 ? form_.MovedPoint3 : form_.MovedPoint4;
        dragAt_.reset();
        SetCursor(SystemCursor(IDC_HAND));
    } else {
        gesture_ = Gesture::Pan;
        panFrom_ = *view_;
        SetCursor(SystemCursor(IDC_SIZEALL));
    }
    SetCapture(window_);
}

void PreviewWindow::MouseMove(int x, int y)
{
    switch (gesture_) {
    case Gesture::None:
        return;
    case Gesture::DragPoint:
        // Only a real move moves the point: a click on a mark changes nothing.
        if (dragAt_ || x != gestureStart_.x || y != gestureStart_.y)
            MoveDraggedPoint(x, y);
        return;
    case Gesture::Pan: {
        // Each step answered at once: the last picture moved along, the
        // exact one asked for.
        const preview::View panned = preview::Panned(panFrom_, x - gestureStart_.x, y - gestureStart_.y);
        if (panned.Centre.X == view_->Centre.X && panned.Centre.Y == view_->Centre.Y)
            return;
        view_ = panned;
        ViewChanged();
        InvalidatePicture();
        PaintNow();
        return;
    }
    }
}

void PreviewWindow::MoveDraggedPoint(int x, int y)
{
    const long long start = Microseconds();
    const RECT area = PictureArea();
    const preview::Point at = preview::DrawingPointAt(CurrentFit(), x - area.left, y - area.top);
    dragAt_ = at;
    (dragNumber_ == 3 ? form_.MovedPoint3 : form_.MovedPoint4) = PointD{at.X, at.Y};
    // The same path as a change of a control: the records OK would write,
    // their shapes and the strip; the view stays.
    Recompute();
    // Painted now, strip and all, not when the queue is next empty: the
    // picture keeps up with the pointer and the time below is the frame's.
    PaintNow();
    const long long spent = Microseconds() - start;
    SetPropW(window_, FrameTimeProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(spent)));
}

void PreviewWindow::ButtonUp()
{
    if (gesture_ != Gesture::None)
        FinishGesture();
}

void PreviewWindow::FinishGesture()
{
    const Gesture ended = gesture_;
    gesture_ = Gesture::None;
    ending_ = true;
    ReleaseCapture();
    ending_ = false;
    if (ended == Gesture::DragPoint) {
        // The point stays where it was let go; the strip says so.
        shownBounds_ = preview::DimensionBounds(live_.Dimension());
        UpdateStrip();
    }
    InvalidatePicture();
}

void PreviewWindow::CancelGesture()
{
    const Gesture ended = gesture_;
    gesture_ = Gesture::None;
    ending_ = true;
    if (GetCapture() == window_)
        ReleaseCapture();
    ending_ = false;
    if (ended == Gesture::DragPoint) {
        (dragNumber_ == 3 ? form_.MovedPoint3 : form_.MovedPoint4) = dragFrom_;
        dragAt_.reset();
        Recompute();
    } else if (ended == Gesture::Pan) {
        view_ = panFrom_;
        ViewChanged();
        InvalidatePicture();
    }
}

bool PreviewWindow::SetCursorForPointer()
{
    if (gesture_ != Gesture::None) {
        SetCursor(SystemCursor(gesture_ == Gesture::DragPoint ? IDC_HAND : IDC_SIZEALL));
        return true;
    }
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(window_, &at);
    if (MayChangePoints() && GripAt(at.x, at.y) != 0) {
        SetCursor(SystemCursor(IDC_HAND));
        return true;
    }
    return false;
}

}  // namespace win32
