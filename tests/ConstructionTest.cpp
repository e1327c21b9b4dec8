// OK pressed on scenes built here: the checks, the set-up, the extension
// lines, the value text, its placement, reversal, run-outs and markers,
// record by record.
#include <cmath>
#include <numbers>
#include <sstream>

#include "dialog/Construction.h"
#include "exchange/DrawingState.h"
#include "exchange/OutputStore.h"
#include "support/DialogHarness.h"

using namespace harness;

namespace {

std::string Num(double v)
{
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
}

struct Scene {
    double Axis = 0;
    double Scale = 1;
    PointD P1{0, 0}, P2{10, 40}, P3{25, 7}, P4{-5, 20};
    std::vector<std::string> Extra;  // after the attribute records
};

std::string SceneFile(const Scene& s)
{
    std::string scales = "hs";
    for (int i = 0; i < 16; ++i)
        scales += " " + Num(s.Scale);
    std::string text = ExchangeText({"hq", "hk " + Num(s.Axis), scales,
                                     "hp1-  " + Num(s.P1.X) + " " + Num(s.P1.Y),
                                     "hp2   " + Num(s.P2.X) + " " + Num(s.P2.Y),
                                     "hp3-  " + Num(s.P3.X) + " " + Num(s.P3.Y),
                                     "hp4   " + Num(s.P4.X) + " " + Num(s.P4.Y), "lg0", "ly1", "lc2", "lt1",
                                     "cn\"$<ＭＳ 明朝>"});
    for (const std::string& r : s.Extra)
        text += r + "\r\n";
    return text + "#\r\n";
}

const std::vector<Expected> HeadRecords = {Exact("lg0"), Exact("ly1"), Exact("lc2"), Exact("pn2"), Exact("lt1"),
                                     Exact("cn\"$<ＭＳ 明朝>")};

std::vector<Expected> operator+(std::vector<Expected> a, const std::vector<Expected>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

PointD Turned(PointD p, double degrees)
{
    const double r = degrees * std::numbers::pi / 180;
    return {p.X * std::cos(r) - p.Y * std::sin(r), p.X * std::sin(r) + p.Y * std::cos(r)};
}

// A line arrow drawn independently: two strokes from the tip, each with its z3.
std::vector<Expected> Arrow(PointD tip, double markerAngle, double length = 3, double opening = 15)
{
    std::vector<Expected> records;
    for (const double b : {markerAngle + 180 + opening, markerAngle + 180 - opening}) {
        const PointD end = Turned({length, 0}, b);
        records.push_back(Exact("z3"));
        records.push_back(Line(tip.X, tip.Y, tip.X + end.X, tip.Y + end.Y));
    }
    return records;
}

std::vector<Expected> ZLine(double x1, double y1, double x2, double y2)
{
    return {Exact("z3"), Line(x1, y1, x2, y2)};
}

std::vector<std::string> StoredLines()
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < OutputStore.Lines.Count(); ++i)
        lines.push_back(OutputStore.Lines[i]);
    return lines;
}

// A shown dialog on a scene, with the value in text type 1 (3 x 3, spacing 0).
struct SceneRun : DialogRun {
    explicit SceneRun(const Scene& s) : DialogRun(SceneFile(s)) { PickTextType(1); }
    void Ok() { Form.Button1Click(); }
};

}  // namespace

// ---- checks ----

