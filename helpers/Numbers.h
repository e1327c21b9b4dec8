#pragma once
// Number parsing that never fails, rounding by precision and mode, and the
// number formats of the output records and the value text.
#include <cstdint>
#include <string>
#include <string_view>

int32_t StrToIntSafe(std::string_view text);
double StrToFloatSafe(std::string_view text);
// Whether StrToFloatSafe reads text as the number written, rather than
// taking it as 0 for want of one (empty, blank, letters, "." alone) or for
// a value beyond the doubles ("1e999", "1e-999").
bool IsNumberText(std::string_view text);

// "%.Nf": fixed notation, half away from zero on the 18-digit expansion.
std::string FormatFixed(double value, int decimals);
// As FormatFixed, with a comma between groups of three integral digits.
std::string FormatWithSeparators(double value, int decimals);

// mode 0 truncate, 1 round up (0.9), other: round half up; symmetric in sign.
double RoundDecimals(double value, int decimals, int mode);
// Nearest multiple of 1e-10, halves away from zero.
double SnapTiny(double value);

// The general real format of the output records and the settings file:
// 15 significant digits, fixed or scientific ("1E-5", "1.5E20").
std::string FormatReal(double value);
// Decimal integer and upper-case hexadecimal integer.
std::string FormatInt(int64_t value);
std::string FormatHex(int64_t value);
