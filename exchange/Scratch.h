#pragma once
// The model, the output store and the attribute cache are process-wide:
// the reader fills the one model, the emitters write the one store. These
// guards let a caller run either of them for a look only, against state of
// its own, and put everything back as it was when the guard ends, however
// it ends.
#include <string>

#include "exchange/DrawingState.h"
#include "exchange/Emitters.h"
#include "exchange/OutputStore.h"

// While it lives, the emitters append to an empty store of their own and
// work on a copy of the attribute cache, so they decide exactly as they
// would now; the real store and cache come back untouched.
class ScratchOutput {
public:
    ScratchOutput();
    ~ScratchOutput();
    ScratchOutput(const ScratchOutput&) = delete;
    ScratchOutput& operator=(const ScratchOutput&) = delete;

    // What WriteExchangeFile would write for the lines appended so far.
    std::string Rendered() const { return RenderExchangeFile(); }
    std::size_t LineCount() const { return OutputStore.Lines.Count(); }

private:
    OutputStoreRecord savedStore_;
    OutputAttributeCacheRecord savedCache_;
};

// While it lives, DrawingState, the output store and the attribute cache
// are fresh ones that the reader (or anything else) may fill; the dialog's
// own model and output come back untouched.
class ScratchModel {
public:
    ScratchModel();
    ~ScratchModel();
    ScratchModel(const ScratchModel&) = delete;
    ScratchModel& operator=(const ScratchModel&) = delete;

private:
    ScratchOutput output_;  // the store and the cache, put back after the model
    DrawingStateRecord savedModel_;
};
