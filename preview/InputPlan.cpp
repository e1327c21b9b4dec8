#include "preview/InputPlan.h"

namespace preview {

std::shared_ptr<const PaintPlan> MakeInputPlan(const DrawingStateRecord& state,
                                               const double (&scales)[LayerGroupCount], Tally& tally)
{
    auto plan = std::make_shared<PaintPlan>();
    // Room for the kinds that fill drawings, counted first, so that no
    // list of the plan is copied while it grows.
    std::size_t chars = 0;
    for (std::size_t i = 0; i < state.Texts.Count(); ++i)
        chars += state.Texts[i].Text.size();
    plan->Reserve(state.ElementOrder.Count(),
                  state.Lines.Count() * 4 + state.Circles.Count() * 3 + state.Points.Count() * 2 +
                      state.Texts.Count() * 6,
                  state.Texts.Count(), chars + chars / 2);
    std::vector<Shape> shapes;
    for (std::size_t i = 0; i < state.ElementOrder.Count(); ++i) {
        const ElementOrderEntry entry = state.ElementOrder[i];
        // Lines, most of any drawing, go in as their numbers; each is a
        // shape of its own, as the order of the host's grey does not show.
        if (entry.Kind == KindLine) {
            const LineElement& line = state.Lines[static_cast<std::size_t>(entry.Index)];
            if (plan->AddSegment(line.X1, line.Y1, line.X2, line.Y2))
                ++tally.Drawn;
            else
                tally.Skip("line with unusable values");
            continue;
        }
        shapes.clear();
        int32_t noPolyline = 0;
        AddEntryShapes(state, entry, scales, InputRoles, noPolyline, shapes, tally);
        for (const Shape& shape : shapes)
            plan->Add(shape);
    }
    plan->Finish();
    return plan;
}

}  // namespace preview
