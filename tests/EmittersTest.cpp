#include "exchange/Emitters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "exchange/OutputStore.h"

namespace {

using Lines = std::vector<std::string>;

// A fresh run: the model as the host left it, the cache just reset.
void StartRun()
{
    InitDrawingState();
    ResetOutputAttributes();
}

Lines Stored()
{
    Lines lines;
    for (std::size_t i = 0; i < OutputStore.Lines.Count(); ++i)
        lines.push_back(OutputStore.Lines[i]);
    return lines;
}

struct Case {
    const char* name;
    void (*host)();   // sets what the host handed over
    void (*calls)();  // the drawing requests
    Lines expected;
};

void NoHostRecords() {}

void RunCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartRun();
        c.host();
        c.calls();
        EXPECT_EQ(Stored(), c.expected);
    }
}

}  // namespace

TEST(Emitters, LayerRecordsAreChangeDriven)
{
    RunCases({
        {"same layer twice", NoHostRecords, [] { SelectLayer(3); SelectLayer(3); }, {"ly3"}},
        {"reset value still written first", NoHostRecords, [] { SelectLayerGroup(0); SelectLayer(0); }, {"lg0", "ly0"}},
        {"hexadecimal numbers", NoHostRecords, [] { SelectLayerGroup(10); SelectLayer(15); SelectLayer(16); },
         {"lgA", "lyF", "ly10"}},
        {"group change restates the layer", NoHostRecords,
         [] { SelectLayer(3); SelectLayerGroup(10); SelectLayer(3); }, {"ly3", "lgA", "ly3"}},
        {"same group restates nothing", NoHostRecords,
         [] { SelectLayerGroup(2); SelectLayer(1); SelectLayerGroup(2); SelectLayer(1); }, {"lg2", "ly1"}},
        {"reset arms every flag again", NoHostRecords,
         [] { SelectLayer(3); ResetOutputAttributes(); SelectLayer(3); }, {"ly3", "ly3"}},
    });
}

TEST(Emitters, ColorAndLineTypeRecords)
{
    const auto host = [] {
        DrawingState.InitialAttributes.LineColor = 3;
        DrawingState.InitialAttributes.LineType = 2;
    };
    RunCases({
        {"colour written on change only", NoHostRecords,
         [] { SelectLineColor(1, 0); SelectLineColor(1, 0); SelectLineColor(5, 0); }, {"lc1", "lc5"}},
        {"colour through the map", host,
         [] { SelectLineColor(10, 1); SelectLineColor(0, 1); SelectLineColor(9, 1); }, {"lc101", "lc3", "lc9"}},
        {"other mappings pass the colour", host, [] { SelectLineColor(10, 2); SelectLineColor(-4, 0); },
         {"lc10", "lc-4"}},
        {"mapped value compared, not the argument", host, [] { SelectLineColor(0, 1); SelectLineColor(3, 0); },
         {"lc3"}},
        {"line type through the map", host, [] { SelectLineType(19, 1); SelectLineType(0, 1); SelectLineType(10, 1); },
         {"lt31", "lt2", "lt11"}},
        {"point colour", host, [] { SelectPointColor(11, 1); SelectPointColor(102, 0); SelectPointColor(1, 0); },
         {"pn102", "pn1"}},
    });
}

TEST(Emitters, LineWidthOnlyWhenTheHostGaveOne)
{
    const auto width5 = [] {
        DrawingState.LineWidthPresent = true;
        DrawingState.InitialAttributes.LineWidth = 5;
    };
    RunCases({
        {"no lw record: nothing", NoHostRecords,
         [] { SelectLineWidth(0); SelectLineWidth(7); SelectLineWidth(-1); }, {}},
        {"above 30000 becomes 0", width5, [] { SelectLineWidth(40000); }, {"lw0"}},
        {"30000 stays", width5, [] { SelectLineWidth(30000); }, {"lw30000"}},
        {"-1 is the host's width", width5, [] { SelectLineWidth(-1); SelectLineWidth(5); }, {"lw5"}},
        {"other negatives become 0", width5, [] { SelectLineWidth(-2); SelectLineWidth(0); }, {"lw0"}},
        {"host width out of range", [] {
             DrawingState.LineWidthPresent = true;
             DrawingState.InitialAttributes.LineWidth = 30001;
         }, [] { SelectLineWidth(-1); }, {"lw0"}},
    });
}

