// The settings file: what each line does to the dialog when read, what a
// save writes, and that a failed save leaves no partial file.
#include <filesystem>

#include "support/DialogHarness.h"

using namespace harness;

namespace {

const std::string Exchange = ExchangeText({"hq", "hk 30", "hs 1 1 50 1 1 1 1 1 1 1 1 1 1 1 1 1",
                                           "hp1-  1.5 -2", "hp2   10 40", "hp3-  25 7", "hp4   -5 20", "lg2",
                                           "ly6", "cn3"});

// A settings file whose first 22 lines are given, the rest left out.
std::string Lines(std::initializer_list<std::string> lines) { return ExchangeText(lines); }

}  // namespace

TEST(Settings, NoFileKeepsDefaultsAndPlacesTheDialogAt100)
{
    DialogRun run(Exchange);
    EXPECT_EQ(run.Form.SavedLeft, 100);
    EXPECT_EQ(run.Form.SavedTop, 100);
    EXPECT_EQ(run.Form.Left, 100);
    EXPECT_EQ(run.Form.Top, 100);
    EXPECT_EQ(run.Form.ComboBox3.ItemIndex, -1);
    EXPECT_EQ(run.Form.ComboBox4.ItemIndex, 3);
    EXPECT_EQ(run.Form.Edit7.Text, "3");
    EXPECT_EQ(run.Form.Edit9.Text, "2");
}

TEST(Settings, EmptyOrShortFileReadsMissingLinesAsEmpty)
{
    const struct {
        std::string File;
        int Left, Top;
    } cases[] = {{"", 0, 0}, {"30\r\n-40\r\n", 30, -40}, {"30\n-40", 30, -40}};
    for (const auto& c : cases) {
        DialogRun run(Exchange, c.File);
        EXPECT_EQ(run.Form.SavedLeft, c.Left);
        EXPECT_EQ(run.Form.Top, c.Top);
        for (const TComboBox* box : {&run.Form.ComboBox1, &run.Form.ComboBox2, &run.Form.ComboBox3,
                                     &run.Form.ComboBox4, &run.Form.ComboBox5})
            EXPECT_EQ(box->ItemIndex, 0);
        EXPECT_EQ(run.Form.RadioGroup1.ItemIndex, 0);
        EXPECT_EQ(run.Form.RadioGroup2.ItemIndex, 0);
        for (const TEdit* edit : {&run.Form.Edit1, &run.Form.Edit4, &run.Form.Edit7, &run.Form.Edit9})
            EXPECT_EQ(edit->Text, "");
        EXPECT_FALSE(run.Form.CheckBox1.Checked || run.Form.CheckBox4.Checked);
    }
}

TEST(Settings, IndexesAreClampedAsTheControlsDo)
{
    const struct {
        std::string Line3, Line5, Line17;
        int ComboBox1, ComboBox3, RadioGroup1;
    } cases[] = {
        {"11", "10", "1", 11, 10, 1},
        {"12", "11", "7", -1, -1, 1},
        {"-1", "-5", "-3", 0, 0, 0},
        {"x", "$A", "0x1", 0, 10, 1},
        {" 3", "3 ", "", 3, 0, 0},
    };
    for (const auto& c : cases) {
        DialogRun run(Exchange, Lines({"1", "2", c.Line3, "0", c.Line5, "0", "0", "1", "", "", "0.5", "2", "2", "3",
                                       "15", "2", c.Line17, "0", "0", "0", "0", "0"}));
        EXPECT_EQ(run.Form.ComboBox1.ItemIndex, c.ComboBox1) << c.Line3;
        EXPECT_EQ(run.Form.ComboBox3.ItemIndex, c.ComboBox3) << c.Line5;
        EXPECT_EQ(run.Form.RadioGroup1.ItemIndex, c.RadioGroup1) << c.Line17;
    }
}

TEST(Settings, CheckBoxIsCheckedByAnyNonZeroInteger)
{
    const struct {
        std::string Line;
        bool Checked;
    } cases[] = {{"1", true}, {"2", true}, {"-1", true}, {" 1", true}, {"", false},
                 {"0", false}, {"a", false}, {"1.0", false}, {"1 ", false}};
    for (const auto& c : cases) {
        DialogRun run(Exchange, Lines({"1", "2", "0", "0", "0", "0", "0", "1", "", "", "0.5", "2", "2", "3", "15",
                                       "2", "0", "0", "0", "0", "0", c.Line, "1", "1"}));
        EXPECT_EQ(run.Form.CheckBox4.Checked, c.Checked) << "\"" << c.Line << "\"";
        EXPECT_FALSE(run.Form.CheckBox3.Checked);
    }
}

