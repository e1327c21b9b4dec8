#pragma once
// Reads the exchange file the host handed over and the one the program
// wrote back, both with the program's own reader, into shapes and the facts
// the legend shows.
#include <string>
#include <vector>

#include "preview/ElementShapes.h"
#include "preview/Shapes.h"

namespace preview {

struct LegendFacts {
    bool HasValue = false;
    std::string ValueUtf8;      // the first dimension value text of the output
    bool HasLayerGroup = false; // whether the output selects a layer group
    int LayerGroup = 0;         // its first one, else the host's current one
    double LayerScale = 1.0;    // that group's scale in the input
    double AxisAngle = 0.0;
    std::vector<int> MissingPicks;  // of points 1 to 4: absent or unusable
    int OutputRecords = 0;      // non-empty lines of the output
    int AttributeRecords = 0;   // of which attribute and header records
    int DimensionLines = 0;     // of which lines read as part of a dimension figure
    int UnreadRecords = 0;      // of which lines the reader ignores
    Tally Input;
    Tally Output;
};

struct Preview {
    std::vector<Shape> Shapes;  // the input's first, then the output's
    std::vector<PickedMark> Picked;
    LegendFacts Facts;
};

// False with a message when either file cannot be read.
bool LoadPreview(const std::string& inputPath, const std::string& outputPath, Preview& preview,
                 std::string& error);

}  // namespace preview
