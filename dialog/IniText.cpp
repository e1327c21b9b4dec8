#include "dialog/IniText.h"

namespace ini {

namespace {

// The key a trimmed NAME=VALUE line sets; nullopt for a line without '='.
std::optional<std::string_view> KeyOf(std::string_view trimmedLine)
{
    const std::size_t equals = trimmedLine.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return Trimmed(trimmedLine.substr(0, equals));
}

}  // namespace

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool SameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string_view> SectionName(std::string_view trimmedLine)
{
    if (trimmedLine.empty() || trimmedLine.front() != '[')
        return std::nullopt;
    if (trimmedLine.size() < 2 || trimmedLine.back() != ']')
        return std::string_view{};
    return Trimmed(trimmedLine.substr(1, trimmedLine.size() - 2));
}

std::string SectionsNamed(std::string_view bytes, std::string_view name)
{
    std::string text;
    ForEachLine(bytes, [&](std::string_view line, std::string_view section) {
        if (SameWord(section, name))
            text.append(line).append("\r\n");
    });
    return text;
}

std::optional<std::string_view> Value(std::string_view bytes, std::string_view section, std::string_view key)
{
    std::optional<std::string_view> value;
    ForEachLine(bytes, [&](std::string_view line, std::string_view in) {
        const std::string_view trimmed = Trimmed(line);
        if (!SameWord(in, section) || SectionName(trimmed))
            return;
        if (const std::optional<std::string_view> name = KeyOf(trimmed); name && SameWord(*name, key))
            value = Trimmed(trimmed.substr(trimmed.find('=') + 1));
    });
    return value;
}

std::string WithValue(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value)
{
    const std::string setting = std::string(key) + "=" + std::string(value) + "\r\n";
    std::string text;
    const auto endLastLine = [&text] {
        if (!text.empty() && text.back() != '\n')
            text += "\r\n";
    };
    bool inSection = false;
    bool written = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view raw = bytes.substr(start, end - start);
        start = end;
        const std::string_view trimmed = Trimmed(raw.substr(0, raw.find('\n')));
        if (const std::optional<std::string_view> name = SectionName(trimmed)) {
            if (inSection && !written) {
                endLastLine();
                text += setting;
                written = true;
            }
            inSection = SameWord(*name, section);
        } else if (const std::optional<std::string_view> name = KeyOf(trimmed);
                   inSection && name && SameWord(*name, key)) {
            if (!written)
                text += setting;
            written = true;
            continue;
        }
        text += raw;
    }
    if (!written) {
        endLastLine();
        if (!inSection)
            text += "[" + std::string(section) + "]\r\n";
        text += setting;
    }
    return text;
}

}  // namespace ini
