#pragma once
// Drawing elements handed over by the host, stored with the attributes in
// force when each was read. The construction reads none of them.
#include <cstdint>
#include <string>

enum ElementKind : int32_t {
    KindLine = 1,
    KindCircle = 2,
    KindArc = 3,
    KindText = 4,
    KindPoint = 5,
    KindPointMark = 6,
    KindDimension = 7,
    KindBlock = 8,
    KindSolid2 = 9,
    KindSolid3 = 10,
    KindSolid4 = 11,
    KindSc = 12,
    KindSe = 13,
    KindSo = 14,
    KindSg = 15,
};

struct ElementHeader {
    int32_t HhpNumber = 0;
    int32_t LayerGroup = 0;
    int32_t Layer = 0;
    int32_t Color = 0;
    int32_t LineType = 0;
    int32_t LineWidth = 0;
    int32_t ZFlags = 0;
};

struct LineElement {
    ElementHeader Header;
    int32_t PolylineNumber = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct CircleElement {
    ElementHeader Header;
    double Values[3] = {};
};

struct ArcElement {
    ElementHeader Header;
    double Values[7] = {};
};

struct TextElement {
    ElementHeader Header;
    int32_t TextVariant = 0;  // 0 "ch", 1 "cv", 2 "cs" ... 9 "c2"
    int32_t TextColor = 0;
    int32_t TextType = 0;
    double Width = 0, Height = 0, Spacing = 0;
    double X = 0, Y = 0, Dx = 0, Dy = 0;
    std::string FontName;  // at most 255 bytes
    std::string Text;      // at most 255 bytes
};

struct PointElement {
    ElementHeader Header;
    double X = 0, Y = 0;
};

struct PointMarkElement {
    ElementHeader Header;
    double X = 0, Y = 0, Scale = 0, Angle = 0;
    int32_t Code = 0;
};

struct DimensionElement {
    ElementHeader Header;
    LineElement Line;
    TextElement Text;
};

struct BlockElement {
    ElementHeader Header;
    double X = 0, Y = 0;
    std::string Name;
};

struct Solid2Element {
    ElementHeader Header;
    int32_t ExtendedColor = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct Solid3Element {
    ElementHeader Header;
    int32_t ExtendedColor = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0;
};

struct Solid4Element {
    ElementHeader Header;
    int32_t ExtendedColor = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
};

// "sc" and "se": seven reals and an integer.
struct ScElement {
    ElementHeader Header;
    int32_t ExtendedColor = 0;
    double Values[7] = {};
    int32_t Number = 0;
};
using SeElement = ScElement;

// "so" and "sg": eight reals.
struct SoElement {
    ElementHeader Header;
    int32_t ExtendedColor = 0;
    double Values[8] = {};
};
using SgElement = SoElement;

struct ElementOrderEntry {
    int32_t Kind = 0;
    int32_t Index = 0;
};

// Appends one (kind, index) pair to DrawingState.ElementOrder.
void AppendElementOrder(int32_t kind, int32_t index);

// Offers a line that none of the reader's own rules took to the element
// rules; returns true when an element (or the pending dimension line) was
// stored. Tokens as the reader split them, n = token count.
struct TokenList;
bool ApplyElementRules(const TokenList& tokens);
