#pragma once
// The host's drawing, as the model the reader filled holds it, turned into
// a paint plan: each element as AddElementShapes draws it, a few at a time,
// so that no shape of the whole drawing is ever held at once.
#include <memory>

#include "exchange/DrawingState.h"
#include "preview/ElementShapes.h"
#include "preview/PaintPlan.h"

namespace preview {

std::shared_ptr<const PaintPlan> MakeInputPlan(const DrawingStateRecord& state,
                                               const double (&scales)[LayerGroupCount], Tally& tally);

}  // namespace preview
