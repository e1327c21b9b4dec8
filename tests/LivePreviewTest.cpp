// The live preview: any number of looks at the records, with any values,
// leave OK's run exactly as it would have been; the status line; the
// console's Preview= pictures; the paint plan made aside.
#include <atomic>
#include <map>
#include <random>

#include "dialog/DimensionPreview.h"
#include "exchange/DrawingState.h"
#include "exchange/OutputStore.h"
#include "preview/Fit.h"
#include "preview/InputPlan.h"
#include "preview/LivePreview.h"
#include "support/DialogHarness.h"
#include "support/MixedRecords.h"

using namespace harness;
using Strings = std::vector<std::string>;

namespace {

const char* const GoldenCases[] = {"centred", "beyond-start", "beyond-end", "axis-30"};

std::string GoldenFile(const std::string& group, const std::string& name, const std::string& file)
{
    return ReadBytes(Q308_SOURCE_DIR "/tests/golden/" + group + "/" + name + "/" + file).value_or("<missing>");
}

// The script's lines up to its first OK; the golden scripts set controls only.
Strings ScriptCommands(const std::string& script)
{
    Strings commands;
    std::istringstream in(script);
    for (std::string line; std::getline(in, line) && line != "OK";)
        if (!line.empty())
            commands.push_back(line);
    return commands;
}

// Values of every kind a user can leave in the controls, good and bad.
void Scramble(TForm1& form, std::mt19937& random)
{
    static const char* const texts[] = {"0", "1", "-1", "abc", "", "1000", "1e308", "0.25", "179.99", "３", "　"};
    auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"})
        if (pick(3) == 0)
            form.EditNamed(name)->Text = texts[pick(std::size(texts))];
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"})
        if (pick(3) == 0)
            form.ComboBoxNamed(name)->SetItemIndex(pick(14) - 1);
    for (const char* name : {"RadioGroup1", "RadioGroup2"})
        if (pick(4) == 0)
            form.RadioGroupNamed(name)->SetItemIndex(pick(3) - 1);
    for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"})
        if (pick(3) == 0)
            form.CheckBoxNamed(name)->Checked = !form.CheckBoxNamed(name)->Checked;
}

struct RunResult {
    std::string Exchange;
    std::optional<std::string> Settings;
    Strings Focused, Messages, Statuses;
};

// One golden case: the script's controls set one by one, OK pressed; with
// looks > 0, that many previews of scrambled values before each step, the
// user's values put back after each.
RunResult RunCase(const std::string& name, int looks, unsigned seed)
{
    DialogRun run(GoldenFile("preview", name, "input.txt"));
    preview::LivePreview live;
    live.Start();
    std::mt19937 random(seed);
    const std::size_t elements = DrawingState.ElementOrder.Count();
    auto lookAround = [&] {
        for (int i = 0; i < looks; ++i) {
            const SettingsValues kept = run.Form.CurrentSettings();
            Scramble(run.Form, random);
            live.Update(run.Form);
            run.Form.ApplySettings(kept);
            EXPECT_EQ(OutputStore.Lines.Count(), 0u);
            EXPECT_EQ(DrawingState.ElementOrder.Count(), elements) << "the dialog's model was disturbed";
        }
    };
    for (const std::string& command : ScriptCommands(GoldenFile("preview", name, "script.txt"))) {
        lookAround();
        Set(run.Form, {command});
    }
    lookAround();
    run.Form.Left = 70;
    run.Form.Top = 80;
    run.Form.Button1Click();
    EXPECT_TRUE(run.Closed());
    return {run.ExchangeBytes(), run.SettingsBytes(), run.Toolkit.Focused, run.Toolkit.Messages,
            run.Toolkit.Statuses};
}

}  // namespace

TEST(LivePreview, AnyNumberOfLooksLeaveOksRunByteForByte)
{
    for (const char* name : GoldenCases) {
        SCOPED_TRACE(name);
        const RunResult plain = RunCase(name, 0, 0);
        ASSERT_EQ(plain.Exchange, GoldenFile("preview", name, "output.txt"));
        for (const auto& [looks, seed] : {std::pair{1, 1u}, std::pair{7, 2u}, std::pair{40, 3u}}) {
            const RunResult looked = RunCase(name, looks, seed);
            EXPECT_EQ(looked.Exchange, plain.Exchange) << looks << " looks";
            EXPECT_EQ(looked.Settings, plain.Settings);
            EXPECT_EQ(std::tie(looked.Focused, looked.Messages, looked.Statuses),
                      std::tie(plain.Focused, plain.Messages, plain.Statuses));
        }
    }
}