TEST(Construction, FirstBadControlGetsTheFocusAndNothingIsDrawn)
{
    struct Case {
        std::vector<std::pair<std::string, std::string>> Edits;
        std::vector<std::pair<std::string, int>> Lists;
        std::string Focus;  // "" when OK goes through
    };
    const Case cases[] = {
        {{{"Edit1", "0"}}, {{"ComboBox1", -1}}, "ComboBox1"},
        {{}, {{"ComboBox2", -1}}, "ComboBox2"},
        {{{"Edit1", "0"}}, {}, "Edit1"},
        {{{"Edit1", "abc"}}, {}, "Edit1"},
        {{{"Edit1", "-1"}, {"Edit7", "0"}}, {}, "Edit1"},
        {{{"Edit7", "0"}}, {}, "Edit7"},
        {{{"Edit7", "1000.5"}}, {}, "Edit7"},
        {{{"Edit7", "1000"}}, {}, ""},
        {{{"Edit8", "180"}}, {}, "Edit8"},
        {{{"Edit8", "0"}}, {}, "Edit8"},
        {{{"Edit8", "179.9"}}, {}, ""},
        {{{"Edit7", "0"}}, {{"ComboBox3", -1}}, "Edit7"},
        {{}, {{"ComboBox3", -1}}, "ComboBox3"},
        {{}, {{"ComboBox4", -1}, {"ComboBox5", -1}}, "ComboBox4"},
        {{}, {{"ComboBox5", -1}}, "ComboBox5"},
        {{}, {{"RadioGroup1", -1}, {"RadioGroup2", -1}}, "RadioGroup1"},
        {{}, {{"RadioGroup2", -1}}, "RadioGroup2"},
        {{{"Edit5", "-0.1"}, {"Edit6", "-1"}}, {}, "Edit5"},
        {{{"Edit5", "0"}}, {}, ""},
        {{{"Edit5", "abc"}}, {}, ""},
        {{{"Edit6", "-1"}, {"Edit9", "-1"}}, {}, "Edit6"},
        {{{"Edit9", "-0.5"}}, {}, "Edit9"},
        {{{"Edit4", "-3"}}, {}, ""},
        {{{"Edit4", "xyz"}}, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Focus.empty() ? "passes" : c.Focus);
        SceneRun run(Scene{});
        run.Form.Left = 321;
        for (const auto& [name, text] : c.Edits)
            run.Form.EditNamed(name)->Text = text;
        for (const auto& [name, index] : c.Lists) {
            if (TComboBox* box = run.Form.ComboBoxNamed(name))
                box->ItemIndex = index;
            else
                run.Form.RadioGroupNamed(name)->ItemIndex = index;
        }
        run.Ok();
        EXPECT_EQ(run.Form.SavedLeft, 321);
        if (c.Focus.empty()) {
            EXPECT_TRUE(run.Toolkit.Focused.empty());
            EXPECT_TRUE(run.Closed());
            EXPECT_TRUE(run.SettingsBytes().has_value());
            continue;
        }
        EXPECT_EQ(run.Toolkit.Focused, std::vector<std::string>{c.Focus});
        EXPECT_FALSE(run.Closed());
        EXPECT_FALSE(run.SettingsBytes().has_value()) << "settings are saved only when every check passes";
        EXPECT_EQ(OutputStore.Lines.Count(), 0u);
        EXPECT_TRUE(run.Toolkit.Statuses.empty());
        run.Cancel();
        EXPECT_EQ(run.ExchangeBytes(), "hq\r\n");
    }
}

TEST(Construction, DistanceInfiniteInDrawingUnitsIsRefused)
{
    Scene scene;
    scene.Scale = 250;
    for (const std::string edit : {"Edit4", "Edit5", "Edit6", "Edit9"}) {
        SceneRun run(scene);
        run.Form.EditNamed(edit)->Text = "1e308";
        run.Ok();
        EXPECT_EQ(run.Toolkit.Focused, std::vector<std::string>{edit});
        EXPECT_EQ(OutputStore.Lines.Count(), 0u);
    }
}

TEST(Construction, BlankPrefixVanishesOtherKeepsItsBlanks)
{
    const struct {
        std::string Typed, Kept;
    } cases[] = {{"　", ""}, {" \t ", ""}, {" a ", " a "}, {"　寸　", "　寸　"}, {"", ""}};
    for (const auto& c : cases) {
        TForm1 form;
        form.ComboBox3.Items = {"a"};
        form.ComboBox3.ItemIndex = 0;
        form.Edit2.Text = c.Typed;
        form.Edit3.Text = c.Typed;
        DimensionOptionsRecord o;
        ASSERT_EQ(ReadDimensionOptions(form, o), "");
        EXPECT_EQ(o.Prefix, c.Kept);
        EXPECT_EQ(o.Suffix, c.Kept);
    }
}

