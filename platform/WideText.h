#pragma once
// Windows only: byte strings in a code page <-> the UTF-16 of the wide API.
// Every conversion of the Windows build goes through these two.
#include <string>
#include <string_view>

namespace platform {

// Bytes of the code page (932: Shift-JIS, 65001: UTF-8) as UTF-16. Strict:
// bytes that are not valid in the code page give an empty result instead of
// the code page's default character.
std::wstring WideFromBytes(unsigned codePage, std::string_view bytes, bool strict = false);
// UTF-16 as bytes of the code page. For Shift-JIS a character it lacks
// becomes '?', never a best-fit look-alike that means something else.
std::string BytesFromWide(unsigned codePage, std::wstring_view wide);

constexpr unsigned ShiftJisCodePage = 932;
constexpr unsigned Utf8CodePage = 65001;

inline std::wstring WideFromUtf8(std::string_view utf8) { return WideFromBytes(Utf8CodePage, utf8); }
inline std::string Utf8FromWide(std::wstring_view wide) { return BytesFromWide(Utf8CodePage, wide); }
inline std::wstring WideFromSjis(std::string_view sjis) { return WideFromBytes(ShiftJisCodePage, sjis); }
inline std::string SjisFromWide(std::wstring_view wide) { return BytesFromWide(ShiftJisCodePage, wide); }

}  // namespace platform
