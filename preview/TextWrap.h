#pragma once
// Lines of a status strip or a legend broken to a width: between any two
// characters of Japanese text, but never inside a number or a word of
// Latin letters, never before a closing bracket or a comma and never after
// an opening bracket; a blank in a line's second half is preferred, so the
// parts a text sets apart by blanks stay whole where they can; blanks at a
// break are dropped. Where more lines would
// be needed than there is room for, the last one is shortened at its end
// with "…", so a text is never cut at its start. Width is whatever the
// measure returns (pixels of a font, or columns in a test).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace preview {

using TextMeasure = std::function<int(std::wstring_view)>;

// Each paragraph starts a line of its own; at most maxLines lines (at least one).
std::vector<std::wstring> WrapText(const std::vector<std::wstring>& paragraphs, int width, int maxLines,
                                   const TextMeasure& measure);

}  // namespace preview