TEST(Construction, ZeroLengthIsRefusedAfterSavingSettings)
{
    Scene scene;
    scene.P2 = {10, 0};  // level with point 1
    SceneRun run(scene);
    run.Form.Left = 55;
    run.Form.Top = 66;
    run.Ok();
    EXPECT_EQ(run.Toolkit.Messages, std::vector<std::string>{"寸法が「0」になりますので作図出来ません"});
    EXPECT_FALSE(run.Closed());
    EXPECT_TRUE(run.Toolkit.Statuses.empty());
    EXPECT_EQ(run.Form.LabelA1.Caption, "　");
    EXPECT_EQ(OutputStore.Lines.Count(), 0u);
    const std::vector<std::string> settings = CrLfLines(run.SettingsBytes().value_or(""));
    ASSERT_EQ(settings.size(), 31u);
    EXPECT_EQ(settings[0], "55");
    EXPECT_EQ(settings[1], "66");
    run.Cancel();
    EXPECT_EQ(run.ExchangeBytes(), "hq\r\n");
}

TEST(Construction, LengthRoundingToZeroIsDrawnWithZero)
{
    Scene scene;
    scene.P2 = {10, 0.0004};
    scene.P4 = {-5, 0.0002};
    SceneRun run(scene);
    run.Form.ComboBox4.SetItemIndex(0);  // whole numbers
    run.Ok();
    EXPECT_TRUE(run.Toolkit.Messages.empty());
    ASSERT_TRUE(run.Closed());
    bool found = false;
    for (const std::string& r : run.Records())
        found = found || (r.rfind("cs ", 0) == 0 && r.ends_with(" \"0"));
    EXPECT_TRUE(found);
}

// ---- set-up and dimension line ----

TEST(Construction, DimensionLineFollowsTheAxis)
{
    const struct {
        double Axis;
        PointD Start, End;
        double Length;
    } cases[] = {
        {0, {25, 0}, {25, 40}, 40},
        {90, {0, 7}, {10, 7}, 10},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.Axis = c.Axis;
        SceneRun run(scene);
        DimensionConstruction d;
        DeriveDimensionLine(d);
        EXPECT_NEAR(d.DimLineStart.X, c.Start.X, 1e-12);
        EXPECT_NEAR(d.DimLineStart.Y, c.Start.Y, 1e-12);
        EXPECT_NEAR(d.DimLineEnd.X, c.End.X, 1e-12);
        EXPECT_NEAR(d.DimLineEnd.Y, c.End.Y, 1e-12);
        EXPECT_NEAR(d.MeasuredLength, c.Length, 1e-12);
    }
}

TEST(Construction, ScaleOfTheHostsLayerGroupConvertsDistances)
{
    std::string file = SceneFile(Scene{});
    // Layer group 2 is current, with a scale of its own.
    const std::size_t hs = file.find("hs ");
    file.replace(hs, file.find("\r\n", hs) - hs, "hs 1 1 20 1 1 1 1 1 1 1 1 1 1 1 1 1");
    file.replace(file.find("lg0"), 3, "lg2");
    DialogRun run(file);
    run.PickTextType();
    run.Form.Edit5.Text = "0.5";
    run.Form.Edit4.Text = "-3";
    DimensionConstruction d;
    ASSERT_EQ(ReadDimensionOptions(run.Form, d.DimensionOptions), "");
    DeriveDimensionLine(d);
    EXPECT_EQ(d.LayerScale, 20);
    EXPECT_EQ(d.DimensionOptions.ExtensionGap, 10);
    EXPECT_EQ(d.DimensionOptions.ValueOffset, -60);
    EXPECT_EQ(d.DimensionOptions.ExtensionOvershoot, 40);
    EXPECT_EQ(d.DimensionOptions.ReverseOvershoot, 40);
    EXPECT_EQ(d.DimensionOptions.ArrowLength, 3);  // scaled where it is drawn
    EXPECT_EQ(d.DimensionOptions.MarkerScale, 1);
}

TEST(Construction, AttributeSetUpWritesLineWidthOnlyWhenTheHostGaveOne)
{
    Scene scene;
    scene.Extra = {"lw3", "lw5"};
    SceneRun run(scene);
    run.Ok();
    const std::vector<std::string> records = run.Records();
    ASSERT_GE(records.size(), 7u);
    ExpectRecords({records.begin(), records.begin() + 7},
                  {Exact("lg0"), Exact("ly1"), Exact("lc2"), Exact("pn2"), Exact("lt1"), Exact("lw3"),
                   Exact("cn\"$<ＭＳ 明朝>")});
}

// ---- extension lines ----

