#pragma once
// What the preview draws, in drawing coordinates (y up), before a painter
// (the SVG writer, the Windows preview window) turns it into pixels or
// markup. Keeping the picture as plain shapes lets the bounds be taken from
// exactly what is drawn.
#include <cmath>
#include <string>
#include <vector>

namespace preview {

struct Point {
    double X = 0;
    double Y = 0;
};

// Which part of the picture a shape belongs to; the writer styles by it.
enum class Role {
    Input,          // the host's elements, grey
    OutputLine,     // output line records and dimension lines
    OutputMarker,   // output point markers
    OutputText,     // output texts and dimension values
};

enum class ShapeKind {
    Path,    // Points joined in order; Closed joins the last to the first
    Circle,  // Centre and Radius
    Dot,     // a point element: Centre, drawn at a fixed size on screen
    Text,    // Utf8 from Centre (its bottom left) along AngleDeg
};

struct Shape {
    ShapeKind Kind = ShapeKind::Path;
    Role Style = Role::Input;
    bool Filled = false;
    bool Closed = false;
    std::vector<Point> Points;  // Path
    Point Centre;               // Circle, Dot, Text
    double Radius = 0;          // Circle
    double AngleDeg = 0;        // Text: direction of the baseline
    double Height = 0;          // Text: character height in drawing units
    double Length = 0;          // Text: length along the baseline in drawing units
    std::string Utf8;           // Text
    std::string FontUtf8;       // Text: the font its record names, as the record spells it
};

struct Box {
    double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
    bool Empty = true;

    void Add(double x, double y)
    {
        if (Empty) {
            MinX = MaxX = x;
            MinY = MaxY = y;
            Empty = false;
            return;
        }
        MinX = x < MinX ? x : MinX;
        MaxX = x > MaxX ? x : MaxX;
        MinY = y < MinY ? y : MinY;
        MaxY = y > MaxY ? y : MaxY;
    }
    void Add(const Box& other);
    double Width() const { return Empty ? 0 : MaxX - MinX; }
    double Height() const { return Empty ? 0 : MaxY - MinY; }
};

// The box with those two corners, in either order.
Box BoxOf(double x1, double y1, double x2, double y2);
// Whether two boxes share more than an edge; an empty one meets nothing.
bool Meets(const Box& a, const Box& b);

struct PickedMark {
    int Number = 0;  // the host's number of the pick; 0 for a value's grip
    Point At;
    int Span = 0;    // a chain's span whose value the mark is the grip of
};

// One whole picture: the shapes (the input's first, then the output's), the
// picked points, and lines of text under the drawing.
struct Picture {
    std::vector<Shape> Shapes;
    std::vector<PickedMark> Picked;
    std::vector<std::string> Caption;  // UTF-8
    std::string Title;                 // UTF-8
    bool OutputDimmed = false;         // the output is one that can no longer be drawn
};

// The region a shape covers: a text's box is its baseline length by its height.
Box ShapeBounds(const Shape& shape);

// Values the picture can hold: finite and within a million kilometres of the
// origin, so that every sum and difference of them stays finite too.
constexpr double LargestUsable = 1e12;
inline bool Usable(double value) { return std::isfinite(value) && std::fabs(value) <= LargestUsable; }
inline bool Usable(const Point& p) { return Usable(p.X) && Usable(p.Y); }

}  // namespace preview
