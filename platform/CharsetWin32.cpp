// Shift-JIS <-> UTF-8 through the system's own code page 932 tables.
#include "platform/Charset.h"

#include <windows.h>

#include <string>

namespace platform {

namespace {

constexpr UINT kShiftJis = 932;

bool IsLeadByte(unsigned char b) { return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD); }

void AppendUtf8(std::string& out, const wchar_t* wide, int length) {
    if (length <= 0) return;
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data() + at, size, nullptr, nullptr);
}

}  // namespace

std::string SjisToUtf8(const std::string& sjis) {
    // Character by character, so that one bad pair becomes one U+FFFD and
    // never swallows its neighbours.
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    const char* replacement = "\xEF\xBF\xBD";
    for (std::size_t i = 0; i < sjis.size();) {
        unsigned char b = static_cast<unsigned char>(sjis[i]);
        int width = IsLeadByte(b) ? 2 : 1;
        if (i + static_cast<std::size_t>(width) > sjis.size()) {
            out += replacement;
            break;
        }
        if (b < 0x80) {
            out += static_cast<char>(b);
            i += 1;
            continue;
        }
        wchar_t wide[2];
        int length = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, sjis.data() + i, width, wide, 2);
        if (length > 0)
            AppendUtf8(out, wide, length);
        else
            out += replacement;
        i += static_cast<std::size_t>(width);
    }
    return out;
}

std::string Utf8ToSjis(const std::string& utf8) {
    if (utf8.empty()) return std::string();
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) return std::string();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    // No best-fit guesses: a character without a Shift-JIS form becomes '?',
    // never a look-alike that means something else.
    int size = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, "?", nullptr);
    if (size <= 0) return std::string();
    std::string sjis(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), length, sjis.data(), size, "?", nullptr);
    return sjis;
}

}  // namespace platform
