// The dialog: its description, the defaults it gives the form, start-up
// with the text-type list, and every way of closing it.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "dialog/ControlRules.h"
#include "dialog/FormLayout.h"
#include "exchange/DrawingState.h"
#include "platform/Files.h"
#include "support/DialogHarness.h"

using namespace harness;

TEST(Dialog, FormGetsTheDescribedControls)
{
    std::string tabOrder;
    for (const layout::ControlDescription& d : layout::Controls())
        if (d.TabOrder >= 0)
            tabOrder += std::string(d.Name) + " ";
    EXPECT_EQ(tabOrder, "ComboBox1 ComboBox2 Edit7 Edit8 Edit1 ComboBox3 Edit2 Edit3 ComboBox4 ComboBox5 RadioGroup1 "
                        "RadioGroup2 CheckBox1 CheckBox2 CheckBox3 CheckBox4 Edit4 Edit5 Edit6 Edit9 Button1 Button2 ");
    for (const layout::LabelDescription& label : layout::Labels())
        EXPECT_NE(layout::FindControl(label.ControlName), nullptr) << label.ControlName;

    // The edits' lengths, "*" where the input method stays on; the defaults
    // themselves are what a start without a settings file shows.
    TForm1 form;
    std::string edits;
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"})
        edits += std::to_string(form.EditNamed(name)->MaxLength) + (form.EditNamed(name)->ImeOff ? " " : "* ");
    EXPECT_EQ(edits, "16 32* 32* 16 16 16 8 8 16 ");
    ASSERT_EQ(form.ComboBox1.Items.size(), 12u);
    EXPECT_EQ(form.ComboBox1.Items[11], form.ComboBox1.Items[1]);
    EXPECT_EQ(form.ComboBox2.Items, form.ComboBox1.Items);
    EXPECT_EQ(form.ComboBox4.Items[form.ComboBox4.ItemIndex], "0.001");
    EXPECT_EQ(form.ComboBox5.Items[form.ComboBox5.ItemIndex], "四捨五入");
    EXPECT_EQ(form.RadioGroup2.Items, (std::vector<std::string>{"mm", "ｍ"}));
    EXPECT_EQ(form.Memo1.Lines.size(), 31u);
}

TEST(Dialog, TextTypeListNamesTheHostsTypes)
{
    const struct {
        std::optional<std::string> Exchange;  // none: the host left no file
        std::string First, Second;
    } cases[] = {
        {ExchangeText({"hq", "cn0 2 2 0 1"}), "現在の文字種(Free)", "No1: W3 H3 D0"},
        {ExchangeText({"hq", "cn7"}), "現在の文字種(No7)", "No1: W3 H3 D0"},
        {ExchangeText({"hq", "hcw 2.5 3 3 3 3 3 3 3 3 3", "hch 2.5 3 3 3 3 3 3 3 3 3", "hcd 0.5 0 0 0 0 0 0 0 0 0"}),
         "現在の文字種(No1)", "No1: W2.5 H2.5 D0.5"},
        {ExchangeText({"hq", "hcw 0.00001 4 4 4 4 4 4 4 4 4", "hch 1E20 4 4 4 4 4 4 4 4 4"}), "現在の文字種(No1)",
         "No1: W1E-5 H1E20 D0"},
        {std::nullopt, "現在の文字種(No1)", "No1: W3 H3 D0"},
    };
    for (const auto& c : cases) {
        DialogRun run(c.Exchange);
        const std::vector<std::string>& items = run.Form.ComboBox3.Items;
        ASSERT_EQ(items.size(), 11u);
        EXPECT_EQ(items[0], c.First);
        EXPECT_EQ(items[1], c.Second);
        EXPECT_EQ(items[10].substr(0, 5), "No10:");
        run.Cancel();
        EXPECT_EQ(run.ExchangeBytes(), "hq\r\n");
    }
}

TEST(Dialog, SecondCloseKeepsTheFirstOutput)
{
    DialogRun run(ExchangeText({"hq", "hp1 0 0", "hp2 0 10", "hp3 5 0", "hp4 -1 5"}));
    run.PickTextType();
    run.Form.Button1Click();
    ASSERT_TRUE(run.Closed());
    const std::string written = run.ExchangeBytes();
    EXPECT_NE(written, "hq\r\n");
    run.Form.FormClose();
    EXPECT_EQ(run.ExchangeBytes(), written);
}

TEST(Dialog, ProgramFolderDefaultsToTheExecutablesFolder)
{
    TForm1 form;
    form.FormShow();
    ASSERT_FALSE(form.ProgramFolder.empty());
    EXPECT_EQ(form.ProgramFolder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(form.ProgramFolder + "DialogTest"));
    FreeDrawingState();
}