TEST(Construction, ExtensionLinesRunFromTheGapToPastTheDimensionLine)
{
    const struct {
        PointD P1, P2, P3;
        double Gap, Overshoot;
        std::vector<Expected> Records;
    } cases[] = {
        {{0, 0}, {10, 4000}, {2500, 700}, 2, 2, ZLine(200, 0, 2700, 0) + ZLine(210, 4000, 2700, 4000)},
        {{0, 0}, {10, 4000}, {-2500, 700}, 2, 2, ZLine(-200, 0, -2700, 0) + ZLine(-190, 4000, -2700, 4000)},
        // Level with point 1 and a gap equal to the overshoot: only the z3 remains.
        {{0, 0}, {10, 4000}, {0, 700}, 2, 2, std::vector<Expected>{Exact("z3")} + ZLine(-190, 4000, -200, 4000)},
        {{0, 0}, {10, 4000}, {0, 700}, 2, 5, ZLine(200, 0, 500, 0) + ZLine(-190, 4000, -500, 4000)},
        // Between the points: one line each way.
        {{0, 0}, {1000, 4000}, {500, 700}, 2, 2, ZLine(200, 0, 700, 0) + ZLine(800, 4000, 300, 4000)},
        // A gap wider than the way to the dimension line starts beyond it.
        {{0, 0}, {10, 4000}, {100, 700}, 2, 0, ZLine(200, 0, 100, 0) + ZLine(210, 4000, 100, 4000)},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.Scale = 100;
        scene.P1 = c.P1;
        scene.P2 = c.P2;
        scene.P3 = c.P3;
        SceneRun run(scene);
        DimensionConstruction d;
        run.Form.Edit5.Text = Num(c.Gap);
        run.Form.Edit6.Text = Num(c.Overshoot);
        ASSERT_EQ(ReadDimensionOptions(run.Form, d.DimensionOptions), "");
        DeriveDimensionLine(d);
        DrawExtensionLines(d);
        ExpectRecords(StoredLines(), c.Records);
    }
}

// ---- value text ----

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
        DimensionOptionsRecord o;
        o.Decimals = c.Decimals;
        o.RoundingMode = 2;
        o.UnitChoice = c.Unit;
        o.UseSeparators = c.Separators;
        o.ZeroDisplay = c.Zeros;
        o.FullWidth = c.Full;
        o.AppendUnit = c.AppendUnit;
        o.Prefix = c.Prefix;
        o.Suffix = c.Suffix;
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
        {0, 0, {0, 2.5, 2.6, 0.5, 4}},
        {0, 10, {10, 10, 3, 0, 8}},
        {7, 0, {7, 7, 3, 0, 7}},
        {12, 0, {1, 1, 3, 0, 1}},
        {-1, 0, {1, 1, 3, 0, 1}},
        {3, 4, {4, 4, 3, 0, 4}},
    };
    for (const auto& c : cases) {
        DrawingState.InitialAttributes.TextType = c.HostType;
        const ValueTextTypeRecord t = ChooseValueTextType(c.Choice);
        EXPECT_EQ(t.Number, c.Want.Number);
        EXPECT_EQ(t.Width, c.Want.Width);
        EXPECT_EQ(t.Height, c.Want.Height);
        EXPECT_EQ(t.Spacing, c.Want.Spacing);
        EXPECT_EQ(t.Color, c.Want.Color);
    }
}

// ---- the whole dimension ----

