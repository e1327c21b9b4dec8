// The settings file: what each line does to the dialog when read, what a
// save writes, and that a failed save leaves no partial file.
#include <filesystem>

#include "dialog/PreviewSettings.h"
#include "dialog/RepeatSettings.h"
#include "support/DialogHarness.h"

using namespace harness;

namespace {

const std::string Exchange = ExchangeText({"hq", "hk 30", "hs 1 1 50 1 1 1 1 1 1 1 1 1 1 1 1 1",
                                           "hp1-  1.5 -2", "hp2   10 40", "hp3-  25 7", "hp4   -5 20", "lg2",
                                           "ly6", "cn3"});

// The controls of lines 3 to 22, in the file's order.
const char* const Controls[] = {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "Edit1",
                                "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
                                "RadioGroup1", "RadioGroup2", "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"};

// Every value the file carries, as its first 22 lines would hold them, joined by "|".
std::string Snapshot(TForm1& f)
{
    std::string s = std::to_string(f.SavedLeft) + "|" + std::to_string(f.SavedTop);
    for (const char* name : Controls) {
        if (const TEdit* edit = f.EditNamed(name))
            s += "|" + edit->Text;
        else if (const TComboBox* box = f.ComboBoxNamed(name))
            s += "|" + std::to_string(box->ItemIndex);
        else if (const TRadioGroup* group = f.RadioGroupNamed(name))
            s += "|" + std::to_string(group->ItemIndex);
        else
            s += f.CheckBoxNamed(name)->Checked ? "|1" : "|0";
    }
    return s;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const std::string& line : lines)
        s += (s.empty() ? "" : "|") + line;
    return s;
}

}  // namespace

TEST(Settings, ReadingSetsEveryControlAndMissingLinesReadAsEmpty)
{
    const std::vector<std::string> full = {"7",  "8",  "1",  "2",  "3",  "4",  "1", "e1", "e2", "e3", "e4",
                                           "e5", "e6", "e7", "e8", "e9", "1",  "1", "1",  "0",  "1",  "0"};
    const std::string empty = "|0|0|0|0|0||||||||||0|0|0|0|0|0";
    const struct {
        std::optional<std::string> File;
        std::string Read;
    } cases[] = {
        {std::nullopt, "100|100|0|0|-1|3|2|1|||0.5|2|2|3|15|2|0|0|0|0|0|0"},  // the defaults, placed at 100
        {"", "0|0" + empty},
        {"30\r\n-40\r\n", "30|-40" + empty},
        {"30\n-40", "30|-40" + empty},
        {ExchangeText(full) + "99\r\n99\r\nnot read\r\n", Joined(full)},  // lines after the 22nd are never read
    };
    for (const auto& c : cases) {
        DialogRun run(Exchange, c.File);
        EXPECT_EQ(Snapshot(run.Form), c.Read) << c.File.value_or("no file");
        EXPECT_EQ(std::pair(run.Form.Left, run.Form.Top), std::pair(run.Form.SavedLeft, run.Form.SavedTop));
    }
}

