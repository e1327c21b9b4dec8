// The preview's gestures without a window: each row a series of plain
// events as a window passes them on, and what a user then sees: the points,
// the view, the strip, whether the mouse is held.
#include <gtest/gtest.h>

#include "dialog/Unit1.h"
#include "preview/PreviewSession.h"
#include "support/DialogHarness.h"

using namespace harness;
using namespace preview;

namespace {

const std::string Input = ReadBytes(Q308_SOURCE_DIR "/tests/golden/preview/centred/input.txt").value_or("");

// A dialog on the golden drawing (points 3 at 25,7 and 4 at -5,20) with its
// preview 400 x 300 pixels, framed on the dimension.
struct Preview {
    DialogRun Run;
    PreviewSession Session{Run.Form};

    explicit Preview(const std::string& input = Input, DimensionKind kind = DimensionKind::Vertical)
        : Run(input, std::nullopt, kind)
    {
        Run.PickTextType(3);
        Session.Start();
        Session.SetMetrics(7, 24);
        Session.Resize(400, 300, false);
        Session.ControlsChanged();
    }
    Point MarkPixel(int number)
    {
        for (const PickedMark& mark : Session.Dimension().Picked)
            if (mark.Number == number)
                return Session.CurrentFit().ToPixels(mark.At);
        ADD_FAILURE() << "no mark " << number;
        return {};
    }
    bool StripHas(const std::string& sjis) const
    {
        for (const std::string& line : Session.StripLines())
            if (line.find(sjis) != std::string::npos)
                return true;
        return false;
    }
    bool DimensionShown()
    {
        const Box bounds = DimensionBounds(Session.Dimension());
        return Shows(*Session.CurrentView(), bounds, 400, 300, 0);
    }
};

enum class Do { PressMark4, PressMark3, PressEmpty, PressMiddle, Move, Release, Escape, Enter, CaptureLost, Wheel, Reset };

struct Step {
    Do What;
    double Dx = 0, Dy = 0;  // for Move: pixels from the press
};

}  // namespace

