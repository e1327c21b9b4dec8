#pragma once
// Where the number of each picked point stands beside its mark: the first
// of eight places round the mark whose box meets none of the dimension's
// texts and lines, nor a label already placed. The usual pick puts points
// 3 and 4 on the dimension line, under the value: a label there would be
// lost in it. Pixels, y down.
#include <vector>

#include "preview/Fit.h"
#include "preview/Shapes.h"

namespace preview {

struct LabelPlace {
    int Number = 0;
    Box At;  // the label's box in pixels
};

// width x height: one digit's size in pixels; arm: the mark's reach, which
// the label keeps clear of. Marks outside area get no label, nor do the
// values' grips, which the labels keep clear of too.
std::vector<LabelPlace> PlacePickLabels(const Picture& picture, const Fit& fit, double digitWidth, double height,
                                        double arm, const Box& area);

}  // namespace preview
