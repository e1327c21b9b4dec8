#pragma once
// A chain: a row of spans on one dimension line. Span k runs from measured
// point k to k+1 in pick order and is drawn by the single construction in
// the row's frame; a point the row shares is drawn once. Each value stands
// where the automatic placement puts it, unless the user placed it.
#include <map>
#include <vector>

#include "dialog/Construction.h"

struct ChainSpan {
    int Number = 0;  // 1-based, in pick order
    DimensionConstruction Dimension;
};

struct ChainRow {
    std::vector<PointD> Points;  // the measured points in pick order
    PointD LinePosition;         // where the dimension line runs
    std::vector<ChainSpan> Spans;   // the spans drawn
    std::vector<int> ZeroSpans;     // left out: no length along the line
    std::vector<int> Overlapping;   // spans whose values still overlap a value or a marker
};

// Fewer than two measured points: TooFewPoints; no span with a length:
// ZeroLength; both without a record. c gets the first span drawn.
ConstructionOutcome ConstructChain(const TForm1& form, DimensionConstruction& c, ChainRow& row,
                                   std::string& badControl, const ConstructionEffects& effects);

// The measured points the host handed over for a chain: hp2 on, in order.
std::vector<PointD> ChainPointsOfModel();

// Where each span's value stands, given the spans with their ends, value
// texts and options derived: the user's positions (span number to point)
// first, then the automatic placement. Fills P4 of every span and names
// the spans whose values still overlap.
void PlaceChainValues(ChainRow& row, const std::map<int, PointD>& placed);

// "スパン2・5": spans by number, the first ten, then how many more; Shift-JIS.
std::string SpanList(const std::vector<int>& numbers);
// The spans left out for want of a length; empty when none was.
std::string ZeroSpansNote(const ChainRow& row);
