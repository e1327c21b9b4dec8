// OK pressed on scenes built here: the checks, the set-up, the extension
// lines, the value text, its placement, reversal, run-outs and markers,
// record by record.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "dialog/ControlRules.h"
#include "dialog/Construction.h"
#include "dialog/DimensionPreview.h"
#include "exchange/DrawingState.h"
#include "exchange/OutputStore.h"
#include "support/DialogHarness.h"

using namespace harness;
using Strings = std::vector<std::string>;

namespace {

struct Scene {
    double Axis = 0;
    double Scale = 1;  // of layer group Group, the current one; the others are 1
    int Group = 0;
    PointD P1{0, 0}, P2{10, 40}, P3{25, 7}, P4{-5, 20};
    Strings Extra = {};  // after the attribute records
};

std::string SceneFile(const Scene& s)
{
    std::string scales = "hs";
    for (int i = 0; i < 16; ++i)
        scales += " " + Nums({i == s.Group ? s.Scale : 1});
    Strings r = {"hq", "hk " + Nums({s.Axis}), scales, "hp1-  " + Nums({s.P1.X, s.P1.Y}),
                 "hp2   " + Nums({s.P2.X, s.P2.Y}), "hp3-  " + Nums({s.P3.X, s.P3.Y}),
                 "hp4   " + Nums({s.P4.X, s.P4.Y}), "lg" + std::to_string(s.Group), "ly1", "lc2", "lt1",
                 "cn\"$<ＭＳ 明朝>"};
    r.insert(r.end(), s.Extra.begin(), s.Extra.end());
    r.push_back("#");
    return ExchangeText(r);
}

const Strings Head = {"lg0", "ly1", "lc2", "pn2", "lt1", "cn\"$<ＭＳ 明朝>"};

Strings operator+(Strings a, const Strings& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

PointD Turned(PointD p, double degrees)
{
    const double r = degrees * std::numbers::pi / 180;
    return {p.X * std::cos(r) - p.Y * std::sin(r), p.X * std::sin(r) + p.Y * std::cos(r)};
}

Strings ZLine(double x1, double y1, double x2, double y2) { return {"z3", Nums({x1, y1, x2, y2})}; }

// A line arrow drawn independently: two strokes from the tip at 15 degrees.
Strings Arrow(PointD tip, double markerAngle, double length = 3)
{
    Strings r;
    for (const double b : {markerAngle + 195, markerAngle + 165}) {
        const PointD end = Turned({length, 0}, b);
        r = r + ZLine(tip.X, tip.Y, tip.X + end.X, tip.Y + end.Y);
    }
    return r;
}

// The value in text type 1, upright, from origin (x, y).
Strings Value(double x, double y, const std::string& text = "40")
{
    return {"cn1", "cc0", "z3", "cs " + Nums({x, y, 0, 10}) + " \"" + text};
}

// A shown dialog on a scene, with the value in text type 1 (3 x 3, spacing 0).
struct SceneRun : DialogRun {
    explicit SceneRun(const Scene& s, const Strings& controls = {}) : DialogRun(SceneFile(s))
    {
        PickTextType(1);
        Set(Form, controls);
    }
    void Ok() { Form.Button1Click(); }
    // Presses OK; the records written from the first-th on, count of them or all.
    Strings Drawn(std::size_t first = 0, std::size_t count = std::string::npos)
    {
        Ok();
        const Strings all = Records();
        if (first > all.size())
            return {"only " + std::to_string(all.size()) + " records"};
        return Strings(all.begin() + first, all.begin() + first + std::min(count, all.size() - first));
    }
    // The options read and the dimension line derived, as OK does before drawing.
    DimensionConstruction Derived()
    {
        DimensionConstruction d;
        EXPECT_EQ(ReadDimensionOptions(Form, d.DimensionOptions), "");
        DeriveDimensionLine(d);
        return d;
    }
};

}  // namespace

TEST(Construction, FirstBadControlGetsTheFocusAndNothingIsDrawn)
{
    // The controls set, and the control focused ("" when OK goes through). On
    // scale 250 a finite 1e308 becomes infinite in drawing units.
    const std::pair<Strings, std::string> cases[] = {
        {{"Edit1=0", "ComboBox1=-1"}, "ComboBox1"}, {{"ComboBox2=-1"}, "ComboBox2"},
        {{"Edit1=0"}, "Edit1"}, {{"Edit1=abc"}, "Edit1"}, {{"Edit1=-1", "Edit7=0"}, "Edit1"},
        {{"Edit7=0"}, "Edit7"}, {{"Edit7=1000.5"}, "Edit7"}, {{"Edit7=1000"}, ""},
        {{"Edit8=180"}, "Edit8"}, {{"Edit8=0"}, "Edit8"}, {{"Edit8=179.9"}, ""},
        {{"Edit7=0", "ComboBox3=-1"}, "Edit7"}, {{"ComboBox3=-1"}, "ComboBox3"},
        {{"ComboBox4=-1", "ComboBox5=-1"}, "ComboBox4"}, {{"ComboBox5=-1"}, "ComboBox5"},
        {{"RadioGroup1=-1", "RadioGroup2=-1"}, "RadioGroup1"}, {{"RadioGroup2=-1"}, "RadioGroup2"},
        {{"Edit5=-0.1", "Edit6=-1"}, "Edit5"}, {{"Edit5=0"}, ""}, {{"Edit5=abc"}, ""},
        {{"Edit6=-1", "Edit9=-1"}, "Edit6"}, {{"Edit9=-0.5"}, "Edit9"}, {{"Edit4=-3"}, ""}, {{"Edit4=xyz"}, ""},
        {{"Edit4=1e308"}, "Edit4"}, {{"Edit5=1e308"}, "Edit5"}, {{"Edit6=1e308"}, "Edit6"},
        {{"Edit9=1e308"}, "Edit9"},
    };
    for (const auto& [controls, focus] : cases) {
        SCOPED_TRACE(::testing::PrintToString(controls));
        SceneRun run(Scene{.Scale = 250}, controls);
        run.Form.Left = 321;
        // A look at the records refuses the same control, with none of OK's effects.
        const DimensionPreviewResult look = PreviewDimension(run.Form);
        EXPECT_EQ(look.Outcome, focus.empty() ? ConstructionOutcome::Drawn : ConstructionOutcome::Refused);
        EXPECT_EQ(look.BadControl, focus);
        EXPECT_EQ(std::tuple(run.Toolkit.Focused.size(), run.SettingsBytes().has_value(), run.Form.SavedLeft),
                  std::tuple(0u, false, 100));
        run.Ok();
        EXPECT_EQ(run.Form.SavedLeft, 321);
        EXPECT_EQ(run.Closed(), focus.empty());
        EXPECT_EQ(run.SettingsBytes().has_value(), focus.empty()) << "settings are saved once every check passes";
        if (focus.empty()) {
            EXPECT_TRUE(run.Toolkit.Focused.empty());
            continue;
        }
        EXPECT_EQ(run.Toolkit.Focused, Strings{focus});
        EXPECT_EQ(OutputStore.Lines.Count(), 0u);
        // The band says why, once, in the strip's words.
        EXPECT_EQ(run.Toolkit.Statuses, Strings{RefusalText(run.Form, focus)});
    }
}

TEST(Construction, BlankPrefixVanishesOtherKeepsItsBlanks)
{
    const std::pair<std::string, std::string> cases[] = {{"　", ""}, {" \t ", ""}, {" a ", " a "}, {"　寸　", "　寸　"}};
    for (const auto& [typed, kept] : cases) {
        TForm1 form;
        form.ComboBox3 = {{"a"}, 0};
        form.Edit2.Text = form.Edit3.Text = typed;
        DimensionOptionsRecord o;
        ASSERT_EQ(ReadDimensionOptions(form, o), "");
        EXPECT_EQ(o.Prefix, kept);
        EXPECT_EQ(o.Suffix, kept);
    }
}

TEST(Construction, ZeroLengthIsRefusedAfterSavingSettings)
{
    SceneRun run(Scene{.P2 = {10, 0}});  // level with point 1
    run.Form.Left = 55;
    run.Form.Top = 66;
    run.Ok();
    EXPECT_EQ(run.Toolkit.Messages, Strings{"寸法が「0」になりますので作図出来ません"});
    EXPECT_FALSE(run.Closed());
    EXPECT_TRUE(run.Toolkit.Statuses.empty());
    EXPECT_EQ(run.Form.LabelA1.Caption, "　");
    EXPECT_EQ(OutputStore.Lines.Count(), 0u);
    EXPECT_TRUE(run.SettingsBytes().value_or("").starts_with("55\r\n66\r\n"));
}

TEST(Construction, LengthRoundingToZeroIsDrawnWithZero)
{
    SceneRun run(Scene{.P2 = {10, 0.0004}, .P4 = {-5, 0.0002}}, {"ComboBox4=0"});  // whole numbers
    const Strings records = run.Drawn();
    EXPECT_TRUE(run.Toolkit.Messages.empty());
    EXPECT_TRUE(std::any_of(records.begin(), records.end(),
                            [](const std::string& r) { return r.starts_with("cs ") && r.ends_with(" \"0"); }));
}

TEST(Construction, DimensionLineFollowsTheAxis)
{
    // Points 1 (0, 0), 2 (10, 40), 3 (25, 7): the line's ends, then its length.
    for (const auto& [axis, want] : {std::pair(0.0, "25 0 25 40 40"), std::pair(90.0, "0 7 10 7 10")}) {
        const DimensionConstruction d = SceneRun(Scene{.Axis = axis}).Derived();
        const PointD &s = d.DimLineStart, &e = d.DimLineEnd;
        EXPECT_TRUE(RecordMatches(Nums({s.X, s.Y, e.X, e.Y, d.MeasuredLength}), want, 1e-12));
    }
}

TEST(Construction, ScaleOfTheHostsLayerGroupConvertsDistances)
{
    const DimensionConstruction d = SceneRun(Scene{.Scale = 20, .Group = 2}, {"Edit5=0.5", "Edit4=-3"}).Derived();
    const DimensionOptionsRecord& o = d.DimensionOptions;
    EXPECT_EQ(d.LayerScale, 20);
    EXPECT_EQ(std::tuple(o.ExtensionGap, o.ValueOffset, o.ExtensionOvershoot, o.ReverseOvershoot),
              std::tuple(10, -60, 40, 40));
    // Scaled where they are drawn, if at all.
    EXPECT_EQ(std::tuple(o.ArrowLength, o.MarkerScale), std::tuple(3, 1));
}

TEST(Construction, AttributeSetUpWritesLineWidthOnlyWhenTheHostGaveOne)
{
    EXPECT_EQ(SceneRun(Scene{.Extra = {"lw3", "lw5"}}).Drawn(0, 7),
              (Strings{"lg0", "ly1", "lc2", "pn2", "lt1", "lw3", "cn\"$<ＭＳ 明朝>"}));
}

TEST(Construction, ExtensionLinesRunFromTheGapToPastTheDimensionLine)
{
    // Scale 100, P1 (0, 0).
    const struct {
        PointD P2, P3;
        std::string Overshoot;
        Strings Lines;
    } cases[] = {
        {{10, 4000}, {2500, 700}, "2", ZLine(200, 0, 2700, 0) + ZLine(210, 4000, 2700, 4000)},
        {{10, 4000}, {-2500, 700}, "2", ZLine(-200, 0, -2700, 0) + ZLine(-190, 4000, -2700, 4000)},
        // Level with point 1 and a gap equal to the overshoot: only the z3 remains.
        {{10, 4000}, {0, 700}, "2", Strings{"z3"} + ZLine(-190, 4000, -200, 4000)},
        {{10, 4000}, {0, 700}, "5", ZLine(200, 0, 500, 0) + ZLine(-190, 4000, -500, 4000)},
        // Between the points: one line each way.
        {{1000, 4000}, {500, 700}, "2", ZLine(200, 0, 700, 0) + ZLine(800, 4000, 300, 4000)},
        // A gap wider than the way to the dimension line starts beyond it.
        {{10, 4000}, {100, 700}, "0", ZLine(200, 0, 100, 0) + ZLine(210, 4000, 100, 4000)},
    };
    for (const auto& c : cases) {
        SceneRun run(Scene{.Scale = 100, .P2 = c.P2, .P3 = c.P3}, {"Edit5=2", "Edit6=" + c.Overshoot});
        // Right after the set-up, before the dimension line's own z3.
        ExpectRecords(run.Drawn(6, c.Lines.size() + 1), c.Lines + Strings{"z3"});
    }
}

TEST(Construction, ValueTextFromLengthAndOptions)
{
    const struct {
        double Length;
        int Decimals, Unit;
        bool Separators;
        int Zeros;
        bool Full, AppendUnit;
        std::string Prefix, Suffix, Text;
    } cases[] = {
        {1234.5, 3, 0, false, 0, false, false, "", "", "1234.5"},
        {1234.5, 3, 0, true, 0, false, false, "", "", "1,234.5"},
        {1234.5, 3, 0, true, 1, false, false, "", "", "1,234.500"},
        {1200, 3, 0, false, 0, false, true, "", "", "1200mm"},
        {1500, 3, 1, false, 0, false, true, "", "", "1.5ｍ"},
        {1234.5, 0, 0, false, 0, false, false, "", "", "1235"},
        {1234.56789, 2, 0, false, 1, false, false, "", "", "1234.57"},
        {1234.5, 3, 0, true, 0, true, true, "H=", "", "H=１，２３４．５mm"},
        {100, 3, 0, false, 0, false, false, "", "", "100"},
        {10.5, 2, 0, false, 0, false, false, "", "", "10.5"},
        {0.0001, 3, 0, false, 0, false, false, "", "", "0"},
        {100, 0, 0, false, 0, false, false, "", "", "100"},
        {1000, 3, 0, true, 0, false, false, "", "", "1,000"},
        {2.5, 3, 0, false, 0, false, false, "", "0", "2.50"},
        {2500, 3, 1, false, 0, true, true, "", "", "２．５ｍ"},
        {12, 1, 0, false, 1, true, true, "L ", " 0.0", "L １２．０mm 0.0"},
    };
    for (const auto& c : cases) {
        const DimensionOptionsRecord o{.Prefix = c.Prefix, .Suffix = c.Suffix, .Decimals = c.Decimals,
                                       .RoundingMode = 2, .ZeroDisplay = c.Zeros, .UnitChoice = c.Unit,
                                       .UseSeparators = c.Separators, .AppendUnit = c.AppendUnit,
                                       .FullWidth = c.Full};
        EXPECT_EQ(BuildValueText(o, {3, -c.Length / 2}, {3, c.Length / 2}), c.Text) << c.Length;
    }
}

TEST(Construction, ValueTextTypeFromTheListOrTheHost)
{
    DialogRun run(ExchangeText({"hq", "hcw 1 2 3 4 5 6 7 8 9 10", "hcc 1 2 3 4 5 6 7 8 9 8", "cn0 2.5 2.6 0.5 4"}));
    const struct {
        int32_t HostType, Choice;
        ValueTextTypeRecord Want;
    } cases[] = {
        {0, 0, {0, 2.5, 2.6, 0.5, 4}}, {0, 10, {10, 10, 3, 0, 8}}, {7, 0, {7, 7, 3, 0, 7}},
        {12, 0, {1, 1, 3, 0, 1}},      {-1, 0, {1, 1, 3, 0, 1}},   {3, 4, {4, 4, 3, 0, 4}},
    };
    const auto fields = [](const ValueTextTypeRecord& t) {
        return std::tuple(t.Number, t.Width, t.Height, t.Spacing, t.Color);
    };
    for (const auto& c : cases) {
        DrawingState.InitialAttributes.TextType = c.HostType;
        EXPECT_EQ(fields(ChooseValueTextType(c.Choice)), fields(c.Want)) << c.HostType << " " << c.Choice;
    }
}

// Axis 0, scale 1, points 1 (0, 0), 2 (10, 40), 3 (25, 7): the value "40" is
// 3 wide; offset 0.5, arrows 3 long at 15 degrees, reverse overshoot 2.
TEST(Construction, WorkedExampleForThreePositionsOfPoint4)
{
    const Strings head = Head + ZLine(2, 0, 27, 0) + ZLine(12, 40, 27, 40) + ZLine(25, 0, 25, 40);
    const std::pair<double, Strings> cases[] = {
        {20, Value(24.5, 18.5) + Arrow({25, 0}, 270) + Arrow({25, 40}, 90)},
        {50, Value(24.5, 50) + ZLine(25, 0, 25, -2) + Arrow({25, 0}, 90) + ZLine(25, 40, 25, 53) +
                 Arrow({25, 40}, 270)},
        {-3, Value(24.5, -6) + ZLine(25, 0, 25, -6) + Arrow({25, 0}, 90) + ZLine(25, 40, 25, 42) +
                 Arrow({25, 40}, 270)},
    };
    for (const auto& [y4, rest] : cases) {
        SceneRun run(Scene{.P4 = {-5, y4}});
        ExpectRecords(run.Drawn(), head + rest);
        EXPECT_EQ(run.Toolkit.Statuses, (Strings{"処理中です", "ファイル生成中です"}));
    }
    // The arrows expected above end where the strokes are known to end, in the order drawn.
    ExpectRecords(Arrow({25, 0}, 270), {"z3", "25 0 24.22 2.90", "z3", "25 0 25.78 2.90"}, 0.005);
    ExpectRecords(Arrow({25, 0}, 90), {"z3", "25 0 25.78 -2.90", "z3", "25 0 24.22 -2.90"}, 0.005);
}

// The cases the worked example leaves out: point 4 level with an end, and
// point 1 above point 2, where the sides swap and so does the shift.
TEST(Construction, PlacementOfTheValue)
{
    // Points 1 (0, y1), 2 (10, y2), 4 (-5, y4): the side, then the run-out,
    // the anchor, and the origin half the width (3) back along the upright text.
    const struct {
        double Y1, Y2, Y4;
        ValueSideKind Side;
        std::string Place;
    } cases[] = {
        {0, 40, 0, BeyondStart, "3 25 -1.5 24.5 -3"},
        {0, 40, 5e-11, BeyondStart, Nums({3 - 5e-11, 25, 5e-11 - 1.5, 24.5, 5e-11 - 3})},
        {0, 40, 40, BeyondEnd, "3 25 41.5 24.5 40"},
        {40, 0, 50, BeyondStart, "13 25 51.5 24.5 50"},
        {40, 0, -3, BeyondEnd, "6 25 -4.5 24.5 -6"},
        {40, 0, 20, Centre, "0 25 20 24.5 18.5"},
    };
    for (const auto& c : cases) {
        DimensionConstruction d = SceneRun(Scene{.P1 = {0, c.Y1}, .P2 = {10, c.Y2}, .P4 = {-5, c.Y4}}).Derived();
        d.ValueTextType = ChooseValueTextType(1);
        d.ValueText = "40";
        PlaceValue(d);
        EXPECT_EQ(d.ValueSide, c.Side) << c.Y4;
        EXPECT_TRUE(RecordMatches(Nums({d.ValueRunout, d.ValueAnchor.X, d.ValueAnchor.Y, d.ValueOrigin.X,
                                        d.ValueOrigin.Y}), c.Place, 1e-12));
    }
}

// The worked example turned by the axis angle: everything turns with it,
// except the value, which stays upright.
TEST(Construction, AxisAnglesTurnTheDimensionAndKeepTheValueUpright)
{
    const std::pair<double, double> cases[] = {{0, 90}, {10, 280}, {90, 0}, {180, 90}, {270, 0}};
    for (const auto& [axis, valueAngle] : cases) {
        SCOPED_TRACE(axis);
        const auto turn = [&](double x, double y) { return Turned({x, y}, axis); };
        SceneRun run(Scene{.Axis = axis, .P1 = turn(0, 0), .P2 = turn(10, 40), .P3 = turn(25, 7), .P4 = turn(-5, 20)});
        const auto line = [&](double x1, double y1, double x2, double y2) {
            const PointD a = turn(x1, y1), b = turn(x2, y2);
            return ZLine(a.X, a.Y, b.X, b.Y);
        };
        const PointD anchor = turn(25, 20), offset = Turned({-1.5, 0.5}, valueAngle);
        const PointD direction = Turned({10, 0}, valueAngle);
        const Strings value = {"cn1", "cc0", "z3",
                               "cs " + Nums({anchor.X + offset.X, anchor.Y + offset.Y, direction.X, direction.Y}) +
                                   " \"40"};
        ExpectRecords(run.Drawn(), Head + line(2, 0, 27, 0) + line(12, 40, 27, 40) + line(25, 0, 25, 40) + value +
                                         Arrow(turn(25, 0), std::fmod(270 + axis, 360)) +
                                         Arrow(turn(25, 40), std::fmod(90 + axis, 360)));
    }
}

TEST(Construction, EndMarkersReverseOnlyWhenTheyDoNotFit)
{
    const Strings start = {"z3", "pt 5 0 1 90 6"}, end = {"z3", "pt 5 10 1 270 6"};
    const Scene triangles{.P2 = {0, 10}, .P3 = {5, 3}, .P4 = {-7, 5}};
    const struct {
        Scene S;
        Strings Controls, Ends;
    } cases[] = {
        // Two "▲" at scale 1 need 15 on a line of 10; the value stays centred.
        {triangles, {"ComboBox1=6", "ComboBox2=6"}, ZLine(5, 0, 5, -2) + start + ZLine(5, 10, 5, 12) + end},
        {triangles, {"ComboBox1=6", "ComboBox2=6", "Edit9=0"}, start + end},
        // Two "□" take 1.25 each on a line of 2.5: exactly filled.
        {{.P2 = {0, 2.5}, .P3 = {5, 0}, .P4 = {-7, 1}}, {"ComboBox1=2", "ComboBox2=2"},
         {"z3", "pt 5 0 1 270 2", "z3", "pt 5 2.5 1 90 2"}},
        // "＞" at the start, a line arrow at the end.
        {{}, {"ComboBox1=9", "Edit1=2"}, Strings{"z3", "pt 25 0 2 270 9"} + Arrow({25, 40}, 90)},
        // Each arrow takes 3 cos 15° x 100 = 289.77775...; two need 579.5555...
        {{.Scale = 100, .P2 = {0, 579}, .P3 = {1000, 0}, .P4 = {-5, 290}}, {},
         ZLine(1000, 0, 1000, -200) + Arrow({1000, 0}, 90, 300) + ZLine(1000, 579, 1000, 779) +
             Arrow({1000, 579}, 270, 300)},
        {{.Scale = 100, .P2 = {0, 580}, .P3 = {1000, 0}, .P4 = {-5, 290}}, {},
         Arrow({1000, 0}, 270, 300) + Arrow({1000, 580}, 90, 300)},
    };
    for (const auto& c : cases) {
        // After the set-up, the extension lines, the dimension line and the value.
        ExpectRecords(SceneRun(c.S, c.Controls).Drawn(16), c.Ends);
    }
}

TEST(Construction, MarkerReachPerKind)
{
    const double r2 = std::numbers::sqrt2;
    const struct {
        int32_t Kind;
        double Scale, Length, Angle, Layer, Reach;
    } cases[] = {
        {0, 1, 3, 15, 100, 289.77774788672054}, {0, 5, 3, 15, 1, 2.8977774788672054},  // scale leaves arrows alone
        {0, 1, 3, 90, 1, 0},         {0, 1, 2, 120, 1, -1},      {1, 1, 3, 15, 1, 7.5},
        {2, 1, 3, 15, 1, 1.25},      {3, 1, 3, 15, 1, 1.25},     {4, 1, 3, 15, 1, 1.25},
        {5, 1, 3, 15, 1, 1.25},      {6, 1, 3, 15, 1, 7.5},      {7, 2, 3, 15, 50, 125},
        {8, 1, 3, 15, 1, 1.25 * r2}, {9, 1, 3, 15, 1, 7.5},      {10, 2, 3, 15, 1, 2.5 * r2},
        {11, 1, 3, 15, 10, 75},
    };
    for (const auto& c : cases) {
        DimensionOptionsRecord o;
        std::tie(o.MarkerScale, o.ArrowLength, o.ArrowAngle) = std::tuple(c.Scale, c.Length, c.Angle);
        EXPECT_NEAR(MarkerReach(c.Kind, o, c.Layer), c.Reach, 1e-12) << c.Kind;
    }
}

TEST(Construction, DimensionFigureCarriesLineAndValue)
{
    ExpectRecords(SceneRun(Scene{}, {"CheckBox4=1"}).Drawn(), Head + ZLine(2, 0, 27, 0) + ZLine(12, 40, 27, 40) +
                                     Strings{"cn1", "msg", "25 0 25 40", "cs 24.5 18.5 0 10 \"40"} +
                                     Arrow({25, 0}, 270) + Arrow({25, 40}, 90));
}

TEST(Construction, HostTextTypeIsRestoredAtTheEnd)
{
    const Strings records = SceneRun(Scene{.Extra = {"cn0 2.5 2.5 0.5 4"}}, {"ComboBox3=3"}).Drawn();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back(), "cn0 2.5 2.5 0.5 4");
    EXPECT_NE(std::find(records.begin(), records.end(), "cn3"), records.end());
}
