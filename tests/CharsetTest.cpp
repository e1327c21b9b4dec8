#include "platform/Charset.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::SjisToUtf8;
using platform::Utf8ToSjis;

TEST(Charset, SourceLiteralsAreShiftJis)
{
    EXPECT_EQ(std::string("垂直寸法線Ｂ"), "\x90\x82\x92\xBC\x90\xA1\x96\x40\x90\xFC\x82\x61");
    EXPECT_EQ(std::string("図寸mm"), "\x90\x7D\x90\xA1mm");
    EXPECT_EQ(std::string("ｶ"), "\xB6");
}

TEST(Charset, ConvertsBothWays)
{
    const struct {
        std::string sjis, utf8;
    } cases[] = {
        {"", ""},
        {"abc 123\r\n", "abc 123\r\n"},
        {"\\~", "\\~"},
        {"\x90\x82\x92\xBC\x90\xA1\x96\x40\x90\xFC\x82\x61", "\xE5\x9E\x82\xE7\x9B\xB4\xE5\xAF\xB8\xE6\xB3\x95\xE7\xB7\x9A\xEF\xBC\xA2"},
        {"\xB1", "\xEF\xBD\xB1"},               // half-width katakana A
        {"\x81\x40", "\xE3\x80\x80"},           // ideographic space
        {"\x87\x40", "\xE2\x91\xA0"},           // circled one, a code page 932 extension
        {"\xFA\x57", "\xEF\xBC\x82"},           // full-width quotation mark
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SjisToUtf8(c.sjis), c.utf8);
        EXPECT_EQ(Utf8ToSjis(c.utf8), c.sjis);
    }
}

TEST(Charset, ReplacesWhatCannotBeConverted)
{
    const std::string fffd = "\xEF\xBF\xBD";
    const struct {
        std::string sjis, utf8;
    } toUtf8[] = {
        {"a\x82", "a" + fffd},                  // lead byte at the end
        {"\x85\x40z", fffd + "z"},              // unassigned pair
        {"\xFF" "b", fffd + "b"},
        {"\xA0", fffd},
    };
    for (const auto& c : toUtf8) EXPECT_EQ(SjisToUtf8(c.sjis), c.utf8);

    const struct {
        std::string utf8, sjis;
    } toSjis[] = {
        {"\xF0\x9F\x98\x80x", "?x"},            // a character without a Shift-JIS form
        {"\xFFx", "?x"},                        // not UTF-8
        {"a\xE5\x9E", "a??"},                   // truncated sequence
        {"\xC0\xAF\xE0\x80\xAF", "?????"},     // overlong slashes
        {"\xED\xA0\x80", "???"},                // surrogate
        {"\xC3\xA9", "?"},                      // e acute
    };
    for (const auto& c : toSjis) EXPECT_EQ(Utf8ToSjis(c.utf8), c.sjis);
}

}  // namespace