// Axis 0, scale 1, points 1 (0, 0), 2 (10, 40), 3 (25, 7): the value "40" is
// 3 wide; offset 0.5, arrows 3 long at 15 degrees, reverse overshoot 2.
TEST(Construction, WorkedExampleForThreePositionsOfPoint4)
{
    const std::vector<Expected> head = HeadRecords + ZLine(2, 0, 27, 0) + ZLine(12, 40, 27, 40);
    const double dx = 10 * std::cos(std::numbers::pi / 2);
    const struct {
        PointD P4;
        std::vector<Expected> Rest;
    } cases[] = {
        {{-5, 20},
         ZLine(25, 0, 25, 40) + std::vector<Expected>{Exact("cn1"), Exact("cc0"), Exact("z3"),
                                                      TextRecord("cs", {24.5, 18.5, dx, 10}, "40")} +
             Arrow({25, 0}, 270) + Arrow({25, 40}, 90)},
        {{-5, 50},
         ZLine(25, 0, 25, 40) + std::vector<Expected>{Exact("cn1"), Exact("cc0"), Exact("z3"),
                                                      TextRecord("cs", {24.5, 50, dx, 10}, "40")} +
             ZLine(25, 0, 25, -2) + Arrow({25, 0}, 90) + ZLine(25, 40, 25, 53) + Arrow({25, 40}, 270)},
        {{-5, -3},
         ZLine(25, 0, 25, 40) + std::vector<Expected>{Exact("cn1"), Exact("cc0"), Exact("z3"),
                                                      TextRecord("cs", {24.5, -6, dx, 10}, "40")} +
             ZLine(25, 0, 25, -6) + Arrow({25, 0}, 90) + ZLine(25, 40, 25, 42) + Arrow({25, 40}, 270)},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.P4 = c.P4;
        SceneRun run(scene);
        run.Ok();
        ASSERT_TRUE(run.Closed());
        EXPECT_EQ(run.Toolkit.Statuses, (std::vector<std::string>{"処理中です", "ファイル生成中です"}));
        ExpectRecords(run.Records(), head + c.Rest, 1e-9);
    }
    // The arrow expected above ends where the strokes are known to end: near
    // (24.22, 2.90) and (25.78, 2.90) in the order drawn.
    const std::vector<Expected> start = Arrow({25, 0}, 270);
    EXPECT_NEAR(start[1].Numbers[2], 24.22, 0.005);
    EXPECT_NEAR(start[1].Numbers[3], 2.90, 0.005);
    EXPECT_NEAR(start[3].Numbers[2], 25.78, 0.005);
}

TEST(Construction, PlacementOfTheValue)
{
    const PointD below{0, 0}, above{0, 40};
    const struct {
        PointD P1, P2;
        double P4Y;
        ValueSideKind Side;
        double Runout, AnchorY;
    } cases[] = {
        {below, {10, 40}, 20, Centre, 0, 20},
        {below, {10, 40}, 50, BeyondEnd, 13, 51.5},
        {below, {10, 40}, -3, BeyondStart, 6, -4.5},
        {below, {10, 40}, 0, BeyondStart, 3, -1.5},  // level with point 1
        {below, {10, 40}, 5e-11, BeyondStart, 3 - 5e-11, 5e-11 - 1.5},
        {below, {10, 40}, 40, BeyondEnd, 3, 41.5},
        // Point 1 above point 2: the sides swap, and so does the shift.
        {above, {10, 0}, 50, BeyondStart, 13, 51.5},
        {above, {10, 0}, -3, BeyondEnd, 6, -4.5},
        {above, {10, 0}, 20, Centre, 0, 20},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.P1 = c.P1;
        scene.P2 = c.P2;
        scene.P4 = {-5, c.P4Y};
        SceneRun run(scene);
        DimensionConstruction d;
        ASSERT_EQ(ReadDimensionOptions(run.Form, d.DimensionOptions), "");
        DeriveDimensionLine(d);
        d.ValueTextType = ChooseValueTextType(1);
        d.ValueText = "40";
        PlaceValue(d);
        EXPECT_EQ(d.ValueWidth, 3);
        EXPECT_EQ(d.ValueSide, c.Side) << c.P4Y;
        EXPECT_NEAR(d.ValueRunout, c.Runout, 1e-12);
        EXPECT_NEAR(d.ValueAnchor.X, 25, 1e-12);
        EXPECT_NEAR(d.ValueAnchor.Y, c.AnchorY, 1e-12);
        // Half the width back along the text, the offset square to it.
        EXPECT_NEAR(d.ValueOrigin.X, 24.5, 1e-12);
        EXPECT_NEAR(d.ValueOrigin.Y, c.AnchorY - 1.5, 1e-12);
    }
}

