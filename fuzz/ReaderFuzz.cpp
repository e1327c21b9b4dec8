// Feeds arbitrary bytes through the exchange-file reader and checks that
// the model stays consistent: every index in range, every order entry
// pointing at a stored element, every stored text within its limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

std::size_t CountOfKind(int32_t kind)
{
    const DrawingStateRecord& s = DrawingState;
    switch (kind) {
    case KindLine: return s.Lines.Count();
    case KindCircle: return s.Circles.Count();
    case KindArc: return s.Arcs.Count();
    case KindText: return s.Texts.Count();
    case KindPoint: return s.Points.Count();
    case KindPointMark: return s.PointMarks.Count();
    case KindDimension: return s.Dimensions.Count();
    case KindBlock: return s.Blocks.Count();
    case KindSolid2: return s.Solid2s.Count();
    case KindSolid3: return s.Solid3s.Count();
    case KindSolid4: return s.Solid4s.Count();
    case KindSc: return s.Scs.Count();
    case KindSe: return s.Ses.Count();
    case KindSo: return s.Sos.Count();
    case KindSg: return s.Sgs.Count();
    default: return 0;
    }
}

void CheckModel()
{
    const DrawingStateRecord& s = DrawingState;
    const ReadingAttributeSet& r = s.ReadingAttributes;
    Require(r.LayerGroup >= 0 && r.LayerGroup < LayerGroupCount);
    Require(r.Layer >= 0 && r.Layer < LayersPerGroup);
    Require(s.InitialAttributes.LayerGroup >= 0 && s.InitialAttributes.LayerGroup < LayerGroupCount);
    Require(s.InitialAttributes.Layer >= 0 && s.InitialAttributes.Layer < LayersPerGroup);
    Require(r.TextColor >= 0 && r.TextColor <= 8);
    Require(s.PendingZFlags >= 0 && s.PendingZFlags < 32);
    Require(!s.PickedPoints[0].Present);

    std::size_t total = 0;
    for (int32_t kind = KindLine; kind <= KindSg; ++kind)
        total += CountOfKind(kind);
    Require(s.ElementOrder.Count() == total);
    for (std::size_t i = 0; i < s.ElementOrder.Count(); ++i) {
        const ElementOrderEntry& e = s.ElementOrder[i];
        Require(e.Index >= 0 && static_cast<std::size_t>(e.Index) < CountOfKind(e.Kind));
    }
    for (std::size_t i = 0; i < s.Texts.Count(); ++i)
        Require(s.Texts[i].Text.size() <= 255 && s.Texts[i].FontName.size() <= 255);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    InitDrawingState();
    ParseExchangeBytes(reinterpret_cast<const char*>(data), size);
    CheckModel();
    FreeDrawingState();
    return 0;
}
