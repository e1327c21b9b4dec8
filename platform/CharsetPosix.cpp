// Shift-JIS <-> UTF-8 through iconv's code page 932 ("CP932"). Conversion
// goes one character at a time, so a bad byte costs one replacement and never
// swallows its neighbours: '?' on the Shift-JIS side, U+FFFD on the UTF-8 side.
#include "platform/Charset.h"

#include <iconv.h>

#include <string>

namespace platform {

namespace {

const char kReplacementUtf8[] = "\xEF\xBF\xBD";

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (Ok()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one whole character; false when it has no form on the other side.
    bool Convert(const char* source, std::size_t size, std::string& out)
    {
        char buffer[16];
        char* in = const_cast<char*>(source);
        std::size_t inLeft = size;
        char* result = buffer;
        std::size_t outLeft = sizeof buffer;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(handle_, &in, &inLeft, &result, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return false;
        // Flush any shift state, so the next character starts clean.
        if (iconv(handle_, nullptr, nullptr, &result, &outLeft) == static_cast<std::size_t>(-1)) return false;
        out.append(buffer, static_cast<std::size_t>(result - buffer));
        return true;
    }

private:
    iconv_t handle_;
};

// Length of the well-formed UTF-8 sequence at i, or 0 when it is not one.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i)
{
    const unsigned char b = static_cast<unsigned char>(text[i]);
    std::size_t n;
    unsigned int code;
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        code = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        code = b & 0x0Fu;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        code = b & 0x07u;
    } else {
        return 0;
    }
    if (i + n > text.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (c & 0x3Fu);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not characters.
    if ((n == 3 && code < 0x800) || (n == 4 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return n;
}

}  // namespace

std::string SjisToUtf8(const std::string& sjis)
{
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    Converter converter("UTF-8", "CP932");
    for (std::size_t i = 0; i < sjis.size();) {
        const unsigned char b = static_cast<unsigned char>(sjis[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const std::size_t width = IsLeadByte(b) ? 2 : 1;
        if (i + width > sjis.size()) {
            out += kReplacementUtf8;
            break;
        }
        if (!converter.Ok() || !converter.Convert(sjis.data() + i, width, out)) out += kReplacementUtf8;
        i += width;
    }
    return out;
}

std::string Utf8ToSjis(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    Converter converter("CP932", "UTF-8");
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const std::size_t n = Utf8SequenceLength(utf8, i);
        if (n == 0) {
            out += '?';
            ++i;
            continue;
        }
        if (!converter.Ok() || !converter.Convert(utf8.data() + i, n, out)) out += '?';
        i += n;
    }
    return out;
}

}  // namespace platform
