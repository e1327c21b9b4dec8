// Number parsing, rounding and formatting.
//
// Grammar of the two parsers (the whole text must match, else the value is 0):
//
//   integer := blank* sign? ( digit+ | hexprefix hexdigit+ )
//   real    := blank* sign? digit* ( "." digit* )? ( ("E"|"e") sign? digit+ )?
//              with at least one character after the blanks and the sign
//   blank   := 0x20 only            sign := "+" | "-"
//   hexprefix := "$" | "x" | "X" | "0x" | "0X"
//
// Nothing here depends on the C locale: the full stop is always the decimal
// separator and the comma always the thousands separator.
#include "helpers/Numbers.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Position after the leading blanks and an optional sign.
std::size_t SkipBlanksAndSign(std::string_view text, bool& negative)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    negative = false;
    if (i < text.size()) {
        // Without a branch: the signs of a drawing's numbers follow no pattern.
        negative = text[i] == '-';
        i += negative | (text[i] == '+');
    }
    return i;
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define Q308_DIGIT_WORDS 1

// Eight bytes of text as a word, the first byte lowest.
uint64_t LoadWord(const char* p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

bool EightDigits(uint64_t word)
{
    return (((word & 0xF0F0F0F0F0F0F0F0ull) | (((word + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) >> 4)) ==
            0x3333333333333333ull);
}

// The value of eight digit bytes, the first the most significant.
uint64_t EightDigitsValue(uint64_t word)
{
    word -= 0x3030303030303030ull;
    word = word * 10 + (word >> 8);  // pairs of digits
    return (((word & 0x000000FF000000FFull) * 0x000F424000000064ull) +
            (((word >> 16) & 0x000000FF000000FFull) * 0x0000271000000001ull)) >> 32;
}
#endif

// Appends the run of decimal digits from p to digits (wrapping round past
// 19 of them) and returns the end of the run. With words, eight digits at
// a time while they are there: the fraction of a coordinate is long, and a
// chain of one multiplication per digit is what it would otherwise wait on.
[[gnu::always_inline]] inline const char* TakeDigits(const char* p, const char* end, uint64_t& digits, bool words)
{
#if defined(Q308_DIGIT_WORDS)
    if (words) {
        while (end - p >= 8) {
            const uint64_t word = LoadWord(p);
            if (!EightDigits(word))
                break;
            digits = digits * 100000000 + EightDigitsValue(word);
            p += 8;
        }
    }
#else
    (void)words;
#endif
    for (; p < end; ++p) {
        const unsigned d = static_cast<unsigned char>(*p) - unsigned{'0'};
        if (d > 9)
            break;
        digits = digits * 10 + d;
    }
    return p;
}

// Where a number has at most 19 digits, they are gathered as an integer
// with the power of ten that scales them. Where both are exact doubles, one
// IEEE multiplication or division rounds correctly, so the value is the one
// from_chars gives, for a fraction of its cost. Only where doubles are
// evaluated in their own precision: extended x87 arithmetic would round
// twice.
inline bool ShortDecimalValue(uint64_t digits, int count, int power, double& value)
{
#if FLT_EVAL_METHOD == 0
    static constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (count > 19 || digits > (uint64_t{1} << 53) || power < -22 || power > 22) return false;
    const double d = static_cast<double>(digits);
    value = power < 0 ? d / PowersOfTen[-power] : d * PowersOfTen[power];
    return true;
#else
    (void)digits, (void)count, (void)power, (void)value;
    return false;
#endif
}

// The decimal digits of |value| to 18 significant digits: value =
// 0.d[0]d[1]...d[17] x 10^(exponent + 1), i.e. d[0] has the weight 10^exponent.
// to_chars gives the exact decimal expansion correctly rounded, whatever the locale.
struct Digits18 {
    char d[18];
    int exponent;
};

Digits18 ExpandDigits(double magnitude)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 17);
    Digits18 out{};
    int count = 0;
    char* p = buffer;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (IsDigit(*p) && count < 18) out.d[count++] = *p;
    while (count < 18) out.d[count++] = '0';
    int exponent = 0;
    if (p < result.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
    out.exponent = exponent;
    return out;
}

// Fixed notation of |value| with the given decimals, rounded half away from
// zero on the 18-digit expansion. Returns the integral and fractional digits.
void FixedDigits(double value, int decimals, std::string& integral, std::string& fraction)
{
    integral.clear();
    fraction.clear();
    double magnitude = std::fabs(value);
    if (magnitude == 0 || !std::isfinite(magnitude)) {
        integral = "0";
        fraction.assign(decimals, '0');
        return;
    }
    Digits18 x = ExpandDigits(magnitude);
    // Digits kept: those with a weight of at least 10^-decimals.
    long kept = static_cast<long>(x.exponent) + 1 + decimals;
    std::string digits;  // digits[i] has the weight 10^(top - i)
    long top = x.exponent;
    if (kept < 0) {
        digits = "0";
        top = 0;
    } else if (kept >= 18) {
        digits.assign(x.d, 18);
    } else {
        digits.assign(x.d, static_cast<std::size_t>(kept));
        if (x.d[kept] >= '5') {
            long i = kept - 1;
            while (i >= 0 && digits[i] == '9') digits[i--] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {
                digits.insert(digits.begin(), '1');
                ++top;
            }
        }
        if (digits.empty()) {
            digits = "0";
            top = 0;
        }
    }
    auto digitAt = [&](long weight) -> char {
        long i = top - weight;
        return (i >= 0 && i < static_cast<long>(digits.size())) ? digits[i] : '0';
    };
    if (top < 0) {
        integral = "0";
    } else {
        for (long w = top; w >= 0; --w) integral += digitAt(w);
    }
    for (long w = -1; w >= -static_cast<long>(decimals); --w) fraction += digitAt(w);
}

bool AllZero(const std::string& s) { return s.find_first_not_of('0') == std::string::npos; }

// Decimal counts beyond any double's expansion only add zeros; the cap keeps
// a wild argument from asking for an enormous string.
int ClampDecimals(int decimals) { return decimals < 0 ? 0 : (decimals > 400 ? 400 : decimals); }

std::string Compose(double value, int decimals, bool separators)
{
    decimals = ClampDecimals(decimals);
    std::string integral, fraction;
    FixedDigits(value, decimals, integral, fraction);
    std::string out;
    // A value that rounds to zero prints without a sign: "-0.00" would read as a
    // measurement below zero.
    if (std::signbit(value) && std::isfinite(value) && !(AllZero(integral) && AllZero(fraction))) out += '-';
    if (separators) {
        std::size_t n = integral.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) out += ',';
            out += integral[i];
        }
    } else {
        out += integral;
    }
    if (decimals > 0) {
        out += '.';
        out += fraction;
    }
    return out;
}

