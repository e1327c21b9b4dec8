#include "preview/LivePreview.h"

#include <algorithm>
#include <optional>

#include "dialog/Unit1.h"
#include "exchange/DrawingState.h"
#include "platform/Charset.h"
#include "preview/InputPlan.h"

namespace preview {

LivePreview::~LivePreview() { WaitForPlan(); }

void LivePreview::Start()
{
    WaitForPlan();
    planReady_ = false;
    host_ = HostSettingsOf(DrawingState);
    inputMade_ = false;
    input_.clear();
    lastGood_.clear();
    picture_ = Picture{};
    dimension_ = Picture{};
    plan_.reset();
    // A chain's row runs on to the last point the host handed over.
    hostPicked_ = PickedMarksOf(DrawingState, nullptr, std::max(4, static_cast<int>(DrawingState.PickedPoints.size()) - 1));
    dimension_.Picked = hostPicked_;
    changed_ = true;
}

std::vector<PickedMark> LivePreview::PointMarks(const TForm1& form) const
{
    // Points 3 and 4 where the user put them; a point moved off every
    // usable coordinate is not marked, as a pick there would not be.
    std::vector<PickedMark> marks;
    for (int n = 1; n <= 4; ++n) {
        const std::optional<PointD>& moved = n == 3 ? form.MovedPoint3 : form.MovedPoint4;
        std::optional<Point> at;
        if (n >= 3 && moved)
            at = Point{moved->X, moved->Y};
        else
            for (const PickedMark& mark : hostPicked_)
                if (mark.Number == n)
                    at = mark.At;
        if (at && Usable(*at))
            marks.push_back({n, *at});
    }
    return marks;
}

std::vector<PickedMark> LivePreview::ChainMarks(const TForm1& form) const
{
    // Every pick of the row, point 1 (the line) where the user put it, and
    // a grip at each drawn span's value point.
    std::vector<PickedMark> marks;
    for (const PickedMark& mark : hostPicked_) {
        PickedMark shown = mark;
        if (mark.Number == 1 && form.MovedPoint3)
            shown.At = {form.MovedPoint3->X, form.MovedPoint3->Y};
        if (Usable(shown.At))
            marks.push_back(shown);
    }
    if (result_.Outcome == ConstructionOutcome::Drawn)
        for (const ChainSpan& span : result_.Chain.Spans) {
            const Point at{span.Dimension.P4.X, span.Dimension.P4.Y};
            if (Usable(at))
                marks.push_back({0, at, span.Number});
        }
    return marks;
}

void LivePreview::Update(const TForm1& form)
{
    // The records are read into a model of their own, in the process's
    // model's place: not while the plan is being made from it.
    WaitForPlan();
    result_ = PreviewDimension(form);
    const bool drawn = result_.Outcome == ConstructionOutcome::Drawn;
    if (drawn) {
        lastGood_.clear();
        Tally ignored;
        AddRecordShapes(result_.Records, host_, OutputRoles, lastGood_, ignored);
    }
    status_ = PreviewStatusLines(result_, form);
    dimension_.Shapes = lastGood_;
    dimension_.OutputDimmed = !drawn;
    dimension_.Caption.clear();
    for (const std::string& line : status_)
        dimension_.Caption.push_back(platform::SjisToUtf8(line));
    dimension_.Title = "Preview: " + dimension_.Caption.front();

    dimension_.Picked = IsChain(form.Kind) ? ChainMarks(form) : PointMarks(form);
    changed_ = true;
}

const Picture& LivePreview::Current()
{
    if (!inputMade_) {
        Tally ignored;
        AddElementShapes(DrawingState, host_.Scales, InputRoles, input_, ignored);
        inputMade_ = true;
    }
    if (changed_) {
        // The input's shapes are copied once; a change replaces only the
        // dimension's after them, whatever the size of the drawing.
        if (picture_.Shapes.size() < input_.size())
            picture_.Shapes = input_;
        picture_.Shapes.resize(input_.size());
        picture_.Shapes.insert(picture_.Shapes.end(), lastGood_.begin(), lastGood_.end());
        picture_.Picked = dimension_.Picked;
        picture_.Caption = dimension_.Caption;
        picture_.Title = dimension_.Title;
        picture_.OutputDimmed = dimension_.OutputDimmed;
        changed_ = false;
    }
    return picture_;
}

const std::shared_ptr<const PaintPlan>& LivePreview::Plan()
{
    WaitForPlan();
    if (!plan_) {
        Tally ignored;
        plan_ = MakeInputPlan(DrawingState, host_.Scales, ignored);
        planReady_ = true;
    }
    return plan_;
}

void LivePreview::MakePlanAside(std::function<void()> made)
{
    if (plan_ || planMaker_.joinable())
        return;
    planMaker_ = std::thread([this, made = std::move(made)] {
        Tally ignored;
        plan_ = MakeInputPlan(DrawingState, host_.Scales, ignored);
        planReady_ = true;
        if (made)
            made();
    });
}

void LivePreview::WaitForPlan()
{
    if (planMaker_.joinable())
        planMaker_.join();
}

}  // namespace preview
