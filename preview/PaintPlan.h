#pragma once
// The host's drawing as the preview paints it: its shapes kept compactly
// (plain numbers, no object a shape) under a spatial index, built once. For
// a view it gives exactly the shapes that meet it; and, walked for a
// painter, it gives what is smaller than a pixel as that pixel, once, so
// that a view of a million tiny shapes costs what its pixels cost.
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
    const double* Values = nullptr;  // Path: x y x y ...; Circle: x y radius; Dot: x y; Text: x y angle height length
    std::size_t PointCount = 0;      // Path
    std::string_view Utf8;           // Text
    std::string_view FontUtf8;       // Text

    Point At(std::size_t k) const { return {Values[2 * k], Values[2 * k + 1]}; }
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
    // (see Usable) are refused.
    bool Add(const Shape& shape);
    bool AddSegment(double x1, double y1, double x2, double y2);
    // Room for that many shapes, values (2 a point, 3 a circle, 6 a text),
    // texts and bytes of text, where the caller knows them beforehand.
    void Reserve(std::size_t shapes, std::size_t values, std::size_t texts, std::size_t chars);
    void Finish();

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

    bool Append(PlanKind kind, bool closed, bool filled, const double* values, std::size_t count);
    // A shape's numbers, without its text.
    PlanShape NumbersAt(uint32_t index) const;
    Box BoundsOf(uint32_t index) const;

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