// The value of a number that the short path does not take, by from_chars;
// kept out of line so that the short path stays lean.
[[gnu::noinline]] double FromCharsValue(std::string_view text, std::size_t start, std::size_t mantissaEnd, bool negative)
{
    const std::size_t n = text.size();
    double value = 0;
    // from_chars takes neither a leading "+" nor an exponent "+", and wants a
    // digit before a bare full stop; give it a normalised copy.
    std::string copy;
    copy.reserve(n - start + 2);
    if (text[start] == '.') copy += '0';
    copy.append(text, start, mantissaEnd - start);
    if (mantissaEnd < n) {
        copy += 'e';
        std::size_t e = mantissaEnd + 1;
        if (text[e] == '+') ++e;
        copy.append(text, e, n - e);
    }
    auto result = std::from_chars(copy.data(), copy.data() + copy.size(), value, std::chars_format::general);
    // Beyond the range of a double (1e999) is no number; so is an underflow
    // below the smallest double, whose value is zero anyway.
    if (result.ec != std::errc() || result.ptr != copy.data() + copy.size()) return 0;
    if (!std::isfinite(value) || value == 0) return 0;
    return negative ? -value : value;
}

}  // namespace

int32_t StrToIntSafe(std::string_view text)
{
    bool negative;
    std::size_t i = SkipBlanksAndSign(text, negative);
    const std::size_t n = text.size();
    if (i >= n) return 0;

    bool hex = false;
    if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
        hex = true;
        ++i;
    } else if (text[i] == '0' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n) return 0;

    if (hex) {
        uint64_t pattern = 0;
        for (; i < n; ++i) {
            int v = HexValue(text[i]);
            if (v < 0) return 0;
            pattern = pattern * 16 + static_cast<unsigned>(v);
            if (pattern > 0xFFFFFFFFu) return 0;
        }
        // The digits are a 32-bit pattern; the sign negates it modulo 2^32.
        uint32_t bits = static_cast<uint32_t>(pattern);
        if (negative) bits = 0u - bits;
        return static_cast<int32_t>(bits);
    }

    int64_t magnitude = 0;
    for (; i < n; ++i) {
        if (!IsDigit(text[i])) return 0;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > 2147483648LL) return 0;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) return 0;
    return static_cast<int32_t>(value);
}

