#include <gtest/gtest.h>

#include <new>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "platform/Files.h"

namespace {

// When set, an array allocation of exactly this size fails: the block of
// 1000 records a list grows by.
std::size_t FailingArraySize = 0;

void Parse(const std::string& bytes)
{
    ASSERT_TRUE(ParseExchangeBytes(bytes.data(), bytes.size()));
}

using OrderList = std::vector<std::pair<int32_t, int32_t>>;

OrderList Order()
{
    OrderList order;
    for (std::size_t i = 0; i < DrawingState.ElementOrder.Count(); ++i)
        order.emplace_back(DrawingState.ElementOrder[i].Kind, DrawingState.ElementOrder[i].Index);
    return order;
}

std::string Lines(int count, const char* line)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += std::string(line) + "\r\n";
    return bytes;
}

std::vector<int32_t> Fields(const ElementHeader& h)
{
    return {h.HhpNumber, h.LayerGroup, h.Layer, h.Color, h.LineType, h.LineWidth, h.ZFlags};
}

class Elements : public ::testing::Test {
protected:
    void SetUp() override { InitDrawingState(); }
    void TearDown() override
    {
        FailingArraySize = 0;
        FreeDrawingState();
    }
};

}  // namespace

void* operator new[](std::size_t size)
{
    if (FailingArraySize != 0 && size == FailingArraySize)
        throw std::bad_alloc();
    return ::operator new(size);
}

void operator delete[](void* p) noexcept { ::operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { ::operator delete(p); }

TEST_F(Elements, GrowInBlocksOfAThousandWithoutMovingAndStopWhenMemoryRunsOut)
{
    Parse(Lines(1000, "1 2 3 4"));
    EXPECT_EQ(DrawingState.Lines.Capacity(), 1000u);
    EXPECT_EQ(DrawingState.ElementOrder.Capacity(), 1000u);
    const LineElement* first = &DrawingState.Lines[0];

    // Growth fails at the 1001st line: the file is read up to there, and
    // the failed line leaves nothing half-stored.
    const std::string path = std::string(Q308_BINARY_DIR) + "/ElementsOutOfMemory.txt";
    ASSERT_TRUE(platform::WriteWholeFile(path, "hk 5\r\n5 6 7 8\r\nhk 9\r\n"));
    FailingArraySize = sizeof(LineElement) * 1000;
    EXPECT_FALSE(ReadExchangeFile(path));
    FailingArraySize = 0;
    platform::RemoveFile(path);
    EXPECT_EQ(DrawingState.AxisAngle, 5.0);
    EXPECT_EQ(std::tuple(DrawingState.Lines.Count(), DrawingState.ElementOrder.Count()), std::tuple(1000u, 1000u));

    Parse(Lines(1, "5 6 7 8"));
    EXPECT_EQ(DrawingState.Lines.Count(), 1001u);
    EXPECT_EQ(DrawingState.Lines.Capacity(), 2000u);
    EXPECT_EQ(&DrawingState.Lines[0], first);
    EXPECT_EQ(DrawingState.Lines[1000].X1, 5.0);
    EXPECT_EQ(DrawingState.ElementOrder[1000].Index, 1000);
}

TEST_F(Elements, NumberTheSegmentsOfPolylines)
{
    Parse("pl\n0 0 1 0\n1 0 1 1\n1 1 0 0\npl\n0 0 2 2\n2 2 0 0\n#\n0 0 3 3\n"
          "pl\n0 0 4 4\nlc2\n0 0 5 5\npl\n0 0 6 6\nci 0 0 1\n0 0 7 7\n");
    std::vector<int32_t> numbers;
    for (std::size_t i = 0; i < DrawingState.Lines.Count(); ++i)
        numbers.push_back(DrawingState.Lines[i].PolylineNumber);
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 1, 1, 2, 2, 0, 3, 0, 4, 0}));
    EXPECT_EQ(DrawingState.Lines[7].Header.Color, 2);
}

