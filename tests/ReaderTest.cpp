#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "exchange/Tokens.h"
#include "platform/Files.h"
#include "support/HostFiles.h"

using namespace std::string_literals;

namespace {

void Parse(const std::string& bytes)
{
    ASSERT_TRUE(ParseExchangeBytes(bytes.data(), bytes.size()));
}

std::vector<std::string> TokensOf(const std::string& line)
{
    TokenList tokens;
    TokeniseLine(line, tokens);
    return std::vector<std::string>(tokens.Tokens, tokens.Tokens + tokens.Count);
}

// X1 of every stored line: which lines the splitter produced, in order.
std::vector<double> LineStarts()
{
    std::vector<double> starts;
    for (std::size_t i = 0; i < DrawingState.Lines.Count(); ++i)
        starts.push_back(DrawingState.Lines[i].X1);
    return starts;
}

// Each row's records go into a fresh model; then one field is read back.
template <typename Case, std::size_t N>
void ExpectFields(const Case (&cases)[N])
{
    for (const Case& c : cases) {
        InitDrawingState();
        Parse(c.Records);
        EXPECT_EQ(c.Field(), c.Expected) << c.Records;
    }
}

class Reader : public ::testing::Test {
protected:
    void SetUp() override { InitDrawingState(); }
    void TearDown() override { FreeDrawingState(); }
};

}  // namespace