double StrToFloatSafe(std::string_view text)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && *p == ' ') ++p;
    if (p == end) return 0;
    // The sign without a branch: the signs of a drawing's numbers follow no pattern.
    const bool negative = *p == '-';
    p += negative | (*p == '+');
    if (p == end) return 0;

    // One pass checks the syntax and gathers the digits; more than 19 of
    // them may have wrapped round, and then only from_chars counts.
    const char* const start = p;
    uint64_t digits = 0;
    p = TakeDigits(p, end, digits, false);
    std::size_t count = static_cast<std::size_t>(p - start);
    int power = 0;
    if (p < end && *p == '.') {
        const char* const fraction = ++p;
        p = TakeDigits(p, end, digits, true);
        count += static_cast<std::size_t>(p - fraction);
        power = -static_cast<int>(p - fraction);
    }
    const char* const mantissaEnd = p;
    if (p < end && (*p == 'E' || *p == 'e')) {
        ++p;
        bool exponentNegative = false;
        if (p < end && (*p == '+' || *p == '-')) exponentNegative = *p++ == '-';
        if (p == end || !IsDigit(*p)) return 0;
        int exponent = 0;
        for (; p < end && IsDigit(*p); ++p)
            if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
        power += exponentNegative ? -exponent : exponent;
    }
    if (p != end) return 0;
    // "." or "E5" match the grammar but carry no digit: the value is zero.
    if (count == 0) return 0;

    double value = 0;
    if (count <= 19 && ShortDecimalValue(digits, static_cast<int>(count), power, value)) {
        if (digits == 0) return 0;  // no "-0": zero has no sign here
        // The sign without a branch again, and nothing waits for the division.
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        bits ^= static_cast<uint64_t>(negative) << 63;
        std::memcpy(&value, &bits, sizeof bits);
        return value;
    }
    return FromCharsValue(text, static_cast<std::size_t>(start - text.data()),
                          static_cast<std::size_t>(mantissaEnd - text.data()), negative);
}

bool IsNumberText(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    std::size_t digits = 0;
    bool nonZero = false;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) nonZero |= text[i] != '0';
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) nonZero |= text[i] != '0';
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i == text.size() || !IsDigit(text[i])) return false;
        while (i < text.size() && IsDigit(text[i])) ++i;
    }
    // A written value the doubles cannot hold reads as 0.
    return i == text.size() && (!nonZero || StrToFloatSafe(text) != 0);
}

std::string FormatFixed(double value, int decimals) { return Compose(value, decimals, false); }

std::string FormatWithSeparators(double value, int decimals) { return Compose(value, decimals, true); }

double RoundDecimals(double value, int decimals, int mode)
{
    long double factor = 1;
    if (decimals >= 1 && decimals <= 13)
        for (int i = 0; i < decimals; ++i) factor *= 10;
    long double a = fabsl(static_cast<long double>(value));
    long double scaled = a * factor;
    if (mode == 0)
        a = truncl(scaled) / factor;
    else if (mode == 1)
        a = truncl(scaled + 0.9L) / factor;
    else
        a = truncl(scaled + 0.5L) / factor;
    double result = static_cast<double>(a);
    // A result of zero carries no sign, so it never prints as "-0".
    if (result == 0) return 0;
    return value < 0 ? -result : result;
}

double SnapTiny(double value)
{
    long double a = truncl(fabsl(static_cast<long double>(value)) / 1e-10L + 0.5L) * 1e-10L;
    double result = static_cast<double>(a);
    if (result == 0) return 0;
    return value < 0 ? -result : result;
}

std::string FormatReal(double value)
{
    // Infinities and NaN never come from valid input; the host reads "0" safely.
    if (value == 0 || !std::isfinite(value)) return "0";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    std::string digits;
    char* p = buffer;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (IsDigit(*p)) digits += *p;
    int exponent = 0;
    if (p < result.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= -4 && exponent < 15) {
        const int count = static_cast<int>(digits.size());
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            for (int i = 0; i <= exponent; ++i) out += i < count ? digits[i] : '0';
            if (count > exponent + 1) {
                out += '.';
                out.append(digits, static_cast<std::size_t>(exponent) + 1, std::string::npos);
            }
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) {
        out += '.';
        out.append(digits, 1, std::string::npos);
    }
    out += 'E';
    out += FormatInt(exponent);
    return out;
}

std::string FormatInt(int64_t value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatHex(int64_t value)
{
    // Sign and magnitude, like FormatInt; the unsigned negation keeps the
    // most negative value exact.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char buffer[20];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, 16);
    std::string out = value < 0 ? "-" : "";
    for (char* q = buffer; q < result.ptr; ++q) out += (*q >= 'a' && *q <= 'f') ? static_cast<char>(*q - 'a' + 'A') : *q;
    return out;
}
