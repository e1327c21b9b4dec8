// Where each value of a chain stands without the user's help: centred where
// it fits between its extension lines with its markers; otherwise run out
// past the end that has room (into a neighbour whose own value leaves room,
// or past the row's first or last point), clear of the values and markers
// already there. Everything is measured along the dimension line.
#include <algorithm>
#include <cmath>

#include "dialog/ChainConstruction.h"
#include "helpers/MyFunc.h"

namespace {

struct Extent {
    double Low, High;
    int Span;  // whose value; 0: a marker
};

bool Overlap(const Extent& a, const Extent& b, double tolerance)
{
    return a.Low < b.High - tolerance && b.Low < a.High - tolerance;
}

struct SpanFrame {
    double A, B;   // the ends along the line
    double Width;  // the value's
    double StartReach, EndReach;
    bool Fits;
};

Extent Between(double p, double q, int span) { return {std::min(p, q), std::max(p, q), span}; }

}  // namespace

void PlaceChainValues(ChainRow& row, const std::map<int, PointD>& placed)
{
    if (row.Spans.empty())
        return;
    const DimensionConstruction& head = row.Spans.front().Dimension;
    const PointD origin = row.Points.front();
    const double axis = head.AxisAngle;
    const double lineX = Rotated(row.LinePosition, origin, -axis).X;
    const auto along = [&](const PointD& p) { return Rotated(p, origin, -axis).Y; };
    const auto onLine = [&](double t) { return Rotated({lineX, t}, origin, axis); };
    const double gap = 0.5 * head.LayerScale;
    // Two values a character apart read as two numbers, not one; where
    // that leaves no room, a value close to another is still better than
    // one over it.
    const double clearances[] = {(head.ValueTextType.Width + head.ValueTextType.Spacing) * head.LayerScale, gap};

    std::vector<SpanFrame> frames;
    for (const ChainSpan& span : row.Spans) {
        const DimensionConstruction& d = span.Dimension;
        const DimensionOptionsRecord& o = d.DimensionOptions;
        SpanFrame f;
        f.A = along(d.P1);
        f.B = along(d.P2);
        f.Width = TextWidth(d.ValueText, d.ValueTextType.Width, d.ValueTextType.Spacing) * d.LayerScale;
        f.StartReach = MarkerReach(o.StartMarker, o, d.LayerScale);
        f.EndReach = MarkerReach(o.EndMarker, o, d.LayerScale);
        f.Fits = !placed.contains(span.Number) && f.Width + f.StartReach + f.EndReach <= std::fabs(f.B - f.A);
        frames.push_back(f);
    }
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(frames.front().A) + std::fabs(frames.back().B));

    // The markers where they end up: inside a span that fits, outside one
    // whose value runs out (its arrows reversed).
    std::vector<Extent> taken;
    for (const SpanFrame& f : frames) {
        const double d = f.B >= f.A ? 1 : -1;
        const double in = f.Fits ? 1 : -1;
        taken.push_back(Between(f.A, f.A + in * d * f.StartReach, 0));
        taken.push_back(Between(f.B, f.B - in * d * f.EndReach, 0));
    }
    std::vector<double> valueAt(frames.size());
    std::vector<Extent> values(frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (frames[i].Fits) {
            const double mid = (frames[i].A + frames[i].B) / 2;
            valueAt[i] = mid;
            values[i] = {mid - frames[i].Width / 2, mid + frames[i].Width / 2, row.Spans[i].Number};
            taken.push_back(values[i]);
        }

    // A value run out from end t outwards (dir): the nearest place clear of
    // everything taken, and valueGap clear of the other values, or none
    // within limit.
    const auto runOut = [&](double t, double dir, double width, double reach, double limit, double valueGap,
                            double& near) {
        double start = t + dir * (reach + gap);
        for (std::size_t guard = 0; guard <= taken.size(); ++guard) {
            const Extent e = Between(start, start + dir * width, 0);
            if (dir * (start + dir * width - limit) > tolerance)
                return false;
            const auto hit = std::find_if(taken.begin(), taken.end(), [&](const Extent& other) {
                const double clear = other.Span != 0 ? valueGap : 0;
                return Overlap({e.Low - clear, e.High + clear, 0}, other, tolerance);
            });
            if (hit == taken.end()) {
                near = start;
                return true;
            }
            start = (dir > 0 ? hit->High : hit->Low) + dir * (hit->Span != 0 ? std::max(valueGap, gap) : gap);
        }
        return false;
    };
    const double unlimited = HUGE_VAL;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const SpanFrame& f = frames[i];
        if (f.Fits)
            continue;
        const int number = row.Spans[i].Number;
        if (const auto user = placed.find(number); user != placed.end()) {
            // The user's place stands; its extent is PlaceValue's own.
            DimensionConstruction probe = row.Spans[i].Dimension;
            probe.P4 = user->second;
            PlaceValue(probe);
            const double t = along(probe.ValueAnchor);
            valueAt[i] = along(user->second);
            values[i] = {t - f.Width / 2, t + f.Width / 2, number};
            taken.push_back(values[i]);
            continue;
        }
        const double d = f.B >= f.A ? 1 : -1;
        // Within the neighbouring span, or anywhere past the row's first or last point.
        const double endLimit = i + 1 < frames.size() ? frames[i + 1].B : d * unlimited;
        const double startLimit = i > 0 ? frames[i - 1].A : -d * unlimited;
        double endAt = 0, startAt = 0;
        bool endRoom = false, startRoom = false;
        for (const double clearance : clearances) {
            endRoom = runOut(f.B, d, f.Width, f.EndReach, endLimit, clearance, endAt);
            startRoom = runOut(f.A, -d, f.Width, f.StartReach, startLimit, clearance, startAt);
            if (endRoom || startRoom)
                break;
        }
        double at;
        double dir;
        if (endRoom && (!startRoom || std::fabs(endAt - f.B) <= std::fabs(startAt - f.A))) {
            at = endAt;
            dir = d;
        } else if (startRoom) {
            at = startAt;
            dir = -d;
        } else {
            // No room on either side: beside the end; the strip names it.
            at = f.B + d * (f.EndReach + gap);
            dir = d;
        }
        valueAt[i] = at;
        values[i] = Between(at, at + dir * f.Width, number);
        taken.push_back(values[i]);
    }

    for (std::size_t i = 0; i < frames.size(); ++i) {
        row.Spans[i].Dimension.P4 = placed.contains(row.Spans[i].Number) ? placed.at(row.Spans[i].Number)
                                                                           : onLine(valueAt[i]);
        const bool overlaps = std::any_of(taken.begin(), taken.end(), [&](const Extent& other) {
            return other.Span != values[i].Span && Overlap(values[i], other, tolerance);
        });
        if (overlaps)
            row.Overlapping.push_back(row.Spans[i].Number);
    }
}