TEST(Emitters, TextTypeRecords)
{
    const auto hostType3 = [] { DrawingState.InitialAttributes.TextType = 3; };
    const auto hostFreeSize = [] {
        InitialAttributeSet& initial = DrawingState.InitialAttributes;
        initial.TextType = 0;
        initial.FreeWidth = 2.5;
        initial.FreeHeight = 3.5;
        initial.FreeSpacing = 0.25;
        initial.FreeColor = 4;
    };
    RunCases({
        {"free size written once", NoHostRecords,
         [] { SelectTextType(0, 1, 0, 2.5, 2.5, 0.5); SelectTextType(0, 1, 0, 2.5, 2.5, 0.5); },
         {"cn0 2.5 2.5 0.5 1"}},
        {"each free-size value counts", NoHostRecords,
         [] {
             SelectTextType(0, 1, 0, 2.5, 2.5, 0.5);
             SelectTextType(0, 1, 0, 2.5, 2.5, 0.75);
             SelectTextType(0, 1, 0, 2.5, 3, 0.75);
             SelectTextType(0, 1, 0, 4, 3, 0.75);
             SelectTextType(0, 2, 0, 4, 3, 0.75);
         },
         {"cn0 2.5 2.5 0.5 1", "cn0 2.5 2.5 0.75 1", "cn0 2.5 3 0.75 1", "cn0 4 3 0.75 1", "cn0 4 3 0.75 2"}},
        {"reset values still written first", NoHostRecords, [] { SelectTextType(0, 1, 0, 2, 2, 0); },
         {"cn0 2 2 0 1"}},
        {"sized types ignore the other values", NoHostRecords,
         [] { SelectTextType(3, 1, 0, 1, 1, 0); SelectTextType(3, 7, 0, 9, 9, 9); }, {"cn3"}},
        {"back to free size after a sized type", NoHostRecords,
         [] {
             SelectTextType(0, 1, 0, 2.5, 2.5, 0.5);
             SelectTextType(3, 1, 0, 0, 0, 0);
             SelectTextType(0, 1, 0, 2.5, 2.5, 0.5);
         },
         {"cn0 2.5 2.5 0.5 1", "cn3", "cn0 2.5 2.5 0.5 1"}},
        {"free colour through the map", NoHostRecords, [] { SelectTextType(0, 10, 1, 1, 1, 0); },
         {"cn0 1 1 0 101"}},
        {"out of range: the host's type", hostType3,
         [] { SelectTextType(11, 1, 0, 0, 0, 0); SelectTextType(-1, 1, 0, 0, 0, 0); SelectTextType(10, 1, 0, 0, 0, 0); },
         {"cn3", "cn10"}},
        {"out of range: the host's free size", hostFreeSize, [] { SelectTextType(11, 1, 0, 9, 9, 9); },
         {"cn0 2.5 3.5 0.25 4"}},
        {"in range keeps the arguments", hostFreeSize, [] { SelectTextType(0, 1, 0, 9, 9, 9); }, {"cn0 9 9 9 1"}},
    });
}

TEST(Emitters, TextColorAndFontRecords)
{
    const auto hostFont = [] { DrawingState.InitialAttributes.FontName = "<ＭＳ 明朝>"; };
    RunCases({
        {"colour above 8 is 0", NoHostRecords, [] { SelectTextColor(9); }, {"cc0"}},
        {"clamped colour compared", NoHostRecords, [] { SelectTextColor(0); SelectTextColor(9); SelectTextColor(-1); },
         {"cc0"}},
        {"colours 0 to 8", NoHostRecords, [] { SelectTextColor(8); SelectTextColor(1); }, {"cc8", "cc1"}},
        {"<> is the host's font", hostFont, [] { SelectFont("<>"); }, {"cn\"$<ＭＳ 明朝>"}},
        {"empty is the host's font", hostFont, [] { SelectFont("<>"); SelectFont(""); }, {"cn\"$<ＭＳ 明朝>"}},
        {"host gave no font", NoHostRecords, [] { SelectFont("<>"); }, {"cn\"$"}},
        {"reset font still written first", NoHostRecords, [] { SelectFont("<ＭＳ ゴシック>"); },
         {"cn\"$<ＭＳ ゴシック>"}},
        {"font on change only", hostFont,
         [] { SelectFont("<ＭＳ 明朝>"); SelectFont("<>"); SelectFont("<ＭＳ ゴシック>"); },
         {"cn\"$<ＭＳ 明朝>", "cn\"$<ＭＳ ゴシック>"}},
    });
}

