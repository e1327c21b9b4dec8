#include "preview/PlanIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace preview {

namespace {

constexpr float FloatLimit = std::numeric_limits<float>::max();

float Down(double v)
{
    if (!(v > -FloatLimit))
        return -FloatLimit;
    float f = static_cast<float>(std::min<double>(v, FloatLimit));
    if (f > v)
        f = std::nextafter(f, -FloatLimit);
    return f;
}

float Up(double v)
{
    if (!(v < FloatLimit))
        return FloatLimit;
    float f = static_cast<float>(std::max<double>(v, -FloatLimit));
    if (f < v)
        f = std::nextafter(f, FloatLimit);
    return f;
}

bool Meets(const FloatBox& b, double minX, double minY, double maxX, double maxY)
{
    return b.MinX <= maxX && b.MaxX >= minX && b.MinY <= maxY && b.MaxY >= minY;
}

}  // namespace

FloatBox Outward(double minX, double minY, double maxX, double maxY)
{
    return {Down(minX), Down(minY), Up(maxX), Up(maxY)};
}

// The curve's index by bit operations on all sixteen levels at once
// (prefix scans of the rotation and reflection of each level's quadrant),
// rather than a loop of sixteen steps.
uint32_t HilbertIndex(uint32_t x, uint32_t y)
{
    x &= 0xFFFF;
    y &= 0xFFFF;
    uint32_t a = x ^ y;
    uint32_t b = 0xFFFF ^ a;
    uint32_t c = 0xFFFF ^ (x | y);
    uint32_t d = x & (y ^ 0xFFFF);

    uint32_t A = a | (b >> 1);
    uint32_t B = (a >> 1) ^ a;
    uint32_t C = ((c >> 1) ^ (b & (d >> 1))) ^ c;
    uint32_t D = ((a & (c >> 1)) ^ (d >> 1)) ^ d;

    for (const int shift : {2, 4}) {
        a = A;
        b = B;
        c = C;
        d = D;
        A = (a & (a >> shift)) ^ (b & (b >> shift));
        B = (a & (b >> shift)) ^ (b & ((a ^ b) >> shift));
        C ^= (a & (c >> shift)) ^ (b & (d >> shift));
        D ^= (b & (c >> shift)) ^ ((a ^ b) & (d >> shift));
    }

    a = A;
    b = B;
    c = C;
    d = D;
    C ^= (a & (c >> 8)) ^ (b & (d >> 8));
    D ^= (b & (c >> 8)) ^ ((a ^ b) & (d >> 8));

    a = C ^ (C >> 1);
    b = D ^ (D >> 1);

    uint32_t i0 = x ^ y;
    uint32_t i1 = b | (0xFFFF ^ (i0 | a));

    const auto spread = [](uint32_t v) {
        v = (v | (v << 8)) & 0x00FF00FF;
        v = (v | (v << 4)) & 0x0F0F0F0F;
        v = (v | (v << 2)) & 0x33333333;
        v = (v | (v << 1)) & 0x55555555;
        return v;
    };
    i0 = spread(i0);
    i1 = spread(i1);
    return (i1 << 1) | i0;
}

std::size_t PlanIndex::Bytes() const
{
    return boxes_.capacity() * sizeof(FloatBox) + flags_.capacity() + levelStarts_.capacity() * sizeof(std::size_t);
}

void PlanIndex::BuildLevels(const std::vector<FloatBox>& lowest, const std::vector<uint8_t>& lowestFlags)
{
    // Each level a sixteenth of the one below.
    const std::size_t total = lowest.size() + lowest.size() / (NodeSize - 1) + 64;
    boxes_.reserve(total);
    flags_.reserve(total);
    boxes_.assign(lowest.begin(), lowest.end());
    flags_.assign(lowestFlags.begin(), lowestFlags.end());
    levelStarts_ = {0, boxes_.size()};
    while (levelStarts_.back() - levelStarts_[levelStarts_.size() - 2] > 1) {
        const std::size_t start = levelStarts_[levelStarts_.size() - 2], end = levelStarts_.back();
        for (std::size_t first = start; first < end; first += NodeSize) {
            const std::size_t last = std::min(first + NodeSize, end);
            FloatBox box = boxes_[first];
            uint8_t gathered = 0;
            for (std::size_t i = first; i < last; ++i) {
                box.MinX = std::min(box.MinX, boxes_[i].MinX);
                box.MinY = std::min(box.MinY, boxes_[i].MinY);
                box.MaxX = std::max(box.MaxX, boxes_[i].MaxX);
                box.MaxY = std::max(box.MaxY, boxes_[i].MaxY);
                gathered |= flags_[i];
            }
            boxes_.push_back(box);
            flags_.push_back(gathered);
        }
        levelStarts_.push_back(boxes_.size());
    }
}

void PlanIndex::ItemsUnder(Node node, std::size_t& first, std::size_t& last) const
{
    std::size_t span = NodeSize;
    for (std::size_t level = 0; level < node.Level; ++level)
        span *= NodeSize;
    first = std::min(node.Place * span, count_);
    last = std::min(first + span, count_);
}

void PlanIndex::Search(double minX, double minY, double maxX, double maxY, Visitor& visitor) const
{
    if (boxes_.empty())
        return;
    const std::size_t top = levelStarts_.size() - 2;
    const std::size_t root = boxes_.size() - 1;
    if (!Meets(boxes_[root], minX, minY, maxX, maxY) || !visitor.Enter(boxes_[root], {top, 0}, flags_[root]))
        return;
    std::vector<Node> stack{{top, 0}};
    while (!stack.empty() && !visitor.Stopped()) {
        const Node node = stack.back();
        stack.pop_back();
        if (node.Level == 0) {
            std::size_t first = 0, last = 0;
            ItemsUnder(node, first, last);
            for (std::size_t item = first; item < last; ++item)
                visitor.Item(item);
            continue;
        }
        // The children: a run of the level below.
        const std::size_t below = levelStarts_[node.Level - 1], belowEnd = levelStarts_[node.Level];
        const std::size_t first = below + node.Place * NodeSize, last = std::min(first + NodeSize, belowEnd);
        // Pushed last to first, so that they come off in their order.
        for (std::size_t position = last; position-- > first;) {
            const FloatBox& b = boxes_[position];
            if (Meets(b, minX, minY, maxX, maxY) && visitor.Enter(b, {node.Level - 1, position - below}, flags_[position]))
                stack.push_back({node.Level - 1, position - below});
        }
    }
}

}  // namespace preview
