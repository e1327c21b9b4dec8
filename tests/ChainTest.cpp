// The chains, run as the user runs them: each span is what the single kind
// draws for its two points with the same line and value positions, less
// what the row already drew at a shared point; the automatic placement
// leaves no value over another or over a marker where the row has room;
// the console's Point4.K and the row's degenerate cases.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "helpers/SjisText.h"
#include "support/ProgramRun.h"

using namespace harness;

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct P {
    double X, Y;
};

std::string Number(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// A host file with text type 1 of width 2, no spacing, at scale 1.
std::string Exchange(double axis, const std::vector<std::pair<int, P>>& picked)
{
    std::vector<std::string> lines{"hq", "hk " + Number(axis), "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
                                   "hcw 2 2 2 2 2 2 2 2 2 2", "hch 2 2 2 2 2 2 2 2 2 2",
                                   "hcd 0 0 0 0 0 0 0 0 0 0"};
    for (const auto& [n, p] : picked)
        lines.push_back("hp" + std::to_string(n) + " " + Number(p.X) + " " + Number(p.Y));
    return ExchangeText(lines);
}

std::string ChainExchange(double axis, const P& line, const std::vector<P>& points)
{
    std::vector<std::pair<int, P>> picked{{1, line}};
    for (std::size_t i = 0; i < points.size(); ++i)
        picked.push_back({static_cast<int>(i) + 2, points[i]});
    return Exchange(axis, picked);
}

bool IsAttribute(const std::string& line)
{
    for (const char* prefix : {"lg", "ly", "lc", "lt", "lw", "pn", "cn", "cc", "ch", "ck", "co", "cp", "cr", "ct", "cv", "cz"})
        if (line.starts_with(prefix))
            return true;
    return false;
}

// The drawing records, without the attribute records the emitters' cache
// gives differently to a run that starts afresh.
std::vector<std::string> Drawn(const std::string& exchange)
{
    std::vector<std::string> drawn;
    for (const std::string& line : CrLfLines(exchange))
        if (!IsAttribute(line))
            drawn.push_back(line);
    return drawn;
}

// The first flag-and-record pair for which pick holds, removed.
void RemoveFirst(std::vector<std::string>& records, bool (*pick)(const std::string&))
{
    for (std::size_t i = 1; i < records.size(); ++i)
        if (records[i - 1].starts_with("z") && pick(records[i])) {
            records.erase(records.begin() + static_cast<long>(i) - 1, records.begin() + static_cast<long>(i) + 1);
            return;
        }
}

struct Row {
    const char* Name;
    const char* Argument;  // the chain's
    const char* Single;    // the single kind's
    double Axis;
    P Line;
    std::vector<P> Points;
    std::vector<P> Values;  // a value position a span
};

std::vector<Row> Rows()
{
    // Wide spans with their values centred; small ones with values run out
    // past either end (reversed arrows); the aligned chain on a straight row.
    const std::vector<P> wide{{0, 0}, {0, 3640}, {0, 6370}, {0, 10010}};
    const std::vector<P> wideValues{{0, 1820}, {0, 5005}, {0, 8190}};
    const std::vector<P> small{{0, 0}, {0, 3}, {0, 4.5}, {0, 40}};
    const std::vector<P> smallValues{{0, -4}, {0, 9}, {0, 20}};
    // The horizontal chain measures along the host's axis.
    const auto across = [](std::vector<P> points) {
        for (P& p : points)
            std::swap(p.X, p.Y);
        return points;
    };
    const std::vector<P> slanted{{0, 0}, {30, 40}, {33, 44}, {90, 120}};
    const std::vector<P> slantedValues{{15, 20}, {50, 70}, {60, 80}};
    std::vector<Row> rows;
    for (const double axis : {0.0, 30.0, -123.5}) {
        rows.push_back({"vertical, wide", "/c", "", axis, {-500, 0}, wide, wideValues});
        rows.push_back({"vertical, small", "/c", "", axis, {-10, 0}, small, smallValues});
        rows.push_back({"horizontal, small", "/hc", "/h", axis, {0, 30}, across(small), across(smallValues)});
    }
    rows.push_back({"aligned, slanted", "/ac", "/a", 0, {-20, 30}, slanted, slantedValues});
    return rows;
}

const char* const Scripts[] = {
    "ComboBox3=1\n",
    "ComboBox3=1\nComboBox1=6\nComboBox2=6\nEdit9=0\n",
    "ComboBox3=1\nCheckBox4=1\nComboBox1=2\nComboBox2=3\n",
};

TEST(Chain, EachSpanIsTheSingleKindsLessWhatTheRowAlreadyDrew)
{
    for (const Row& row : Rows()) {
        for (const char* script : Scripts) {
            SCOPED_TRACE(std::string(row.Name) + ", axis " + Number(row.Axis) + ", " + script);
            std::string commands = script;
            for (std::size_t k = 0; k < row.Values.size(); ++k)
                commands += "Point4." + std::to_string(k + 1) + "=" + Number(row.Values[k].X) + " " +
                            Number(row.Values[k].Y) + "\n";
            const ProgramRun chain(ChainExchange(row.Axis, row.Line, row.Points), commands + "OK\n", row.Argument);
            ASSERT_EQ(chain.Out, "closed\n") << chain.Err;

            std::vector<std::string> expected;
            for (std::size_t k = 0; k + 1 < row.Points.size(); ++k) {
                const ProgramRun single(
                    Exchange(row.Axis, {{1, row.Points[k]}, {2, row.Points[k + 1]}, {3, row.Line}, {4, row.Values[k]}}),
                    std::string(script) + "OK\n", row.Single);
                std::vector<std::string> span = Drawn(single.Exchange);
                ASSERT_GT(span.size(), 6u) << single.Exchange;
                if (k > 0) {
                    // The shared point's extension line (drawn first) and point marker.
                    RemoveFirst(span, [](const std::string& r) { return !r.empty() && (r[0] == '-' || std::isdigit(static_cast<unsigned char>(r[0]))); });
                    if (std::string(script).find("ComboBox1=6\nComboBox2=6") != std::string::npos)
                        RemoveFirst(span, [](const std::string& r) { return r.starts_with("pt "); });
                }
                expected.insert(expected.end(), span.begin(), span.end());
            }
            EXPECT_EQ(Drawn(chain.Exchange), expected);
        }
    }
}

// The values as drawn: each "cs" record's extent along the dimension line
// (unit direction along), from its origin and the text type's width.
struct Extent {
    double Low, High;
};

std::vector<Extent> ValueExtents(const std::string& exchange, P along)
{
    std::vector<Extent> extents;
    for (const std::string& line : CrLfLines(exchange)) {
        double x, y, dx, dy;
        char text[64] = {};
        if (std::sscanf(line.c_str(), "cs %lf %lf %lf %lf \"%63[^\r\n]", &x, &y, &dx, &dy, text) != 5)
            continue;
        const double start = x * along.X + y * along.Y;
        const double sense = (dx * along.X + dy * along.Y) >= 0 ? 1 : -1;
        const double end = start + sense * TextWidth(text, 2, 0);
        extents.push_back({std::min(start, end), std::max(start, end)});
    }
    return extents;
}

TEST(Chain, PlacesEveryValueClearOfTheOthersAndOfTheMarkersWhereTheRowHasRoom)
{
    const struct {
        std::vector<double> Row;  // along the line
        bool Room;
    } cases[] = {
        {{0, 3640, 6370, 10010}, true},
        {{0, 150, 3790, 3865, 7505}, true},              // small spans between wide ones
        {{0, 1000, 1003, 2000}, true},                   // one small span
        {{0, 3, 1000, 1001.5, 2000, 2002}, true},        // small spans at both row ends
        {{10010, 6370, 6360, 3640, 0}, true},            // picked from the far end
        {{0, 2, 4, 6, 8, 10}, false},                    // five small spans side by side
    };
    for (const double axis : {0.0, 30.0}) {
        for (const auto& c : cases) {
            SCOPED_TRACE("axis " + Number(axis) + ", " + Number(c.Row[1]));
            const double turn = axis * std::acos(-1.0) / 180;
            const P along{-std::sin(turn), std::cos(turn)};  // the vertical chain measures square to the axis
            std::vector<P> points;
            for (const double t : c.Row)
                points.push_back({t * along.X, t * along.Y});
            const ProgramRun run(ChainExchange(axis, {-20 * along.Y, 20 * along.X}, points),
                                 "ComboBox3=1\nPreview=row.svg\nOK\n", "/c");
            ASSERT_EQ(run.Out, "preview: row.svg\nclosed\n") << run.Err;
            const std::vector<Extent> values = ValueExtents(run.Exchange, along);
            ASSERT_EQ(values.size(), c.Row.size() - 1);
            const double arrow = 3 * std::cos(15 * std::acos(-1.0) / 180);  // the default line arrow's reach
            bool overlap = false;
            for (std::size_t i = 0; i < values.size(); ++i) {
                for (std::size_t j = i + 1; j < values.size(); ++j)
                    overlap |= values[i].Low < values[j].High - 1e-6 && values[j].Low < values[i].High - 1e-6;
                for (const double t : c.Row)
                    overlap |= values[i].Low < t + arrow - 1e-6 && t - arrow < values[i].High - 1e-6;
            }
            const std::string svg = ReadBytes(run.Scratch.File("row.svg")).value_or("");
            const bool named = svg.find(Utf8(u8"の寸法値が重なっています")) != std::string::npos;
            EXPECT_EQ(overlap, !c.Room);
            EXPECT_EQ(named, !c.Room) << "the strip names what still overlaps, and only that";
        }
    }
}

TEST(Chain, TheConsoleSetsASpansValueAndRefusesWhatIsNoSpan)
{
    const std::string row = ChainExchange(0, {-20, 0}, {{0, 0}, {0, 100}, {0, 200}});
    const ProgramRun automatic(row, "ComboBox3=1\nOK\n", "/c");
    const ProgramRun moved(row, "ComboBox3=1\nPoint4.2=0 260\nOK\n", "/c");
    const ProgramRun first(row, "ComboBox3=1\nPoint4=0 -40\nOK\n", "/c");
    const ProgramRun firstByNumber(row, "ComboBox3=1\nPoint4.1=0 -40\nOK\n", "/c");
    EXPECT_NE(moved.Exchange, automatic.Exchange);
    EXPECT_NE(first.Exchange, automatic.Exchange);
    EXPECT_EQ(first.Exchange, firstByNumber.Exchange) << "Point4= is span 1";
    // Point3 moves the whole row's line, as a host pick there would.
    const ProgramRun line(row, "ComboBox3=1\nPoint3=-50 3\nOK\n", "/c");
    EXPECT_EQ(line.Exchange, ProgramRun(ChainExchange(0, {-50, 3}, {{0, 0}, {0, 100}, {0, 200}}), "ComboBox3=1\nOK\n", "/c").Exchange);
    EXPECT_NE(line.Exchange, automatic.Exchange);
    // Span 2's value beyond the row's end: its arrows reversed with a run-out
    // line at each end, span 1's as they were.
    EXPECT_EQ(Drawn(moved.Exchange).size(), Drawn(automatic.Exchange).size() + 4);

    for (const char* bad : {"Point4.0=0 1", "Point4.3=0 1", "Point4.x=0 1", "Point4.1=0", "Point4.1=nan 1",
                            "Point4.1=1 2 3", "Point4.=0 1"}) {
        SCOPED_TRACE(bad);
        const ProgramRun run(row, "ComboBox3=1\n" + std::string(bad) + "\nOK\n", "/c");
        EXPECT_FALSE(run.Err.empty());
        EXPECT_EQ(run.Exchange, automatic.Exchange) << "a refused command changes nothing";
    }
    const ProgramRun single(Exchange(0, {{1, {0, 0}}, {2, {0, 100}}, {3, {-20, 0}}, {4, {0, 50}}}),
                            "ComboBox3=1\nPoint4.1=0 1\nOK\n");
    EXPECT_NE(single.Err.find("Point4.1"), std::string::npos) << "a single kind has no spans";
}

TEST(Chain, DegenerateRowsAreSaidNotDroppedInSilence)
{
    // Fewer than two measured points: the message, and nothing for the host.
    for (const std::vector<P>& points : {std::vector<P>{}, std::vector<P>{{0, 0}}}) {
        const ProgramRun run(ChainExchange(0, {-20, 0}, points), "ComboBox3=1\nOK\n", "/hc");
        EXPECT_EQ(run.Out.rfind("message: ", 0), 0u) << run.Out;
        EXPECT_NE(run.Out.find("closed"), std::string::npos);
        EXPECT_EQ(run.Exchange, "hq\r\n");
    }
    // A point picked twice: its span is left out and named; all on one spot: nothing to draw.
    const ProgramRun twice(ChainExchange(0, {-20, 0}, {{0, 0}, {0, 100}, {5, 100}, {0, 200}}),
                           "ComboBox3=1\nPreview=row.svg\nOK\n", "/c");
    EXPECT_NE(ReadBytes(twice.Scratch.File("row.svg")).value_or("").find(Utf8(u8"スパン2は長さが「0」")),
              std::string::npos);
    EXPECT_EQ(ValueExtents(twice.Exchange, {0, 1}).size(), 2u);
    EXPECT_EQ(twice.Out, "preview: row.svg\nmessage: " + Utf8(u8"スパン2は長さが「0」のため作図しません") + "\nclosed\n");
    const ProgramRun spot(ChainExchange(0, {-20, 0}, {{3, 3}, {3, 3}, {3, 3}}), "ComboBox3=1\nOK\n", "/c");
    EXPECT_EQ(spot.Out.rfind("message: ", 0), 0u) << spot.Out;
    // The longest row, its points a hair apart: every span drawn, the
    // values that overlap named, the list cut short for the strip.
    std::vector<P> hair;
    for (int i = 0; i < 98; ++i)
        hair.push_back({0, i * 1e-9});
    const ProgramRun close(ChainExchange(0, {-20, 0}, hair), "ComboBox3=1\nPreview=row.svg\nOK\n", "/c");
    const std::string svg = ReadBytes(close.Scratch.File("row.svg")).value_or("");
    EXPECT_NE(svg.find(Utf8(u8"か所の寸法値が重なっています")), std::string::npos);
    EXPECT_EQ(ValueExtents(close.Exchange, {0, 1}).size(), 97u);
}

}  // namespace