TEST(Settings, EachLineIsTakenAsItsControlTakesIt)
{
    std::vector<std::string> base = {"1", "2", "0", "0", "0",   "0", "0", "1", "", "", "0.5",
                                     "2", "2", "3", "15", "2", "0", "0", "0", "0", "0", "0"};
    // Line, its text, what the control then holds. Lists clamp as the
    // controls do; a check box is checked by any non-zero integer.
    const struct {
        int Line;
        std::string Text, Read;
    } cases[] = {
        {3, "11", "11"},  {3, "12", "-1"},  {3, "-1", "0"},   {3, "x", "0"},   {3, " 3", "3"},
        {5, "10", "10"},  {5, "11", "-1"},  {5, "-5", "0"},   {5, "$A", "10"}, {5, "3 ", "0"},
        {17, "1", "1"},   {17, "7", "1"},   {17, "-3", "0"},  {17, "0x1", "1"}, {17, "", "0"},
        {22, "1", "1"},   {22, "2", "1"},   {22, "-1", "1"},  {22, " 1", "1"}, {22, "", "0"},
        {22, "a", "0"},   {22, "1.0", "0"}, {22, "1 ", "0"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = base;
        lines[c.Line - 1] = c.Text;
        DialogRun run(Exchange, ExchangeText(lines));
        lines[c.Line - 1] = c.Read;
        EXPECT_EQ(Snapshot(run.Form), Joined(lines)) << c.Line << ": \"" << c.Text << "\"";
    }
}

// A line break inside an edit text would shift every later line: the text
// is kept up to it.
TEST(Settings, SavedFileRestoresEveryControl)
{
    DialogRun run(Exchange);
    run.Form.SavedLeft = -12;
    run.Form.SavedTop = 3456;
    Set(run.Form, {"ComboBox1=11", "ComboBox2=7", "ComboBox3=4", "ComboBox4=8", "ComboBox5=0", "Edit1=1.5",
                   "Edit2=高さ＝\r\ncd", "Edit3=　（参考）\ny", "Edit4=-3", "Edit5=0", "Edit6=abc", "Edit7=1000",
                   "Edit8=179.9", "Edit9=", "RadioGroup1=1", "RadioGroup2=1", "CheckBox2=1", "CheckBox4=1"});
    const std::string path = run.Scratch.File("q304.dat");
    run.Form.SaveSettings(path);
    EXPECT_EQ(CrLfLines(ReadBytes(path).value_or("")).size(), 31u);
    TForm1 back;
    back.ComboBox3.Items = run.Form.ComboBox3.Items;
    back.LoadSettings(path);
    Set(run.Form, {"Edit2=高さ＝", "Edit3=　（参考）"});
    EXPECT_EQ(Snapshot(back), Snapshot(run.Form));
}

TEST(Settings, SuccessfulOkWrites31LinesDescribingTheRun)
{
    DialogRun run(Exchange);
    run.PickTextType(2);
    run.Form.Left = 210;
    run.Form.Top = 95;
    Set(run.Form, {"Edit2=Ｈ＝", "CheckBox1=1"});
    run.Form.Button1Click();
    ASSERT_TRUE(run.Closed());
    EXPECT_EQ(run.SettingsBytes(),
              ExchangeText({"210", "95", "0", "0", "2", "3", "2", "1", "Ｈ＝", "", "0.5", "2", "2", "3", "15", "2",
                            "0", "0", "1", "0", "0", "0", "2", "50", "30", "1.5", "-2", "10", "40", "25", "7"}));
}

// The lines as data, without a form or a file.
TEST(Settings, ParsedLinesRenderBackAndABrokenReadKeepsTheRest)
{
    SettingsValues before;
    before.ComboBoxIndex[1] = 5;
    before.EditText[0] = "keep";
    const SettingsRunValues run{2, 50, 30, {1.5, 10, 25}, {-2, 40, 7}};
    const std::string bytes = "7\r\n8\r\n-3\r\n4";  // ends inside line 4
    const struct {
        bool Complete;
        std::vector<std::string> Lines;  // the first 22 of the file the values render to
    } cases[] = {
        {false, {"7", "8", "0", "5", "0", "0", "0", "keep"}},  // the lines after line 3 keep their values
        {true, {"7", "8", "0", "4", "0", "0", "0", ""}},       // missing lines read as empty
    };
    for (const auto& c : cases) {
        SettingsValues values = before;
        ParseSettings(bytes, c.Complete, values);
        const std::vector<std::string> lines = CrLfLines(RenderSettings(values, run));
        ASSERT_EQ(lines.size(), 31u);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8), c.Lines) << c.Complete;
        EXPECT_EQ(Joined({lines.begin() + 22, lines.end()}), "2|50|30|1.5|-2|10|40|25|7");
        SettingsValues again;
        ParseSettings(RenderSettings(values, run), true, again);
        EXPECT_EQ(RenderSettings(again, run), RenderSettings(values, run));
    }
}

TEST(Settings, SaveWritesInPlaceWhereNoTemporaryCanBeMade)
{
    ScratchFolder scratch;
    TForm1 form;
    std::filesystem::create_directory(scratch.File("q304.dat.tmp"));
    form.SaveSettings(scratch.File("q304.dat"));
    EXPECT_EQ(CrLfLines(ReadBytes(scratch.File("q304.dat")).value_or("")).size(), 31u);
}

