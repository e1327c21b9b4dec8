// The real program, copied into a scratch folder as a user would place it,
// driven through its scripted input.
#include "support/HostFiles.h"
#include "support/ProgramRun.h"

using namespace harness;

namespace {

// Screen text is UTF-8, unlike the program's own literals.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

const std::string Sample = ReadBytes(hostfiles::Fixture("host-four-points.txt")).value_or("");

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

namespace {

// The exchange text with picked point n's record replaced by one at "x y".
std::string WithPick(const std::string& exchange, int n, const std::string& xy)
{
    const std::string key = "\r\nhp" + std::to_string(n);
    const std::size_t at = exchange.find(key);
    if (at == std::string::npos)
        return exchange + "hp" + std::to_string(n) + " " + xy + "\r\n";
    const std::size_t end = exchange.find("\r\n", at + 2);
    return exchange.substr(0, at) + key + " " + xy + exchange.substr(end);
}

}  // namespace

// Moving point 3 or 4 (a drag in the preview, Point3=/Point4= here) draws
// exactly what the host would have had drawn with the point picked there,
// for every kind, while the settings file keeps describing the host's picks.
TEST(Program, MovedPointsDrawAsIfPickedThere)
{
    const struct {
        const char* Point3;
        const char* Point4;
    } moves[] = {
        {nullptr, "-40000 -30000"},                   // the value beyond the start
        {nullptr, "-5000.25 40000"},                  // beyond the end
        {"-2000 -9000", nullptr},                     // the line further out
        {"-20000.5 -12000", "-19000 -14000"},         // between the points, both moved
        {"-28417.3362508124 -15530.9281744203", "-9936.71940358122 -13278.0465216877"},  // onto points 1 and 2
        {"1e300 -1e300", "4.9e-324 -0"},
        {nullptr, "1e12 1e12"},
    };
    const std::string script = "ComboBox3=1\nComboBox1=6\n";
    const std::vector<std::string> hostSettings = ProgramRun(Sample, script + "OK\n").Settings;
    ASSERT_EQ(hostSettings.size(), 31u);
    for (const char* kind : {"", "/h", "/a"}) {
        for (const auto& move : moves) {
            SCOPED_TRACE(std::string(kind) + " " + (move.Point3 ? move.Point3 : "-") + " / " + (move.Point4 ? move.Point4 : "-"));
            std::string commands = script, picked = Sample;
            if (move.Point3) {
                commands += "Point3=" + std::string(move.Point3) + "\n";
                picked = WithPick(picked, 3, move.Point3);
            }
            if (move.Point4) {
                commands += "Point4=" + std::string(move.Point4) + "\n";
                picked = WithPick(picked, 4, move.Point4);
            }
            const ProgramRun moved(Sample, commands + "OK\n", kind);
            const ProgramRun asPicked(picked, script + "OK\n", kind);
            EXPECT_EQ(moved.Err, "");
            EXPECT_EQ(moved.Exchange, asPicked.Exchange);
            if (std::string(kind).empty()) {
                EXPECT_EQ(moved.Settings, hostSettings) << "the settings describe the host's picks";
            }
        }
    }
}

TEST(Program, PointCommandsTakeTwoFiniteNumbersOnly)
{
    const std::string plain = ProgramRun(Sample, "ComboBox3=1\nOK\n").Exchange;
    for (const char* value : {"", "1", "a b", "1 2 3", "1e999 0", "0 -1e999", "nan 1", "inf 0", "1,5 2", "0x10 1",
                              "1 2x", "１ ２"}) {
        SCOPED_TRACE(value);
        const ProgramRun run(Sample, "ComboBox3=1\nPoint4=" + std::string(value) + "\nPoint3=" + value + "\nOK\n");
        EXPECT_EQ(run.Out, "closed\n");
        EXPECT_NE(run.Err.find("Point4 takes two numbers"), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("Point3 takes two numbers"), std::string::npos) << run.Err;
        EXPECT_EQ(run.Exchange, plain) << "a refused point changes nothing";
    }
    // Blanks and tabs around and between the numbers are only separators.
    EXPECT_EQ(ProgramRun(Sample, "ComboBox3=1\nPoint4= \t-12488.0173392285  24917.3306114752\t\nOK\n").Exchange, plain);
}

// The exchange file cannot be written: the user is told, on one line, and
// the program ends with a status the host's launcher can see.
TEST(Program, UnwritableExchangeFileIsToldAndEndsNonZero)
{
    for (const char* commands : {"Cancel\n", "ComboBox3=0\nOK\n"}) {
        const ProgramRun run(Sample, commands, "", {}, {"JWC_TEMP.TXT.tmp"});
        EXPECT_EQ(run.Status, 1) << commands;
        const std::string told = "message: " + Utf8(u8"寸法を Jw_cad に渡せませんでした。") + " " +
                                 run.Scratch.File("JWC_TEMP.TXT") + " Is a directory ";
        EXPECT_TRUE(run.Out.starts_with(told)) << run.Out;
        EXPECT_TRUE(run.Out.ends_with(Utf8(u8"何も作図されません。") + "\nclosed\n")) << run.Out;
        EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 2) << run.Out;
        EXPECT_EQ(run.Exchange, "<missing>");
    }
}

