#pragma once
// A packed R-tree over boxes, built once: the boxes are sorted along a
// Hilbert curve through their centres and gathered sixteen to a node, level
// by level, so that nearby boxes share nodes and a search touches only the
// nodes that meet the rectangle asked about. Boxes are kept as floats
// rounded outward: half the memory of doubles, and a box never shrinks.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace preview {

struct FloatBox {
    float MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};

// The float box that holds the double one (of finite values).
FloatBox Outward(double minX, double minY, double maxX, double maxY);

// The Hilbert curve's index of (x, y) on a 65536 x 65536 grid.
uint32_t HilbertIndex(uint32_t x, uint32_t y);

class PlanIndex {
public:
    static constexpr std::size_t NodeSize = 16;

    // Items 0..count-1: box(i) gives an item's box (asked for twice, so
    // that the caller need not keep them all), flags(i) bits of the
    // caller's own that each node gathers from the items below it.
    template <typename BoxOf, typename FlagsOf>
    void Build(std::size_t count, BoxOf box, FlagsOf flags);

    std::size_t Count() const { return count_; }
    // The box of every item together; empty (all zero) without items.
    FloatBox Extent() const { return boxes_.empty() ? FloatBox{} : boxes_.back(); }
    // What it holds, in bytes.
    std::size_t Bytes() const;

    // What a search meets. A node comes with its box and the flags of the
    // items below it; the visitor goes down into it (true) or takes it
    // whole (false).
    struct Visitor {
        virtual ~Visitor() = default;
        virtual bool Node(const FloatBox& box, std::size_t position, uint8_t flags) = 0;
        virtual void Item(uint32_t item, const FloatBox& box) = 0;
        // True ends the search where it is.
        virtual bool Stopped() const { return false; }
    };
    // Every node (the root first) and item whose box meets the closed
    // rectangle, nodes before what lies below them.
    void Search(double minX, double minY, double maxX, double maxY, Visitor& visitor) const;
    // The items below the node at position (as Search gives it).
    template <typename Each>
    void ItemsUnder(std::size_t position, Each each) const;

private:
    // The items in the curve's order, from keys of (curve index << 32 | item).
    void Place(std::vector<uint64_t>& keys);
    // The nodes above the leaves, level by level up to the root.
    void BuildNodes(const std::vector<uint8_t>& leafFlags);
    std::size_t LevelEnd(std::size_t position) const;

    std::size_t count_ = 0;
    std::vector<FloatBox> boxes_;         // the leaves in the curve's order, then each level's nodes
    std::vector<uint32_t> refs_;          // a leaf's item; a node's first child's position
    std::vector<uint8_t> nodeFlags_;      // from the first node on
    std::vector<std::size_t> levelEnds_;  // where each level ends in boxes_
};

template <typename BoxOf, typename FlagsOf>
void PlanIndex::Build(std::size_t count, BoxOf box, FlagsOf flags)
{
    count_ = count;
    boxes_.clear();
    refs_.clear();
    nodeFlags_.clear();
    levelEnds_.clear();
    if (count == 0)
        return;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const FloatBox b = box(i);
        const double cx = (static_cast<double>(b.MinX) + b.MaxX) / 2, cy = (static_cast<double>(b.MinY) + b.MaxY) / 2;
        if (i == 0 || cx < minX)
            minX = cx;
        if (i == 0 || cx > maxX)
            maxX = cx;
        if (i == 0 || cy < minY)
            minY = cy;
        if (i == 0 || cy > maxY)
            maxY = cy;
    }
    // The centres on a grid of 65536 by 65536 cells over their extent.
    const double toGridX = maxX > minX ? 65535.0 / (maxX - minX) : 0;
    const double toGridY = maxY > minY ? 65535.0 / (maxY - minY) : 0;
    std::vector<uint64_t> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        const FloatBox b = box(i);
        const double cx = (static_cast<double>(b.MinX) + b.MaxX) / 2, cy = (static_cast<double>(b.MinY) + b.MaxY) / 2;
        const double gx = (cx - minX) * toGridX, gy = (cy - minY) * toGridY;
        const auto x = static_cast<uint32_t>(gx < 0 ? 0 : gx > 65535 ? 65535 : gx);
        const auto y = static_cast<uint32_t>(gy < 0 ? 0 : gy > 65535 ? 65535 : gy);
        keys[i] = static_cast<uint64_t>(HilbertIndex(x, y)) << 32 | static_cast<uint32_t>(i);
    }
    Place(keys);
    boxes_.resize(count);
    std::vector<uint8_t> leafFlags(count);
    for (std::size_t i = 0; i < count; ++i) {
        boxes_[i] = box(refs_[i]);
        leafFlags[i] = flags(refs_[i]);
    }
    BuildNodes(leafFlags);
}

template <typename Each>
void PlanIndex::ItemsUnder(std::size_t position, Each each) const
{
    // A node's children are a run of the level below, so its leaves are a
    // run of the leaves: from its first child's first child ... to its last
    // child's last child ...
    std::size_t first = position, last = position;
    while (first >= count_) {
        const std::size_t end = LevelEnd(refs_[last]);
        first = refs_[first];
        last = (refs_[last] + NodeSize < end ? refs_[last] + NodeSize : end) - 1;
    }
    for (std::size_t i = first; i <= last; ++i)
        each(refs_[i]);
}

}  // namespace preview
