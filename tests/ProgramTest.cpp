// The real program, copied into a scratch folder as a user would place it,
// driven through its scripted input.
#include <sys/wait.h>

#include <filesystem>

#include "support/DialogHarness.h"
#include "support/HostFiles.h"

using namespace harness;

namespace {

// Screen text is UTF-8, unlike the program's own literals.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

const std::string Sample = ReadBytes(hostfiles::Fixture("host-four-points.txt")).value_or("");

// One run on an exchange file: what the program printed, and the files it left.
struct ProgramRun {
    // folders: made in the program's folder before it starts.
    ProgramRun(const std::string& exchange, const std::string& commands, const std::vector<std::string>& folders = {})
    {
        std::filesystem::copy_file(Q308_BINARY_DIR "/q308", Scratch.File("q308"));
        for (const std::string& folder : folders)
            std::filesystem::create_directory(Scratch.File(folder));
        WriteBytes(Scratch.File("JWC_TEMP.TXT"), exchange);
        WriteBytes(Scratch.File("commands"), commands);
        const int status =
            std::system(("cd '" + Scratch.Folder() + "' && ./q308 < commands > stdout 2> stderr").c_str());
        Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        Out = ReadBytes(Scratch.File("stdout")).value_or("");
        Err = ReadBytes(Scratch.File("stderr")).value_or("");
        Exchange = ReadBytes(Scratch.File("JWC_TEMP.TXT")).value_or("<missing>");
        Settings = CrLfLines(ReadBytes(Scratch.File("q304.dat")).value_or(""));
    }

    ScratchFolder Scratch;
    int Status = -1;
    std::string Out, Err, Exchange;
    std::vector<std::string> Settings;  // empty: no file
};

}  // namespace

TEST(Program, OkDrawsTheDimensionInItsOwnFolder)
{
    ASSERT_FALSE(Sample.empty());
    const ProgramRun run(Sample, "ComboBox3=0\nLeft=300\nTop=200\nOK\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "closed\n");
    EXPECT_EQ(run.Err, "");
    const std::vector<std::string> records = CrLfLines(run.Exchange);
    ASSERT_GT(records.size(), 20u);
    EXPECT_EQ(std::vector<std::string>(records.begin(), records.begin() + 6),
              (std::vector<std::string>{"lg4", "ly9", "lc3", "pn3", "lt1", "cn\"$<ＭＳ ゴシック>"}));
    EXPECT_NE(std::find(records.begin(), records.end(), "cn4"), records.end());
    ASSERT_EQ(run.Settings.size(), 31u);
    EXPECT_EQ(run.Settings[0] + " " + run.Settings[1] + " " + run.Settings[23], "300 200 200");  // scale of group 4
}

// Every way of leaving without a drawing: the empty output, and settings only
// once the checks have passed.
TEST(Program, RefusedOrCancelledRunsLeaveTheEmptyOutput)
{
    const std::string zeroLength = ExchangeText({"hq", "hp1-  0 0", "hp2   50 0", "hp3-  10 10", "hp4   0 0"});
    const struct {
        std::string Exchange, Commands, Out;
        std::size_t SettingsLines;
    } cases[] = {
        {Sample, "Cancel\n", "closed\n", 0},
        {Sample, "", "closed\n", 0},  // input ends: as the close box
        {Sample, "Edit7=5\n", "closed\n", 0},
        // No text type saved yet: once Edit7 is fixed, the list is the next bad value.
        {Sample, "Edit7=0\r\nOK\r\nEdit7=3\r\nOK\r\nOK\r\n",
         "focus: Edit7\nfocus: ComboBox3\nfocus: ComboBox3\nclosed\n", 0},
        {zeroLength, "ComboBox3=1\nOK\nCancel\n",
         "message: " + Utf8(u8"寸法が「0」になりますので作図出来ません") + "\nclosed\n", 31},
    };
    for (const auto& c : cases) {
        const ProgramRun run(c.Exchange, c.Commands);
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Out, c.Out) << c.Commands;
        EXPECT_EQ(run.Exchange, "hq\r\n");
        EXPECT_EQ(run.Settings.size(), c.SettingsLines);
    }
}

TEST(Program, BadCommandsAreReportedAndSkipped)
{
    // 34 characters in an edit box of 32.
    const std::string tooLong = Utf8(u8"あいあいあいあいあいあいあいあいあいあいあいあいあいあいあいあいあい");
    const ProgramRun run(Sample, "Frobnicate\nEdit2=" + Utf8(u8"高さ") + "\nEdit3=" + tooLong +
                                     "\nCheckBox1=2\nComboBox9=1\nRadioGroup1=x\nComboBox3=1\n5=-1\n"
                                     "Edit7=1234567890\nOK\nEdit7=3\nOK\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "focus: Edit7\nclosed\n");
    // A script names controls; tab numbers are for the terminal only.
    for (const char* complaint : {"Frobnicate", "CheckBox1", "ComboBox9", "RadioGroup1", "named 5", "Edit3", "Edit7"})
        EXPECT_NE(run.Err.find(complaint), std::string::npos) << complaint;
    ASSERT_EQ(run.Settings.size(), 31u);
    EXPECT_EQ(run.Settings[8], "高さ");  // Shift-JIS in the file
    EXPECT_EQ(run.Settings[9], "あいあいあいあいあいあいあいあいあいあいあいあいあいあいあいあい");
    EXPECT_EQ(run.Settings[18], "0") << "CheckBox1=2 was refused";
    // The prefix reaches the value text.
    EXPECT_NE(run.Exchange.find("\"高さ"), std::string::npos);
}

// The exchange file cannot be written: the user is told, on one line, and
// the program ends with a status the host's launcher can see.
TEST(Program, UnwritableExchangeFileIsToldAndEndsNonZero)
{
    for (const char* commands : {"Cancel\n", "ComboBox3=0\nOK\n"}) {
        const ProgramRun run(Sample, commands, {"JWC_TEMP.TXT.tmp"});
        EXPECT_EQ(run.Status, 1) << commands;
        const std::string told = "message: " + Utf8(u8"図面をホストに渡せませんでした。") + " " +
                                 run.Scratch.File("JWC_TEMP.TXT") + " Is a directory ";
        EXPECT_TRUE(run.Out.starts_with(told)) << run.Out;
        EXPECT_TRUE(run.Out.ends_with(Utf8(u8"何も作図されません。") + "\nclosed\n")) << run.Out;
        EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 2) << run.Out;
        EXPECT_EQ(run.Exchange, "<missing>");
    }
}
