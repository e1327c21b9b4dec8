#include "helpers/SjisText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(StripSpaces, DropsBlanksAndControlBytesOnly)
{
    const struct {
        std::string text, expected;
    } cases[] = {
        {" mm\x81\x40", "mm"}, {"a\tb\r\nc", "abc"}, {"  \x81\x40 \x81\x40", ""}, {"", ""},
        {std::string("a\0b", 3), "ab"}, {"\x81\x41\x81\x40", "\x81\x41"}, {"\x82\xA0 ", "\x82\xA0"},
        {"\x83\x40", "\x83\x40"},                      // second byte 0x40 under another lead byte
        {"\x7F\xA0\xB1\xFE\xFF", "\x7F\xA0\xB1\xFE\xFF"},
        {"\x95\x20x", "\x95\x20x"},                    // 0x20 as a second byte is no blank
        {"a\x81", "a\x81"},                              // a lead byte without a partner is kept
    };
    for (const auto& c : cases) EXPECT_EQ(StripSpaces(c.text), c.expected);
}

TEST(ToFullWidth, ConvertsMixedText)
{
    EXPECT_EQ(ToFullWidth(""), "");
    EXPECT_EQ(ToFullWidth("12.5"), "\x82\x50\x82\x51\x81\x44\x82\x54");
    EXPECT_EQ(ToFullWidth("ｶﾞ寸法mm"), "ガ寸法ｍｍ");
}

TEST(ToFullWidth, SplitsIntoPiecesOfWholeCharacters)
{
    const std::string digit1 = "\x82\x50";  // full-width 1
    // 300 digits: pieces of 126, 126 and 48 bytes, each doubling.
    EXPECT_EQ(ToFullWidth(std::string(300, '1')), Repeat(digit1, 300));

    // One digit and 63 double-byte characters whose second byte would read as
    // ASCII if a piece ever cut one in half.
    const std::string a = "\x83\x41";
    EXPECT_EQ(ToFullWidth("1" + Repeat(a, 63)), digit1 + Repeat(a, 63));

    // A voiced mark combines only inside its piece: the piece ends at byte 126.
    const std::string ka = "\xB6", voiced = "\xDE";
    EXPECT_EQ(ToFullWidth(std::string(124, '1') + ka + voiced), Repeat(digit1, 124) + "\x83\x4B");
    EXPECT_EQ(ToFullWidth(std::string(125, '1') + ka + voiced), Repeat(digit1, 125) + "\x83\x4A\x81\x4A");
    EXPECT_EQ(ToFullWidth("1" + Repeat(a, 62) + ka + voiced), digit1 + Repeat(a, 62) + "\x83\x4A\x81\x4A");

    // A double-byte character that would end at byte 127 opens the next piece.
    EXPECT_EQ(ToFullWidth(std::string(125, '1') + a + std::string(123, '1') + ka + voiced),
              Repeat(digit1, 125) + a + Repeat(digit1, 123) + "\x83\x4A\x81\x4A");
}

TEST(TextWidth, CountsHalfWidthAsHalf)
{
    const struct {
        std::string text;
        double w, d, expected;
    } cases[] = {
        {"12", 3, 0.5, 3.25}, {"\x82\x50\x82\x51", 3, 0.5, 6.5}, {"1\x82\x51", 3, 0.5, 4.75},
        {"\x82\x51" "1", 3, 0.5, 5.0}, {"", 3, 0.5, 0}, {"a", 3, 0.5, 1.5}, {"\t", 3, 0.5, 0}, {"a\t", 2, 1, 1.5},
        {"\xB1\xB2", 2, 1, 2.5},                        // half-width katakana are single bytes
        {"\x82", 3, 1, 1.5}, {"\x82\x50\x82", 3, 1, 5.5},  // a lone lead byte counts as half width
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(TextWidth(c.text, c.w, c.d), c.expected) << c.text;
}

}  // namespace
