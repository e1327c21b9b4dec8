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

    a = A;
    b = B;
    c = C;
    d = D;
    A = (a & (a >> 2)) ^ (b & (b >> 2));
    B = (a & (b >> 2)) ^ (b & ((a ^ b) >> 2));
    C ^= (a & (c >> 2)) ^ (b & (d >> 2));
    D ^= (b & (c >> 2)) ^ ((a ^ b) & (d >> 2));

    a = A;
    b = B;
    c = C;
    d = D;
    A = (a & (a >> 4)) ^ (b & (b >> 4));
    B = (a & (b >> 4)) ^ (b & ((a ^ b) >> 4));
    C ^= (a & (c >> 4)) ^ (b & (d >> 4));
    D ^= (b & (c >> 4)) ^ ((a ^ b) & (d >> 4));

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
    return boxes_.capacity() * sizeof(FloatBox) + refs_.capacity() * sizeof(uint32_t) + nodeFlags_.capacity() +
           levelEnds_.capacity() * sizeof(std::size_t);
}

void PlanIndex::Place(std::vector<uint64_t>& keys)
{
    std::sort(keys.begin(), keys.end());
    // Room for the nodes too: each level a sixteenth of the one below.
    const std::size_t total = count_ + count_ / (NodeSize - 1) + 64;
    refs_.reserve(total);
    boxes_.reserve(total);
    refs_.resize(count_);
    for (std::size_t i = 0; i < count_; ++i)
        refs_[i] = static_cast<uint32_t>(keys[i]);
    std::vector<uint64_t>().swap(keys);
}

void PlanIndex::BuildNodes(const std::vector<uint8_t>& leafFlags)
{
    levelEnds_.push_back(count_);
    std::size_t start = 0, end = count_;
    // Always one level of nodes at least: the root is a node.
    do {
        for (std::size_t first = start; first < end; first += NodeSize) {
            const std::size_t last = std::min(first + NodeSize, end);
            FloatBox box = boxes_[first];
            uint8_t flags = 0;
            for (std::size_t i = first; i < last; ++i) {
                const FloatBox& b = boxes_[i];
                box.MinX = std::min(box.MinX, b.MinX);
                box.MinY = std::min(box.MinY, b.MinY);
                box.MaxX = std::max(box.MaxX, b.MaxX);
                box.MaxY = std::max(box.MaxY, b.MaxY);
                flags |= i < count_ ? leafFlags[i] : nodeFlags_[i - count_];
            }
            boxes_.push_back(box);
            refs_.push_back(static_cast<uint32_t>(first));
            nodeFlags_.push_back(flags);
        }
        start = end;
        end = boxes_.size();
        levelEnds_.push_back(end);
    } while (end - start > 1);
}

std::size_t PlanIndex::LevelEnd(std::size_t position) const
{
    for (const std::size_t end : levelEnds_)
        if (position < end)
            return end;
    return boxes_.size();
}

void PlanIndex::Search(double minX, double minY, double maxX, double maxY, Visitor& visitor) const
{
    if (boxes_.empty())
        return;
    const std::size_t root = boxes_.size() - 1;
    if (!Meets(boxes_[root], minX, minY, maxX, maxY) || !visitor.Node(boxes_[root], root, nodeFlags_.back()))
        return;
    std::vector<std::size_t> stack{root};
    while (!stack.empty() && !visitor.Stopped()) {
        const std::size_t node = stack.back();
        stack.pop_back();
        const std::size_t first = refs_[node], end = std::min(first + NodeSize, LevelEnd(first));
        for (std::size_t position = first; position < end; ++position) {
            const FloatBox& b = boxes_[position];
            if (!Meets(b, minX, minY, maxX, maxY))
                continue;
            if (position < count_)
                visitor.Item(refs_[position], b);
            else if (visitor.Node(b, position, nodeFlags_[position - count_]))
                stack.push_back(position);
        }
    }
}

}  // namespace preview