// Dimension after dimension: OK drawing with the choice on ends the output
// with "hr" on a line of its own, the dimension's records unchanged before
// it; nothing else ever writes it. q308.ini is written only where a run
// changed the choice. And no run, whatever it does, has the host erase
// anything: no "hd".
TEST(Program, RepeatAsksForTheNextDimensionAfterOkOnly)
{
    const std::string zeroLength = ExchangeText({"hq", "hp1-  0 0", "hp2   50 0", "hp3-  10 10", "hp4   0 0"});
    const std::string ok = "ComboBox3=1\nOK\n";
    const std::string plain = ProgramRun(Sample, ok).Exchange, plainH = ProgramRun(Sample, ok, "/h").Exchange,
                      plainA = ProgramRun(Sample, ok, "/a").Exchange;
    // A whole drawing, as the launchers have the host hand it over.
    const std::string drawing = ReadBytes(Q308_SOURCE_DIR "/samples/JWC_TEMP.TXT").value_or("");
    ASSERT_FALSE(drawing.empty());
    const std::string plainDrawing = ProgramRun(drawing, ok).Exchange;
    const std::string on = "[Repeat]\r\nVertical=1\r\n", off = "[Repeat]\r\nVertical=0\r\n";
    const std::optional<std::string> none;
    const struct {
        const char* Name;
        std::string Exchange, Arguments;
        std::optional<std::string> IniBefore;
        std::string Commands, Expected;
        std::optional<std::string> IniAfter;
    } cases[] = {
        {"never touched", Sample, "", none, ok, plain, none},
        {"turned on, OK", Sample, "", none, "Repeat=1\n" + ok, plain + "hr\r\n", on},
        {"turned on, Cancel", Sample, "", none, "Repeat=1\nComboBox3=1\nCancel\n", "hq\r\n", on},
        {"turned on, the close box", Sample, "", none, "Repeat=1\nComboBox3=1\n", "hq\r\n", on},
        {"turned on, zero length refused, Cancel", zeroLength, "", none, "Repeat=1\n" + ok + "Cancel\n", "hq\r\n", on},
        {"turned on and off again", Sample, "", none, "Repeat=1\nRepeat=0\n" + ok, plain, none},
        {"bad values refused", Sample, "", none, "Repeat=2\nRepeat=on\nRepeat=\n" + ok, plain, none},
        {"on from q308.ini", Sample, "", on, ok, plain + "hr\r\n", on},
        {"a whole drawing, on", drawing, "", on, ok, plainDrawing + "hr\r\n", on},
        {"on from q308.ini, Escape", Sample, "", on, "ComboBox3=1\nCancel\n", "hq\r\n", on},
        {"turned off", Sample, "", on, "Repeat=0\n" + ok, plain, off},
        {"damaged value", Sample, "", "[Repeat]\r\nVertical=yes\r\n", ok, plain, "[Repeat]\r\nVertical=yes\r\n"},
        {"on for the other kinds only", Sample, "", "[Repeat]\r\nHorizontal=1\r\nAligned=1\r\n", ok, plain,
         "[Repeat]\r\nHorizontal=1\r\nAligned=1\r\n"},
        {"/h on from q308.ini", Sample, "/h", "[Repeat]\r\nHorizontal=1\r\n", ok, plainH + "hr\r\n",
         "[Repeat]\r\nHorizontal=1\r\n"},
        {"/a turned on", Sample, "/a", on, "Repeat=1\n" + ok, plainA + "hr\r\n", on + "Aligned=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<std::pair<std::string, std::string>> files;
        if (c.IniBefore)
            files.emplace_back("q308.ini", *c.IniBefore);
        const ProgramRun run(c.Exchange, c.Commands, c.Arguments, files);
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Exchange, c.Expected);
        EXPECT_EQ(ReadBytes(run.Scratch.File("q308.ini")), c.IniAfter);
        const bool refused = c.Commands.starts_with("Repeat=2");
        EXPECT_EQ(run.Err, refused ? "Repeat takes 0 or 1\nRepeat takes 0 or 1\nRepeat takes 0 or 1\n" : "");
        for (const std::string& record : CrLfLines(run.Exchange))
            EXPECT_FALSE(record.starts_with("hd")) << record;
    }
}