TEST_F(Elements, StampTheAttributesInForce)
{
    Parse("lg3\nly4\nlc10 6\nlt2\nlw5\npn7\nz1\nz3\nhhp5ln\n1 2 3 4\n5 6 7 8\nz2\nsl 0 0 1 1\npt 1 2\n");
    // hhp number, layer group, layer, colour, line type, width, z flags
    EXPECT_EQ(Fields(DrawingState.Lines[0].Header), (std::vector<int32_t>{5, 3, 4, 10, 2, 5, 5}));
    EXPECT_EQ(Fields(DrawingState.Lines[1].Header), (std::vector<int32_t>{0, 3, 4, 10, 2, 5, 0}));
    const Solid2Element& solid = DrawingState.Solid2s[0];
    EXPECT_EQ(std::tuple(solid.Header.ZFlags, solid.ExtendedColor, solid.X2), std::tuple(2, 6, 1.0));
    const PointElement& point = DrawingState.Points[0];
    EXPECT_EQ(std::tuple(point.Header.Color, point.Header.ZFlags, point.Y), std::tuple(7, 0, 2.0));
}

TEST_F(Elements, StoreTextsWithTheirTextType)
{
    Parse("hcw 1 2 3 4 5 6 7 8 9 10\nhch 2 3 4 5 6 7 8 9 10 11\nhcd 0 .1 .2 .3 .4 .5 .6 .7 .8 .9\n"
          "hcc 1 2 3 4 5 6 7 8 9 10\ncn0 2.5 3.5 0.5 4\ncc6\nlc9\n");
    const struct {
        const char* TypeRecord;
        double Width, Height, Spacing;
        int32_t Color;
    } cases[] = {
        {"cn0", 2.5, 3.5, 0.5, 4}, {"cn11", 2.5, 3.5, 0.5, 4}, {"cn-1", 2.5, 3.5, 0.5, 4},
        {"cn3", 3, 4, 0.2, 3}, {"cn10", 10, 11, 0.9, 10}, {"cn1", 1, 2, 0, 1},
    };
    for (const auto& c : cases) {
        Parse(std::string(c.TypeRecord) + "\nch 1 2 3 4 text\n");
        const TextElement& t = DrawingState.Texts[DrawingState.Texts.Count() - 1];
        EXPECT_EQ(std::tuple(t.Width, t.Height, t.Spacing, t.Header.Color),
                  std::tuple(c.Width, c.Height, c.Spacing, c.Color)) << c.TypeRecord;
    }
    const TextElement& t = DrawingState.Texts[0];
    EXPECT_EQ(std::tuple(t.TextColor, t.X, t.Y, t.Dx, t.Dy, t.Text), std::tuple(6, 1.0, 2.0, 3.0, 4.0, "text"));
    EXPECT_EQ(t.FontName, "<ＭＳ ゴシック>");
}

TEST_F(Elements, StoreEveryTextKind)
{
    const char* kinds[] = {"ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2"};
    for (const char* kind : kinds)
        Parse(std::string(kind) + " 0 0 1 0 \"a  b\n");
    Parse("cs 0 0 1\ncx 0 0 1 0 a\nCH 0 0 1 0 a\n");  // too short, unknown, wrong case
    ASSERT_EQ(DrawingState.Texts.Count(), std::size(kinds));
    for (int i = 0; i < static_cast<int>(std::size(kinds)); ++i)
        EXPECT_EQ(std::tuple(DrawingState.Texts[i].TextVariant, DrawingState.Texts[i].Text), std::tuple(i, "a  b"));
}

TEST_F(Elements, CutLongTextsAndFontNames)
{
    const std::string font(300, 'F');
    Parse("cn\"$" + font + "\nch 0 0 1 0 \"" + std::string(254, 'a') + "\x82\xA0" + "zz\n");
    const TextElement& t = DrawingState.Texts[0];
    EXPECT_EQ(t.Text, std::string(254, 'a') + "\x82");
    EXPECT_EQ(t.FontName, std::string(255, 'F'));
    EXPECT_EQ(DrawingState.ReadingAttributes.FontName, font);
}

