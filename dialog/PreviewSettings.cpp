#include "dialog/PreviewSettings.h"

#include <charconv>
#include <optional>
#include <vector>

#include "dialog/IniText.h"
#include "dialog/RepeatSettings.h"
#include "platform/Files.h"

namespace {

using ini::SameWord;
using ini::Trimmed;

// A whole decimal integer that fits 32 bits, nothing else.
std::optional<int32_t> Integer(std::string_view text)
{
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

}  // namespace

PreviewPlacement ParsePreviewSettings(std::string_view bytes)
{
    const char* const keys[] = {"Open", "Left", "Top", "Width", "Height"};
    std::optional<int32_t> values[5];
    bool inSection = false;
    bool garbage = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = Trimmed(bytes.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (const std::optional<std::string_view> section = ini::SectionName(line)) {
            inSection = SameWord(*section, "Preview");
            continue;
        }
        if (!inSection)
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            garbage = true;
            continue;
        }
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::optional<int32_t> value = Integer(Trimmed(line.substr(equals + 1)));
        for (int i = 0; i < 5; ++i)
            if (SameWord(key, keys[i])) {
                garbage = garbage || !value;
                values[i] = value;
            }
    }
    PreviewPlacement placement;
    if (garbage)
        return placement;
    placement.Open = values[0].value_or(0) == 1;
    placement.HasPlace = values[1] && values[2] && values[3] && values[4] && *values[3] > 0 && *values[4] > 0;
    if (placement.HasPlace) {
        placement.Left = *values[1];
        placement.Top = *values[2];
        placement.Width = *values[3];
        placement.Height = *values[4];
    }
    return placement;
}

std::string RenderPreviewSettings(const PreviewPlacement& placement)
{
    std::string text = "[Preview]\r\nOpen=" + std::string(placement.Open ? "1" : "0") + "\r\n";
    if (placement.HasPlace)
        text += "Left=" + std::to_string(placement.Left) + "\r\nTop=" + std::to_string(placement.Top) +
                "\r\nWidth=" + std::to_string(placement.Width) + "\r\nHeight=" + std::to_string(placement.Height) +
                "\r\n";
    return text;
}

bool LoadPreviewSettings(const std::string& path, PreviewPlacement& placement)
{
    placement = PreviewPlacement{};
    if (!platform::FileExists(path))
        return false;
    std::string bytes;
    if (platform::ReadWholeFile(path, bytes))
        placement = ParsePreviewSettings(bytes);
    return true;
}

bool SavePreviewSettings(const std::string& path, const PreviewPlacement& placement)
{
    // The file is the preview's but for the repeat choices, which stay.
    std::string before;
    if (platform::FileExists(path))
        platform::ReadWholeFile(path, before);
    return platform::WriteWholeFile(path, RenderPreviewSettings(placement) +
                                              ini::SectionsNamed(before, RepeatSectionName));
}