// The worked example turned by the axis angle: everything turns with it,
// except the value, which stays upright.
TEST(Construction, AxisAnglesTurnTheDimensionAndKeepTheValueUpright)
{
    const struct {
        double Axis, ValueAngle;
    } cases[] = {{0, 90}, {10, 280}, {90, 0}, {180, 90}, {270, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Axis);
        Scene scene;
        scene.Axis = c.Axis;
        scene.P1 = Turned({0, 0}, c.Axis);
        scene.P2 = Turned({10, 40}, c.Axis);
        scene.P3 = Turned({25, 7}, c.Axis);
        scene.P4 = Turned({-5, 20}, c.Axis);
        SceneRun run(scene);
        run.Ok();
        auto turned = [&](double x1, double y1, double x2, double y2) {
            const PointD a = Turned({x1, y1}, c.Axis), b = Turned({x2, y2}, c.Axis);
            return ZLine(a.X, a.Y, b.X, b.Y);
        };
        const PointD anchor = Turned({25, 20}, c.Axis);
        const PointD offset = Turned({-1.5, 0.5}, c.ValueAngle);
        const PointD direction = Turned({10, 0}, c.ValueAngle);
        const PointD start = Turned({25, 0}, c.Axis), end = Turned({25, 40}, c.Axis);
        const std::vector<Expected> expected =
            HeadRecords + turned(2, 0, 27, 0) + turned(12, 40, 27, 40) + turned(25, 0, 25, 40) +
            std::vector<Expected>{Exact("cn1"), Exact("cc0"), Exact("z3"),
                                  TextRecord("cs", {anchor.X + offset.X, anchor.Y + offset.Y, direction.X,
                                                    direction.Y},
                                             "40")} +
            Arrow(start, std::fmod(270 + c.Axis, 360)) + Arrow(end, std::fmod(90 + c.Axis, 360));
        ExpectRecords(run.Records(), expected, 1e-9);
    }
}

TEST(Construction, MarkersThatDoNotFitAreReversed)
{
    // Two "▲" at scale 1 need 15 on a line of 10; the value stays centred.
    const struct {
        std::string Edit9;
        std::vector<Expected> Ends;
    } cases[] = {
        {"2", ZLine(5, 0, 5, -2) + std::vector<Expected>{Exact("z3"), Nums("pt", {5, 0, 1, 90, 6})} +
                  ZLine(5, 10, 5, 12) + std::vector<Expected>{Exact("z3"), Nums("pt", {5, 10, 1, 270, 6})}},
        {"0", {Exact("z3"), Nums("pt", {5, 0, 1, 90, 6}), Exact("z3"), Nums("pt", {5, 10, 1, 270, 6})}},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.P2 = {0, 10};
        scene.P3 = {5, 3};
        scene.P4 = {-7, 5};
        SceneRun run(scene);
        run.Form.ComboBox1.SetItemIndex(6);
        run.Form.ComboBox2.SetItemIndex(6);
        run.Form.Edit9.Text = c.Edit9;
        run.Ok();
        const std::vector<Expected> expected =
            HeadRecords + ZLine(2, 0, 7, 0) + ZLine(2, 10, 7, 10) + ZLine(5, 0, 5, 10) +
            std::vector<Expected>{Exact("cn1"), Exact("cc0"), Exact("z3"),
                                  TextRecord("cs", {5 - 0.5, 5 - 1.5, 10 * std::cos(std::numbers::pi / 2), 10}, "10")} +
            c.Ends;
        ExpectRecords(run.Records(), expected, 1e-9);
    }
}

TEST(Construction, MarkersExactlyFillingTheLineAreNotReversed)
{
    // Two "□" take 1.25 each on a line of 2.5.
    Scene scene;
    scene.P2 = {0, 2.5};
    scene.P3 = {5, 0};
    scene.P4 = {-7, 1};
    SceneRun run(scene);
    run.Form.ComboBox1.SetItemIndex(2);
    run.Form.ComboBox2.SetItemIndex(2);
    run.Ok();
    const std::vector<std::string> records = run.Records();
    ASSERT_GT(records.size(), 4u);
    ExpectRecords({records.end() - 4, records.end()},
                  {Exact("z3"), Nums("pt", {5, 0, 1, 270, 2}), Exact("z3"), Nums("pt", {5, 2.5, 1, 90, 2})});
}

