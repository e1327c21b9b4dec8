#include "exchange/Emitters.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "exchange/OutputStore.h"
#include "support/HostFiles.h"

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
    const char* Name;
    void (*Calls)();  // the drawing requests
    Lines Expected;
    std::string Host = "";  // the records the host handed over
};

void RunCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        StartRun();
        ParseExchangeBytes(c.Host.data(), c.Host.size());
        c.Calls();
        EXPECT_EQ(Stored(), c.Expected);
    }
}

}  // namespace

TEST(Emitters, AttributeRecordsAreChangeDriven)
{
    RunCases({
        // Layer groups and layers.
        {"same layer twice", [] { SelectLayer(3); SelectLayer(3); }, {"ly3"}},
        {"reset value still written first", [] { SelectLayerGroup(0); SelectLayer(0); }, {"lg0", "ly0"}},
        {"hexadecimal numbers", [] { SelectLayerGroup(10); SelectLayer(15); SelectLayer(16); }, {"lgA", "lyF", "ly10"}},
        {"group change restates the layer", [] { SelectLayer(3); SelectLayerGroup(10); SelectLayer(3); },
         {"ly3", "lgA", "ly3"}},
        {"same group restates nothing", [] { SelectLayerGroup(2); SelectLayer(1); SelectLayerGroup(2); SelectLayer(1); },
         {"lg2", "ly1"}},
        {"reset arms every flag again", [] { SelectLayer(3); ResetOutputAttributes(); SelectLayer(3); }, {"ly3", "ly3"}},
        // Colours and line types.
        {"colour written on change only", [] { SelectLineColor(1, 0); SelectLineColor(1, 0); SelectLineColor(5, 0); },
         {"lc1", "lc5"}},
        {"colour through the map", [] { SelectLineColor(10, 1); SelectLineColor(0, 1); SelectLineColor(9, 1); },
         {"lc101", "lc3", "lc9"}, "lc3\nlt2"},
        {"other mappings pass the colour", [] { SelectLineColor(10, 2); SelectLineColor(-4, 0); }, {"lc10", "lc-4"},
         "lc3\nlt2"},
        {"mapped value compared, not the argument", [] { SelectLineColor(0, 1); SelectLineColor(3, 0); }, {"lc3"},
         "lc3\nlt2"},
        {"line type through the map", [] { SelectLineType(19, 1); SelectLineType(0, 1); SelectLineType(10, 1); },
         {"lt31", "lt2", "lt11"}, "lc3\nlt2"},
        {"point colour", [] { SelectPointColor(11, 1); SelectPointColor(102, 0); SelectPointColor(1, 0); },
         {"pn102", "pn1"}},
        // Line widths, only when the host gave one.
        {"no lw record: nothing", [] { SelectLineWidth(0); SelectLineWidth(7); SelectLineWidth(-1); }, {}},
        {"above 30000 becomes 0", [] { SelectLineWidth(40000); }, {"lw0"}, "lw5"},
        {"30000 stays", [] { SelectLineWidth(30000); }, {"lw30000"}, "lw5"},
        {"-1 is the host's width", [] { SelectLineWidth(-1); SelectLineWidth(5); }, {"lw5"}, "lw5"},
        {"other negatives become 0", [] { SelectLineWidth(-2); SelectLineWidth(0); }, {"lw0"}, "lw5"},
        {"host width out of range", [] { SelectLineWidth(-1); }, {"lw0"},
         "lw30001"},
        // Text types.
        {"free size written once",
         [] { SelectTextType(0, 1, 0, 2.5, 2.5, 0.5); SelectTextType(0, 1, 0, 2.5, 2.5, 0.5); }, {"cn0 2.5 2.5 0.5 1"}},
        {"each free-size value counts",
         [] {
             SelectTextType(0, 1, 0, 2.5, 2.5, 0.5);
             SelectTextType(0, 1, 0, 2.5, 2.5, 0.75);
             SelectTextType(0, 1, 0, 2.5, 3, 0.75);
             SelectTextType(0, 1, 0, 4, 3, 0.75);
             SelectTextType(0, 2, 0, 4, 3, 0.75);
         },
         {"cn0 2.5 2.5 0.5 1", "cn0 2.5 2.5 0.75 1", "cn0 2.5 3 0.75 1", "cn0 4 3 0.75 1", "cn0 4 3 0.75 2"}},
        {"reset type still written first", [] { SelectTextType(1, 1, 0, 0, 0, 0); }, {"cn1"}},
        {"sized types ignore the other values",
         [] { SelectTextType(3, 1, 0, 1, 1, 0); SelectTextType(3, 7, 0, 9, 9, 9); }, {"cn3"}},
        {"back to free size after a sized type",
         [] {
             SelectTextType(0, 1, 0, 2.5, 2.5, 0.5);
             SelectTextType(3, 1, 0, 0, 0, 0);
             SelectTextType(0, 1, 0, 2.5, 2.5, 0.5);
         },
         {"cn0 2.5 2.5 0.5 1", "cn3", "cn0 2.5 2.5 0.5 1"}},
        {"free colour through the map", [] { SelectTextType(0, 10, 1, 1, 1, 0); }, {"cn0 1 1 0 101"}},
        {"out of range: the host's type",
         [] { SelectTextType(11, 1, 0, 0, 0, 0); SelectTextType(-1, 1, 0, 0, 0, 0); SelectTextType(10, 1, 0, 0, 0, 0); },
         {"cn3", "cn10"}, "cn3"},
        {"out of range: the host's free size", [] { SelectTextType(11, 1, 0, 9, 9, 9); }, {"cn0 2.5 3.5 0.25 4"},
         "cn0 2.5 3.5 0.25 4"},
        {"in range keeps the arguments", [] { SelectTextType(0, 1, 0, 9, 9, 9); }, {"cn0 9 9 9 1"}, "cn0 2.5 3.5 0.25 4"},
        // Text colours and fonts.
        {"clamped colour compared", [] { SelectTextColor(9); SelectTextColor(0); SelectTextColor(-1); }, {"cc0"}},
        {"colours 0 to 8", [] { SelectTextColor(8); SelectTextColor(1); }, {"cc8", "cc1"}},
        {"<> and empty are the host's font", [] { SelectFont("<>"); SelectFont(""); }, {"cn\"$<ＭＳ 明朝>"}, "cn\"$<ＭＳ 明朝>"},
        {"host gave no font", [] { SelectFont("<>"); }, {"cn\"$"}},
        {"reset font still written first", [] { SelectFont("<ＭＳ ゴシック>"); }, {"cn\"$<ＭＳ ゴシック>"}},
        {"font on change only", [] { SelectFont("<ＭＳ 明朝>"); SelectFont("<>"); SelectFont("<ＭＳ ゴシック>"); },
         {"cn\"$<ＭＳ 明朝>", "cn\"$<ＭＳ ゴシック>"}, "cn\"$<ＭＳ 明朝>"},
        // The fall-backs from a file in the host's manner (the host writes no "lw").
        {"host-format file",
         [] {
             ReadExchangeFile(hostfiles::Fixture("host-four-points.txt"));
             ResetOutputAttributes();
             SelectFont("");
             SelectTextType(11, 1, 0, 0, 0, 0);
             SelectLineColor(0, 1);
             SelectLineWidth(4);
         },
         {"cn\"$<ＭＳ ゴシック>", "cn4", "lc3"}},
    });
}

