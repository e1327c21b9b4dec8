#include "preview/TextWrap.h"

#include <algorithm>

namespace preview {

namespace {

constexpr std::wstring_view NoLineStart = L"、。，．,.：:；;！!？?）)」』】〕］]｝}・ー～…っゃゅょッャュョ%％";
constexpr std::wstring_view NoLineEnd = L"（(「『【〔［[｛{";
constexpr wchar_t Ellipsis = L'…';

bool Blank(wchar_t c) { return c == L' ' || c == L'\x3000'; }

bool WordCharacter(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'.' ||
           c == L'-' || c == L'+';
}

// Whether text[at] lies inside a bracketed coordinate pair such as
// "（2570, 3650）", which is read as one.
bool InsidePair(std::wstring_view text, std::size_t at)
{
    const std::size_t open = text.find_last_of(L"（(", at - 1);
    if (open == std::wstring_view::npos)
        return false;
    const std::size_t close = text.find_first_of(L"）)", open);
    if (close == std::wstring_view::npos || close < at)
        return false;
    const std::wstring_view inside = text.substr(open + 1, close - open - 1);
    return inside.find(L',') != std::wstring_view::npos &&
           std::all_of(inside.begin(), inside.end(),
                       [](wchar_t c) { return WordCharacter(c) || c == L',' || Blank(c); });
}

// Whether a line may end after text[at - 1] and the next start at text[at].
bool BreakBefore(std::wstring_view text, std::size_t at)
{
    if (InsidePair(text, at))
        return false;
    const wchar_t before = text[at - 1], after = text[at];
    if (Blank(before) || Blank(after))
        return true;
    if (NoLineStart.find(after) != std::wstring_view::npos || NoLineEnd.find(before) != std::wstring_view::npos)
        return false;
    return !(WordCharacter(before) && WordCharacter(after));
}

std::wstring_view Trimmed(std::wstring_view text)
{
    while (!text.empty() && Blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && Blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// How many characters of text fit into width; at least one.
std::size_t Fitting(std::wstring_view text, int width, const TextMeasure& measure)
{
    std::size_t low = 1, high = text.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (measure(text.substr(0, middle)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

void BreakParagraph(std::wstring_view text, int width, const TextMeasure& measure, std::vector<std::wstring>& lines)
{
    text = Trimmed(text);
    if (text.empty()) {
        lines.emplace_back();
        return;
    }
    while (!text.empty()) {
        if (measure(text) <= width) {
            lines.emplace_back(text);
            return;
        }
        const std::size_t fits = Fitting(text, width, measure);
        std::size_t at = std::min(fits, text.size() - 1);
        while (at > 0 && !BreakBefore(text, at))
            --at;
        if (at == 0)
            at = fits;  // one word wider than the line: broken where it must be
        // The strip's and the legend's parts are set apart by blanks: a
        // line that can end at one in its second half ends there, so that
        // a part is not split across lines when it could stand whole.
        for (std::size_t blank = at; blank > 0 && blank * 2 >= fits; --blank)
            if ((Blank(text[blank - 1]) || Blank(text[blank])) && !InsidePair(text, blank)) {
                at = blank;
                break;
            }
        lines.emplace_back(Trimmed(text.substr(0, at)));
        text = Trimmed(text.substr(at));
    }
}

std::wstring Shortened(std::wstring line, int width, const TextMeasure& measure)
{
    while (!line.empty() && measure(line + Ellipsis) > width)
        line.pop_back();
    while (!line.empty() && Blank(line.back()))
        line.pop_back();
    return line + Ellipsis;
}

}  // namespace

std::vector<std::wstring> WrapText(const std::vector<std::wstring>& paragraphs, int width, int maxLines,
                                   const TextMeasure& measure)
{
    maxLines = std::max(1, maxLines);
    std::vector<std::wstring> lines;
    for (const std::wstring& paragraph : paragraphs)
        BreakParagraph(paragraph, width, measure, lines);
    if (static_cast<int>(lines.size()) > maxLines) {
        lines.resize(static_cast<std::size_t>(maxLines));
        lines.back() = Shortened(lines.back(), width, measure);
    }
    return lines;
}

}  // namespace preview