TEST(Emitters, HostSampleDrivesTheFallBacks)
{
    StartRun();
    ReadExchangeFile(Q308_SOURCE_DIR "/../shared/samples/host-four-points.txt");
    ResetOutputAttributes();
    SelectFont("");
    SelectTextType(11, 1, 0, 0, 0, 0);
    SelectLineColor(0, 1);
    SelectLineWidth(4);  // the sample has no "lw" record
    EXPECT_EQ(Stored(), (Lines{"cn\"$<ＭＳ ゴシック>", "cn3", "lc2"}));
}

TEST(Emitters, MapCodes)
{
    StartRun();
    DrawingState.InitialAttributes.LineColor = 6;
    DrawingState.InitialAttributes.LineType = 4;
    const struct {
        int32_t in, color, lineType;
    } cases[] = {
        {-5, 6, 4}, {0, 6, 4}, {1, 1, 1}, {9, 9, 9}, {10, 101, 11}, {11, 102, 12},
        {18, 109, 19}, {19, 110, 31}, {20, 111, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(MapColorCode(c.in), c.color);
        EXPECT_EQ(MapLineTypeCode(c.in), c.lineType);
    }
}

TEST(Emitters, ZFlags)
{
    const struct {
        uint8_t flags;
        Lines expected;
    } cases[] = {
        {0, {}}, {4, {"z3"}}, {8, {"z4"}}, {16, {"z5"}}, {24, {"z5"}}, {1 | 2, {"z1", "z2"}},
        {31, {"z1", "z2", "z3", "z5"}}, {0xE0, {}}, {0xE8, {"z4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.flags));
        StartRun();
        EmitZFlags(c.flags);
        EXPECT_EQ(Stored(), c.expected);
    }
    StartRun();
    EmitZFlags(4);
    EmitZFlags(4);
    EXPECT_EQ(Stored(), (Lines{"z3", "z3"}));
}

TEST(Emitters, LineAndPointRecords)
{
    RunCases({
        {"too short in both", NoHostRecords, [] { EmitLine(0, 0, 0, 5e-9); EmitLine(1, 1, 1 + 9e-9, 1 - 9e-9); }, {}},
        {"long enough in y", NoHostRecords, [] { EmitLine(0, 0, 0, 1e-7); }, {"0 0 0 1E-7"}},
        {"exactly the tolerance is drawn", NoHostRecords, [] { EmitLine(0, 0, 1e-8, 0); }, {"0 0 1E-8 0"}},
        {"short in x only", NoHostRecords, [] { EmitLine(5, 0, 5, 1); }, {"5 0 5 1"}},
        {"real format", NoHostRecords, [] { EmitLine(1.5, -2.25, 100, 0.0001); }, {"1.5 -2.25 100 0.0001"}},
        {"point code out of range", NoHostRecords, [] { EmitPoint(12, 1, 2, 0, 45); EmitPoint(-8, 1, 2, 1, 0); },
         {"pt 1 2 1 45 -3", "pt 1 2 1 0 -3"}},
        {"point codes at the limits", NoHostRecords, [] { EmitPoint(-7, 0, 0, 2, 0); EmitPoint(11, 0, 0, 2, 0); },
         {"pt 0 0 2 0 -7", "pt 0 0 2 0 11"}},
        {"tiny scale becomes 1", NoHostRecords, [] { EmitPoint(1, 0, 0, 1e-8, 0); EmitPoint(1, 0, 0, -1e-8, 0); },
         {"pt 0 0 1 0 1", "pt 0 0 1 0 1"}},
        {"small and negative scales stay", NoHostRecords, [] { EmitPoint(1, 0, 0, 2e-8, 0); EmitPoint(1, 0, 0, -2, 0); },
         {"pt 0 0 2E-8 0 1", "pt 0 0 -2 0 1"}},
        {"geometry is never cached", NoHostRecords, [] { EmitLine(0, 0, 1, 0); EmitLine(0, 0, 1, 0); },
         {"0 0 1 0", "0 0 1 0"}},
    });
}

TEST(Emitters, TextKinds)
{
    const struct {
        int32_t kind;
        const char* keyword;
    } cases[] = {
        {-1, "ch"}, {0, "ch"}, {1, "cv"}, {2, "cs"}, {3, "cr"}, {4, "co"}, {5, "cp"},
        {6, "ct"}, {7, "ck"}, {8, "cz"}, {9, "c2"}, {10, "ch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        StartRun();
        EmitText(c.kind, "A", 10, 20, 10, 0);
        EXPECT_EQ(Stored(), (Lines{std::string(c.keyword) + " 10 20 10 0 \"", "A"}));
    }
}

TEST(Emitters, TextSkipRules)
{
    RunCases({
        {"half-width blanks", NoHostRecords, [] { EmitText(2, "   ", 0, 0, 10, 0); }, {}},
        {"full-width blanks", NoHostRecords, [] { EmitText(2, " 　　 ", 0, 0, 10, 0); }, {}},
        {"empty text", NoHostRecords, [] { EmitText(2, "", 0, 0, 10, 0); }, {}},
        {"no direction", NoHostRecords, [] { EmitText(2, "1", 0, 0, 1e-8, -1e-8); }, {}},
        {"small direction is enough", NoHostRecords, [] { EmitText(2, "1", 0, 0, 1e-8, 2e-8); },
         {"cs 0 0 1E-8 2E-8 \"", "1"}},
        {"text kept with its blanks", NoHostRecords, [] { EmitText(2, " 寸法　", 0, 0, 0, 10); },
         {"cs 0 0 0 10 \"", " 寸法　"}},
    });
}

TEST(Emitters, TextRecordReachesTheFileAsOneLine)
{
    StartRun();
    EmitZFlags(4);
    EmitText(2, "1,234", 10, 20, 10, 0);
    SelectTextType(3, 1, 0, 0, 0, 0);
    EXPECT_EQ(RenderExchangeFile(), "z3\r\ncs 10 20 10 0 \"1,234\r\ncn3\r\n");
}

TEST(Emitters, DimensionFigure)
{
    RunCases({
        {"measured length", NoHostRecords, [] { EmitDimensionFigure("", 0, 0, 3, 4, 1, 2, 10, 0); },
         {"msg", "0 0 3 4", "cs 1 2 10 0 \"", "5"}},
        {"length rounded to 1e-8", NoHostRecords, [] { EmitDimensionFigure("", 0, 0, 2.000000006, 0, 0, 0, 10, 0); },
         {"msg", "0 0 2.000000006 0", "cs 0 0 10 0 \"", "2.00000001"}},
        {"length rounded down", NoHostRecords, [] { EmitDimensionFigure("", 0, 0, 0, 1.0 / 3, 0, 0, 0, 10); },
         {"msg", "0 0 0 0.333333333333333", "cs 0 0 0 10 \"", "0.33333333"}},
        {"blank text is measured", NoHostRecords, [] { EmitDimensionFigure(" 　", 0, 0, -3, -4, 0, 0, 10, 0); },
         {"msg", "0 0 -3 -4", "cs 0 0 10 0 \"", "5"}},
        {"own text unchanged", NoHostRecords, [] { EmitDimensionFigure(" 12 ", 0, 0, 3, 4, 0, 0, 10, 0); },
         {"msg", "0 0 3 4", "cs 0 0 10 0 \"", " 12 "}},
        {"no length", NoHostRecords, [] { EmitDimensionFigure("1", 0, 0, 5e-9, 5e-9, 0, 0, 10, 0); }, {}},
        {"no direction", NoHostRecords, [] { EmitDimensionFigure("1", 0, 0, 3, 4, 0, 0, 0, 1e-8); }, {}},
    });
}