TEST(Settings, LinesAfterThe22ndAreNeverRead)
{
    std::string file = Lines({"7", "8", "1", "2", "3", "4", "1", "e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8",
                              "e9", "1", "1", "1", "0", "1", "0"});
    file += "99\r\n99\r\nnot read\r\n";
    DialogRun run(Exchange, file);
    EXPECT_EQ(run.Form.SavedLeft, 7);
    EXPECT_EQ(run.Form.Edit1.Text, "e1");
    EXPECT_EQ(run.Form.Edit9.Text, "e9");
    EXPECT_EQ(run.Form.ComboBox5.ItemIndex, 1);
    EXPECT_TRUE(run.Form.CheckBox3.Checked);
    EXPECT_FALSE(run.Form.CheckBox4.Checked);
}

// Every value the settings file carries, in one comparable list.
std::vector<std::string> Snapshot(TForm1& f)
{
    std::vector<std::string> values = {std::to_string(f.SavedLeft), std::to_string(f.SavedTop)};
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"})
        values.push_back(std::to_string(f.ComboBoxNamed(name)->ItemIndex));
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"})
        values.push_back(f.EditNamed(name)->Text);
    values.push_back(std::to_string(f.RadioGroup1.ItemIndex) + std::to_string(f.RadioGroup2.ItemIndex));
    for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"})
        values.push_back(f.CheckBoxNamed(name)->Checked ? "x" : "-");
    return values;
}

TEST(Settings, SavedFileRestoresEveryControl)
{
    DialogRun run(Exchange);
    TForm1& f = run.Form;
    f.SavedLeft = -12;
    f.SavedTop = 3456;
    const int indexes[] = {11, 7, 4, 8, 0};
    for (int i = 0; i < 5; ++i)
        f.ComboBoxNamed("ComboBox" + std::to_string(i + 1))->ItemIndex = indexes[i];
    const char* texts[] = {"1.5", "高さ＝", "　（参考）", "-3", "0", "abc", "1000", "179.9", ""};
    for (int i = 0; i < 9; ++i)
        f.EditNamed("Edit" + std::to_string(i + 1))->Text = texts[i];
    f.RadioGroup1.ItemIndex = 1;
    f.RadioGroup2.ItemIndex = 1;
    f.CheckBox2.Checked = true;
    f.CheckBox4.Checked = true;
    const std::string path = run.Scratch.File("q304.dat");
    f.SaveSettings(path);

    TForm1 back;
    back.ComboBox3.Items = f.ComboBox3.Items;
    back.LoadSettings(path);
    EXPECT_EQ(Snapshot(back), Snapshot(f));
}

TEST(Settings, SuccessfulOkWrites31LinesDescribingTheRun)
{
    DialogRun run(Exchange);
    run.PickTextType(2);
    run.Form.Left = 210;
    run.Form.Top = 95;
    run.Form.Edit2.Text = "Ｈ＝";
    run.Form.CheckBox1.Checked = true;
    run.Form.Button1Click();
    ASSERT_TRUE(run.Closed());
    bool crlf = false;
    const std::vector<std::string> lines = CrLfLines(run.SettingsBytes().value_or(""), &crlf);
    EXPECT_TRUE(crlf);
    const std::vector<std::string> expected = {
        "210", "95", "0", "0", "2", "3", "2", "1", "Ｈ＝", "", "0.5", "2", "2", "3", "15", "2", "0", "0",
        "1", "0", "0", "0", "2", "50", "30", "1.5", "-2", "10", "40", "25", "7"};
    EXPECT_EQ(lines, expected);
}

TEST(Settings, FailedSaveLeavesNoPartialFile)
{
    ScratchFolder scratch;
    TForm1 form;
    // The target is a folder: the file cannot replace it.
    const std::string blocked = scratch.File("q304.dat");
    std::filesystem::create_directory(blocked);
    form.SaveSettings(blocked);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    // The folder does not exist.
    form.SaveSettings(scratch.File("missing/q304.dat"));
    EXPECT_FALSE(std::filesystem::exists(scratch.File("missing")));
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Folder())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u) << "no temporary or partial file is left beside it";
}

TEST(Settings, LineBreakInsideAnEditTextCannotShiftTheLines)
{
    ScratchFolder scratch;
    TForm1 form;
    form.Edit2.Text = "ab\r\ncd";
    form.Edit3.Text = "x\ny";
    form.CheckBox4.Checked = true;
    form.SaveSettings(scratch.File("q304.dat"));
    TForm1 back;
    back.LoadSettings(scratch.File("q304.dat"));
    EXPECT_EQ(back.Edit2.Text, "ab");
    EXPECT_EQ(back.Edit3.Text, "x");
    EXPECT_EQ(back.Edit4.Text, "0.5");
    EXPECT_TRUE(back.CheckBox4.Checked);
    EXPECT_EQ(CrLfLines(ReadBytes(scratch.File("q304.dat")).value_or("")).size(), 31u);
}
