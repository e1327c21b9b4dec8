#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "exchange/OutputStore.h"

namespace {

void Parse(const std::string& bytes)
{
    ASSERT_TRUE(ParseExchangeBytes(bytes.data(), bytes.size()));
}

// What a file holding only picked points leaves behind.
void ExpectInitialValues()
{
    const DrawingStateRecord& s = DrawingState;
    EXPECT_EQ(std::tuple(s.DrawingFilePath, s.AxisAngle), std::tuple("", 0.0));
    for (double scale : s.LayerGroupScales)
        EXPECT_EQ(scale, 1.0);
    for (const TextType& t : s.TextTypes)
        EXPECT_EQ(std::tuple(t.Width, t.Height, t.Spacing, t.Color), std::tuple(3.0, 3.0, 0.0, 2));
    const InitialAttributeSet& a = s.InitialAttributes;
    EXPECT_EQ(std::tuple(a.LayerGroup, a.Layer, a.LineColor, a.LineType, a.LineWidth, a.TextType, a.FontName),
              std::tuple(0, 0, 1, 1, 0, 1, ""));
    EXPECT_FALSE(s.LineWidthPresent);
    EXPECT_TRUE(s.First.Lg && s.First.Ly && s.First.Lc && s.First.Lt && s.First.Lw && s.First.Cn);
    const ReadingAttributeSet& r = s.ReadingAttributes;
    EXPECT_EQ(std::tuple(r.FontName, r.ExtendedColor, r.TextColor), std::tuple("<ＭＳ ゴシック>", 0, 0));
    EXPECT_EQ(std::tuple(s.PendingHhpNumber, s.PendingZFlags, s.PolylineMode, s.DimensionMode, s.PolylineCount),
              std::tuple(0, 0, false, false, 0));
    const LineElement& pending = s.PendingDimensionLine;
    EXPECT_EQ(std::tuple(pending.Header.Color, pending.Header.LineType, pending.X1, pending.X2, pending.Y2),
              std::tuple(1, 1, 0.0, 1.0, 0.0));
    EXPECT_EQ(s.ElementOrder.Count(), 0u);
}

// The tables sized and cleared.
void ExpectTablesCleared()
{
    const DrawingStateRecord& s = DrawingState;
    ASSERT_EQ(s.LayerGroupNames.size(), 16u);
    ASSERT_EQ(s.LayerNames.size(), 256u);
    ASSERT_EQ(s.LayerGroupValues.size(), 16u);
    ASSERT_EQ(s.LayerValues.size(), 256u);
    ASSERT_EQ(s.PickedPoints.size(), 100u);
    for (const PickedPoint& p : s.PickedPoints)
        EXPECT_EQ(std::tuple(p.Present, p.X, p.Y, p.Kind), std::tuple(false, 0.0, 0.0, 0));
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(s.LayerNames[i].empty() && s.LayerValues[i] == 0 && s.LayerGroupNames[i / 16].empty()
                    && s.LayerGroupValues[i / 16] == 0) << i;
    EXPECT_EQ(s.PickedPointCount, 0);
}

}  // namespace

TEST(DrawingState, StartsAfreshOnEveryInit)
{
    InitDrawingState();
    ExpectInitialValues();
    ExpectTablesCleared();

    // A file of picked points only changes nothing else.
    Parse("hp1 10 20\r\nhp2 30 40\r\n");
    ExpectInitialValues();
    EXPECT_EQ(DrawingState.PickedPointCount, 2);

    Parse("file=x\nhk 30\nhs 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2\nhcw 9 9 9 9 9 9 9 9 9 9\n"
          "lgF 4\nlgnG\nly3 5\nlynL\nlc10 8\nlt4\nlw2\ncn0 1 1 1 1\ncn\"$Font\ncc5\npn6\n"
          "hp7 1 1\nz2\nhhp3\npl\nmsg\n0 0 5 5\nch 0 0 1 0 t\n1 1 2 2\nsl 0 0 1 1\npl\nmsg\n0 0 6 6\nz1\nhhp4\n");
    AppendOutputLine("hq");
    InitDrawingState();
    ExpectInitialValues();
    ExpectTablesCleared();
    EXPECT_EQ(DrawingState.Solid2s.Count() + DrawingState.Lines.Capacity() + OutputStore.Lines.Count(), 0u);
    FreeDrawingState();
}

TEST(DrawingState, ReleasesEverythingOnFree)
{
    InitDrawingState();
    Parse("1 2 3 4\nci 0 0 1\nch 0 0 1 0 t\n");
    AppendOutputLine("hq");
    FreeDrawingState();
    const DrawingStateRecord& s = DrawingState;
    EXPECT_EQ(s.PickedPoints.capacity() + s.LayerNames.capacity() + s.LayerGroupValues.capacity(), 0u);
    EXPECT_EQ(s.ElementOrder.Capacity() + s.Lines.Capacity() + s.Circles.Capacity() + s.Texts.Capacity(), 0u);
    EXPECT_EQ(OutputStore.Lines.Capacity(), 0u);

    // Releasing twice does nothing, and the model can be set up again.
    FreeDrawingState();
    InitDrawingState();
    ExpectTablesCleared();
    Parse("hp3 1 2\n");
    EXPECT_EQ(DrawingState.PickedPoints[3].Y, 2.0);
    FreeDrawingState();
}

// The model freed aside leaves DrawingState empty at once and the output
// store, which is still to be written, as it was; a large model is freed
// whole by the time the guard ends (the sanitizer build sees any leak).
TEST(DrawingState, FreeingAsideKeepsTheOutputStore)
{
    InitDrawingState();
    std::string lines;
    for (int i = 0; i < 30000; ++i)
        lines += std::to_string(i) + " 2 3 4\nch 0 0 1 0 some text of some length " + std::to_string(i) + "\n";
    Parse(lines);
    ASSERT_EQ(DrawingState.Lines.Count(), 30000u);
    AppendOutputLine("hq");
    {
        const DrawingStateRelease release = FreeDrawingStateAside();
        const DrawingStateRecord& s = DrawingState;
        EXPECT_EQ(s.ElementOrder.Capacity() + s.Lines.Capacity() + s.Texts.Capacity() + s.PickedPoints.capacity(), 0u);
        ASSERT_EQ(OutputStore.Lines.Count(), 1u);
        EXPECT_EQ(OutputStore.Lines[0], "hq");
    }
    FreeDrawingState();

    // A small model stays where it is until FreeDrawingState.
    InitDrawingState();
    Parse("1 2 3 4\n");
    {
        const DrawingStateRelease release = FreeDrawingStateAside();
        EXPECT_EQ(DrawingState.Lines.Count(), 1u);
    }
    FreeDrawingState();
    InitDrawingState();
    ExpectInitialValues();
    FreeDrawingState();
}