TEST(Emitters, MapCodes)
{
    StartRun();
    ParseExchangeLine("lc6");
    ParseExchangeLine("lt4");
    const int32_t cases[][3] = {  // code, colour, line type
        {-5, 6, 4}, {0, 6, 4}, {1, 1, 1}, {9, 9, 9}, {10, 101, 11},
        {11, 102, 12}, {18, 109, 19}, {19, 110, 31}, {20, 111, 32},
    };
    for (const auto& [code, color, lineType] : cases)
        EXPECT_EQ(std::pair(MapColorCode(code), MapLineTypeCode(code)), std::pair(color, lineType)) << code;
}

TEST(Emitters, TextKinds)
{
    const char* keywords[] = {"ch", "ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2", "ch"};  // -1..10
    for (int kind = -1; kind <= 10; ++kind) {
        StartRun();
        EmitText(kind, "A", 10, 20, 10, 0);
        EXPECT_EQ(Stored(), (Lines{std::string(keywords[kind + 1]) + " 10 20 10 0 \"", "A"})) << kind;
    }
}

TEST(Emitters, GeometryRecords)
{
    RunCases({
        // Lines and points.
        {"too short in both", [] { EmitLine(0, 0, 0, 5e-9); EmitLine(1, 1, 1 + 9e-9, 1 - 9e-9); }, {}},
        {"long enough in y", [] { EmitLine(0, 0, 0, 1e-7); }, {"0 0 0 1E-7"}},
        {"exactly the tolerance is drawn", [] { EmitLine(0, 0, 1e-8, 0); }, {"0 0 1E-8 0"}},
        {"real format", [] { EmitLine(1.5, -2.25, 100, 0.0001); }, {"1.5 -2.25 100 0.0001"}},
        {"never cached", [] { EmitZFlags(4); EmitLine(0, 0, 1, 0); EmitZFlags(4); EmitLine(0, 0, 1, 0); },
         {"z3", "0 0 1 0", "z3", "0 0 1 0"}},
        {"z flags: z4 only without z5, bits 5 to 7 ignored",
         [] { EmitZFlags(8); EmitZFlags(24); EmitZFlags(31); EmitZFlags(0xE0); EmitZFlags(0xE8); },
         {"z4", "z5", "z1", "z2", "z3", "z5", "z4"}},
        {"point code out of range", [] { EmitPoint(12, 1, 2, 0, 45); EmitPoint(-8, 1, 2, 1, 0); },
         {"pt 1 2 1 45 -3", "pt 1 2 1 0 -3"}},
        {"point codes at the limits", [] { EmitPoint(-7, 0, 0, 2, 0); EmitPoint(11, 0, 0, 2, 0); },
         {"pt 0 0 2 0 -7", "pt 0 0 2 0 11"}},
        {"tiny scale becomes 1", [] { EmitPoint(1, 0, 0, 1e-8, 0); EmitPoint(1, 0, 0, -1e-8, 0); },
         {"pt 0 0 1 0 1", "pt 0 0 1 0 1"}},
        {"small and negative scales stay", [] { EmitPoint(1, 0, 0, 2e-8, 0); EmitPoint(1, 0, 0, -2, 0); },
         {"pt 0 0 2E-8 0 1", "pt 0 0 -2 0 1"}},
        // Texts.
        {"blank text", [] { EmitText(2, " 　　 ", 0, 0, 10, 0); }, {}},
        {"no direction", [] { EmitText(2, "1", 0, 0, 1e-8, -1e-8); }, {}},
        {"small direction is enough", [] { EmitText(2, "1", 0, 0, 1e-8, 2e-8); }, {"cs 0 0 1E-8 2E-8 \"", "1"}},
        {"text kept with its blanks", [] { EmitText(2, " 寸法　", 0, 0, 0, 10); }, {"cs 0 0 0 10 \"", " 寸法　"}},
        // Dimension figures.
        {"measured length", [] { EmitDimensionFigure("", 0, 0, 3, 4, 1, 2, 10, 0); },
         {"msg", "0 0 3 4", "cs 1 2 10 0 \"", "5"}},
        {"length rounded to 1e-8", [] { EmitDimensionFigure("", 0, 0, 2.000000006, 0, 0, 0, 10, 0); },
         {"msg", "0 0 2.000000006 0", "cs 0 0 10 0 \"", "2.00000001"}},
        {"blank text is measured", [] { EmitDimensionFigure(" 　", 0, 0, -3, -4, 0, 0, 10, 0); },
         {"msg", "0 0 -3 -4", "cs 0 0 10 0 \"", "5"}},
        {"own text unchanged", [] { EmitDimensionFigure(" 12 ", 0, 0, 3, 4, 0, 0, 10, 0); },
         {"msg", "0 0 3 4", "cs 0 0 10 0 \"", " 12 "}},
        {"no length", [] { EmitDimensionFigure("1", 0, 0, 5e-9, 5e-9, 0, 0, 10, 0); }, {}},
        {"no direction", [] { EmitDimensionFigure("1", 0, 0, 3, 4, 0, 0, 0, 1e-8); }, {}},
    });
}
