#include "exchange/Scratch.h"

#include <utility>

// Swapping moves the stores' blocks, not their lines: a guard costs the same
// whatever the size of the drawing.
ScratchOutput::ScratchOutput() : savedCache_(OutputAttributeCache)
{
    std::swap(savedStore_, OutputStore);
}

ScratchOutput::~ScratchOutput()
{
    std::swap(savedStore_, OutputStore);
    OutputAttributeCache = std::move(savedCache_);
}

ScratchModel::ScratchModel()
{
    std::swap(savedModel_, DrawingState);
    InitDrawingState();
    ResetOutputAttributes();
}

ScratchModel::~ScratchModel()
{
    std::swap(savedModel_, DrawingState);
}
