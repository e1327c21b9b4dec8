// The real program, copied into a scratch folder as a user would place it,
// driven through its scripted input.
#include <sys/wait.h>

#include <filesystem>

#include "support/DialogHarness.h"

using namespace harness;

namespace {

// Screen text is UTF-8, unlike the program's own literals.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct ProgramRun {
    int Status = -1;
    std::string Out, Err;
};

class Program {
public:
    explicit Program(const std::string& exchange)
    {
        std::filesystem::copy_file(Q308_BINARY_DIR "/dialog/q308", Scratch.File("q308"));
        WriteBytes(Scratch.File("JWC_TEMP.TXT"), exchange);
    }

    ProgramRun Run(const std::string& commands)
    {
        WriteBytes(Scratch.File("commands"), commands);
        const std::string folder = Scratch.Folder();
        const std::string shell = "cd '" + folder + "' && ./q308 < commands > stdout 2> stderr";
        ProgramRun run;
        const int status = std::system(shell.c_str());
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = ReadBytes(Scratch.File("stdout")).value_or("");
        run.Err = ReadBytes(Scratch.File("stderr")).value_or("");
        return run;
    }

    std::string Exchange() const { return ReadBytes(Scratch.File("JWC_TEMP.TXT")).value_or("<missing>"); }
    std::optional<std::string> Settings() const { return ReadBytes(Scratch.File("q304.dat")); }

    ScratchFolder Scratch;
};

const std::string Sample = ReadBytes(Q308_SOURCE_DIR "/../shared/samples/host-four-points.txt").value_or("");

}  // namespace

TEST(Program, OkDrawsTheDimensionInItsOwnFolder)
{
    ASSERT_FALSE(Sample.empty());
    Program program(Sample);
    const ProgramRun run = program.Run("ComboBox3=0\nLeft=300\nTop=200\nOK\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "closed\n");
    EXPECT_EQ(run.Err, "");
    const std::vector<std::string> records = CrLfLines(program.Exchange());
    ASSERT_GT(records.size(), 20u);
    EXPECT_EQ(std::vector<std::string>(records.begin(), records.begin() + 5),
              (std::vector<std::string>{"lg2", "ly6", "lc2", "pn2", "lt1"}));
    EXPECT_EQ(records[5], "cn\"$<ＭＳ ゴシック>");
    EXPECT_NE(std::find(records.begin(), records.end(), "cn3"), records.end());
    const std::vector<std::string> settings = CrLfLines(program.Settings().value_or(""));
    ASSERT_EQ(settings.size(), 31u);
    EXPECT_EQ(settings[0], "300");
    EXPECT_EQ(settings[1], "200");
    EXPECT_EQ(settings[23], "250");
}

TEST(Program, CancelAndEndOfInputLeaveOnlyTheEmptyOutput)
{
    for (const std::string commands : {"Cancel\n", "", "Edit7=5\n"}) {
        Program program(Sample);
        const ProgramRun run = program.Run(commands);
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Out, "closed\n");
        EXPECT_EQ(program.Exchange(), "hq\r\n");
        EXPECT_FALSE(program.Settings().has_value());
    }
}

TEST(Program, FailedCheckReportsTheFocusAndStaysOpen)
{
    Program program(Sample);
    const ProgramRun run = program.Run("Edit7=0\r\nOK\r\nEdit7=3\r\nOK\r\nOK\r\n");
    // No text type saved yet: once Edit7 is fixed, the list is the next bad value.
    EXPECT_EQ(run.Out, "focus: Edit7\nfocus: ComboBox3\nfocus: ComboBox3\nclosed\n");
    EXPECT_EQ(program.Exchange(), "hq\r\n");
}

TEST(Program, ZeroLengthShowsTheMessage)
{
    Program program(ExchangeText({"hq", "hp1-  0 0", "hp2   50 0", "hp3-  10 10", "hp4   0 0"}));
    const ProgramRun run = program.Run("ComboBox3=1\nOK\nCancel\n");
    EXPECT_EQ(run.Out, "message: " + Utf8(u8"寸法が「0」になりますので作図出来ません") + "\nclosed\n");
    EXPECT_EQ(program.Exchange(), "hq\r\n");
    EXPECT_EQ(CrLfLines(program.Settings().value_or("")).size(), 31u);
}

TEST(Program, BadCommandsAreReportedAndSkipped)
{
    Program program(Sample);
    const std::string prefix = Utf8(u8"高さ");
    std::string tooLong;
    for (int i = 0; i < 17; ++i)
        tooLong += Utf8(u8"あい");  // 34 characters in an edit box of 32
    const ProgramRun run = program.Run("Frobnicate\nEdit2=" + prefix + "\nEdit3=" + tooLong +
                                       "\nCheckBox1=2\nComboBox9=1\nRadioGroup1=x\nComboBox3=1\n5=-1\nEdit7=1234567890\nOK\n"
                                       "Edit7=3\nOK\n");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "focus: Edit7\nclosed\n");
    // A script names controls; tab numbers are for the terminal only.
    for (const char* complaint : {"Frobnicate", "CheckBox1", "ComboBox9", "RadioGroup1", "named 5", "Edit3", "Edit7"})
        EXPECT_NE(run.Err.find(complaint), std::string::npos) << complaint;
    const std::vector<std::string> settings = CrLfLines(program.Settings().value_or(""));
    ASSERT_EQ(settings.size(), 31u);
    EXPECT_EQ(settings[8], "高さ");  // Shift-JIS in the file
    std::string cut;
    for (int i = 0; i < 16; ++i)
        cut += "あい";
    EXPECT_EQ(settings[9], cut);
    EXPECT_EQ(settings[18], "0") << "CheckBox1=2 was refused";
    // The prefix reaches the value text.
    EXPECT_NE(program.Exchange().find("\"高さ"), std::string::npos);
}