TEST_F(Elements, BuildDimensionsFromMsgLineAndText)
{
    Parse("msg\nlc4\n0 0 9 9\n1 2 3 4\nlc5\ncs 5 6 1 0 100\n");
    ASSERT_EQ(DrawingState.Dimensions.Count(), 1u);
    EXPECT_EQ(DrawingState.Lines.Count() + DrawingState.Texts.Count(), 0u);
    const DimensionElement& d = DrawingState.Dimensions[0];
    EXPECT_EQ(std::tuple(d.Line.X1, d.Line.Y2), std::tuple(1.0, 4.0));  // the second line replaced the first
    EXPECT_EQ(std::tuple(d.Line.Header.Color, d.Header.Color), std::tuple(4, 5));
    EXPECT_EQ(std::tuple(d.Text.TextVariant, d.Text.Text, d.Text.X), std::tuple(2, "100", 5.0));
    EXPECT_FALSE(DrawingState.DimensionMode);
    EXPECT_EQ(Order(), (OrderList{{KindDimension, 0}}));

    // Without a line of its own a dimension keeps the last one read.
    Parse("msg\ncs 0 0 1 0 200\n");
    ASSERT_EQ(DrawingState.Dimensions.Count(), 2u);
    EXPECT_EQ(DrawingState.Dimensions[1].Line.X1, 1.0);

    // The same text outside "msg" is an ordinary text; other elements end it.
    Parse("cs 0 0 1 0 300\nmsg\nch 0 0 1 0 a\ncs 0 0 1 0 400\nmsg\npl\ncs 0 0 1 0 500\n");
    EXPECT_EQ(DrawingState.Dimensions.Count(), 2u);
    ASSERT_EQ(DrawingState.Texts.Count(), 4u);
    EXPECT_EQ(DrawingState.Texts[0].TextVariant, 2);
    EXPECT_EQ(DrawingState.Texts[2].Text, "400");
    EXPECT_EQ(DrawingState.ElementOrder[2].Kind, KindText);
}

TEST_F(Elements, TakeRecordsByTheirValueCount)
{
    const struct {
        const char* Record;
        int32_t Kind;  // 0: ignored
    } cases[] = {
        {"ci 1 2 3", KindCircle}, {"ci 1 2 3 ", 0},  // the trailing blank opens a fifth token
        {"ci 1 2 3 4 5 6", 0}, {"ci 1 2 3 4 5 6 7", KindArc}, {"ci 1 2 3 4 5 6 7 8 9", KindArc},
        {"pt 1 2", KindPoint}, {"pt 1 2 3", KindLine}, {"pt 1 2 3 4", 0}, {"pt 1 2 3 4 5", KindPointMark},
        {"BL 1 2 name", KindBlock}, {"BL 1 2", 0}, {"bl 1 2 3", KindLine},
        {"sl 1 2 3 4", KindSolid2}, {"sl 1 2 3 4 5", 0},
        {"sc 1 2 3 4 5 6 7 8", KindSc}, {"se 1 2 3 4 5 6 7 8", KindSe}, {"so 1 2 3 4 5 6 7 8", KindSo},
        {"sg 1 2 3 4 5 6 7 8", KindSg}, {"sg 1 2 3 4 5 6 7", 0},
        {"x 1 2 3", KindLine}, {"1 2 3", 0}, {"1 2 3 4 5", 0},
    };
    for (const auto& c : cases) {
        InitDrawingState();
        Parse(c.Record);
        EXPECT_EQ(Order(), (c.Kind ? OrderList{{c.Kind, 0}} : OrderList{})) << c.Record;
    }
}

TEST_F(Elements, StoreTheValuesAndTheirOrderAcrossKinds)
{
    Parse("ci 1 2 3 4 5 6 7 8\npt 1 2 3 4 5.9\nBL 7 8 \"door 2\nsc 1 2 3 4 5 6 7 8\nso 1 2 3 4 5 6 7 8\n"
          "pt 1 2 3\nmsg\n0 0 1 0\ncs 0 0 1 0 c\n3 3 3 3\n");
    EXPECT_EQ(DrawingState.Arcs[0].Values[6], 7.0);
    const PointMarkElement& mark = DrawingState.PointMarks[0];
    EXPECT_EQ(std::tuple(mark.Scale, mark.Angle, mark.Code), std::tuple(3.0, 4.0, 0));  // "5.9" is no integer
    EXPECT_EQ(DrawingState.Blocks[0].Name, "door 2");
    EXPECT_EQ(std::tuple(DrawingState.Scs[0].Values[6], DrawingState.Scs[0].Number), std::tuple(7.0, 8));
    EXPECT_EQ(DrawingState.Sos[0].Values[7], 8.0);
    const LineElement& line = DrawingState.Lines[0];
    EXPECT_EQ(std::tuple(line.X1, line.Y1, line.X2, line.Y2), std::tuple(0.0, 1.0, 2.0, 3.0));
    // The dimension's own line makes no entry.
    EXPECT_EQ(Order(), (OrderList{{KindArc, 0}, {KindPointMark, 0}, {KindBlock, 0}, {KindSc, 0}, {KindSo, 0},
                                  {KindLine, 0}, {KindDimension, 0}, {KindLine, 1}}));
}