TEST(PreviewSession, Gestures)
{
    const struct {
        const char* Name;
        std::vector<Step> Steps;
        bool Point4Moved, Point3Moved, ViewMoved, Held;
        const char* Strip;  // a part of the strip's text, Shift-JIS
    } rows[] = {
        {"a drag of point 4 leaves it where it was let go",
         {{Do::PressMark4}, {Do::Move, 30, 0}, {Do::Release}}, true, false, false, false, "移動した点：点4"},
        {"a click on a mark moves nothing", {{Do::PressMark4}, {Do::Release}}, false, false, false, false, nullptr},
        {"Escape puts the point back", {{Do::PressMark4}, {Do::Move, 30, 0}, {Do::Escape}}, false, false, false,
         false, nullptr},
        {"a lost capture puts the point back", {{Do::PressMark3}, {Do::Move, 0, 20}, {Do::CaptureLost}}, false, false,
         false, false, nullptr},
        {"Enter ends the drag with the point where it is", {{Do::PressMark3}, {Do::Move, 0, 20}, {Do::Enter}}, false,
         true, false, false, "点3"},
        {"while dragging the strip says where", {{Do::PressMark4}, {Do::Move, 10, 0}}, true, false, false, true,
         "点4（寸法値の位置）を移動中（"},
        {"a drag on empty space pans", {{Do::PressEmpty}, {Do::Move, 40, 10}, {Do::Release}}, false, false, true,
         false, nullptr},
        {"the middle button pans, also on a mark", {{Do::PressMiddle}, {Do::Move, 40, 10}, {Do::Release}}, false,
         false, true, false, nullptr},
        {"Escape puts a pan back", {{Do::PressEmpty}, {Do::Move, 40, 10}, {Do::Escape}}, false, false, false, false,
         nullptr},
        {"a release without a press does nothing", {{Do::Release}, {Do::Move, 5, 5}}, false, false, false, false,
         nullptr},
        {"a move after the capture was lost changes nothing",
         {{Do::PressMark4}, {Do::CaptureLost}, {Do::Move, 30, 0}, {Do::Release}}, false, false, false, false, nullptr},
        {"the wheel does not zoom during a drag", {{Do::PressMark4}, {Do::Wheel}, {Do::Move, 5, 0}, {Do::Release}},
         true, false, false, false, "移動した点：点4"},
        {"the wheel zooms otherwise", {{Do::Wheel}}, false, false, true, false, nullptr},
        {"Ctrl+R puts both points back", {{Do::PressMark4}, {Do::Move, 30, 0}, {Do::Release}, {Do::Reset}}, false,
         false, false, false, nullptr},
        {"Ctrl+R during a drag ends it first", {{Do::PressMark4}, {Do::Move, 30, 0}, {Do::Reset}}, false, false, false,
         false, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        Preview p;
        const View before = *p.Session.CurrentView();
        Point pressed{};
        for (const Step& step : row.Steps) {
            switch (step.What) {
            case Do::PressMark4:
            case Do::PressMark3:
                pressed = p.MarkPixel(step.What == Do::PressMark4 ? 4 : 3);
                EXPECT_TRUE(p.Session.Press(pressed.X, pressed.Y, Button::Left, true).Capture);
                EXPECT_EQ(p.Session.PointerAt(pressed.X, pressed.Y, true), Pointer::Hand);
                break;
            case Do::PressEmpty:
                pressed = {5, 5};
                p.Session.Press(pressed.X, pressed.Y, Button::Left, true);
                EXPECT_EQ(p.Session.PointerAt(pressed.X, pressed.Y, true), Pointer::Move);
                break;
            case Do::PressMiddle:
                pressed = p.MarkPixel(4);
                p.Session.Press(pressed.X, pressed.Y, Button::Middle, true);
                break;
            case Do::Move:
                p.Session.Move(pressed.X + step.Dx, pressed.Y + step.Dy);
                break;
            case Do::Release:
                p.Session.Release();
                break;
            case Do::Escape:
                EXPECT_TRUE(p.Session.Escape().Handled);
                break;
            case Do::Enter:
                EXPECT_FALSE(p.Session.Enter().Handled) << "OK goes on";
                break;
            case Do::CaptureLost:
                p.Session.CaptureLost();
                break;
            case Do::Wheel:
                p.Session.Wheel(1, 200, 150);
                break;
            case Do::Reset:
                p.Session.Reset();
                break;
            }
        }
        EXPECT_EQ(p.Run.Form.MovedPoint4.has_value(), row.Point4Moved);
        EXPECT_EQ(p.Run.Form.MovedPoint3.has_value(), row.Point3Moved);
        const View after = *p.Session.CurrentView();
        EXPECT_EQ(after.Centre.X != before.Centre.X || after.Centre.Y != before.Centre.Y ||
                      after.Scale != before.Scale,
                  row.ViewMoved);
        EXPECT_EQ(p.Session.Busy(), row.Held);
        if (row.Strip != nullptr)
            EXPECT_TRUE(p.StripHas(row.Strip)) << p.Session.StripLines().back();
        else
            EXPECT_FALSE(p.StripHas("移動")) << "no moved point is named";
    }
}

TEST(PreviewSession, ADraggedPointStaysUnderThePointer)
{
    Preview p;
    const Point at = p.MarkPixel(4);
    p.Session.Press(at.X, at.Y, Button::Left, true);
    p.Session.Move(at.X + 50, at.Y - 20);
    const Point moved = p.Session.CurrentFit().ToPixels({p.Run.Form.MovedPoint4->X, p.Run.Form.MovedPoint4->Y});
    EXPECT_NEAR(moved.X, at.X + 50, 1);
    EXPECT_NEAR(moved.Y, at.Y - 20, 1);
    // The view holds still during the drag, even past the window's edge.
    const View during = *p.Session.CurrentView();
    p.Session.Move(at.X + 2000, at.Y);
    EXPECT_EQ(p.Session.CurrentView()->Centre.X, during.Centre.X);
    EXPECT_EQ(p.Session.CurrentView()->Scale, during.Scale);
}

TEST(PreviewSession, NothingTheUserPlacedIsLeftOutOfSight)
{
    // The value dragged past the window's edge and let go: the dimension is
    // framed again, whole.
    {
        Preview p;
        const Point at = p.MarkPixel(4);
        p.Session.Press(at.X, at.Y, Button::Left, true);
        p.Session.Move(at.X + 600, at.Y);
        EXPECT_FALSE(p.DimensionShown());
        EXPECT_TRUE(p.Session.Release().Repaint);
        EXPECT_TRUE(p.DimensionShown());
    }
    // The strip grows over the picture after the drag: less room reframes
    // what no longer fits; during a drag the view holds still.
    {
        Preview p;
        const Point at = p.MarkPixel(4);
        p.Session.Press(at.X, at.Y, Button::Left, true);
        p.Session.Move(at.X, at.Y + 5);
        const View during = *p.Session.CurrentView();
        p.Session.Resize(400, 120, true);
        EXPECT_EQ(p.Session.CurrentView()->Scale, during.Scale) << "no jump while dragging";
        p.Session.Release();
        EXPECT_TRUE(Shows(*p.Session.CurrentView(), DimensionBounds(p.Session.Dimension()), 400, 120, 0));
    }
    // A strip that grows while everything still fits moves nothing on the screen.
    {
        Preview p;
        p.Session.Wheel(-3, 200, 150);  // zoomed out: room to spare
        const Point before = p.MarkPixel(1);
        p.Session.Resize(400, 280, true);
        const Point after = p.MarkPixel(1);
        EXPECT_NEAR(after.X, before.X, 1e-9);
        EXPECT_NEAR(after.Y, before.Y, 1e-9);
    }
}

TEST(PreviewSession, PointsAreTakenOnlyWhenTheyMayChange)
{
    Preview p;
    const Point at = p.MarkPixel(4);
    // While OK's message box is up the marks are not grips: a press pans.
    EXPECT_EQ(p.Session.PointerAt(at.X, at.Y, false), Pointer::Arrow);
    p.Session.Press(at.X, at.Y, Button::Left, false);
    p.Session.Move(at.X + 30, at.Y);
    p.Session.Release();
    EXPECT_FALSE(p.Run.Form.MovedPoint4.has_value());
    // A double-click on empty space frames the dimension again; on a mark it takes it.
    p.Session.DoubleClick(5, 5, true);
    EXPECT_TRUE(p.DimensionShown());
    const Point mark = p.MarkPixel(4);
    p.Session.DoubleClick(mark.X, mark.Y, true);
    EXPECT_TRUE(p.Session.Busy());
}

namespace {

// The golden drawing with a row of four measured points on x = 0 (spans
// 1000, 100 and 1900), its line through (-500, 0).
std::string ChainInput()
{
    std::string input = Input;
    const std::size_t from = input.find("hp1-"), to = input.find("lg0");
    return input.replace(from, to - from, "hp1- -500 0\r\nhp2 0 0\r\nhp3 0 1000\r\nhp4 0 1100\r\nhp5 0 3000\r\n");
}

struct ChainPreview : Preview {
    ChainPreview() : Preview(ChainInput(), DimensionKind::VerticalChain) {}

    std::optional<Point> MarkPixel(int number, int span)
    {
        for (const PickedMark& mark : Session.Dimension().Picked)
            if (mark.Number == number && mark.Span == span)
                return Session.CurrentFit().ToPixels(mark.At);
        return std::nullopt;
    }
    void Drag(Point from, double dx, double dy)
    {
        Session.Press(from.X, from.Y, Button::Left, true);
        Session.Move(from.X + dx, from.Y + dy);
    }
};

}  // namespace

TEST(PreviewSession, AChainsLineAndEachValueAreGrips)
{
    {
        ChainPreview p;
        ASSERT_EQ(p.Run.Form.ExchangeFileRead, true);
        // Every pick is marked, and each span's value has a grip.
        for (int n = 1; n <= 5; ++n)
            EXPECT_TRUE(p.MarkPixel(n, 0)) << n;
        for (int k = 1; k <= 3; ++k)
            EXPECT_TRUE(p.MarkPixel(0, k)) << k;
        // The measured points are not grips: a drag from one pans.
        const Point point3 = *p.MarkPixel(3, 0);
        EXPECT_EQ(p.Session.PointerAt(point3.X, point3.Y, true), Pointer::Arrow);
        p.Drag(point3, 30, 0);
        p.Session.Release();
        EXPECT_FALSE(p.Session.PointsMoved());
    }
    {
        // A value's drag moves that span's value only, and the strip says which.
        ChainPreview p;
        const Point span1 = *p.MarkPixel(0, 1), span2 = *p.MarkPixel(0, 2);
        p.Drag(span2, 0, -60);
        EXPECT_TRUE(p.StripHas("スパン2の寸法値を移動中（"));
        p.Session.Release();
        ASSERT_EQ(p.Run.Form.MovedSpanValues.size(), 1u);
        EXPECT_TRUE(p.Run.Form.MovedSpanValues.contains(2));
        EXPECT_TRUE(p.StripHas("移動した点：スパン2の寸法値（"));
        const Point moved = *p.MarkPixel(0, 2), still = *p.MarkPixel(0, 1);
        EXPECT_NEAR(moved.Y, span2.Y - 60, 1.5);
        EXPECT_NEAR(still.Y, span1.Y, 1e-6);
        // Escape in a second drag puts it back where the first left it.
        p.Drag(moved, 0, 40);
        p.Session.Escape();
        EXPECT_NEAR(p.MarkPixel(0, 2)->Y, moved.Y, 1e-6);
        // Ctrl+R: every value back to the row's own placement.
        p.Session.Reset();
        EXPECT_FALSE(p.Session.PointsMoved());
        EXPECT_NEAR(p.MarkPixel(0, 2)->Y, span2.Y, 1e-6);
    }
    {
        // Point 1 moves the whole row's line, every value with it.
        ChainPreview p;
        const Point line = *p.MarkPixel(1, 0), span3 = *p.MarkPixel(0, 3);
        p.Drag(line, -40, 0);
        EXPECT_TRUE(p.StripHas("点1（寸法線の位置）を移動中（"));
        p.Session.Release();
        EXPECT_TRUE(p.Run.Form.MovedPoint3.has_value());
        EXPECT_TRUE(p.Run.Form.MovedSpanValues.empty());
        EXPECT_TRUE(p.StripHas("移動した点：点1（"));
        const Point after = p.Session.CurrentFit().ToPixels(
            {p.Run.Form.MovedPoint3->X, p.Run.Form.MovedPoint3->Y});
        const Point span3After = *p.MarkPixel(0, 3);
        EXPECT_NEAR(span3After.X - span3.X, after.X - line.X, 1.5);
    }
}
