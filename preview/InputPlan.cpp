#include "preview/InputPlan.h"

#include <algorithm>
#include <cmath>

#include "preview/PlanIndex.h"

namespace preview {

namespace {

// The plan keeps the drawing cell by cell, the cells of a 64 x 64 grid over
// it taken along a Hilbert curve, and within a cell in the order of the
// file: each node of the index then covers a small part of the drawing, and
// a walk reads its shapes in the order they lie in memory. Placing each
// element straight into its cell's part of the plan reads the model once,
// in its order, however the elements lie.
constexpr int CellBits = 12;

// Where an element stands, for its cell: a point of it, no shape made.
bool PlaceOf(const DrawingStateRecord& state, const ElementOrderEntry& entry, double& x, double& y)
{
    const auto i = static_cast<std::size_t>(entry.Index);
    switch (entry.Kind) {
    case KindLine: {
        const LineElement& line = state.Lines[i];
        x = (line.X1 + line.X2) / 2;
        y = (line.Y1 + line.Y2) / 2;
        break;
    }
    case KindCircle:
        x = state.Circles[i].Values[0];
        y = state.Circles[i].Values[1];
        break;
    case KindArc:
        x = state.Arcs[i].Values[0];
        y = state.Arcs[i].Values[1];
        break;
    case KindText:
        x = state.Texts[i].X;
        y = state.Texts[i].Y;
        break;
    case KindPoint:
        x = state.Points[i].X;
        y = state.Points[i].Y;
        break;
    case KindPointMark:
        x = state.PointMarks[i].X;
        y = state.PointMarks[i].Y;
        break;
    case KindDimension: {
        const LineElement& line = state.Dimensions[i].Line;
        x = (line.X1 + line.X2) / 2;
        y = (line.Y1 + line.Y2) / 2;
        break;
    }
    default:
        return false;
    }
    return Usable(x) && Usable(y);
}

// The numbers of the kinds that fill drawings, straight from the model:
// lines, circles and points. False for an entry of another kind.
bool Numbers(const DrawingStateRecord& state, const ElementOrderEntry& entry, PlanKind& kind, double (&v)[4],
             std::size_t& count)
{
    const auto i = static_cast<std::size_t>(entry.Index);
    switch (entry.Kind) {
    case KindLine: {
        const LineElement& line = state.Lines[i];
        kind = PlanKind::Path;
        v[0] = line.X1;
        v[1] = line.Y1;
        v[2] = line.X2;
        v[3] = line.Y2;
        count = 4;
        return true;
    }
    case KindCircle:
        kind = PlanKind::Circle;
        std::copy(std::begin(state.Circles[i].Values), std::end(state.Circles[i].Values), v);
        count = 3;
        return true;
    case KindPoint:
        kind = PlanKind::Dot;
        v[0] = state.Points[i].X;
        v[1] = state.Points[i].Y;
        count = 2;
        return true;
    default:
        return false;
    }
}

// What an entry that is no line, circle or point draws: made once to be
// counted and once to be placed, each time the same.
void OtherShapes(const DrawingStateRecord& state, const ElementOrderEntry& entry,
                 const double (&scales)[LayerGroupCount], std::vector<Shape>& out, Tally& tally)
{
    out.clear();
    int32_t noPolyline = 0;
    AddEntryShapes(state, entry, scales, InputRoles, noPolyline, out, tally);
}

const char* UndrawnName(int32_t kind)
{
    switch (kind) {
    case KindLine: return "line with unusable values";
    case KindCircle: return "circle";
    default: return "point";
    }
}

}  // namespace

std::shared_ptr<const PaintPlan> MakeInputPlan(const DrawingStateRecord& state,
                                               const double (&scales)[LayerGroupCount], Tally& tally)
{
    const std::size_t count = state.ElementOrder.Count();
    // The extent of where the elements stand, for the grid.
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool any = false;
    for (std::size_t i = 0; i < count; ++i) {
        double x = 0, y = 0;
        if (!PlaceOf(state, state.ElementOrder[i], x, y))
            continue;
        minX = any ? std::min(minX, x) : x;
        maxX = any ? std::max(maxX, x) : x;
        minY = any ? std::min(minY, y) : y;
        maxY = any ? std::max(maxY, y) : y;
        any = true;
    }
    const double toGridX = maxX > minX ? 65535.0 / (maxX - minX) : 0;
    const double toGridY = maxY > minY ? 65535.0 / (maxY - minY) : 0;

    // Each element's cell, and how many shapes and values each cell holds.
    constexpr std::size_t Cells = std::size_t{1} << CellBits;
    std::vector<uint16_t> cellOf(count);
    std::vector<std::size_t> cellShapes(Cells + 1), cellValues(Cells + 1);
    std::vector<Shape> shapes;
    Shape text;
    Tally uncounted;
    std::size_t texts = 0, chars = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const ElementOrderEntry entry = state.ElementOrder[i];
        double x = 0, y = 0;
        uint32_t cell = 0;
        if (PlaceOf(state, entry, x, y)) {
            const double gx = std::clamp((x - minX) * toGridX, 0.0, 65535.0);
            const double gy = std::clamp((y - minY) * toGridY, 0.0, 65535.0);
            cell = HilbertIndex(static_cast<uint32_t>(gx), static_cast<uint32_t>(gy)) >> (32 - CellBits);
        }
        cellOf[i] = static_cast<uint16_t>(cell);
        std::size_t values = 0, made = 0;
        PlanKind kind;
        double v[4];
        std::size_t n = 0;
        if (Numbers(state, entry, kind, v, n)) {
            values = PaintPlan::ValueCount(kind, v, n);
            made = values > 0;
        } else if (entry.Kind == KindText) {
            const TextElement& t = state.Texts[static_cast<std::size_t>(entry.Index)];
            made = TextIsDrawable(t, ScaleOf(scales, t.Header.LayerGroup));
            values = made * PaintPlan::TextValueCount;
            texts += made;
            chars += made * t.Text.size();
        } else {
            OtherShapes(state, entry, scales, shapes, uncounted);
            for (const Shape& s : shapes) {
                const std::size_t m = PaintPlan::ValueCount(s);
                values += m;
                made += m > 0;
                texts += m > 0 && s.Kind == ShapeKind::Text;
            }
        }
        cellShapes[cell + 1] += made;
        cellValues[cell + 1] += values;
    }
    // Where each cell begins.
    for (std::size_t c = 1; c <= Cells; ++c) {
        cellShapes[c] += cellShapes[c - 1];
        cellValues[c] += cellValues[c - 1];
    }

