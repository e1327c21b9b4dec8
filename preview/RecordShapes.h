#pragma once
// Records as the host will draw them. They are read with the program's own
// reader, so there is one interpretation of the record format; the reading
// happens in a model of its own, so the model the dialog was started with
// is never disturbed.
#include <functional>
#include <string>
#include <vector>

#include "exchange/DrawingState.h"
#include "preview/ElementShapes.h"

namespace preview {

// What the host reads the program's records in: its layer-group scales,
// its text types and the attributes in force when it started the program.
struct HostSettings {
    double Scales[LayerGroupCount] = {};
    TextType TextTypes[TextTypeCount];
    InitialAttributeSet Attributes;
};

HostSettings HostSettingsOf(const DrawingStateRecord& model);

// Reads bytes (an exchange file as the program writes it) starting from the
// host's attributes and text types, so that every element is stamped with
// the layer group and text size the host will use for it, and appends their
// shapes. inspect, when given, sees the model read while it still exists.
void AddRecordShapes(const std::string& bytes, const HostSettings& host, const RoleSet& roles,
                     std::vector<Shape>& out, Tally& tally,
                     const std::function<void(const DrawingStateRecord&)>& inspect = {});

// Picked points 1 to last of the model that are present and usable; the
// numbers of the others go to missing when it is given.
std::vector<PickedMark> PickedMarksOf(const DrawingStateRecord& model, std::vector<int>* missing = nullptr,
                                      int last = 4);

}  // namespace preview
