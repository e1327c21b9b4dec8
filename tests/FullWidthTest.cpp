#include "platform/FullWidth.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Charset.h"

namespace {

using platform::MapFullWidthByTable;

TEST(MapFullWidthByTable, ConvertsMixedText)
{
    const struct {
        std::string piece, expected;
    } cases[] = {
        {"12.5", "１２．５"}, {"a b", "ａ　ｂ"}, {"AZaz09", "ＡＺａｚ０９"}, {"\\", "\\"}, {"", ""},
        {"!#$%&()*+,-./:;<=>?@[]^_`{|}", "！＃＄％＆（）＊＋，－．／：；＜＝＞？＠［］＾＿｀｛｜｝"},
        {"\"'~-", "\xFA\x57\xFA\x56\x81\x60\x81\x7C"},
        {"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞﾀﾞﾊﾞﾊﾟﾎﾟ", "ガギグゲゴザダバパポ"}, {"ｳﾞ", "\x83\x94"}, {"ｶ", "カ"},
        {"ﾜﾞｱﾟﾅﾞ", "ワ゛ア゜ナ゛"}, {"ﾞﾟ", "゛゜"}, {"ﾊﾞﾟ", "バ゜"},
        {"｡｢｣､･ｰｦｧｯﾝ", "。「」、・ーヲァッン"}, {"ぁあみむゑをん", "ァアミムヱヲン"},
        {"漢字カナＡ１　", "漢字カナＡ１　"},
        {"表", "表"},                                    // second byte 0x5C is no backslash
        {"\x88\xB6\x88\xDE", "\x88\xB6\x88\xDE"},  // second bytes in the half-width kana range
        {"\x82\x9E\x82\xF2", "\x82\x9E\x82\xF2"},  // beside the hiragana
        {"\x9F\x41\xE0\x41\xFC\x41", "\x9F\x41\xE0\x41\xFC\x41"},  // the lead-byte ranges' edges
        {"\t\r\n\x7F\xA0\xFE\xFF", "\t\r\n\x7F\xA0\xFE\xFF"}, {"A\x82", "Ａ\x82"},
        {std::string("ab\0cd", 5), "ａｂ"},
    };
    for (const auto& c : cases) EXPECT_EQ(MapFullWidthByTable(c.piece), c.expected) << c.piece;
}

std::string Utf8Of(unsigned code)
{
    std::string s;
    s += static_cast<char>(0xE0 | (code >> 12));
    s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (code & 0x3F));
    return s;
}

unsigned CodeOf(const std::string& utf8)
{
    return ((utf8[0] & 0x0Fu) << 12) | ((utf8[1] & 0x3Fu) << 6) | (utf8[2] & 0x3Fu);
}

// The table against the code page's own tables, character by character.
TEST(MapFullWidthByTable, AgreesWithTheCodePageForAsciiAndHiragana)
{
    for (int c = 0x21; c <= 0x7E; ++c) {
        if (c == '\\') continue;  // the locale mapping keeps it
        const std::string expected = platform::Utf8ToSjis(Utf8Of(0xFF01 + c - 0x21));
        EXPECT_EQ(MapFullWidthByTable(std::string(1, static_cast<char>(c))), expected) << static_cast<char>(c);
    }
    for (int t = 0x9F; t <= 0xF1; ++t) {
        const std::string h{'\x82', static_cast<char>(t)};
        const std::string utf8 = platform::SjisToUtf8(h);
        ASSERT_EQ(utf8.size(), 3u);
        const std::string expected = platform::Utf8ToSjis(Utf8Of(CodeOf(utf8) + 0x60));
        EXPECT_EQ(MapFullWidthByTable(h), expected) << std::hex << t;
    }
}

}  // namespace