TEST(LivePreview, StatusLineAndDimmedLastGoodDimension)
{
    DialogRun run(GoldenFile("preview", "centred", "input.txt"));
    preview::LivePreview live;
    live.Start();
    const std::size_t inputShapes = [&] {
        live.Update(run.Form);  // no text type chosen yet: nothing good so far
        return live.Current().Shapes.size();
    }();
    EXPECT_EQ(live.Status(), "「寸法値の文字種」の値は受け付けられません（項目を選択）");
    EXPECT_EQ(live.Current().Picked.size(), 4u);

    // Controls set in turn, and what the line says after each.
    const std::pair<std::string, std::string> steps[] = {
        {"ComboBox3=3", "寸法値 40"},
        // A triangle of 7.5 mm at scale 5 and an arrow of 2.9 mm no longer fit in 40.
        {"ComboBox1=6", "寸法値 40"},
        {"Edit1=5", "寸法値 40　（逆矢印）"},
        {"Edit1=1", "寸法値 40"},
        {"Edit7=0", "「長さ」の値は受け付けられません（0 < 値 ≦ 1000）"},
        {"Edit7=3", "寸法値 40"},
        {"RadioGroup1=-1", "「小数点以下の０表示」の値は受け付けられません（項目を選択）"},
        {"RadioGroup1=1", "寸法値 40.000"},
        {"CheckBox2=1", "寸法値 40.000mm"},
        {"CheckBox4=1", "寸法値 40.000mm　寸法図形"},
    };
    std::size_t goodShapes = 0;
    for (const auto& [command, status] : steps) {
        SCOPED_TRACE(command);
        Set(run.Form, {command});
        live.Update(run.Form);
        const bool good = live.Result().Outcome == ConstructionOutcome::Drawn;
        EXPECT_EQ(live.Status(), status);
        EXPECT_EQ(live.Current().OutputDimmed, !good);
        EXPECT_GT(live.Current().Shapes.size(), inputShapes) << "the last good dimension stays";
        if (good)
            goodShapes = live.Current().Shapes.size();
        else
            EXPECT_EQ(live.Current().Shapes.size(), goodShapes);
    }
    EXPECT_FALSE(run.SettingsBytes().has_value());
    EXPECT_TRUE(run.Toolkit.Focused.empty() && run.Toolkit.Statuses.empty());
}

// Points 3 and 4 moved in the preview: the picture marks them where they
// are now and draws the dimension there; the host's picks come back.
TEST(LivePreview, MovedPointsAreMarkedAndDrawnWhereTheyAre)
{
    DialogRun run(GoldenFile("preview", "centred", "input.txt"));
    run.PickTextType(3);
    preview::LivePreview live;
    live.Start();
    live.Update(run.Form);
    const auto marks = [&] {
        std::map<int, std::pair<double, double>> at;
        for (const preview::PickedMark& m : live.Current().Picked)
            at[m.Number] = {m.At.X, m.At.Y};
        return at;
    };
    const auto valueText = [&] {
        for (const preview::Shape& s : live.Current().Shapes)
            if (s.Style == preview::Role::OutputText)
                return std::pair(s.Centre.X, s.AngleDeg);
        return std::pair(0.0, -1.0);
    };
    EXPECT_EQ(marks()[4], std::pair(-5.0, 20.0));
    EXPECT_EQ(live.Status(), "寸法値 40");

    run.Form.MovedPoint4 = PointD{-5, 50};  // beyond the end
    run.Form.MovedPoint3 = PointD{-30, 0};  // the line on the other side
    live.Update(run.Form);
    EXPECT_EQ(marks()[4], std::pair(-5.0, 50.0));
    EXPECT_EQ(marks()[3], std::pair(-30.0, 0.0));
    EXPECT_EQ(marks()[1], std::pair(0.0, 0.0));
    EXPECT_EQ(live.Status(), "寸法値 40　（逆矢印）");
    EXPECT_LT(valueText().first, -29) << "the value stands at the moved line";

    // A point moved beyond every usable coordinate draws what OK would, unmarked.
    run.Form.MovedPoint4 = PointD{-5, 1e300};
    live.Update(run.Form);
    EXPECT_EQ(live.Result().Outcome, ConstructionOutcome::Drawn);
    EXPECT_EQ(marks().count(4), 0u);

    run.Form.ResetMovedPoints();
    live.Update(run.Form);
    EXPECT_EQ(marks()[3], std::pair(25.0, 7.0));
    EXPECT_EQ(marks()[4], std::pair(-5.0, 20.0));
    EXPECT_EQ(live.Status(), "寸法値 40");
}

