#pragma once
// The preview's interaction as plain arithmetic: the live picture, the view
// of it, what the mouse is doing, when the view frames the dimension again,
// the points the user moved and the strip's lines. A window translates its
// messages into these events, in pixels of the picture's area (the window
// less its legend and strip), and does what the answer says; so every
// gesture can be tried without a screen.
#include <optional>
#include <string>
#include <vector>

#include "dialog/PointD.h"
#include "preview/DraggedPoint.h"
#include "preview/LivePreview.h"
#include "preview/View.h"

class TForm1;

namespace preview {

// A mark the user can take with the mouse: picked point 3 or 4 of the
// kinds that draw one dimension; a chain's point 1 (its line) or the value
// of one of its spans.
struct Grip {
    int Number = 0;
    int Span = 0;
    bool operator==(const Grip&) const = default;
};

enum class Pointer { Arrow, Hand, Move };
enum class Button { Left, Middle };

// What the window does after an event.
struct Reaction {
    bool Repaint = false;       // paint the picture again
    bool StripChanged = false;  // the strip's lines are new: lay them out
    bool Capture = false;       // take the mouse
    bool Release = false;       // give the mouse back
    bool PointMoved = false;    // a grip moved: paint now, the frame is timed
    bool ViewChanged = false;   // the view moved: its picture is asked for anew
    bool Handled = false;       // the key or click was the preview's

    Reaction& operator|=(const Reaction& other);
};

class PreviewSession {
public:
    explicit PreviewSession(TForm1& form);

    // After FormShow, while the model is the dialog's.
    void Start();
    // Pixels round a mark that take it, and round the dimension when it is framed.
    void SetMetrics(double gripRadius, int frameMargin);

    // The form's values changed (the window has copied the controls in).
    Reaction ControlsChanged();
    // The window opens again: framed anew on the first picture.
    void ForgetView() { view_.reset(); }
    // The picture's area is width x height pixels. With keepTopLeft the
    // drawing stays where it was on the screen (the strip grew or shrank
    // below it); otherwise the same drawing point stays at the centre.
    Reaction Resize(int width, int height, bool keepTopLeft);
    // The density changed by factor: the same part of the drawing shows.
    void Rescale(double factor);

    Reaction Press(double x, double y, Button button, bool pointsMayChange);
    Reaction Move(double x, double y);
    Reaction Release();
    Reaction DoubleClick(double x, double y, bool pointsMayChange);
    Reaction Wheel(double notches, double x, double y);
    // During a gesture: Escape puts back what the gesture changed, Enter
    // ends it where it is (and OK goes on with that); otherwise nothing.
    Reaction Escape();
    Reaction Enter();
    // Another window took the mouse: as Escape.
    Reaction CaptureLost();
    // Both points back where the host picked them.
    Reaction Reset();
    Reaction FrameDimension();
    Reaction FrameDrawing();

    Pointer PointerAt(double x, double y, bool pointsMayChange);
    bool Busy() const { return gesture_ != Gesture::None; }
    bool Panning() const { return gesture_ == Gesture::Pan; }
    bool PointsMoved() const;

    // The dimension and the picked points, without the host's drawing.
    const Picture& Dimension() const { return live_.Dimension(); }
    Fit CurrentFit() const;
    const std::optional<View>& CurrentView() const { return view_; }
    // Shift-JIS, one paragraph a line.
    const std::vector<std::string>& StripLines() const { return strip_; }
    LivePreview& Live() { return live_; }

private:
    enum class Gesture { None, DragGrip, Pan };

    // The records, shapes and strip anew; the view frames the dimension
    // when it has none or the dimension left it, never during a drag.
    Reaction Recompute();
    Reaction UpdateStrip();
    std::optional<Grip> GripAt(double x, double y, bool pointsMayChange);
    bool IsGrip(const PickedMark& mark) const;
    // Where the form keeps what a grip moved; unset, where the host or the
    // row put it.
    std::optional<PointD> MovedOf(const Grip& grip) const;
    void SetMoved(const Grip& grip, const std::optional<PointD>& at);
    // What the user moved, as the strip names it.
    std::vector<MovedPoint> MovedPoints() const;
    // The gesture under way ends: the mouse is given back, the picture painted.
    Gesture EndGesture(Reaction& reaction);
    Reaction Cancel();
    Reaction Finish();
    void Frame(const Box& bounds);
    bool ShowsWhole(const Box& bounds) const;

    TForm1& form_;
    LivePreview live_;
    double gripRadius_ = 7;
    int frameMargin_ = 24;
    int width_ = 0, height_ = 0;
    std::optional<View> view_;
    Box shownBounds_;  // the dimension's bounds the view was last checked against
    std::vector<std::string> strip_;

    Gesture gesture_ = Gesture::None;
    double startX_ = 0, startY_ = 0;
    Grip dragged_;
    std::optional<PointD> dragFrom_;
    std::optional<Point> dragAt_;
    bool shownAtStart_ = false;  // the dimension was shown whole when the drag began
    View panFrom_;
};

}  // namespace preview
