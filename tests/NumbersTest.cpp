#include "helpers/Numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string>

#include "support/MixedRecords.h"

namespace {

TEST(StrToIntSafe, AcceptsOnlyTheStrictSyntax)
{
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"", 0}, {"  42", 42}, {"42 ", 0}, {"-7", -7}, {"+7", 7}, {"007", 7},
        {"$A", 10}, {"$a", 10}, {"0x1F", 31}, {"0X1f", 31}, {"x10", 16}, {"X10", 16},
        {"-$10", -16}, {"$FFFFFFFF", -1}, {"$000000000FF", 255}, {"$100000000", 0}, {"-$80000000", INT32_MIN},
        {"2147483647", 2147483647}, {"2147483648", 0}, {"-2147483648", INT32_MIN}, {"-2147483649", 0},
        {"99999999999999999999", 0}, {"1.5", 0}, {"\t1", 0}, {"-", 0}, {"$", 0}, {"0x", 0},
        {"$G", 0}, {"1a", 0}, {"--1", 0}, {"- 1", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToIntSafe(c.text), c.expected) << '"' << c.text << '"';
}

TEST(StrToFloatSafe, AcceptsOnlyTheStrictSyntax)
{
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"", 0}, {" 3.25", 3.25}, {"3.25 ", 0}, {"3,25", 0}, {"-", 0}, {"+", 0}, {"1E5", 100000},
        {"12", 12}, {"-1.5", -1.5}, {".5", 0.5}, {"-.5", -0.5}, {"5.", 5}, {"5.e2", 500},
        {"2.5E-3", 2.5e-3}, {"+1e+2", 100}, {"1e", 0}, {"1e+", 0}, {"abc", 0}, {"1e999", 0},
        {"-1e999", 0}, {"1e-999", 0}, {"0.1", 0.1}, {"\t1", 0}, {"1..2", 0}, {"0x10", 0}, {"1e5.0", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToFloatSafe(c.text), c.expected) << '"' << c.text << '"';
}

TEST(IsNumberText, TellsANumberFromTextReadAsZero)
{
    for (const char* number : {"0", " 0.0", "-0", "+.0e5", "12", "5.", ".5", "2.5E-3", "1e308", "4.9e-324"})
        EXPECT_TRUE(IsNumberText(number)) << number;
    for (const char* text : {"", "   ", ".", "-", "e5", "1e", "abc", "3,25", "3.25 ", "1e999", "-1e999", "1e-999",
                             "\t1", "0x10", "1..2", "\x82\x4f"})
        EXPECT_FALSE(IsNumberText(text)) << text;
}

