// The kinds of dimension: which argument chooses which, how a Windows
// command line splits into arguments, the angle each kind builds in, and
// what each kind tells the user.
#include <gtest/gtest.h>

#include <set>

#include "dialog/DimensionKind.h"
#include "dialog/Unit1.h"

namespace {

TEST(DimensionKind, ArgumentsChooseTheKindOrNameWhatIsUnknown)
{
    using Args = std::vector<std::string>;
    const struct {
        Args Arguments;
        std::optional<DimensionKind> Kind;
        std::string Unknown;
    } cases[] = {
        {{}, DimensionKind::Vertical, ""},
        {{""}, DimensionKind::Vertical, ""},
        {{"/h"}, DimensionKind::Horizontal, ""},
        {{"/H"}, DimensionKind::Horizontal, ""},
        {{"/a"}, DimensionKind::Aligned, ""},
        {{"/A"}, DimensionKind::Aligned, ""},
        {{"/c"}, DimensionKind::VerticalChain, ""},
        {{"/HC"}, DimensionKind::HorizontalChain, ""},
        {{"/aC"}, DimensionKind::AlignedChain, ""},
        {{"/ch"}, std::nullopt, "/ch"},
        {{"/c", "/h"}, std::nullopt, "/h"},
        {{"/v"}, std::nullopt, "/v"},
        {{"h"}, std::nullopt, "h"},
        {{"/ha"}, std::nullopt, "/ha"},
        {{"-h"}, std::nullopt, "-h"},
        {{"/"}, std::nullopt, "/"},
        {{"/h", "/a"}, std::nullopt, "/a"},
        {{"", "x"}, std::nullopt, "x"},
        {{"/\x82\xA0"}, std::nullopt, "/\x82\xA0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.Arguments));
        std::string unknown = "stale";
        EXPECT_EQ(KindFromArguments(c.Arguments, unknown), c.Kind);
        EXPECT_EQ(unknown, c.Unknown);
    }
}

TEST(DimensionKind, CommandLinesSplitAsTheRuntimeSplitsThem)
{
    using Args = std::vector<std::string>;
    const struct {
        std::string Line;
        Args Arguments;
    } cases[] = {
        {"", {}},
        {"  \t ", {}},
        {"/h", {"/h"}},
        {"  /a\t", {"/a"}},
        {"\"/h\"", {"/h"}},
        {"\"a b\" c", {"a b", "c"}},
        {"a\"b c\"d e", {"ab cd", "e"}},
        {"\"\"", {""}},
        {R"(a\"b)", {"a\"b"}},
        {R"(a\\"b c")", {"a\\b c"}},
        {R"(a\\\"b)", {"a\\\"b"}},
        {R"(a\b\\c)", {"a\\b\\\\c"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"\"unclosed quote", {"unclosed quote"}},
        // The second byte of a Shift-JIS character may be 0x5C, the backslash.
        {"\"\x95\x5C\" x", {"\x95\x5C", "x"}},
        {"\x95\x5C\"a b\"", {"\x95\x5C" "a b"}},
        {"\x82", {"\x82"}},  // a lead byte at the end stays itself
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line);
        EXPECT_EQ(SplitCommandLine(c.Line), c.Arguments);
    }
}

TEST(DimensionKind, EachKindBuildsInItsOwnFrame)
{
    const struct {
        DimensionKind Kind;
        double Axis, X1, Y1, X2, Y2, Angle;
    } cases[] = {
        {DimensionKind::Vertical, 30, 0, 0, 10, 40, 30},
        {DimensionKind::Vertical, -123.5, 5, 5, 5, 5, -123.5},
        {DimensionKind::Horizontal, 0, 0, 0, 10, 40, -90},
        {DimensionKind::Horizontal, 30, 0, 0, 10, 40, -60},
        // The host's axis plays no part in the aligned dimension.
        {DimensionKind::Aligned, 30, 0, 0, 10, 0, -90},
        {DimensionKind::Aligned, 0, 0, 0, 0, 10, 0},
        {DimensionKind::Aligned, 0, 1, 1, 0, 0, 135},
        {DimensionKind::Aligned, 0, 2, 2, 2, 2, -90},  // no direction: as along the x axis
        // A chain turns as its single kind; the aligned one from its first to its last point.
        {DimensionKind::VerticalChain, 30, 0, 0, 10, 40, 30},
        {DimensionKind::HorizontalChain, 30, 0, 0, 10, 40, -60},
        {DimensionKind::AlignedChain, 0, 1, 1, 0, 0, 135},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ConstructionAxisAngle(c.Kind, c.Axis, c.X1, c.Y1, c.X2, c.Y2), c.Angle)
            << static_cast<int>(c.Kind) << " " << c.X2 << " " << c.Y2;
}

TEST(DimensionKind, EachKindIsItsOwnToolForTheUser)
{
    std::set<std::string_view> captions, files, arguments;
    for (const DimensionKind kind : AllKinds) {
        const KindDescription& d = DescribeKind(kind);
        EXPECT_EQ(d.Kind, kind);
        EXPECT_TRUE(captions.insert(d.Caption).second);
        // A chain keeps the settings of its direction's single kind.
        if (IsChain(kind)) {
            EXPECT_EQ(d.SettingsFileName, DescribeKind(SingleKindOf(kind)).SettingsFileName);
        } else {
            EXPECT_TRUE(files.insert(d.SettingsFileName).second);
        }
        EXPECT_TRUE(arguments.insert(d.Argument).second);
        EXPECT_EQ("q308_" + std::string(d.Caption), d.ApplicationTitle);
        // The help text names its own kind first, and fits the memo's width
        // without wrapping (it has no word wrap).
        ASSERT_FALSE(d.HelpLines.empty());
        EXPECT_NE(d.HelpLines[0].find(d.Caption.substr(0, 4)), std::string_view::npos) << d.HelpLines[0];
        for (const std::string_view line : d.HelpLines)
            EXPECT_LE(line.size(), 24u) << line;
        const TForm1 form(nullptr, kind);
        EXPECT_EQ(form.Caption, d.Caption);
        EXPECT_EQ(form.Memo1.Lines.size(), d.HelpLines.size());
    }
    const KindDescription& vertical = DescribeKind(DimensionKind::Vertical);
    EXPECT_EQ(vertical.Caption, "垂直寸法線Ｂ");
    EXPECT_EQ(vertical.SettingsFileName, "q304.dat");
    EXPECT_EQ(vertical.HelpLines.size(), 31u);
    EXPECT_EQ(DescribeKind(DimensionKind::Horizontal).Caption, "水平寸法線Ｂ");
    EXPECT_EQ(DescribeKind(DimensionKind::Aligned).Caption, "平行寸法線Ｂ");
    EXPECT_EQ(DescribeKind(DimensionKind::Horizontal).SettingsFileName, "q308h.dat");
    EXPECT_EQ(DescribeKind(DimensionKind::Aligned).SettingsFileName, "q308a.dat");

    const std::string message = UnknownArgumentMessage("/x");
    EXPECT_NE(message.find("「/x」"), std::string::npos);
    for (const char* known : {"/h", "/a", "/c", "/hc", "/ac"})
        EXPECT_NE(message.find(known), std::string::npos);
}

}  // namespace
