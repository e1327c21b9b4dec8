// The horizontal and aligned dimensions, run as the user runs them: the
// real program with "/h" or "/a". Each must write exactly what the vertical
// program writes for the same exchange file with the turned axis in its
// "hk" record, keep its settings in its own file, and leave q304.dat alone.
#include <cstdio>
#include <cstdlib>

#include "dialog/DimensionKind.h"
#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "helpers/MyFunc.h"
#include "support/HostFiles.h"
#include "support/ProgramRun.h"

using namespace harness;

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

const std::string FourPoints = ReadBytes(hostfiles::Fixture("host-four-points.txt")).value_or("");
const std::string SampleDrawing = ReadBytes(Q308_SOURCE_DIR "/samples/JWC_TEMP.TXT").value_or("");

// The exchange text with its "hk" record (or a new one after "hq") holding
// angle, written so that it reads back to the same double.
std::string WithAxisAngle(const std::string& exchange, double angle)
{
    char number[40];
    std::snprintf(number, sizeof number, "%.17g", angle);
    const std::string record = "hk " + std::string(number) + "\r\n";
    const std::size_t at = exchange.find("hk ");
    if (at != std::string::npos && (at == 0 || exchange[at - 1] == '\n'))
        return exchange.substr(0, at) + record + exchange.substr(exchange.find("\r\n", at) + 2);
    const std::size_t afterFirst = exchange.find("\r\n") + 2;
    return exchange.substr(0, afterFirst) + record + exchange.substr(afterFirst);
}

// The angle the vertical construction runs in for the kind, from the
// exchange file as the program itself reads it.
double TurnedAxis(const std::string& exchange, DimensionKind kind)
{
    const ScratchFolder scratch;
    WriteBytes(scratch.File("in.txt"), exchange);
    InitDrawingState();
    ReadExchangeFile(scratch.File("in.txt"));
    const PickedPoint p1 = DrawingState.PickedPoints[1], p2 = DrawingState.PickedPoints[2];
    return ConstructionAxisAngle(kind, DrawingState.AxisAngle, p1.X, p1.Y, p2.X, p2.Y);
}

struct Drawing {
    const char* Name;
    std::string Exchange;
};

// Drawings for which the kinds put the value centred and beyond either end,
// with the axis straight and turned.
std::vector<Drawing> Drawings()
{
    const std::string small = ExchangeText({"hq", "hk 0", "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "hp1-  0 0",
                                            "hp2   40 10", "hp3-  7 25", "hp4   -5 -5"});
    return {
        {"four points", FourPoints},
        {"four points, axis 30", WithAxisAngle(FourPoints, 30)},
        {"four points, axis -123.5", WithAxisAngle(FourPoints, -123.5)},
        {"sample drawing", SampleDrawing},
        {"small, value beyond the start", small},
        {"small, value centred", WithAxisAngle(ExchangeText({"hq", "hp1 0 0", "hp2 40 10", "hp3 7 25", "hp4 20 -5"}),
                                               0)},
        {"small, value beyond the end, axis 200", WithAxisAngle(small, 200)},
    };
}

const char* const Scripts[] = {
    "ComboBox3=1\nOK\n",
    "ComboBox3=0\nCheckBox4=1\nComboBox1=6\nComboBox2=9\nEdit1=2\nOK\n",
    "ComboBox3=2\nEdit4=-1\nEdit9=0\nRadioGroup1=1\nCheckBox2=1\nComboBox1=3\nOK\n",
};

}  // namespace

TEST(ProgramKinds, DrawTheVerticalConstructionInTheTurnedFrame)
{
    ASSERT_FALSE(FourPoints.empty());
    ASSERT_FALSE(SampleDrawing.empty());
    for (const Drawing& drawing : Drawings()) {
        for (const DimensionKind kind : {DimensionKind::Horizontal, DimensionKind::Aligned}) {
            const std::string argument(DescribeKind(kind).Argument);
            const std::string turned = WithAxisAngle(drawing.Exchange, TurnedAxis(drawing.Exchange, kind));
            for (const char* script : Scripts) {
                SCOPED_TRACE(std::string(drawing.Name) + ", " + argument + ", " + script);
                const ProgramRun run(drawing.Exchange, script, argument);
                const ProgramRun vertical(turned, script);
                EXPECT_EQ(run.Status, 0);
                EXPECT_EQ(run.Out, "closed\n");
                ASSERT_GT(CrLfLines(run.Exchange).size(), 10u) << run.Exchange;
                EXPECT_EQ(run.Exchange, vertical.Exchange);
            }
        }
    }
}

