#pragma once
// The picture of what OK would draw now, kept beside the dialog while it is
// open: the input's elements and picked points, taken once from the model
// the dialog was shown with, and the dimension, recomputed from the
// controls' values on every change. A front end paints Current(). The
// input's shapes are made only when a picture is first asked for: a large
// drawing costs nothing while nobody looks.
#include <string>

#include "dialog/DimensionPreview.h"
#include "preview/RecordShapes.h"
#include "preview/Shapes.h"

class TForm1;

namespace preview {

class LivePreview {
public:
    // After FormShow, while the model is the dialog's.
    void Start();
    // The controls (or the points the user moved) changed: the records,
    // their shapes, the picked points and the status lines anew. When the
    // values cannot be drawn, the last good dimension stays, dimmed.
    void Update(const TForm1& form);

    const Picture& Current();
    // The status line, Shift-JIS, as the dialog's texts are.
    const std::string& Status() const { return status_.front(); }
    // The status line and its notes (a distance read as 0, how the program
    // is started), Shift-JIS.
    const std::vector<std::string>& StatusLines() const { return status_; }
    const DimensionPreviewResult& Result() const { return result_; }

private:
    HostSettings host_;
    std::vector<PickedMark> hostPicked_;
    bool inputMade_ = false;
    std::vector<Shape> input_;
    std::vector<Shape> lastGood_;
    DimensionPreviewResult result_;
    std::vector<std::string> status_{std::string()};
    bool changed_ = true;
    Picture picture_;
};

}  // namespace preview
