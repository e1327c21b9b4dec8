#pragma once
// The host's drawing, as the model the reader filled holds it, turned into
// a paint plan: each element as AddElementShapes draws it, one at a time,
// so that no shape of the whole drawing is ever held at once, in the order
// of a Hilbert curve through the elements.
#include <memory>

#include "exchange/DrawingState.h"
#include "preview/ElementShapes.h"
#include "preview/PaintPlan.h"

namespace preview {

std::shared_ptr<const PaintPlan> MakeInputPlan(const DrawingStateRecord& state,
                                               const double (&scales)[LayerGroupCount], Tally& tally);

}  // namespace preview