// The records of each kind on the fixture, kept whole: a change in any
// number shows here first. Q308_UPDATE_GOLDEN=1 writes them anew.
TEST(ProgramKinds, MatchTheirGoldenRecords)
{
    for (const char* name : {"horizontal", "aligned", "vertical", "vertical-chain", "horizontal-chain", "aligned-chain"}) {
        SCOPED_TRACE(name);
        const std::string dir = Q308_SOURCE_DIR "/tests/golden/kinds/" + std::string(name) + "/";
        const std::string arguments = ReadBytes(dir + "arguments.txt").value_or("");
        const ProgramRun run(ReadBytes(dir + "input.txt").value_or("<missing input>"),
                             ReadBytes(dir + "script.txt").value_or(""), arguments);
        if (std::getenv("Q308_UPDATE_GOLDEN")) {
            WriteBytes(dir + "output.txt", run.Exchange);
            continue;
        }
        EXPECT_EQ(run.Exchange, ReadBytes(dir + "output.txt").value_or("<missing; run with Q308_UPDATE_GOLDEN=1>"));
    }
}

TEST(ProgramKinds, KeepTheirSettingsApartWithTheHostsValues)
{
    const std::string q304 = "1\r\n2\r\n0\r\n0\r\n3\r\n";  // would select a text type
    const std::string drawing = WithAxisAngle(FourPoints, 30);
    for (const DimensionKind kind : {DimensionKind::Horizontal, DimensionKind::Aligned}) {
        const KindDescription& d = DescribeKind(kind);
        SCOPED_TRACE(std::string(d.Argument));
        const std::string file(d.SettingsFileName);
        // The vertical dimension's file is not read: no text type is chosen yet.
        const ProgramRun refused(drawing, "OK\nCancel\n", std::string(d.Argument), {{"q304.dat", q304}});
        EXPECT_EQ(refused.Out, "focus: ComboBox3\nclosed\n");

        const ProgramRun run(drawing, "ComboBox3=1\nLeft=7\nOK\n", std::string(d.Argument), {{"q304.dat", q304}});
        EXPECT_EQ(ReadBytes(run.Scratch.File("q304.dat")), q304);
        const std::vector<std::string> settings = run.LinesOf(file);
        ASSERT_EQ(settings.size(), 31u);
        EXPECT_EQ(settings[0], "7");
        EXPECT_EQ(settings[4], "1");
        // The lines that describe the exchange file are the host's own.
        EXPECT_EQ(settings[24], "30");
        EXPECT_EQ(settings[25], "-28417.3362508124");
        EXPECT_EQ(settings[28], "-13278.0465216877");

        // The next run of the kind opens with them.
        const ProgramRun again(drawing, "OK\n", std::string(d.Argument), {{file, ReadBytes(run.Scratch.File(file)).value()}});
        EXPECT_EQ(again.Out, "closed\n");
        EXPECT_EQ(again.Exchange, run.Exchange);
        EXPECT_TRUE(again.Settings.empty()) << "q304.dat written by " << d.Argument;
    }
}

TEST(ProgramKinds, AnUnknownArgumentIsNamedAndNothingIsDrawn)
{
    for (const char* arguments : {"/x", "/hh", "h", "-a", "/h /a", "'/\xe3\x81\x82'", "'' extra"}) {
        SCOPED_TRACE(arguments);
        const ProgramRun run(FourPoints, "ComboBox3=1\nOK\n", arguments);
        EXPECT_NE(run.Status, 0);
        EXPECT_EQ(run.Out, "") << "the dialog must not be shown";
        EXPECT_EQ(run.Exchange, "hq\r\n");
        EXPECT_NE(run.Err.find(Utf8(u8"は使用できません")), std::string::npos) << run.Err;
        EXPECT_TRUE(run.Settings.empty());
    }
    const ProgramRun named(FourPoints, "", "/h /zz");
    EXPECT_NE(named.Err.find(Utf8(u8"引数「/zz」")), std::string::npos) << named.Err;
    // Case and an empty argument do not matter.
    for (const char* arguments : {"/H", "''", "/A", "/a ''"}) {
        SCOPED_TRACE(arguments);
        const ProgramRun run(FourPoints, "ComboBox3=1\nOK\n", arguments);
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Out, "closed\n");
    }
}

// The console's picture of what OK would draw, for each kind, with a
// point moved as a drag in the preview moves it.
TEST(ProgramKinds, PreviewEachKindWithMovedPoints)
{
    for (const char* kind : {"", "/h", "/a"}) {
        SCOPED_TRACE(kind);
        const ProgramRun run(FourPoints, "ComboBox3=1\nPreview=before.svg\nPoint4=-40000 -30000\nPreview=after.svg\nOK\n",
                             kind);
        EXPECT_EQ(run.Out, "preview: before.svg\npreview: after.svg\nclosed\n");
        const std::string before = ReadBytes(run.Scratch.File("before.svg")).value_or("");
        const std::string after = ReadBytes(run.Scratch.File("after.svg")).value_or("");
        EXPECT_NE(before.find(Utf8(u8"寸法値 ")), std::string::npos);
        EXPECT_NE(after.find(Utf8(u8"（逆矢印）")), std::string::npos) << "the value moved beyond an end";
        EXPECT_NE(after, before);
    }
}
