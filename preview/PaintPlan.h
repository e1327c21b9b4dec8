#pragma once
// The host's drawing as the preview paints it: its shapes kept compactly
// (plain numbers, no object a shape; texts in the host's Shift-JIS, made
// readable only when painted large enough to read) under a spatial index,
// built once. For a view it gives exactly the shapes that meet it; and,
// walked for a painter, it gives what is smaller than a pixel as that
// pixel, once, so that a view of a million tiny shapes costs what its
// pixels cost.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "preview/Fit.h"
#include "preview/PlanIndex.h"
#include "preview/Shapes.h"

namespace preview {

enum class PlanKind : uint8_t { Path, Circle, Dot, Text };

// One shape of the plan, as its numbers.
struct PlanShape {
    PlanKind Kind = PlanKind::Path;
    bool Closed = false;
    bool Filled = false;
    // Path: x y x y ...; Circle: x y radius; Dot: x y; Text: x y, then the
    // direction of its baseline as a unit vector, its height and length.
    const double* Values = nullptr;
    std::size_t PointCount = 0;      // Path
    std::string_view Sjis;           // Text: its characters, in Shift-JIS as the host wrote them
    std::string_view FontSjis;       // Text: its font

    Point At(std::size_t k) const { return {Values[2 * k], Values[2 * k + 1]}; }
    Point TextDirection() const { return {Values[2], Values[3]}; }
    double TextHeight() const { return Values[4]; }
    double TextLength() const { return Values[5]; }
    double TextAngleDeg() const;
};

// What a walk hands the painter.
class PlanPainter {
public:
    virtual ~PlanPainter() = default;
    // A shape larger than a pixel that meets the view.
    virtual void Paint(const PlanShape& shape) = 0;
    // Something smaller than a pixel in the pixel (x, y) of the walk's
    // area; dot: a point element among it, which is drawn at a size of its
    // own. Each pixel comes once for each value of dot.
    virtual void Pixel(int x, int y, bool dot) = 0;
    // Asked now and then: true ends the walk (the view has changed meanwhile).
    virtual bool Abandon() { return false; }
};

class PaintPlan {
public:
    // Adding, then Finish once; shapes with values the picture cannot hold
    // (see Usable) are refused. Shapes are kept in the order added, which
    // the index groups sixteen at a time: any order gives the same answers,
    // one where neighbours in the drawing come together (MakeInputPlan's,
    // along a Hilbert curve) gives them fast.
    bool Add(const Shape& shape);
    bool AddSegment(double x1, double y1, double x2, double y2);
    void Finish();

    // Building in an order chosen beforehand: the number of values each
    // shape takes (0 for one refused), the plan sized for them all (the
    // texts and their bytes a guess that only saves copying), and each
    // shape put at its place (every place filled once), then Finish.
    static std::size_t ValueCount(const Shape& shape);
    static std::size_t ValueCount(PlanKind kind, const double* values, std::size_t count);
    static constexpr std::size_t TextValueCount = 7;
    void Size(std::size_t shapes, std::size_t values, std::size_t texts, std::size_t chars);
    void Put(std::size_t shape, std::size_t value, const Shape& s);
    // A text: its numbers as a Shape (Utf8 and FontUtf8 unused), its characters and font in Shift-JIS.
    void PutText(std::size_t shape, std::size_t value, const Shape& numbers, const std::string& sjis,
                 const std::string& fontSjis);
    // A path, circle or point given as its numbers.
    void Put(std::size_t shape, std::size_t value, PlanKind kind, const double* values, std::size_t count);

    std::size_t Count() const { return kinds_.size(); }
    const Box& Bounds() const { return bounds_; }
    // What it holds, in bytes.
    std::size_t Bytes() const;

    PlanShape ShapeAt(uint32_t index) const;
    // As a shape of the picture (in the input's grey).
    Shape ToShape(uint32_t index) const;

    // The shapes (by the order they were added) whose outline, filled area,
    // point or text box has a point in the closed rectangle view.
    void Query(const Box& view, std::vector<uint32_t>& out) const;
    // The same for one shape, without the index.
    bool Meets(uint32_t index, const Box& view) const;

    // The shapes that meet the pixels (an area of the fitted view, its
    // edges included) painted: larger ones whole, smaller ones as their
    // pixel. Returns false when the painter abandoned it.
    struct Walked {
        std::size_t Shapes = 0;  // painted whole
        std::size_t Pixels = 0;  // painted as a pixel
    };
    bool Walk(const Fit& fit, const Box& pixels, PlanPainter& painter, Walked* walked = nullptr) const;

private:
    static constexpr uint8_t DotFlag = 1;
    static constexpr uint8_t OtherFlag = 2;

    // The shape's kind and values, written at its place.
    void Write(std::size_t shape, std::size_t value, const Shape& s);
    void WriteText(std::size_t shape, std::size_t value, const Shape& numbers, const std::string& sjis,
                   const std::string& fontSjis);
    void Write(std::size_t shape, std::size_t value, PlanKind kind, bool closed, bool filled, const double* values,
               std::size_t count);
    // A shape's numbers, without its text.
    PlanShape NumbersAt(uint32_t index) const;
    Box BoundsOf(uint32_t index) const;
    static Box BoundsOfValues(PlanKind kind, const double* values, std::size_t count);

    std::vector<uint8_t> kinds_;    // kind, closed << 2, filled << 3
    std::vector<uint32_t> starts_;  // each shape's first value; one more at the end
    std::vector<double> values_;
    struct TextRef {
        uint32_t Start, Length, Font;
    };
    std::vector<TextRef> texts_;
    std::string chars_;
    std::vector<std::string> fonts_;
    Box bounds_;
    PlanIndex index_;
};

}  // namespace preview