TEST_F(Elements, ReduceSolidsToTheirDistinctPoints)
{
    // Points: a=(0,0) b=(10,0) c=(10,10) d=(0,10); a' lies within 1e-10 of a.
    const struct {
        const char* Record;
        int32_t Kind;
        std::vector<double> Points;
    } cases[] = {
        {"sl 0 0 0 0 10 10", KindSolid2, {0, 0, 10, 10}}, {"sl 0 0 1e-11 -1e-10 10 10", KindSolid2, {0, 0, 10, 10}},
        {"sl 0 0 10 0 10 0", KindSolid2, {0, 0, 10, 0}}, {"sl 0 0 10 0 10 10", KindSolid3, {0, 0, 10, 0, 10, 10}},
        {"sl 0 0 2e-10 0 10 10", KindSolid3, {0, 0, 2e-10, 0, 10, 10}},
        {"sl 0 0 0 0 0 0 10 10", KindSolid2, {0, 0, 10, 10}}, {"sl 0 0 10 0 10 0 10 0", KindSolid2, {0, 0, 10, 0}},
        {"sl 0 0 0 0 10 10 10 10", KindSolid2, {0, 0, 10, 10}},
        {"sl 0 0 10 0 10 10 0 0", KindSolid3, {0, 0, 10, 0, 10, 10}},
        {"sl 0 0 10 0 10 10 10 0", KindSolid3, {0, 0, 10, 0, 10, 10}},
        {"sl 0 0 10 0 10 10 10 10", KindSolid3, {0, 0, 10, 0, 10, 10}},
        {"sl 0 0 10 0 0 0 0 10", KindSolid3, {0, 0, 10, 0, 0, 10}},
        {"sl 0 0 10 0 10 0 0 10", KindSolid3, {0, 0, 10, 0, 0, 10}},
        {"sl 0 0 0 0 10 10 0 10", KindSolid3, {0, 0, 10, 10, 0, 10}},
        {"sl 0 0 10 0 10 10 0 10", KindSolid4, {0, 0, 10, 0, 10, 10, 0, 10}},
        {"sl 0 0 10 0 10 10 0 10 99", KindSolid4, {0, 0, 10, 0, 10, 10, 0, 10}},
    };
    for (const auto& c : cases) {
        InitDrawingState();
        Parse(std::string("lc10 3\n") + c.Record);
        ASSERT_EQ(Order(), (OrderList{{c.Kind, 0}})) << c.Record;
        std::vector<double> got;  // the extended colour, then the points
        if (c.Kind == KindSolid2) {
            const auto& [h, e, x1, y1, x2, y2] = DrawingState.Solid2s[0];
            got = {double(e), x1, y1, x2, y2};
        } else if (c.Kind == KindSolid3) {
            const auto& [h, e, x1, y1, x2, y2, x3, y3] = DrawingState.Solid3s[0];
            got = {double(e), x1, y1, x2, y2, x3, y3};
        } else {
            const auto& [h, e, x1, y1, x2, y2, x3, y3, x4, y4] = DrawingState.Solid4s[0];
            got = {double(e), x1, y1, x2, y2, x3, y3, x4, y4};
        }
        std::vector<double> expected{3};
        expected.insert(expected.end(), c.Points.begin(), c.Points.end());
        EXPECT_EQ(got, expected) << c.Record;
    }
}
