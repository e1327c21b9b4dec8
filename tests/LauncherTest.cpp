// The files shipped beside the Windows program: the launcher the host runs
// (Shift-JIS, CR LF, its directives in the host's order) and the read-me
// (UTF-8 with a byte-order mark, CR LF).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

bool HasDoubleByteCharacter(const std::string& text)
{
    for (unsigned char b : text)
        if (IsLeadByte(b))
            return true;
    return false;
}

std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

const std::string kLauncher = "dist/q308.bat";

TEST(Launcher, EndsEveryLineWithCrLf)
{
    const std::string bytes = ReadFile(kLauncher);
    ASSERT_FALSE(bytes.empty()) << kLauncher << " is missing";
    std::vector<std::string> lines;
    EXPECT_TRUE(SplitCrLf(bytes, lines)) << "a line end other than CR LF, or none after the last line";
}

TEST(Launcher, IsShiftJisWithoutByteOrderMark)
{
    const std::string bytes = ReadFile(kLauncher);
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << "a UTF-8 byte-order mark would end up in the host's list";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (!IsLeadByte(b)) {
            EXPECT_LT(b, 0x80) << "half-width katakana or a stray byte at " << i;
            continue;
        }
        ASSERT_LT(i + 1, bytes.size()) << "lead byte at the end";
        const unsigned char trail = static_cast<unsigned char>(bytes[i + 1]);
        EXPECT_TRUE((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC))
            << "bad second byte " << int(trail) << " at " << i + 1;
        EXPECT_LE(b, 0xEF) << "a character outside JIS X 0208 at " << i;
        ++i;
    }
}

TEST(Launcher, GivesTheDirectivesInTheHostsOrder)
{
    std::vector<std::string> lines;
    ASSERT_TRUE(SplitCrLf(ReadFile(kLauncher), lines));
    // What each line must start with, and whether Japanese text follows.
    const struct {
        std::string Start;
        bool Text;  // a Japanese title or prompt follows
    } expected[] = {
        {"REM ", true},    {"REM #jww", false}, {"REM #cd", false}, {"REM #1 ", true}, {"REM #2 ", true},
        {"REM #3 ", true}, {"REM #4 ", true},   {"REM #e", false},  {"q308.exe", false},
    };
    ASSERT_EQ(lines.size(), std::size(expected));
    std::vector<std::string> prompts;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        const std::string& line = lines[i];
        ASSERT_EQ(line.compare(0, expected[i].Start.size(), expected[i].Start), 0);
        const std::string rest = line.substr(expected[i].Start.size());
        if (!expected[i].Text) {
            EXPECT_EQ(rest, "") << "a directive and the command stand alone";
            continue;
        }
        EXPECT_TRUE(HasDoubleByteCharacter(rest)) << "Japanese text expected";
        EXPECT_NE(rest.front(), '#') << "the title line must not read as a directive";
        EXPECT_NE(rest.front(), ' ');
        EXPECT_NE(rest.back(), ' ');
        // The status bar shows one short line.
        EXPECT_LE(rest.size(), 60u);
        prompts.push_back(rest);
    }
    for (std::size_t i = 0; i < prompts.size(); ++i)
        for (std::size_t j = i + 1; j < prompts.size(); ++j)
            EXPECT_NE(prompts[i], prompts[j]) << "lines " << i << " and " << j << " say the same";
}

TEST(ReadMe, IsUtf8WithByteOrderMarkAndCrLf)
{
    const std::string bytes = ReadFile("dist/README.txt");
    ASSERT_GT(bytes.size(), 3u);
    EXPECT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << "Notepad needs the mark to read UTF-8 on Japanese Windows";
    std::vector<std::string> lines;
    EXPECT_TRUE(SplitCrLf(bytes, lines));
    // Well-formed UTF-8 throughout.
    for (std::size_t i = 3; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        ASSERT_NE(length, 0) << "bad UTF-8 at byte " << i;
        for (int k = 1; k < length; ++k)
            ASSERT_EQ(static_cast<unsigned char>(bytes[i + k]) >> 6, 2) << "bad UTF-8 at byte " << i + k;
        i += static_cast<std::size_t>(length);
    }
}

TEST(ReadMe, TellsBothLanguagesWhatToInstall)
{
    const std::string text = ReadFile("dist/README.txt");
    for (const std::string& needed : {Utf8(u8"【日本語】"), std::string("[English]"), std::string("q308.bat"),
                                      std::string("q308.exe"), std::string("64bit"), std::string("32bit")})
        EXPECT_NE(text.find(needed), std::string::npos) << "the read-me does not mention " << needed;
}

}  // namespace
