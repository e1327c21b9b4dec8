#include "exchange/DrawingState.h"

#include "exchange/OutputStore.h"

#include <exception>
#include <memory>

DrawingStateRecord DrawingState;

namespace {

template <typename T>
void ReleaseTable(std::vector<T>& table)
{
    table.clear();
    table.shrink_to_fit();
}

}  // namespace

void InitDrawingState()
{
    // A fresh record gives every default the header declares; what follows
    // are the values that are not simply zero or empty.
    DrawingState = DrawingStateRecord{};
    DrawingStateRecord& s = DrawingState;

    for (double& scale : s.LayerGroupScales)
        scale = 1.0;

    s.LayerGroupNames.assign(LayerGroupCount, std::string());
    s.LayerNames.assign(LayerGroupCount * LayersPerGroup, std::string());
    s.LayerGroupValues.assign(LayerGroupCount, 0);
    s.LayerValues.assign(LayerGroupCount * LayersPerGroup, 0);
    s.PickedPoints.assign(PickedPointSlots, PickedPoint{});

    // Until a line follows "msg", a dimension element carries a unit line
    // in the default line colour and type.
    s.PendingDimensionLine = LineElement{};
    s.PendingDimensionLine.Header.Color = 1;
    s.PendingDimensionLine.Header.LineType = 1;
    s.PendingDimensionLine.X2 = 1.0;

    OutputStore.Lines.Release();
}

void FreeDrawingState()
{
    DrawingStateRecord& s = DrawingState;
    ReleaseTable(s.LayerGroupNames);
    ReleaseTable(s.LayerNames);
    ReleaseTable(s.LayerGroupValues);
    ReleaseTable(s.LayerValues);
    ReleaseTable(s.PickedPoints);

    s.ElementOrder.Release();
    s.Lines.Release();
    s.Circles.Release();
    s.Arcs.Release();
    s.Texts.Release();
    s.Points.Release();
    s.PointMarks.Release();
    s.Dimensions.Release();
    s.Blocks.Release();
    s.Solid2s.Release();
    s.Solid3s.Release();
    s.Solid4s.Release();
    s.Scs.Release();
    s.Ses.Release();
    s.Sos.Release();
    s.Sgs.Release();

    OutputStore.Lines.Release();
}

DrawingStateRelease FreeDrawingStateAside()
{
    DrawingStateRelease release;
    // A small model is freed sooner than a thread is started for it.
    constexpr std::size_t LargeModel = 50000;  // elements
    if (DrawingState.ElementOrder.Count() < LargeModel)
        return release;
    try {
        auto aside = std::make_unique<DrawingStateRecord>(std::move(DrawingState));
        DrawingState = DrawingStateRecord{};
        // Should no thread be had, the closure and the model in it go at once.
        release.thread_ = std::thread([model = std::move(aside)]() mutable { model.reset(); });
    } catch (const std::exception&) {
        // No memory for the record itself: FreeDrawingState frees it later.
    }
    return release;
}
