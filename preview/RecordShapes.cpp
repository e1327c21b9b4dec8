#include "preview/RecordShapes.h"

#include <algorithm>
#include <iterator>

#include "exchange/ExchangeReader.h"
#include "exchange/Scratch.h"

namespace preview {

HostSettings HostSettingsOf(const DrawingStateRecord& model)
{
    HostSettings host;
    std::copy(std::begin(model.LayerGroupScales), std::end(model.LayerGroupScales), host.Scales);
    std::copy(std::begin(model.TextTypes), std::end(model.TextTypes), host.TextTypes);
    host.Attributes = model.InitialAttributes;
    return host;
}

void AddRecordShapes(const std::string& bytes, const HostSettings& host, const RoleSet& roles,
                     std::vector<Shape>& out, Tally& tally,
                     const std::function<void(const DrawingStateRecord&)>& inspect)
{
    const ScratchModel scratch;
    std::copy(std::begin(host.TextTypes), std::end(host.TextTypes), DrawingState.TextTypes);
    ReadingAttributeSet& reading = DrawingState.ReadingAttributes;
    static_cast<AttributeSet&>(reading) = host.Attributes;
    if (!host.Attributes.FontName.empty())
        reading.FontName = host.Attributes.FontName;
    // What could be read before memory ran out is still drawn.
    ParseExchangeBytes(bytes.data(), bytes.size());
    AddElementShapes(DrawingState, host.Scales, roles, out, tally);
    if (inspect)
        inspect(DrawingState);
}

std::vector<PickedMark> PickedMarksOf(const DrawingStateRecord& model, std::vector<int>* missing, int last)
{
    std::vector<PickedMark> marks;
    for (int n = 1; n <= last; ++n) {
        const bool stored = static_cast<std::size_t>(n) < model.PickedPoints.size();
        const PickedPoint p = stored ? model.PickedPoints[static_cast<std::size_t>(n)] : PickedPoint{};
        if (p.Present && Usable(Point{p.X, p.Y}))
            marks.push_back({n, {p.X, p.Y}});
        else if (missing)
            missing->push_back(n);
    }
    return marks;
}

}  // namespace preview