    auto plan = std::make_shared<PaintPlan>();
    plan->Size(cellShapes[Cells], cellValues[Cells], texts, chars);
    for (std::size_t i = 0; i < count; ++i) {
        const ElementOrderEntry entry = state.ElementOrder[i];
        std::size_t& shapeAt = cellShapes[cellOf[i]];
        std::size_t& valueAt = cellValues[cellOf[i]];
        PlanKind kind;
        double v[4];
        std::size_t n = 0;
        if (Numbers(state, entry, kind, v, n)) {
            // The kinds that fill drawings go in as their numbers; each line
            // is a shape of its own, as the order of the host's grey does not show.
            if (PaintPlan::ValueCount(kind, v, n) == 0) {
                tally.Skip(UndrawnName(entry.Kind));
                continue;
            }
            plan->Put(shapeAt++, valueAt, kind, v, n);
            valueAt += n;
            ++tally.Drawn;
            continue;
        }
        if (entry.Kind == KindText) {
            // Its characters as the host wrote them: none converted until painted.
            const TextElement& t = state.Texts[static_cast<std::size_t>(entry.Index)];
            const std::size_t m = TextShapeNumbers(t, ScaleOf(scales, t.Header.LayerGroup), InputRoles.Text, text)
                                      ? PaintPlan::ValueCount(text)
                                      : 0;
            if (m == 0) {
                tally.Skip("text");
                continue;
            }
            plan->PutText(shapeAt++, valueAt, text, t.Text, t.FontName);
            valueAt += m;
            ++tally.Drawn;
            continue;
        }
        OtherShapes(state, entry, scales, shapes, tally);
        for (const Shape& s : shapes)
            if (const std::size_t m = PaintPlan::ValueCount(s); m > 0) {
                plan->Put(shapeAt++, valueAt, s);
                valueAt += m;
            }
    }
    std::vector<uint16_t>().swap(cellOf);
    plan->Finish();
    return plan;
}

}  // namespace preview
