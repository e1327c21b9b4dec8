#include <gtest/gtest.h>

#include <string>

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
    EXPECT_EQ(s.DrawingFilePath, "");
    EXPECT_EQ(s.AxisAngle, 0.0);
    for (double scale : s.LayerGroupScales)
        EXPECT_EQ(scale, 1.0);
    for (const TextType& type : s.TextTypes)
        EXPECT_TRUE(type.Width == 3.0 && type.Height == 3.0 && type.Spacing == 0.0 && type.Color == 2);

    const InitialAttributeSet& a = s.InitialAttributes;
    EXPECT_EQ(a.LayerGroup, 0);
    EXPECT_EQ(a.Layer, 0);
    EXPECT_EQ(a.LineColor, 1);
    EXPECT_EQ(a.LineType, 1);
    EXPECT_EQ(a.LineWidth, 0);
    EXPECT_EQ(a.TextType, 1);
    EXPECT_EQ(a.FontName, "");
    EXPECT_FALSE(s.LineWidthPresent);
    EXPECT_TRUE(s.First.Lg && s.First.Ly && s.First.Lc && s.First.Lt && s.First.Lw && s.First.Cn);
    EXPECT_EQ(s.ReadingAttributes.FontName, "<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>");
    EXPECT_EQ(s.ReadingAttributes.ExtendedColor, 0);
    EXPECT_EQ(s.ReadingAttributes.TextColor, 0);

    EXPECT_EQ(s.PendingHhpNumber, 0);
    EXPECT_EQ(s.PendingZFlags, 0);
    EXPECT_FALSE(s.PolylineMode || s.DimensionMode);
    EXPECT_EQ(s.PolylineCount, 0);
    const LineElement& pending = s.PendingDimensionLine;
    EXPECT_EQ(pending.Header.Color, 1);
    EXPECT_EQ(pending.Header.LineType, 1);
    EXPECT_EQ(pending.X1, 0.0);
    EXPECT_EQ(pending.X2, 1.0);
    EXPECT_EQ(pending.Y2, 0.0);
    EXPECT_EQ(s.ElementOrder.Count(), 0u);
}

void ExpectTablesSized()
{
    const DrawingStateRecord& s = DrawingState;
    ASSERT_EQ(s.LayerGroupNames.size(), 16u);
    ASSERT_EQ(s.LayerNames.size(), 256u);
    ASSERT_EQ(s.LayerGroupValues.size(), 16u);
    ASSERT_EQ(s.LayerValues.size(), 256u);
    ASSERT_EQ(s.PickedPoints.size(), 100u);
    for (const PickedPoint& p : s.PickedPoints) {
        EXPECT_FALSE(p.Present);
        EXPECT_EQ(p.X, 0.0);
        EXPECT_EQ(p.Y, 0.0);
        EXPECT_EQ(p.Kind, 0);
    }
    for (const std::string& name : s.LayerNames)
        EXPECT_EQ(name, "");
    for (int32_t value : s.LayerValues)
        EXPECT_EQ(value, 0);
    EXPECT_EQ(s.PickedPointCount, 0);
}

}  // namespace

TEST(DrawingState, StartsFromTheInitialValues)
{
    InitDrawingState();
    ExpectInitialValues();
    ExpectTablesSized();

    // A file of picked points only changes nothing else.
    Parse("hp1 10 20\r\nhp2 30 40\r\n");
    ExpectInitialValues();
    EXPECT_EQ(DrawingState.PickedPointCount, 2);
    FreeDrawingState();
}

TEST(DrawingState, StartsAfreshOnEveryInit)
{
    InitDrawingState();
    Parse("file=x\nhk 30\nhs 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2\nhzs 1 1\nhcw 9 9 9 9 9 9 9 9 9 9\nbz\nhn 1 2 3 4\n"
          "lgF 4\nlgnG\nly3 5\nlynL\nlc10 8\nlt4\nlw2\ncn0 1 1 1 1\ncn\"$Font\ncc5\npn6\n"
          "hp7 1 1\nz2\nhhp3\npl\nmsg\n0 0 5 5\nch 0 0 1 0 t\n1 1 2 2\nsl 0 0 1 1\n");
    AppendOutputLine("hq");
    InitDrawingState();
    ExpectInitialValues();
    ExpectTablesSized();
    for (const std::string& name : DrawingState.LayerGroupNames)
        EXPECT_EQ(name, "");
    EXPECT_EQ(DrawingState.Solid2s.Count(), 0u);
    EXPECT_EQ(DrawingState.Lines.Capacity(), 0u);
    EXPECT_EQ(OutputStore.Lines.Count(), 0u);
    FreeDrawingState();
}

TEST(DrawingState, ReleasesEverythingOnFree)
{
    InitDrawingState();
    Parse("1 2 3 4\nci 0 0 1\nch 0 0 1 0 t\n");
    AppendOutputLine("hq");
    FreeDrawingState();
    const DrawingStateRecord& s = DrawingState;
    EXPECT_EQ(s.PickedPoints.capacity(), 0u);
    EXPECT_EQ(s.LayerNames.capacity(), 0u);
    EXPECT_EQ(s.LayerGroupValues.capacity(), 0u);
    EXPECT_EQ(s.ElementOrder.Capacity(), 0u);
    EXPECT_EQ(s.Lines.Capacity(), 0u);
    EXPECT_EQ(s.Circles.Capacity(), 0u);
    EXPECT_EQ(s.Texts.Capacity(), 0u);
    EXPECT_EQ(OutputStore.Lines.Capacity(), 0u);

    // Releasing twice does nothing, and the model can be set up again.
    FreeDrawingState();
    InitDrawingState();
    ExpectTablesSized();
    Parse("hp3 1 2\n");
    EXPECT_EQ(DrawingState.PickedPoints[3].Y, 2.0);
    FreeDrawingState();
}