TEST(Settings, FailedSaveLeavesNoPartialFile)
{
    ScratchFolder scratch;
    TForm1 form;
    // The target is a folder, then a file in a folder that does not exist.
    const std::string blocked = scratch.File("q304.dat");
    std::filesystem::create_directory(blocked);
    form.SaveSettings(blocked);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    form.SaveSettings(scratch.File("missing/q304.dat"));
    const auto entries = std::distance(std::filesystem::directory_iterator(scratch.Folder()), {});
    EXPECT_EQ(entries, 1) << "no temporary or partial file is left beside it";
}

// q308.ini: what the preview window is told at start, from each kind of file.
TEST(PreviewSettings, OpenAndPlaceOnlyFromAWholeSection)
{
    const struct {
        std::string Bytes;
        bool Open, HasPlace;
        int Left, Top, Width, Height;
    } cases[] = {
        {"[Preview]\r\nOpen=1\r\nLeft=620\r\nTop=-40\r\nWidth=420\r\nHeight=403\r\n", true, true, 620, -40, 420, 403},
        {"; note\n[other]\nOpen=1\n[ preview ]\nopen = 1\nLEFT=1\ntop=2\nwidth=3\nheight=4", true, true, 1, 2, 3, 4},
        {"[Preview]\r\nOpen=1\r\n", true, false, 0, 0, 0, 0},  // opens at the default place
        {"[Preview]\r\nOpen=0\r\nLeft=1\r\nTop=2\r\nWidth=3\r\nHeight=4\r\n", false, true, 1, 2, 3, 4},
        {"[Preview]\r\nOpen=1\r\nLeft=1\r\nTop=2\r\nWidth=0\r\nHeight=4\r\n", true, false, 0, 0, 0, 0},
        {"[Other]\r\nOpen=1\r\n", false, false, 0, 0, 0, 0},
        {"", false, false, 0, 0, 0, 0},
        // Garbage: closed at the default place.
        {"[Preview]\r\nOpen=1\r\nLeft=12ab\r\nTop=2\r\nWidth=3\r\nHeight=4\r\n", false, false, 0, 0, 0, 0},
        {"[Preview]\r\nOpen=1\r\nLeft=99999999999\r\nTop=2\r\nWidth=3\r\nHeight=4\r\n", false, false, 0, 0, 0, 0},
        {"[Preview]\r\nOpen=yes\r\n", false, false, 0, 0, 0, 0},
        {"[Preview]\r\n\xFF\xFE\x00\x01\r\nOpen=1\r\n", false, false, 0, 0, 0, 0},
        {"[Preview\r\nOpen=1\r\n", false, false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Bytes);
        const PreviewPlacement p = ParsePreviewSettings(c.Bytes);
        EXPECT_EQ(std::tuple(p.Open, p.HasPlace, p.Left, p.Top, p.Width, p.Height),
                  std::tuple(c.Open, c.HasPlace, c.Left, c.Top, c.Width, c.Height));
    }
}

