#pragma once
// A packed R-tree over items kept in an order where neighbours in the
// drawing are mostly neighbours in the order (the paint plan's shapes,
// sorted along a Hilbert curve): each run of sixteen items has a node, each
// run of sixteen nodes a node above, up to one root. Only the nodes' boxes
// are kept, as floats rounded outward (half the memory of doubles, and a
// box never shrinks); which items and nodes lie below a node follows from
// its place. A search touches only the nodes that meet the rectangle asked
// about; the items under them are the caller's to test.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "preview/Shapes.h"

namespace preview {

struct FloatBox {
    float MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};

// The float box that holds the double one.
FloatBox Outward(double minX, double minY, double maxX, double maxY);

// The Hilbert curve's index of (x, y) on a 65536 x 65536 grid.
uint32_t HilbertIndex(uint32_t x, uint32_t y);

class PlanIndex {
public:
    static constexpr std::size_t NodeSize = 16;

    // Items 0..count-1 in their order: box(i) gives an item's box (a Box),
    // flags(i) bits of the caller's own that each node gathers from the
    // items below it.
    template <typename BoxOf, typename FlagsOf>
    void Build(std::size_t count, BoxOf box, FlagsOf flags);

    // What it holds, in bytes.
    std::size_t Bytes() const;

    // A node: its level (0 just above the items) and its place in the level.
    struct Node {
        std::size_t Level = 0, Place = 0;
    };
    // The items below a node: first to last, last excluded.
    void ItemsUnder(Node node, std::size_t& first, std::size_t& last) const;

    struct Visitor {
        virtual ~Visitor() = default;
        // A node whose box meets the rectangle: go down into it (true) or
        // not (false: the visitor has taken it whole, or wants none of it).
        virtual bool Enter(const FloatBox& box, Node node, uint8_t flags) = 0;
        // An item below a node entered at level 0 (its own box untested).
        virtual void Item(std::size_t item) = 0;
        // True ends the search where it is.
        virtual bool Stopped() const { return false; }
    };
    // From the root down, the nodes whose boxes meet the closed rectangle.
    void Search(double minX, double minY, double maxX, double maxY, Visitor& visitor) const;

private:
    void BuildLevels(const std::vector<FloatBox>& lowest, const std::vector<uint8_t>& lowestFlags);

    std::size_t count_ = 0;
    std::vector<FloatBox> boxes_;         // level 0's nodes, then level 1's, ... the root last
    std::vector<uint8_t> flags_;          // beside boxes_
    std::vector<std::size_t> levelStarts_;  // where each level begins in boxes_; one more at the end
};

template <typename BoxOf, typename FlagsOf>
void PlanIndex::Build(std::size_t count, BoxOf box, FlagsOf flags)
{
    count_ = count;
    boxes_.clear();
    flags_.clear();
    levelStarts_.clear();
    if (count == 0)
        return;
    // Level 0 from the items, sixteen at a time.
    std::vector<FloatBox> lowest;
    std::vector<uint8_t> lowestFlags;
    lowest.reserve((count + NodeSize - 1) / NodeSize);
    lowestFlags.reserve(lowest.capacity());
    for (std::size_t first = 0; first < count; first += NodeSize) {
        Box node;
        uint8_t gathered = 0;
        const std::size_t last = first + NodeSize < count ? first + NodeSize : count;
        for (std::size_t i = first; i < last; ++i) {
            node.Add(box(i));
            gathered |= flags(i);
        }
        lowest.push_back(Outward(node.MinX, node.MinY, node.MaxX, node.MaxY));
        lowestFlags.push_back(gathered);
    }
    BuildLevels(lowest, lowestFlags);
}

}  // namespace preview