TEST(Tokeniser, SplitsByTheExchangeRules)
{
    const struct {
        std::string Line;
        std::vector<std::string> Tokens;
    } cases[] = {
        {"hcc      1      2", {"hcc", "1", "2"}}, {"  a\t\tb \t c", {"a", "b", "c"}},
        {"a b  ", {"a", "b", ""}},  // trailing blanks open one empty token
        {"   ", {""}},
        // After the first quote blanks belong to the token, tabs are dropped
        // and later quotes are kept.
        {"ch 1 2 3 4 \"a b\tc\"d", {"ch", "1", "2", "3", "4", "a bc\"d"}},
        {"cn\"$<ＭＳ ゴシック>", {"cn$<ＭＳ ゴシック>"}},
        // An equals sign is kept and also ends splitting.
        {"file=C:\\My Docs\\a.jww", {"file=C:\\My Docs\\a.jww"}},
        // A lead byte (0x80..0x9F, 0xE0..0xFD) takes the next byte whatever
        // it is; 0x7F, 0xA0 and half-width kana are single bytes.
        {"\x80 a \x9F\"b \xE0\tc \xFD\x0A", {"\x80 a", "\x9F\"b", "\xE0\tc", "\xFD\x0A"}},
        {"\x7F\xA0 \xB1 \xDF", {"\x7F\xA0", "\xB1", "\xDF"}},
        // A lead byte that ends the line is dropped.
        {"ab \x82", {"ab", ""}}, {"ab\x82", {"ab"}},
        // Control bytes, 0xFE and 0xFF vanish; so does NUL.
        {"a\x01\x1F\xFE\xFF"s + "b\0c"s, {"abc"}},
        // Tokens that lose a byte inside them, beside tokens that do not,
        // and a quote inside a token: each keeps its own bytes.
        {"a\x01" "b c\x02" "d e f\x03\x82\xa0 g\"h i\tj", {"ab", "cd", "e", "f\x82\xa0", "gh ij"}},
        {std::string(40, '7') + "\x01" + std::string(40, '8') + " 1", {std::string(40, '7') + std::string(40, '8'), "1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TokensOf(c.Line), c.Tokens) << c.Line;
}

TEST(Tokeniser, KeepsAtMostThirtyTwoTokens)
{
    std::string forty, thirtyOne;
    for (int i = 0; i < 40; ++i)
        forty += "t" + std::to_string(i) + " ";
    for (int i = 0; i < 31; ++i)
        thirtyOne += "v ";
    TokenList tokens;
    TokeniseLine(forty, tokens);
    EXPECT_EQ(tokens.Count, MaxTokens);
    EXPECT_EQ(tokens[31], "t31");
    TokeniseLine(thirtyOne, tokens);  // the trailing blank opens the 32nd
    EXPECT_EQ(tokens.Count, 32);
    EXPECT_EQ(tokens[31], "");
    TokeniseLine("a", tokens);  // a fresh line starts with empty tokens
    EXPECT_EQ(tokens.Count, 1);
    EXPECT_EQ(tokens[1], "");
}

// A line inside a larger buffer may be split by whole-line bit masks; the
// same line alone, with nothing readable past it, is scanned byte by byte.
// Tokens, count, the CR report and the emptied tokens after a longer line
// must agree for any bytes.
TEST(Tokeniser, SplitsALineInABufferAsTheLineAlone)
{
    static constexpr char Alphabet[] = "0123456789.-abcdefgh0123456789.-     \t\t\"=\x82\x41\r\xfe\xa5";
    uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state >> 33;
    };
    TokenList inBuffer, alone;
    int differences = 0;
    auto compare = [&](const std::string& buffer, std::size_t length) {
        const std::string line = buffer.substr(0, length);
        const bool crInBuffer = TokeniseBufferedLine(std::string_view(buffer).substr(0, length), buffer.size(), inBuffer);
        const bool crAlone = TokeniseBufferedLine(line, line.size(), alone);
        bool same = crInBuffer == crAlone && inBuffer.Count == alone.Count;
        for (int i = 0; i < MaxTokens; ++i)
            same = same && inBuffer[i] == alone[i];
        if (!same) {
            ++differences;
            ADD_FAILURE() << '"' << line << "\" splits differently: " << inBuffer.Count << " tokens against " << alone.Count;
        }
    };
    // Around the limit of 32 tokens, which fits in 64 bytes.
    for (int count = 28; count <= 33; ++count) {
        for (const char* after : {"", " ", "\t\t"}) {
            std::string line;
            for (int i = 0; i < count; ++i)
                line += i == 0 ? "v" : " v";
            line += after;
            compare(line + std::string(64, 'x'), line.size());
        }
    }
    for (int round = 0; round < 200000 && differences < 10; ++round) {
        const bool plain = next() % 4 != 0;  // mostly lines of digits and blanks only
        const std::size_t length = next() % 70;
        std::string buffer;
        for (std::size_t i = 0; i < length + 64; ++i)
            buffer += Alphabet[next() % (plain ? 37 : sizeof Alphabet - 1)];
        compare(buffer, length);
    }
}

TEST_F(Reader, SplitsLinesAtLfAndCrLf)
{
    const struct {
        std::string Bytes;
        std::vector<double> Lines;
    } cases[] = {
        {"1 0 0 0\n2 0 0 0\n", {1, 2}}, {"1 0 0 0\r\n2 0 0 0", {1, 2}},
        {"1 0 0 0\r\n\r\n\n2 0 0 0\r\n", {1, 2}},
        {"1 0\r 0 0\r\n", {1}},  // a lone CR is dropped, not a line end
        {"1 0 0 0\r\r\n", {1}}, {"1 0 0 0\r", {1}},
        {"1 0 0 0\r\n2 0 0 0\x1A" "3 0 0 0\r\n", {1, 2}}, {"\x1A" "1 0 0 0", {}},
        {"1 0\0 0 0"s, {1}},  // NUL dropped inside the line
        {"", {}},
    };
    for (const auto& c : cases) {
        InitDrawingState();
        Parse(c.Bytes);
        EXPECT_EQ(LineStarts(), c.Lines) << c.Bytes;
    }
}

TEST_F(Reader, ReadsTheFileAcrossChunks)
{
    // The first line fills the first 64 KiB exactly up to its CR, so CR and
    // LF land in different chunks; a megabyte line follows.
    std::string bytes = "ch 0 0 1 0 \"";
    bytes += std::string(64 * 1024 - 1 - bytes.size(), 'x') + "\r\n1 0 0 0\r\n";
    bytes += "ch 0 0 1 0 \"" + std::string(1 << 20, 'y') + "\r\n";
    for (int i = 2; i < 20000; ++i)
        bytes += std::to_string(i) + " 0 0 0\r\n";
    bytes += "hp1 5 6";  // no final line end
    const std::string path = std::string(Q308_BINARY_DIR) + "/ReaderChunks.txt";
    platform::RemoveFile(path);
    EXPECT_FALSE(ReadExchangeFile(path));  // a missing file is reported
    ASSERT_TRUE(platform::WriteWholeFile(path, bytes));

    ASSERT_TRUE(ReadExchangeFile(path));
    platform::RemoveFile(path);
    ASSERT_EQ(DrawingState.Texts.Count(), 2u);
    EXPECT_EQ(DrawingState.Texts[0].Text, std::string(255, 'x'));
    EXPECT_EQ(DrawingState.Texts[1].Text, std::string(255, 'y'));
    ASSERT_EQ(DrawingState.Lines.Count(), 19999u);
    for (std::size_t i = 0; i < DrawingState.Lines.Count(); ++i)
        ASSERT_EQ(DrawingState.Lines[i].X1, static_cast<double>(i + 1));
    EXPECT_EQ(DrawingState.PickedPoints[1].Y, 6.0);
}

// What a file of four picked points gives the model.
struct FourPointModel {
    std::tuple<int, double, double, int32_t> Points[4];  // number, x, y, kind
    double Scale;                                        // of every layer group
    std::vector<double> Types;                           // width, height, spacing, colour of types 1..10
    std::tuple<int, int, int, int, int, int> Attributes;  // layer group, layer, colours, type, width, text type
};

void ExpectFourPointModel(const std::string& path, const FourPointModel& m)
{
    InitDrawingState();
    ASSERT_TRUE(ReadExchangeFile(path)) << path;
    const DrawingStateRecord& s = DrawingState;
    for (const auto& [number, x, y, kind] : m.Points) {
        const PickedPoint& p = s.PickedPoints[number];
        EXPECT_EQ(std::tuple(p.Present, p.X, p.Y, p.Kind), std::tuple(true, x, y, kind)) << number;
    }
    EXPECT_EQ(s.PickedPointCount, 4);
    EXPECT_EQ(std::vector<double>(std::begin(s.LayerGroupScales), std::end(s.LayerGroupScales)),
              std::vector<double>(16, m.Scale));
    std::vector<double> types;
    for (const TextType& t : s.TextTypes)
        types.insert(types.end(), {t.Width, t.Height, t.Spacing, static_cast<double>(t.Color)});
    EXPECT_EQ(types, m.Types);
    const InitialAttributeSet& a = s.InitialAttributes;
    EXPECT_EQ(std::tuple(a.LayerGroup, a.Layer, a.LineColor, a.LineType, a.LineWidth, a.TextType), m.Attributes);
    EXPECT_FALSE(s.LineWidthPresent);
    EXPECT_EQ(a.FontName, "<ＭＳ ゴシック>");
    EXPECT_EQ(s.ElementOrder.Count(), 0u);  // "hq" and "#" store nothing
}

// The host's manner: runs of blanks between values, two blanks after
// "hp1-", a leading "hq", the font in angle brackets.
TEST_F(Reader, ReadsTheHostsFormat)
{
    ExpectFourPointModel(hostfiles::Fixture("host-four-points.txt"),
                         {{{1, -28417.3362508124, -15530.9281744203, PickDash},
                           {2, -9936.71940358122, -13278.0465216877, PickPlain},
                           {3, -8125.58137066391, -11092.6604832819, PickDash},
                           {4, -12488.0173392285, 24917.3306114752, PickPlain}},
                          200.0,
                          {2, 2, 0, 1, 2.5, 2.5, 0, 1, 3, 3, 0.5, 2, 3.5, 3.5, 0.5, 2, 4, 4, 0.5, 3,
                           5, 5, 1, 3, 6, 6, 1, 4, 7, 7, 1, 5, 8, 8, 1, 6, 5, 2.5, 0.5, 2},
                          {4, 9, 3, 1, 0, 4}});
}

TEST_F(Reader, ReadsTheHostsOwnFile)
{
    const std::optional<std::string> path = hostfiles::HostSample("host-four-points.txt");
    if (!path)
        GTEST_SKIP() << hostfiles::NoHostSamples;
    ExpectFourPointModel(*path, {{{1, -39902.7596123089, -21231.6354329471, PickDash},
                                  {2, -16512.3573276753, -18964.6813169972, PickPlain},
                                  {3, -14714.617057897, -16781.076516939, PickDash},
                                  {4, -18760.5782182327, 27691.4185697456, PickPlain}},
                                 250.0,
                                 {2, 2, 0, 1, 2.5, 2.5, 0, 1, 3, 3, 0.5, 2, 4, 4, 0.5, 2, 5, 5, 0.5, 3,
                                  6, 6, 1, 3, 7, 7, 1, 4, 8, 8, 1, 4, 9, 9, 1, 5, 6, 3, 1, 2},
                                 {2, 6, 2, 1, 0, 3}});
}

#define FIELD(member) [] { return static_cast<double>(DrawingState.member); }
#define R(member) FIELD(ReadingAttributes.member)
#define I(member) FIELD(InitialAttributes.member)
#define TEXT(member) []() -> std::string { return DrawingState.member; }

TEST_F(Reader, AppliesEachRecordKind)
{
    const struct {
        std::string Records;
        double (*Field)();
        double Expected;
    } cases[] = {
        {"hk 12.5", FIELD(AxisAngle), 12.5}, {"hk 5\nhk", FIELD(AxisAngle), 5},
        {"hzs 420 297", FIELD(SheetSize[1]), 297}, {"hn 1 2 3 4", FIELD(HnValues[3]), 4}, {"bz", FIELD(BzPresent), 1},
        {"hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16", FIELD(LayerGroupScales[15]), 16},
        {"hcc 1 2 3 4 5 6 7 8 9 10", FIELD(TextTypes[6].Color), 7},
        {"hcw 1 2 3 4 5 6 7 8 9 10", FIELD(TextTypes[9].Width), 10},
        {"hch 1 2 3 4 5 6 7 8 9 10", FIELD(TextTypes[0].Height), 1},
        {"hcd 0 .1 .2 .3 .4 .5 .6 .7 .8 .9", FIELD(TextTypes[2].Spacing), 0.2},
        // Records short of values change nothing; with four tokens they
        // become lines, and rules that take any count never do.
        {"hs 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9", FIELD(LayerGroupScales[0]), 1},
        {"hcw 5 5 5 5 5 5 5 5 5", FIELD(TextTypes[0].Width), 3},
        {"hs 1 2 3\nhcw 4 5 6\nhn 7 8 9", FIELD(Lines.Count()), 3}, {"lg1 2 3 4\nbz 1 2 3", FIELD(Lines.Count()), 0},
        // Layer groups and layers: one hexadecimal digit after the keyword.
        {"lg5\nlgA", R(LayerGroup), 10}, {"lg5\nlgA", I(LayerGroup), 5}, {"lgf", R(LayerGroup), 15},
        {"lg1F", R(LayerGroup), 1}, {"lg5\nlgG", R(LayerGroup), 0}, {"lg5\nlg", R(LayerGroup), 0},
        {"ly5\nlyC", R(Layer), 12}, {"lyC\nly5", I(Layer), 12},
        {"lgB 77", FIELD(LayerGroupValues[11]), 77}, {"lgB\nly3 9", FIELD(LayerValues[11 * 16 + 3]), 9},
        // Line attributes; the extended colour survives other colours.
        {"lc10 5\nlc3\nlc7 9", R(ExtendedColor), 5}, {"lc10 5\nlc10", R(ExtendedColor), 5},
        {"lc10 5\nlc3", I(LineColor), 10}, {"lc3\nlc5", R(LineColor), 5},
        {"lt2\nlt5", I(LineType), 2}, {"lt2\nlt5", R(LineType), 5}, {"lw4\nlw6", I(LineWidth), 4},
        {"lw4\nlw6", R(LineWidth), 6}, {"lw4", FIELD(LineWidthPresent), 1}, {"pn8", R(PointColor), 8},
        // Text types; the free size only from "cn0" with four values.
        {"cn0 2.5 2.5 0.5 4", I(FreeSpacing), 0.5}, {"cn0 2.5 2.5 0.5 4", I(FreeColor), 4},
        {"cn0 5 5", I(TextType), 0}, {"cn0 5 5", I(FreeWidth), 2}, {"cn0 1 2 3 4\ncn0 9 9", R(FreeWidth), 1},
        {"cn5\ncn0 1 2 3 4", I(FreeColor), 1}, {"cn5\ncn0 1 2 3 4", R(FreeHeight), 2},
        {"cn3\ncn7", I(TextType), 3}, {"cn3\ncn7", R(TextType), 7}, {"cn\"$X", FIELD(First.Cn), 1},
        // Text colour: the one byte after "cc", 0 outside 0..8.
        {"cc5\ncc3", R(TextColor), 3}, {"cc5\ncc12", R(TextColor), 1}, {"cc5\ncc9", R(TextColor), 0},
        {"cc5\ncc8", R(TextColor), 8}, {"cc5\ncc", R(TextColor), 0},
        // Marks for the next element, and the modes.
        {"z1\nz3\nz3\nz6", FIELD(PendingZFlags), 5}, {"z2\nz5", FIELD(PendingZFlags), 18},
        {"hhp5ln", FIELD(PendingHhpNumber), 5}, {"hhp12", FIELD(PendingHhpNumber), 12},
        {"hhp3ci", FIELD(PendingHhpNumber), 3}, {"hhp4ch", FIELD(PendingHhpNumber), 4},
        {"hhp7-", FIELD(PendingHhpNumber), 0}, {"hhp", FIELD(PendingHhpNumber), 0},
        {"pl\npl", FIELD(PolylineCount), 2}, {"pl\nmsg", FIELD(PolylineMode), 0},
        {"pl\nmsg", FIELD(DimensionMode), 1}, {"msg\n#", FIELD(DimensionMode), 0},
        {"msg\npl", FIELD(DimensionMode), 0}, {"pl\nlg1", FIELD(PolylineMode), 0},
        {"pl\ncc1", FIELD(PolylineMode), 0}, {"pl\npn1", FIELD(PolylineMode), 0},
        {"pl\nlgnA\nz1\nhp1 1 1\nhhp1", FIELD(PolylineMode), 1},
    };
    ExpectFields(cases);
}

TEST_F(Reader, KeepsNamesPathsAndFontsWhole)
{
    const struct {
        std::string Records;
        std::string (*Field)();
        std::string Expected;
    } cases[] = {
        {"lgB\nlgnGround floor", TEXT(LayerGroupNames[11]), "Ground"},  // the blank ends the token
        {"lgB\nly3\nlyn\"Walls and doors", TEXT(LayerNames[11 * 16 + 3]), "Walls and doors"},
        {"cn\"$\ncn\"$<ＭＳ 明朝>\ncn\"$Arial Narrow", TEXT(InitialAttributes.FontName), "<ＭＳ 明朝>"},
        {"cn\"$\ncn\"$<ＭＳ 明朝>\ncn\"$Arial Narrow", TEXT(ReadingAttributes.FontName), "Arial Narrow"},
        {"file=C:\\jww\\My Drawings\\plan 1.jww\r\n", TEXT(DrawingFilePath), "C:\\jww\\My Drawings\\plan 1.jww"},
    };
    ExpectFields(cases);
}

TEST_F(Reader, ReadsPickedPoints)
{
    const struct {
        std::string Record;
        int Number;  // 0: nothing stored
        int32_t Kind;
    } cases[] = {
        {"hp1 10 20", 1, PickPlain}, {"hp1- 10 20", 1, PickDash}, {"hp2ln 10 20", 2, PickLine},
        {"hp3ci 10 20", 3, PickCircle}, {"hp4ch 10 20", 4, PickChar}, {"hp12- 10 20", 12, PickDash},
        {"hp99 10 20", 99, PickPlain}, {"hp0 10 20", 0, 0}, {"hp100 10 20", 0, 0}, {"hp1 10", 0, 0},
        {"hp1ch- 10 20", 1, PickChar},  // the later marker kind wins
        {"hp1-ch 10 20", 0, 0},         // "1-" is no number
        // The trail byte 0x6C of a two-byte character is not the "l" of "ln".
        {"hp2-\x81\x6Cn 10 20", 2, PickDash},
    };
    for (const auto& c : cases) {
        InitDrawingState();
        Parse(c.Record);
        EXPECT_EQ(DrawingState.PickedPointCount, c.Number ? 1 : 0) << c.Record;
        if (c.Number == 0)
            continue;
        const PickedPoint& p = DrawingState.PickedPoints[c.Number];
        EXPECT_EQ(std::tuple(p.Present, p.X, p.Y, p.Kind), std::tuple(true, 10.0, 20.0, c.Kind)) << c.Record;
    }
    InitDrawingState();
    Parse("hp1 1 2\nhp1 3 4\n");  // a repeated number overwrites and counts again
    EXPECT_EQ(std::tuple(DrawingState.PickedPointCount, DrawingState.PickedPoints[1].X), std::tuple(2, 3.0));
}

TEST_F(Reader, SurvivesHostileInput)
{
    std::string junk = "lg\xFF\nly\x82\ncc\x00\n"s;
    for (int b = 0; b < 256; ++b)
        if (b != 0x1A && b != 255 - 0x1A)  // either would end the file
            junk += {static_cast<char>(b), static_cast<char>(255 - b)};
    Parse(junk + "\n" + std::string(300000, '\x81') + "\nhk 7\n");
    EXPECT_EQ(DrawingState.ReadingAttributes.LayerGroup, 0);
    EXPECT_EQ(DrawingState.AxisAngle, 7.0);
}