TEST(PreviewSettings, RoundTripThroughTheFile)
{
    const ScratchFolder folder;
    const std::string path = folder.File("q308.ini");
    PreviewPlacement read;
    read.Open = true;
    EXPECT_FALSE(LoadPreviewSettings(path, read));
    EXPECT_FALSE(read.Open) << "no file: closed";

    for (const PreviewPlacement& written : {PreviewPlacement{true, true, -1200, 5, 2000000, 7},
                                            PreviewPlacement{false, true, 0, 0, 1, 1}, PreviewPlacement{}}) {
        ASSERT_TRUE(SavePreviewSettings(path, written));
        ASSERT_TRUE(LoadPreviewSettings(path, read));
        EXPECT_EQ(std::tuple(read.Open, read.HasPlace, read.Left, read.Top, read.Width, read.Height),
                  std::tuple(written.Open, written.HasPlace, written.Left, written.Top, written.Width,
                             written.Height));
    }
    EXPECT_EQ(ReadBytes(path), "[Preview]\r\nOpen=0\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

// q308.ini's repeat choices: only 1 is on, each kind reads its own key.
TEST(RepeatSettings, OnOnlyForItsOwnKeyAtOne)
{
    const struct {
        std::string Bytes;
        bool Vertical, Horizontal, Aligned;
    } cases[] = {
        {"[Repeat]\r\nVertical=1\r\nHorizontal=0\r\nAligned=1\r\n", true, false, true},
        {"[Preview]\r\nOpen=1\r\n[ repeat ]\nHORIZONTAL = 1 \nvertical=1", true, true, false},
        {"", false, false, false},
        // Damaged values, keys of another section, a broken header: off.
        {"[Repeat]\r\nVertical=yes\r\nHorizontal=2\r\nAligned=1x\r\n", false, false, false},
        {"[Repeat]\r\nVertical=\r\nHorizontal\r\nAligned=\xFF\x01\r\n", false, false, false},
        {"Vertical=1\r\n[Preview]\r\nHorizontal=1\r\n[Repeat\r\nAligned=1\r\n", false, false, false},
        {"[Repeat]\r\nVertical=1\r\nVertical=0\r\n", false, false, false},  // the last one counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Bytes);
        EXPECT_EQ(std::tuple(ParseRepeatChoice(c.Bytes, DimensionKind::Vertical),
                             ParseRepeatChoice(c.Bytes, DimensionKind::Horizontal),
                             ParseRepeatChoice(c.Bytes, DimensionKind::Aligned)),
                  std::tuple(c.Vertical, c.Horizontal, c.Aligned));
    }
}

// Setting one kind's key changes that line only: whatever else the file
// holds (the preview's section, a user's note, another kind's damaged value)
// stays as it was.
TEST(RepeatSettings, SettingAKeyKeepsEveryOtherLine)
{
    const struct {
        std::string Before;
        DimensionKind Kind;
        bool On;
        std::string After;
    } cases[] = {
        {"", DimensionKind::Vertical, true, "[Repeat]\r\nVertical=1\r\n"},
        {"[Preview]\r\nOpen=1\r\n", DimensionKind::Aligned, true, "[Preview]\r\nOpen=1\r\n[Repeat]\r\nAligned=1\r\n"},
        {"[Preview]\nOpen=1", DimensionKind::Horizontal, false, "[Preview]\nOpen=1\r\n[Repeat]\r\nHorizontal=0\r\n"},
        {"; note\r\n[Repeat]\r\nAligned=yes\r\n\r\n[Preview]\r\nOpen=0\r\n", DimensionKind::Vertical, true,
         "; note\r\n[Repeat]\r\nAligned=yes\r\n\r\nVertical=1\r\n[Preview]\r\nOpen=0\r\n"},
        {"[REPEAT]\nvertical = 0\nAligned=1\nVERTICAL=1", DimensionKind::Vertical, true,
         "[REPEAT]\nVertical=1\r\nAligned=1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Before);
        EXPECT_EQ(WithRepeatChoice(c.Before, c.Kind, c.On), c.After);
    }
}

// Each kind's choice through the file, beside the preview's place, whichever
// of the two is saved last.
TEST(RepeatSettings, RoundTripPerKindBesideThePreview)
{
    const ScratchFolder folder;
    const std::string path = folder.File("q308.ini");
    for (const DimensionKind kind : AllKinds)
        EXPECT_FALSE(LoadRepeatChoice(path, kind)) << "no file: off";
    const PreviewPlacement place{true, true, 10, 20, 300, 400};
    ASSERT_TRUE(SavePreviewSettings(path, place));
    bool expected[] = {false, false, false};
    for (const bool on : {true, false}) {
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(std::string(RepeatKey(AllKinds[k])) + (on ? " on" : " off"));
            ASSERT_TRUE(SaveRepeatChoice(path, AllKinds[k], on));
            expected[k] = on;
            if (k == 1) {  // the preview saving its place in between
                ASSERT_TRUE(SavePreviewSettings(path, place));
            }
            for (int other = 0; other < 3; ++other)
                EXPECT_EQ(LoadRepeatChoice(path, AllKinds[other]), expected[other]) << RepeatKey(AllKinds[other]);
            PreviewPlacement read;
            ASSERT_TRUE(LoadPreviewSettings(path, read));
            EXPECT_EQ(std::tuple(read.Open, read.HasPlace, read.Left, read.Top, read.Width, read.Height),
                      std::tuple(true, true, 10, 20, 300, 400));
        }
    }
    EXPECT_EQ(ReadBytes(path), "[Preview]\r\nOpen=1\r\nLeft=10\r\nTop=20\r\nWidth=300\r\nHeight=400\r\n"
                               "[Repeat]\r\nVertical=0\r\nHorizontal=0\r\nAligned=0\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}
