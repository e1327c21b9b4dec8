#include "preview/LivePreview.h"

#include "exchange/DrawingState.h"
#include "platform/Charset.h"

namespace preview {

void LivePreview::Start()
{
    host_ = HostSettingsOf(DrawingState);
    inputMade_ = false;
    input_.clear();
    lastGood_.clear();
    picture_ = Picture{};
    picture_.Picked = PickedMarksOf(DrawingState);
    changed_ = true;
}

void LivePreview::Update(const TForm1& form)
{
    result_ = PreviewDimension(form);
    const bool drawn = result_.Outcome == ConstructionOutcome::Drawn;
    if (drawn) {
        lastGood_.clear();
        Tally ignored;
        AddRecordShapes(result_.Records, host_, OutputRoles, lastGood_, ignored);
    }
    status_ = PreviewStatusText(result_);
    picture_.OutputDimmed = !drawn;
    const std::string status = platform::SjisToUtf8(status_);
    picture_.Caption = {status};
    picture_.Title = "Preview: " + status;
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
        picture_.Shapes = input_;
        picture_.Shapes.insert(picture_.Shapes.end(), lastGood_.begin(), lastGood_.end());
        changed_ = false;
    }
    return picture_;
}

}  // namespace preview