TEST(RoundDecimals, RoundsByModeSymmetricallyInSign)
{
    const struct {
        double value;
        int decimals, mode;
        double expected;
    } cases[] = {
        {2.375, 2, 0, 2.37}, {2.375, 2, 2, 2.38}, {2.3125, 2, 2, 2.31}, {2.3125, 2, 1, 2.32},
        {1.00390625, 1, 1, 1}, {1.0625, 1, 1, 1.1}, {-2.5, 0, 2, -3}, {-2.4, 0, 2, -2},
        {7.8, 0, 0, 7}, {7.8, 20, 0, 7}, {7.8, -1, 0, 7}, {7.8, 14, 2, 8}, {-7.22, 1, 1, -7.3},
        // The stored values lie just below 0.21, 0.15 and 0.3; scaled in
        // extended precision they stay below the boundary, where a double
        // product would round onto it (2.1, 1.5, 3).
        {0.21, 1, 1, 0.2}, {0.15, 1, 2, 0.1}, {0.3, 1, 0, 0.2},
        {1234.5678, 3, 2, 1234.568}, {0.1, 13, 0, 0.1}, {1e300, 2, 2, 1e300}, {5, 7, 7, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundDecimals(c.value, c.decimals, c.mode), c.expected) << c.value << " " << c.decimals << " " << c.mode;
    EXPECT_FALSE(std::signbit(RoundDecimals(-0.001, 2, 0)));
}

TEST(SnapTiny, SnapsToTheGridHalvesAwayFromZero)
{
    const struct {
        double value, expected;
    } cases[] = {
        {1.00000000004, 1}, {-3e-11, 0}, {-1.23456789012e-7, -1.235e-7}, {89.99999999999999, 90},
        {5e-11, 1e-10}, {-5e-11, -1e-10}, {0.1, 0.1}, {12.3456789, 12.3456789}, {1e20, 1e20},
    };
    for (const auto& c : cases) EXPECT_EQ(SnapTiny(c.value), c.expected) << c.value;
    EXPECT_FALSE(std::signbit(SnapTiny(-3e-11)));
}

TEST(FormatFixed, RoundsHalfAwayOnEighteenDigits)
{
    const struct {
        double value;
        int decimals;
        const char *fixed, *separated;
    } cases[] = {
        {0.5, 0, "1", "1"}, {2.5, 0, "3", "3"}, {-0.125, 2, "-0.13", "-0.13"}, {3, 2, "3.00", "3.00"},
        {2.675, 2, "2.67", "2.67"}, {9.995, 2, "9.99", "9.99"}, {9.9951, 2, "10.00", "10.00"},
        {999.9999, 2, "1000.00", "1,000.00"}, {1000, 0, "1000", "1,000"}, {-1234.5, 1, "-1234.5", "-1,234.5"},
        {1234567.891, 2, "1234567.89", "1,234,567.89"}, {123456, 0, "123456", "123,456"},
        {0, 3, "0.000", "0.000"}, {-0.0, 0, "0", "0"}, {-0.001, 2, "0.00", "0.00"}, {-0.005, 2, "-0.01", "-0.01"},
        {0.0004, 3, "0.000", "0.000"}, {0.0005, 3, "0.001", "0.001"}, {123.456, -2, "123", "123"},
        {1e17, 0, "100000000000000000", "100,000,000,000,000,000"},
        {1e20 / 3, 1, "33333333333333332000.0", "33,333,333,333,333,332,000.0"},
        {std::nan(""), 1, "0.0", "0.0"}, {-INFINITY, 0, "0", "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.fixed) << c.value << " " << c.decimals;
        EXPECT_EQ(FormatWithSeparators(c.value, c.decimals), c.separated) << c.value << " " << c.decimals;
    }
}

TEST(FormatReal, FifteenDigitsFixedOrScientific)
{
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {0, "0"}, {-0.0, "0"}, {100, "100"}, {0.5, "0.5"}, {-2.25, "-2.25"}, {7, "7"}, {-15, "-15"},
        {0.0001, "0.0001"}, {0.00001, "1E-5"}, {-0.000012, "-1.2E-5"}, {0.000099999999999999999, "0.0001"},
        {0.00009999999999999, "9.999999999999E-5"}, {1.5e20, "1.5E20"}, {1e15, "1E15"},
        {999999999999999.9, "1E15"}, {999999999999999, "999999999999999"}, {99999999999999.99, "100000000000000"},
        {123456789012345678.0, "1.23456789012346E17"}, {0.1 + 0.2, "0.3"}, {-1.0 / 3, "-0.333333333333333"},
        {2.0 / 3, "0.666666666666667"}, {1e-300, "1E-300"}, {1.7976931348623157e308, "1.79769313486232E308"},
        {std::nan(""), "0"}, {INFINITY, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatReal(c.value), c.expected) << c.value;
    for (double v : {1.25, -3.5e-7, 6.02214076e23, 1234567.125}) EXPECT_EQ(StrToFloatSafe(FormatReal(v)), v);
}

TEST(FormatInt, DecimalAndHexadecimal)
{
    const struct {
        int64_t value;
        const char *decimal, *hex;
    } cases[] = {
        {0, "0", "0"}, {9, "9", "9"}, {10, "10", "A"}, {15, "15", "F"}, {16, "16", "10"}, {255, "255", "FF"},
        {-26, "-26", "-1A"}, {INT64_MIN, "-9223372036854775808", "-8000000000000000"},
        {INT64_MAX, "9223372036854775807", "7FFFFFFFFFFFFFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatInt(c.value) + " " + FormatHex(c.value), std::string(c.decimal) + " " + c.hex);
}

}  // namespace

// Numbers of every shape, against from_chars itself: the short path for up
// to 19 digits must give the very same double, bit for bit.
TEST(StrToFloatSafe, GivesWhatFromCharsGivesForEveryShape)
{
    records::NumberSource random(2024);
    int differences = 0;
    for (int i = 0; i < 300000 && differences < 10; ++i) {
        const uint64_t r = random.Next();
        std::string text, plain;  // plain: what from_chars takes
        if (r & 1) text += (r & 2) ? '-' : '+';
        if ((r & 3) == 3) plain += '-';
        const int integral = static_cast<int>((r >> 2) % 24), fraction = static_cast<int>((r >> 7) % 24);
        const bool dot = (r >> 12) & 1;
        auto digits = [&](int count) {
            for (int d = 0; d < count; ++d) {
                const char c = static_cast<char>('0' + random.Next() % 10);
                text += c;
                plain += c;
            }
        };
        digits(integral);
        if (dot) {
            text += '.';
            if (integral == 0) plain += '0';
            plain += '.';
            digits(fraction);
        }
        if (integral == 0 && !(dot && fraction > 0)) continue;  // no digit: not a number
        if ((r >> 13) & 1) {
            const int exponent = static_cast<int>((r >> 14) % 700) - 350;
            text += (r >> 24) & 1 ? 'E' : 'e';
            text += exponent < 0 ? "-" : ((r >> 25) & 1 ? "+" : "");
            plain += 'e' + std::to_string(exponent);
            text += std::to_string(exponent < 0 ? -exponent : exponent);
        }
        double expected = 0;
        const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), expected);
        if (result.ec != std::errc() || !std::isfinite(expected) || expected == 0) expected = 0;
        const double got = StrToFloatSafe(text);
        if (std::memcmp(&got, &expected, sizeof got) != 0) {
            ++differences;
            ADD_FAILURE() << text << " gives " << got << ", from_chars " << expected;
        }
    }
}

namespace {

// The real grammar read the plain way, one byte at a time, and from_chars
// for the value: what StrToFloatSafe must give for any bytes at all.
double ReferenceValue(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::string plain = negative ? "-" : "";
    bool anyDigit = false;
    auto digitsFrom = [&](std::size_t& at) {
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            plain += text[at++];
            anyDigit = true;
        }
    };
    plain += '0';  // from_chars wants a digit before a full stop
    digitsFrom(i);
    if (i < text.size() && text[i] == '.') {
        plain += text[i++];
        digitsFrom(i);
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        std::string exponent;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) exponent += text[i++];
        const std::size_t first = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') exponent += text[i++];
        if (i == first) return 0;
        if (exponent[0] == '+') exponent.erase(0, 1);
        plain += 'e' + exponent;
    }
    if (i != text.size() || !anyDigit) return 0;
    double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value) || value == 0) return 0;
    return value;
}

}  // namespace