namespace {

// A chain keeps its style in its direction's single kind's file, whose
// lines on the exchange file describe the row's first span: its two
// measured points, then the line position.
TEST(Chain, SharesItsDirectionsSettingsDescribingTheFirstSpan)
{
    const std::string row = ChainExchange(0, {-20, 7}, {{1, 2}, {3, 4}, {5, 6}});
    const struct {
        const char *Argument, *Single, *File;
    } kinds[] = {{"/c", "", "q304.dat"}, {"/hc", "/h", "q308h.dat"}, {"/ac", "/a", "q308a.dat"}};
    for (const auto& [argument, singleArgument, file] : kinds) {
        SCOPED_TRACE(argument);
        const ProgramRun run(row, "ComboBox3=2\nOK\n", argument);
        const std::vector<std::string> settings = run.LinesOf(file);
        ASSERT_EQ(settings.size(), 31u);
        EXPECT_EQ(settings[4], "2");
        EXPECT_EQ(std::vector<std::string>(settings.begin() + 25, settings.end()),
                  (std::vector<std::string>{"1", "2", "3", "4", "-20", "7"}));
        // The next run of the single kind opens with the chain's style.
        const ProgramRun single(Exchange(0, {{1, {0, 0}}, {2, {10, 10}}, {3, {5, 0}}, {4, {5, 5}}}), "OK\n",
                                singleArgument,
                                {{file, ReadBytes(run.Scratch.File(file)).value()}});
        EXPECT_EQ(single.Out, "closed\n");
    }
}

}  // namespace
