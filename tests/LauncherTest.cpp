// The files shipped beside the Windows program: the launcher the host runs
// (Shift-JIS, CR LF, its directives in the host's order) and the read-me
// (UTF-8 with a byte-order mark, CR LF).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "helpers/SjisText.h"

namespace {

std::string ReadFile(const std::string& relative)
{
    std::ifstream in(std::string(Q308_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines without their CR LF; false when any line end is not CR LF or the
// last line has none.
bool SplitCrLf(const std::string& bytes, std::vector<std::string>& lines)
{
    lines.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos || bytes.compare(end, 2, "\r\n") != 0)
            return false;
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return true;
}

std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// One launcher a kind of dimension, each starting the program with its
// argument; a chain asks for its line's position, then its points until
// the user ends the picking.
const struct {
    const char* File;
    const char* Command;
    bool Chain;
} Launchers[] = {{"dist/q308.bat", "q308.exe", false},       {"dist/q308h.bat", "q308.exe /h", false},
                 {"dist/q308a.bat", "q308.exe /a", false},   {"dist/q308c.bat", "q308.exe /c", true},
                 {"dist/q308hc.bat", "q308.exe /hc", true},  {"dist/q308ac.bat", "q308.exe /ac", true}};

TEST(Launcher, IsShiftJisWithoutByteOrderMark)
{
    for (const auto& launcher : Launchers) {
        SCOPED_TRACE(launcher.File);
        const std::string bytes = ReadFile(launcher.File);
        ASSERT_FALSE(bytes.empty());
        EXPECT_NE(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << "a UTF-8 byte-order mark would end up in the host's list";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (!IsLeadByte(b)) {
                EXPECT_LT(b, 0x80) << "half-width katakana or a stray byte at " << i;
                continue;
            }
            ASSERT_LT(i + 1, bytes.size()) << "lead byte at the end";
            const unsigned char trail = static_cast<unsigned char>(bytes[++i]);
            EXPECT_TRUE((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC)) << "second byte at " << i;
            EXPECT_LE(b, 0xEF) << "a character outside JIS X 0208 at " << i - 1;
        }
    }
}

TEST(Launcher, GivesTheDirectivesInTheHostsOrder)
{
    std::set<std::string> titles;
    for (const auto& launcher : Launchers) {
        SCOPED_TRACE(launcher.File);
        std::vector<std::string> lines;
        ASSERT_TRUE(SplitCrLf(ReadFile(launcher.File), lines)) << "a line end other than CR LF, or none at the end";
        // What each line must start with, and whether Japanese text follows.
        // #h4 before the picks: no range to select first, and the whole
        // drawing handed over for the preview to show around the dimension.
        struct Line {
            std::string Start;
            bool Text;
        };
        const std::vector<Line> expected =
            launcher.Chain ? std::vector<Line>{{"REM ", true},      {"REM #jww", false}, {"REM #cd", false},
                                               {"REM #h4", false},  {"REM #1 ", true},   {"REM #2 ", true},
                                               {"REM #3 ", true},   {"REM #99#", false}, {"REM #e", false},
                                               {launcher.Command, false}}
                           : std::vector<Line>{{"REM ", true},     {"REM #jww", false}, {"REM #cd", false},
                                               {"REM #h4", false}, {"REM #1 ", true},   {"REM #2 ", true},
                                               {"REM #3 ", true},  {"REM #4 ", true},   {"REM #e", false},
                                               {launcher.Command, false}};
        ASSERT_EQ(lines.size(), expected.size());
        std::set<std::string> prompts;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE("line " + std::to_string(i + 1));
            ASSERT_EQ(lines[i].compare(0, expected[i].Start.size(), expected[i].Start), 0);
            const std::string rest = lines[i].substr(expected[i].Start.size());
            if (!expected[i].Text) {
                EXPECT_EQ(rest, "") << "a directive and the command stand alone";
                continue;
            }
            const auto isLead = [](char c) { return IsLeadByte(static_cast<unsigned char>(c)); };
            EXPECT_TRUE(std::any_of(rest.begin(), rest.end(), isLead)) << "Japanese text expected";
            EXPECT_TRUE(rest.front() != '#' && rest.front() != ' ' && rest.back() != ' ') << "a title, not a directive";
            EXPECT_LE(rest.size(), 60u) << "the status bar shows one short line";
            EXPECT_TRUE(prompts.insert(rest).second) << "two lines say the same";
        }
        // The user is told how to end the row.
        if (launcher.Chain) {
            EXPECT_NE(lines[6].find("［点指示終了］"), std::string::npos);
        }
        // The host lists the launchers by their titles.
        EXPECT_TRUE(titles.insert(lines[0]).second) << "two launchers with one title";
    }
}

TEST(ReadMe, IsUtf8WithByteOrderMarkAndCrLfInBothLanguages)
{
    const std::string bytes = ReadFile("dist/README.txt");
    ASSERT_GT(bytes.size(), 3u);
    EXPECT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << "Notepad needs the mark to read UTF-8 on Japanese Windows";
    std::vector<std::string> lines;
    EXPECT_TRUE(SplitCrLf(bytes, lines));
    for (std::size_t i = 3; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        ASSERT_TRUE(length != 0 && i + length <= bytes.size()) << "bad UTF-8 at byte " << i;
        for (int k = 1; k < length; ++k)
            ASSERT_EQ(static_cast<unsigned char>(bytes[i + k]) >> 6, 2) << "bad UTF-8 at byte " << i + k;
        i += static_cast<std::size_t>(length);
    }
    for (const std::string& needed : {Utf8(u8"【日本語】"), std::string("[English]"), std::string("q308.bat"), std::string("q308h.bat"), std::string("q308a.bat"), std::string("q308c.bat"), std::string("q308hc.bat"), std::string("q308ac.bat"),
                                      std::string("q304.dat"), std::string("q308h.dat"), std::string("q308a.dat"),
                                      std::string("q308.exe"), std::string("64bit"), std::string("32bit"),
                                      Utf8(u8"連続して作図（ＯＫの後、次の寸法の点を指示）"), std::string("q308.ini")})
        EXPECT_NE(bytes.find(needed), std::string::npos) << "the read-me does not mention " << needed;
}

}  // namespace