// The records reach the host or the user gives up: each failed write is
// told once, Retry writes again, and giving up leaves nothing the host
// could take for this run's output.
TEST(Dialog, FailedHandBackAsksTheUserUntilWrittenOrCancelled)
{
    const struct {
        const char* Name;
        std::vector<bool> Answers;
        std::size_t FreedAfter;  // the question after which the file can be written; 0: never
        std::size_t Questions;
        bool Written;
    } cases[] = {
        {"cancel", {}, 0, 1, false},
        {"retry once the cause is gone", {true}, 1, 1, true},
        {"retry twice before it is gone", {true, true}, 2, 2, true},
        {"retry while it lasts, then cancel", {true, true, false}, 0, 3, false},
    };
    for (const auto& c : cases) {
        DialogRun run(ExchangeText({"hq", "hp1 0 0", "hp2 0 10", "hp3 5 0", "hp4 -1 5"}));
        // A folder where the temporary file must go: no write can succeed.
        const std::string blocker = run.Scratch.File("JWC_TEMP.TXT.tmp");
        ASSERT_TRUE(std::filesystem::create_directory(blocker));
        run.Toolkit.RetryAnswers = c.Answers;
        run.Toolkit.OnQuestion = [&] {
            if (run.Toolkit.Questions.size() == c.FreedAfter)
                std::filesystem::remove(blocker);
        };
        run.Cancel();
        EXPECT_EQ(run.Toolkit.Questions.size(), c.Questions) << c.Name;
        EXPECT_EQ(run.Form.ExchangeFileWritten, c.Written) << c.Name;
        EXPECT_EQ(run.ExchangeBytes(), c.Written ? "hq\r\n" : "<missing>") << c.Name;
        EXPECT_TRUE(run.Toolkit.Messages.empty()) << c.Name;
        ASSERT_FALSE(run.Toolkit.Questions.empty());
        // The file and the system's reason, then what the buttons do.
        const std::string& question = run.Toolkit.Questions.front();
        EXPECT_TRUE(question.starts_with("寸法を Jw_cad に渡せませんでした。\n\n" + run.Scratch.File("JWC_TEMP.TXT") +
                                         "\n" + std::strerror(EISDIR) + "\n\n"))
            << question;
        EXPECT_TRUE(question.ends_with("［キャンセル］をクリックすると、何も作図されません。")) << question;
    }
}

// The advice fits the reason, and no line is long enough for a message box
// to break it again (inside a word, as it does at 144 DPI).
TEST(Dialog, HandBackQuestionAdvisesWhatHelps)
{
    const struct {
        platform::FileError Error;
        const char* Advice;
    } cases[] = {
        {{32, true, false}, "このファイルを開いているプログラム"},
        {{112, false, true}, "ディスクの空き領域を増やしてから"},
        {{5, false, false}, "このフォルダーに書き込めることを確かめてから"},
    };
    for (const auto& c : cases) {
        const std::string text = HandBackFailure("C:\\jww\\JWC_TEMP.TXT", c.Error);
        EXPECT_NE(text.find(c.Advice), std::string::npos) << text;
        EXPECT_EQ(text.find("ディスクの空き") != std::string::npos, c.Error.Full) << text;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            EXPECT_LE(line.size(), 52u) << "a line a box would break: " << line;
    }
}

// Why OK did nothing is said in the dialog's own band, in the words of the
// preview's strip, and the focus goes to the control as before.
TEST(Dialog, RefusedOkSaysWhyInTheStatusBand)
{
    const struct {
        const char* Control;
        const char* Text;  // nullptr: a list left without a choice
        const char* Band;
    } cases[] = {
        {"ComboBox3", nullptr, "「寸法値の文字種」の値は受け付けられません（項目を選択）"},
        {"Edit7", "0", "「長さ」の値は受け付けられません（0 < 値 ≦ 1000）"},
        {"Edit7", "５", "「長さ」は半角の数字で入力してください（0 < 値 ≦ 1000）"},
        {"Edit8", "180", "「角度」の値は受け付けられません（0 < 値 < 180）"},
    };
    for (const auto& c : cases) {
        DialogRun run(ExchangeText({"hp1 0 0", "hp2 0 10", "hp3 5 5", "hp4 5 5"}));
        run.PickTextType();
        if (c.Text == nullptr)
            run.Form.ComboBox3.SetItemIndex(-1);
        else
            run.Form.EditNamed(c.Control)->Text = c.Text;
        run.Form.Button1Click();
        EXPECT_EQ(run.Form.LabelA1.Caption, c.Band) << c.Control;
        EXPECT_EQ(run.Toolkit.Focused, std::vector<std::string>{c.Control});
        EXPECT_FALSE(run.Closed());
    }
    // Started without the host's file: said at once, before any OK.
    DialogRun alone(std::nullopt);
    EXPECT_NE(alone.Form.LabelA1.Caption.find("Jw_cad の外部変形から q308.bat で起動してください"), std::string::npos);
}

// Nobody to ask (a form without a front end): the run gives up at once.
TEST(Dialog, FailedHandBackWithoutAToolkitGivesUp)
{
    ScratchFolder scratch;
    ASSERT_TRUE(std::filesystem::create_directory(scratch.File("JWC_TEMP.TXT.tmp")));
    TForm1 form;
    form.ProgramFolder = scratch.Folder();
    form.FormShow();
    form.FormClose();
    EXPECT_FALSE(form.ExchangeFileWritten);
}

// A run killed while it wrote leaves its temporary files; the next start
// removes them, and nothing else.
TEST(Dialog, StartRemovesTheTemporariesOfAnEndedRun)
{
    ScratchFolder scratch;
    for (const char* name : {"JWC_TEMP.TXT.tmp", "q304.dat.tmp", "q308.ini.tmp", "other.tmp", "q304.dat"})
        WriteBytes(scratch.File(name), "x");
    TForm1 form;
    form.ProgramFolder = scratch.Folder();
    form.FormShow();
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Folder()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"other.tmp", "q304.dat"}));
    form.FormClose();
    EXPECT_TRUE(form.ExchangeFileWritten);
}