// Arbitrary bytes, biased to what borders on a number: the other bytes of a
// word read at once (0xFA..0xFF, "/", ":", NUL), and bytes after the text's
// end, which must make no difference.
TEST(StrToFloatSafe, AgreesWithThePlainReadingOnAnyBytes)
{
    static constexpr char Alphabet[] = "0123456789012345678901234567890123456789..eE+- /:x\xFA\xFF\xFE\xFB\x80";
    records::NumberSource random(77);
    int differences = 0;
    for (int i = 0; i < 400000 && differences < 10; ++i) {
        const std::size_t length = random.Next() % 27;
        std::string buffer;
        for (std::size_t k = 0; k < length + 16; ++k) {
            const uint64_t r = random.Next();
            buffer += (r & 7) == 7 ? static_cast<char>(r >> 8) : Alphabet[(r >> 8) % (sizeof Alphabet - 1)];
        }
        const std::size_t offset = random.Next() % 9;
        const std::string text = buffer.substr(offset, length);
        const double expected = ReferenceValue(text);
        const double got = StrToFloatSafe(std::string_view(buffer).substr(offset, length));
        if (std::memcmp(&got, &expected, sizeof got) != 0) {
            ++differences;
            ADD_FAILURE() << '"' << text << "\" gives " << got << ", the plain reading " << expected;
        }
        if (!IsNumberText(text) && got != 0) {
            ++differences;
            ADD_FAILURE() << '"' << text << "\" is no number, yet reads as " << got;
        }
    }
}
