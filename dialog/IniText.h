#pragma once
// The plain text of q308.ini: lines, "[Section]" headers and NAME=VALUE
// keys, matched without regard to case. Each part of the program owns one
// section and keeps the others as they stand when it writes its own.
#include <optional>
#include <string>
#include <string_view>

namespace ini {

// Without the blanks, tabs and CR around it.
std::string_view Trimmed(std::string_view text);
// Equal, ASCII letters in either case.
bool SameWord(std::string_view a, std::string_view b);

// The name of the section a trimmed line opens ("[ Preview ]": "Preview");
// a line that starts with '[' but does not end with ']' opens a section
// without a name, which no part owns. nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view trimmedLine);

// Calls visit(line, section) for every line of bytes, without its line end,
// with the name of the section it stands in (empty before the first header;
// a header line stands in its own section).
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit visit)
{
    std::string_view section;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        start = end + 1;
        if (const std::optional<std::string_view> name = SectionName(Trimmed(line)))
            section = *name;
        visit(line, section);
    }
}

// Every section of that name, header and lines as they stand, each line
// ending in CR LF; empty when there is none.
std::string SectionsNamed(std::string_view bytes, std::string_view name);

// The value of key in the section, trimmed: the last one where the key is
// given twice; nullopt when it is not there.
std::optional<std::string_view> Value(std::string_view bytes, std::string_view section, std::string_view key);

// bytes with key set to value in the section: its first line replaced and
// any later one dropped, or a line added at the end of the section's first
// appearance, or the section added at the end. Every other line stays as it
// was, with its own line end; the lines written end in CR LF.
std::string WithValue(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace ini
