// Shift-JIS byte-string helpers. A lead byte at the very end of a string has
// no partner; it is taken as a single-byte character of its own, so no walk
// ever reads past the end.
#include "helpers/SjisText.h"

#include "platform/FullWidth.h"

namespace {

// Bytes of the character that starts at i: 2 for a lead byte with a partner, else 1.
std::size_t CharLength(const std::string& text, std::size_t i)
{
    return (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

// The mapping works through 256-byte buffers; a piece of 126 bytes doubles to
// 252 and still leaves room for its terminator.
constexpr std::size_t kPieceBytes = 126;

}  // namespace

std::string StripSpaces(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = CharLength(text, i);
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const bool blank = n == 2 ? (b == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40) : b <= 0x20;
        if (!blank) out.append(text, i, n);
        i += n;
    }
    return out;
}

std::string ToFullWidth(const std::string& text)
{
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size()) {
            const std::size_t n = CharLength(text, end);
            if (end + n - start > kPieceBytes) break;
            end += n;
        }
        out += platform::MapFullWidth(text.substr(start, end - start));
        start = end;
    }
    return out;
}

double TextWidth(const std::string& text, double width, double spacing)
{
    double total = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = CharLength(text, i);
        const bool more = i + n < text.size();
        if (n == 2) {
            total += width;
            if (more) total += spacing;
        } else {
            if (static_cast<unsigned char>(text[i]) >= 0x20) total += width / 2;
            if (more) total += spacing / 2;
        }
        i += n;
    }
    return total;
}