// The strip's notes: distances read as 0, and a start without the host's file.
TEST(LivePreview, TheStripSaysWhatIsReadAsZeroAndHowTheProgramStarts)
{
    DialogRun run(GoldenFile("preview", "centred", "input.txt"));
    run.PickTextType(3);
    preview::LivePreview live;
    live.Start();
    const struct {
        Strings Commands;
        Strings Lines;
    } cases[] = {
        {{}, {"寸法値 40"}},
        {{"Edit5=abc"}, {"寸法値 40", "「計測点と寸法補助線の距離」は数値でないため 0 として作図します"}},
        {{"Edit4=", "Edit9=　"},
         {"寸法値 40", "「寸法値と水平線との距離」「計測点と寸法補助線の距離」「逆矢印の寸法はみだし距離」は数値でないため 0 として作図します"}},
        {{"Edit4=0", "Edit5=0.0", "Edit9=1e999"}, {"寸法値 40", "「逆矢印の寸法はみだし距離」は数値でないため 0 として作図します"}},
        {{"Edit9=2", "Edit1=x"}, {"「端点倍率」の値は受け付けられません（0 < 値）"}},
        {{"Edit1=1", "Edit8=180"}, {"「角度」の値は受け付けられません（0 < 値 < 180）"}},
        {{"Edit8=15", "Edit6=-1"}, {"「寸法補助線のはみ出し距離」の値は受け付けられません（0 ≦ 値）"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.Commands));
        Set(run.Form, c.Commands);
        live.Update(run.Form);
        EXPECT_EQ(live.StatusLines(), c.Lines);
        EXPECT_EQ(live.Current().Caption.size(), c.Lines.size());
    }

    DialogRun alone(std::nullopt);
    alone.PickTextType(1);
    preview::LivePreview nothing;
    nothing.Start();
    nothing.Update(alone.Form);
    EXPECT_EQ(nothing.StatusLines(),
              (Strings{ZeroLengthMessage, "JWC_TEMP.TXT を読めません。Jw_cad の外部変形から q308.bat で起動してください"}));
}

// The window's picture: equal scale, y up, centred with its margin.
TEST(LivePreview, PictureFitsItsAreaWithEqualScaleAndYUp)
{
    const struct {
        preview::Box Bounds;
        int Width, Height;
        double Scale;
        preview::Point Low, High;  // pixels of the bounds' lower left and upper right corners
    } cases[] = {
        {{0, 0, 10, 40, false}, 120, 420, 10, {10, 410}, {110, 10}},    // the height decides
        {{-5, 0, 15, 10, false}, 420, 220, 20, {10, 210}, {410, 10}},   // the width decides
        {{-5, 0, 15, 10, false}, 820, 220, 20, {210, 210}, {610, 10}},  // centred across
        {{3, 3, 3, 3, false}, 100, 100, 1, {50, 50}, {50, 50}},         // a point: one pixel a unit
        {{0, 0, 0, 8, false}, 100, 100, 10, {50, 90}, {50, 10}},        // a vertical line
    };
    for (const auto& c : cases) {
        const preview::Fit fit = preview::FitInto(c.Bounds, c.Width, c.Height, 10);
        EXPECT_DOUBLE_EQ(fit.Scale, c.Scale);
        const preview::Point low = fit.ToPixels({c.Bounds.MinX, c.Bounds.MinY});
        const preview::Point high = fit.ToPixels({c.Bounds.MaxX, c.Bounds.MaxY});
        EXPECT_TRUE(RecordMatches(Nums({low.X, low.Y, high.X, high.Y}), Nums({c.Low.X, c.Low.Y, c.High.X, c.High.Y}),
                                  1e-9));
    }
    preview::Picture picture;
    picture.Picked = {{1, {-2, 7}}};
    preview::Shape circle;
    circle.Kind = preview::ShapeKind::Circle;
    circle.Centre = {1, 1};
    circle.Radius = 1;
    picture.Shapes.push_back(circle);
    const preview::Box box = preview::PictureBounds(picture);
    EXPECT_EQ(std::tuple(box.MinX, box.MinY, box.MaxX, box.MaxY), std::tuple(-2.0, 0.0, 2.0, 7.0));
}

// The plan made aside while the dialog goes on: a change of the controls
// (whose records are read in the process's model's place) waits for it,
// and it is the plan of the drawing the dialog was shown with.
TEST(LivePreview, PlanMadeAsideIsTheDialogsDrawing)
{
    DialogRun run(records::MixedExchangeFile(20000));
    const std::size_t elements = DrawingState.ElementOrder.Count();
    preview::LivePreview live;
    live.Start();
    live.Update(run.Form);
    std::atomic<int> made{0};
    live.MakePlanAside([&] { ++made; });
    Set(run.Form, {"ComboBox3=3"});
    live.Update(run.Form);
    EXPECT_TRUE(live.HasPlan());
    EXPECT_EQ(made, 1);
    EXPECT_EQ(DrawingState.ElementOrder.Count(), elements) << "the dialog's model was disturbed";
    preview::Tally tally;
    double scales[LayerGroupCount];
    std::copy(std::begin(DrawingState.LayerGroupScales), std::end(DrawingState.LayerGroupScales), scales);
    EXPECT_EQ(live.Plan()->Count(), preview::MakeInputPlan(DrawingState, scales, tally)->Count());
    live.MakePlanAside([&] { ++made; });  // made once only
    live.WaitForPlan();
    EXPECT_EQ(made, 1);
}
