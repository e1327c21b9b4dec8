#pragma once
// The picture of what OK would draw now, kept beside the dialog while it is
// open: the input's elements and picked points, taken once from the model
// the dialog was shown with, and the dimension, recomputed from the
// controls' values on every change. A front end paints Current(), or the
// dimension's picture over the input's paint plan. The input's shapes, or
// its plan, are made only when first asked for: a large drawing costs
// nothing while nobody looks.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "dialog/DimensionPreview.h"
#include "preview/PaintPlan.h"
#include "preview/RecordShapes.h"
#include "preview/Shapes.h"

class TForm1;

namespace preview {

class LivePreview {
public:
    LivePreview() = default;
    ~LivePreview();
    LivePreview(const LivePreview&) = delete;
    LivePreview& operator=(const LivePreview&) = delete;

    // After FormShow, while the model is the dialog's.
    void Start();
    // The controls (or the points the user moved) changed: the records,
    // their shapes, the picked points and the status lines anew. When the
    // values cannot be drawn, the last good dimension stays, dimmed.
    void Update(const TForm1& form);

    // The whole picture: the input's shapes, then the dimension's.
    const Picture& Current();
    // The picture without the input's shapes: the dimension's, the picked
    // points, the caption.
    const Picture& Dimension() const { return dimension_; }
    // The input as a paint plan, made once (from the model the dialog was
    // shown with, which must be the process's model when first asked for).
    const std::shared_ptr<const PaintPlan>& Plan();
    // The plan made on a thread of its own, so that the dialog and its
    // first picture go on meanwhile; made() is called on that thread once
    // it is there. Until then the model is only read: an Update, or a look
    // at the plan, waits for it.
    void MakePlanAside(std::function<void()> made);
    // Whether the plan is there to be taken without waiting.
    bool HasPlan() const { return planReady_; }
    // Waits for a plan being made (before the model goes).
    void WaitForPlan();
    // The status line, Shift-JIS, as the dialog's texts are.
    const std::string& Status() const { return status_.front(); }
    // The status line and its notes (a distance read as 0, how the program
    // is started), Shift-JIS.
    const std::vector<std::string>& StatusLines() const { return status_; }
    const DimensionPreviewResult& Result() const { return result_; }

private:
    std::vector<PickedMark> PointMarks(const TForm1& form) const;
    std::vector<PickedMark> ChainMarks(const TForm1& form) const;

    HostSettings host_;
    std::vector<PickedMark> hostPicked_;
    bool inputMade_ = false;
    std::vector<Shape> input_;
    std::vector<Shape> lastGood_;
    DimensionPreviewResult result_;
    std::vector<std::string> status_{std::string()};
    bool changed_ = true;
    Picture dimension_;
    Picture picture_;
    std::shared_ptr<const PaintPlan> plan_;
    std::thread planMaker_;
    std::atomic<bool> planReady_{false};
};

}  // namespace preview
