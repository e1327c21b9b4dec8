#include "preview/PreviewSession.h"

#include <cmath>
#include <map>

#include "dialog/Unit1.h"
#include "preview/DraggedPoint.h"

namespace preview {

namespace {

// One notch of the wheel zooms by this much.
constexpr double NotchFactor = 1.25;

bool Inside(double x, double y, int width, int height) { return x >= 0 && y >= 0 && x < width && y < height; }

}  // namespace

Reaction& Reaction::operator|=(const Reaction& other)
{
    Repaint |= other.Repaint;
    StripChanged |= other.StripChanged;
    Capture |= other.Capture;
    Release |= other.Release;
    PointMoved |= other.PointMoved;
    ViewChanged |= other.ViewChanged;
    Handled |= other.Handled;
    return *this;
}

PreviewSession::PreviewSession(TForm1& form) : form_(form) {}

void PreviewSession::Start() { live_.Start(); }

void PreviewSession::SetMetrics(double gripRadius, int frameMargin)
{
    gripRadius_ = gripRadius;
    frameMargin_ = frameMargin;
}

Fit PreviewSession::CurrentFit() const { return FitOf(view_.value_or(View{}), width_, height_); }

bool PreviewSession::ShowsWhole(const Box& bounds) const
{
    return view_ && !bounds.Empty && Shows(*view_, bounds, width_, height_, 0);
}

void PreviewSession::Frame(const Box& bounds)
{
    view_ = Framed(bounds, width_, height_, frameMargin_);
}

bool PreviewSession::PointsMoved() const
{
    return form_.MovedPoint3 || form_.MovedPoint4 || !form_.MovedSpanValues.empty();
}

bool PreviewSession::IsGrip(const PickedMark& mark) const
{
    // A chain's picks from 2 on are measured points, not its line or values.
    if (IsChain(form_.Kind))
        return mark.Span > 0 || mark.Number == 1;
    return mark.Number == 3 || mark.Number == 4;
}

std::optional<PointD> PreviewSession::MovedOf(const Grip& grip) const
{
    if (grip.Span > 0) {
        const auto placed = form_.MovedSpanValues.find(grip.Span);
        if (placed != form_.MovedSpanValues.end())
            return placed->second;
        return grip.Span == 1 ? form_.MovedPoint4 : std::nullopt;
    }
    return grip.Number == 4 ? form_.MovedPoint4 : form_.MovedPoint3;
}

void PreviewSession::SetMoved(const Grip& grip, const std::optional<PointD>& at)
{
    if (grip.Span > 0) {
        if (at)
            form_.MovedSpanValues[grip.Span] = *at;
        else
            form_.MovedSpanValues.erase(grip.Span);
        return;
    }
    (grip.Number == 4 ? form_.MovedPoint4 : form_.MovedPoint3) = at;
}

std::vector<MovedPoint> PreviewSession::MovedPoints() const
{
    std::vector<MovedPoint> moved;
    const bool chain = IsChain(form_.Kind);
    if (form_.MovedPoint3)
        moved.push_back({chain ? "点1" : "点3", *form_.MovedPoint3});
    std::map<int, PointD> spans = form_.MovedSpanValues;
    if (form_.MovedPoint4) {
        if (!chain)
            moved.push_back({"点4", *form_.MovedPoint4});
        else
            spans.emplace(1, *form_.MovedPoint4);
    }
    for (const auto& [span, at] : spans)
        moved.push_back({"スパン" + std::to_string(span) + "の寸法値", at});
    return moved;
}

Reaction PreviewSession::ControlsChanged() { return Recompute(); }

Reaction PreviewSession::Recompute()
{
    live_.Update(form_);
    Reaction reaction = UpdateStrip();
    reaction.Repaint = true;
    const Box bounds = DimensionBounds(live_.Dimension());
    if (gesture_ == Gesture::DragGrip)
        return reaction;  // the view holds still under the pointer
    if (!view_ || DimensionLeaves(*view_, shownBounds_, bounds, width_, height_, 0))
        return reaction |= FrameDimension();
    shownBounds_ = bounds;
    return reaction;
}

Reaction PreviewSession::UpdateStrip()
{
    std::vector<std::string> lines;
    if (gesture_ == Gesture::DragGrip && dragAt_)
        lines.push_back(MovingPointLine(dragged_.Number, dragged_.Span, *dragAt_));
    for (const std::string& line : live_.StatusLines())
        lines.push_back(line);
    if (gesture_ != Gesture::DragGrip) {
        const std::string note = MovedPointsNote(MovedPoints());
        if (!note.empty())
            lines.push_back(note);
    }
    Reaction reaction;
    reaction.StripChanged = lines != strip_;
    strip_ = std::move(lines);
    return reaction;
}

Reaction PreviewSession::Resize(int width, int height, bool keepTopLeft)
{
    Reaction reaction;
    if (width == width_ && height == height_)
        return reaction;
    const bool shownWhole = ShowsWhole(shownBounds_);
    if (keepTopLeft && view_) {
        // The same fit in pixels from the area's top left: its centre moves
        // by half the change of size.
        view_->Centre.X += (width - width_) / 2.0 / view_->Scale;
        view_->Centre.Y -= (height - height_) / 2.0 / view_->Scale;
    }
    width_ = width;
    height_ = height;
    reaction.Repaint = true;
    reaction.ViewChanged = true;
    // Less room must not hide what was in view (the strip grew over the
    // value just let go); never while a drag moves it.
    if (view_ && gesture_ != Gesture::DragGrip && shownWhole && !ShowsWhole(shownBounds_))
        reaction |= FrameDimension();
    return reaction;
}

void PreviewSession::Rescale(double factor)
{
    if (view_ && std::isfinite(factor) && factor > 0)
        view_->Scale *= factor;
}

std::optional<Grip> PreviewSession::GripAt(double x, double y, bool pointsMayChange)
{
    if (!pointsMayChange || !view_ || !Inside(x, y, width_, height_))
        return std::nullopt;
    const PickedMark* mark = PickedMarkAt(live_.Dimension(), CurrentFit(), x, y, gripRadius_,
                                          [this](const PickedMark& m) { return IsGrip(m); });
    if (mark == nullptr)
        return std::nullopt;
    return Grip{mark->Span > 0 ? 0 : mark->Number, mark->Span};
}

Reaction PreviewSession::Press(double x, double y, Button button, bool pointsMayChange)
{
    Reaction reaction;
    if (gesture_ != Gesture::None || !view_ || !Inside(x, y, width_, height_))
        return reaction;
    startX_ = x;
    startY_ = y;
    reaction.Capture = true;
    reaction.Handled = true;
    if (const std::optional<Grip> grip = button == Button::Left ? GripAt(x, y, pointsMayChange) : std::nullopt) {
        gesture_ = Gesture::DragGrip;
        dragged_ = *grip;
        dragFrom_ = MovedOf(*grip);
        dragAt_.reset();
        shownAtStart_ = ShowsWhole(shownBounds_);
    } else {
        gesture_ = Gesture::Pan;
        panFrom_ = *view_;
    }
    return reaction;
}

Reaction PreviewSession::Move(double x, double y)
{
    Reaction reaction;
    switch (gesture_) {
    case Gesture::None:
        break;
    case Gesture::DragGrip: {
        // Only a real move moves the point: a click on a mark changes nothing.
        if (!dragAt_ && x == startX_ && y == startY_)
            break;
        const Point at = DrawingPointAt(CurrentFit(), x, y);
        dragAt_ = at;
        SetMoved(dragged_, PointD{at.X, at.Y});
        reaction = Recompute();
        reaction.PointMoved = true;
        break;
    }
    case Gesture::Pan:
        view_ = Panned(panFrom_, x - startX_, y - startY_);
        reaction.Repaint = true;
        reaction.ViewChanged = true;
        break;
    }
    return reaction;
}

PreviewSession::Gesture PreviewSession::EndGesture(Reaction& reaction)
{
    const Gesture ended = gesture_;
    gesture_ = Gesture::None;
    if (ended != Gesture::None) {
        reaction.Release = true;
        reaction.Repaint = true;
    }
    return ended;
}

Reaction PreviewSession::Finish()
{
    Reaction reaction;
    if (EndGesture(reaction) == Gesture::DragGrip) {
        // The point stays where it was let go, and in sight: a dimension
        // shown whole before the drag is shown whole after it, as is the
        // dragged mark.
        const Box bounds = DimensionBounds(live_.Dimension());
        const bool markHidden =
            dragAt_ && !ShowsWhole(Box{dragAt_->X, dragAt_->Y, dragAt_->X, dragAt_->Y, false});
        if ((shownAtStart_ && !ShowsWhole(bounds)) || markHidden)
            reaction |= FrameDimension();
        shownBounds_ = bounds;
        reaction |= UpdateStrip();
        dragged_ = {};
        dragAt_.reset();
    }
    return reaction;
}

Reaction PreviewSession::Cancel()
{
    Reaction reaction;
    const Gesture ended = EndGesture(reaction);
    if (ended == Gesture::None)
        return reaction;
    reaction.Handled = true;
    if (ended == Gesture::DragGrip) {
        SetMoved(dragged_, dragFrom_);
        const bool moved = dragAt_.has_value();
        dragged_ = {};
        dragAt_.reset();
        if (moved)
            reaction |= Recompute();
        else
            reaction |= UpdateStrip();
    } else {
        view_ = panFrom_;
        reaction.ViewChanged = true;
    }
    return reaction;
}

Reaction PreviewSession::Release() { return Finish(); }

Reaction PreviewSession::DoubleClick(double x, double y, bool pointsMayChange)
{
    // On a mark it starts a drag like any press; elsewhere it frames the dimension.
    if (gesture_ != Gesture::None || !Inside(x, y, width_, height_))
        return {};
    if (GripAt(x, y, pointsMayChange))
        return Press(x, y, Button::Left, pointsMayChange);
    Reaction reaction = FrameDimension();
    reaction.Handled = true;
    return reaction;
}

Reaction PreviewSession::Wheel(double notches, double x, double y)
{
    // The view stays as it is while a point or the view is dragged.
    Reaction reaction;
    if (!view_ || gesture_ != Gesture::None || notches == 0 || !std::isfinite(notches) ||
        !Inside(x, y, width_, height_))
        return reaction;
    view_ = ZoomedAbout(*view_, std::pow(NotchFactor, notches), x, y, width_, height_);
    reaction.Repaint = true;
    reaction.ViewChanged = true;
    reaction.Handled = true;
    return reaction;
}

Reaction PreviewSession::Escape() { return Cancel(); }

Reaction PreviewSession::Enter() { return Finish(); }

Reaction PreviewSession::CaptureLost() { return Cancel(); }

Reaction PreviewSession::Reset()
{
    Reaction reaction = Cancel();
    reaction.Handled = true;
    if (!PointsMoved())
        return reaction;
    form_.ResetMovedPoints();
    return reaction |= Recompute();
}

Reaction PreviewSession::FrameDimension()
{
    Box bounds = DimensionBounds(live_.Dimension());
    shownBounds_ = bounds;
    // Nothing to frame but the host's drawing (no picked points, no dimension).
    if (bounds.Empty)
        bounds = live_.Plan()->Bounds();
    Frame(bounds);
    Reaction reaction;
    reaction.Repaint = true;
    reaction.ViewChanged = true;
    return reaction;
}

Reaction PreviewSession::FrameDrawing()
{
    Box bounds = DimensionBounds(live_.Dimension());
    bounds.Add(live_.Plan()->Bounds());
    Frame(bounds);
    Reaction reaction;
    reaction.Repaint = true;
    reaction.ViewChanged = true;
    return reaction;
}

Pointer PreviewSession::PointerAt(double x, double y, bool pointsMayChange)
{
    switch (gesture_) {
    case Gesture::DragGrip:
        return Pointer::Hand;
    case Gesture::Pan:
        return Pointer::Move;
    case Gesture::None:
        break;
    }
    return GripAt(x, y, pointsMayChange) ? Pointer::Hand : Pointer::Arrow;
}

}  // namespace preview