TEST(Construction, ArrowsOnScale100ReverseBelowTwiceTheirReach)
{
    // Each arrow takes 3 cos 15° x 100 = 289.77775...; two need 579.5555...
    const struct {
        double Length;
        bool Reversed;
    } cases[] = {{579, true}, {580, false}};
    for (const auto& c : cases) {
        Scene scene;
        scene.Scale = 100;
        scene.P2 = {0, c.Length};
        scene.P3 = {1000, 0};
        scene.P4 = {-5, c.Length / 2};
        SceneRun run(scene);
        run.Ok();
        const std::vector<std::string> records = run.Records();
        // After the set-up, the extension lines, the dimension line and the value.
        ASSERT_GT(records.size(), 16u);
        const std::vector<Expected> ends =
            c.Reversed ? ZLine(1000, 0, 1000, -200) + Arrow({1000, 0}, 90, 300) +
                             ZLine(1000, c.Length, 1000, c.Length + 200) + Arrow({1000, c.Length}, 270, 300)
                       : Arrow({1000, 0}, 270, 300) + Arrow({1000, c.Length}, 90, 300);
        ExpectRecords({records.begin() + 16, records.end()}, ends, 1e-9);
    }
}

TEST(Construction, MarkerReachPerKind)
{
    const double r2 = std::numbers::sqrt2;
    const struct {
        int32_t Kind;
        double Scale, Length, Angle, Layer, Reach;
    } cases[] = {
        {0, 1, 3, 15, 100, 3 * std::cos(15 * std::numbers::pi / 180) * 100},
        {0, 5, 3, 15, 1, 3 * std::cos(15 * std::numbers::pi / 180)},  // marker scale leaves arrows alone
        {0, 1, 3, 90, 1, 0},
        {0, 1, 2, 120, 1, -1},
        {1, 1, 3, 15, 1, 7.5},
        {2, 1, 3, 15, 1, 1.25},
        {3, 1, 3, 15, 1, 1.25},
        {4, 1, 3, 15, 1, 1.25},
        {5, 1, 3, 15, 1, 1.25},
        {6, 1, 3, 15, 1, 7.5},
        {7, 2, 3, 15, 50, 125},
        {8, 1, 3, 15, 1, 1.25 * r2},
        {9, 1, 3, 15, 1, 7.5},
        {10, 2, 3, 15, 1, 2.5 * r2},
        {11, 1, 3, 15, 10, 75},
    };
    for (const auto& c : cases) {
        DimensionOptionsRecord o;
        o.MarkerScale = c.Scale;
        o.ArrowLength = c.Length;
        o.ArrowAngle = c.Angle;
        EXPECT_NEAR(MarkerReach(c.Kind, o, c.Layer), c.Reach, 1e-12) << c.Kind;
    }
    EXPECT_NEAR(MarkerReach(0, DimensionOptionsRecord{}, 100), 289.77775, 1e-5);
}

TEST(Construction, PointMarkerAtOneEndLineArrowAtTheOther)
{
    Scene scene;
    SceneRun run(scene);
    run.Form.ComboBox1.SetItemIndex(9);  // "＞"
    run.Form.Edit1.Text = "2";
    run.Ok();
    const std::vector<std::string> records = run.Records();
    ASSERT_EQ(records.size(), 22u);
    ExpectRecords({records.begin() + 16, records.end()},
                  std::vector<Expected>{Exact("z3"), Nums("pt", {25, 0, 2, 270, 9})} + Arrow({25, 40}, 90));
}

TEST(Construction, DimensionFigureCarriesLineAndValue)
{
    Scene scene;
    SceneRun run(scene);
    run.Form.CheckBox4.Checked = true;
    run.Ok();
    ExpectRecords(run.Records(),
                  HeadRecords + ZLine(2, 0, 27, 0) + ZLine(12, 40, 27, 40) +
                      std::vector<Expected>{Exact("cn1"), Exact("msg"), Line(25, 0, 25, 40),
                                            TextRecord("cs", {24.5, 18.5, 10 * std::cos(std::numbers::pi / 2), 10},
                                                       "40")} +
                      Arrow({25, 0}, 270) + Arrow({25, 40}, 90));
}

TEST(Construction, HostTextTypeIsRestoredAtTheEnd)
{
    Scene scene;
    scene.Extra = {"cn0 2.5 2.5 0.5 4"};
    SceneRun run(scene);
    run.PickTextType(3);
    run.Ok();
    const std::vector<std::string> records = run.Records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back(), "cn0 2.5 2.5 0.5 4");
    EXPECT_NE(std::find(records.begin(), records.end(), "cn3"), records.end());
}
