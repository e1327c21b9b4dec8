// Shift-JIS <-> UTF-8 through the system's own code page 932 tables.
#include "platform/Charset.h"

#include "platform/WideText.h"

namespace platform {

namespace {

// Whether the text falls into characters as the system's code page 932
// divides it too: no byte the system reads alone but IsLeadByte pairs, no
// lead byte left without its second.
bool SplitsAsTheSystemDoes(const std::string& sjis)
{
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(sjis[i]);
        if (b == 0x80 || b == 0xA0 || b >= 0xFD)
            return false;
        if (IsLeadByte(b) && ++i >= sjis.size())
            return false;
    }
    return true;
}

}  // namespace

std::string SjisToUtf8(const std::string& sjis)
{
    // A text whose every character converts, in one call each way: the
    // same as character by character, and a large drawing's preview
    // converts every text it is handed...
    if (SplitsAsTheSystemDoes(sjis))
        if (const std::wstring whole = WideFromBytes(ShiftJisCodePage, sjis, true); !whole.empty())
            return Utf8FromWide(whole);
    // ... otherwise character by character, so that one bad pair becomes
    // one U+FFFD and never swallows its neighbours.
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    const char* replacement = "\xEF\xBF\xBD";
    for (std::size_t i = 0; i < sjis.size();) {
        const unsigned char b = static_cast<unsigned char>(sjis[i]);
        const std::size_t width = IsLeadByte(b) ? 2 : 1;
        if (i + width > sjis.size()) {
            out += replacement;
            break;
        }
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else {
            const std::wstring wide = WideFromBytes(ShiftJisCodePage, std::string_view(sjis).substr(i, width), true);
            out += wide.empty() ? std::string(replacement) : Utf8FromWide(wide);
        }
        i += width;
    }
    return out;
}

std::string Utf8ToSjis(const std::string& utf8) { return SjisFromWide(WideFromUtf8(utf8)); }

}  // namespace platform
