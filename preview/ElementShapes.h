#pragma once
// Turns the element lists the reader filled into shapes, in the order the
// elements were read, and counts what it cannot draw.
#include <map>
#include <string>
#include <vector>

#include "exchange/DrawingState.h"
#include "preview/Shapes.h"

namespace preview {

struct Tally {
    int Drawn = 0;
    std::map<std::string, int> Undrawn;  // what was left out, by kind

    int UndrawnTotal() const;
    void Skip(const std::string& what, int count = 1) { Undrawn[what] += count; }
};

struct RoleSet {
    Role Line;
    Role Marker;
    Role Text;
};

constexpr RoleSet InputRoles{Role::Input, Role::Input, Role::Input};
constexpr RoleSet OutputRoles{Role::OutputLine, Role::OutputMarker, Role::OutputText};

// Every element of state in ElementOrder. Sizes given in drawing-size
// millimetres (texts, point markers) are multiplied by the scale of the
// element's layer group.
void AddElementShapes(const DrawingStateRecord& state, const double (&scales)[LayerGroupCount],
                      const RoleSet& roles, std::vector<Shape>& out, Tally& tally);

// One entry of ElementOrder, counted in tally. openPolyline carries the
// polyline a line may join from one entry to the next (0 for none).
void AddEntryShapes(const DrawingStateRecord& state, const ElementOrderEntry& entry,
                    const double (&scales)[LayerGroupCount], const RoleSet& roles, int32_t& openPolyline,
                    std::vector<Shape>& out, Tally& tally);

// Single elements, for the callers above and the tests. Each returns false,
// appending nothing, when the values make no drawable shape.
bool AddCircleShape(const CircleElement& circle, Role role, std::vector<Shape>& out);
bool AddArcShape(const ArcElement& arc, Role role, std::vector<Shape>& out);
bool AddTextShape(const TextElement& text, double scale, Role role, std::vector<Shape>& out);
// Whether AddTextShape makes a shape of the text.
bool TextIsDrawable(const TextElement& text, double scale);
// A text's shape as AddTextShape makes it, without its characters and font.
bool TextShapeNumbers(const TextElement& text, double scale, Role role, Shape& shape);
// The scale of a layer group, 1:1 for a group out of range.
double ScaleOf(const double (&scales)[LayerGroupCount], int32_t group);

}  // namespace preview
