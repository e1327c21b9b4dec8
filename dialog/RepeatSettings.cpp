#include "dialog/RepeatSettings.h"

#include <optional>

#include "dialog/IniText.h"
#include "platform/Files.h"

std::string_view RepeatKey(DimensionKind kind)
{
    switch (kind) {
    case DimensionKind::Horizontal:
        return "Horizontal";
    case DimensionKind::Aligned:
        return "Aligned";
    case DimensionKind::VerticalChain:
        return "VerticalChain";
    case DimensionKind::HorizontalChain:
        return "HorizontalChain";
    case DimensionKind::AlignedChain:
        return "AlignedChain";
    case DimensionKind::Vertical:
        break;
    }
    return "Vertical";
}

bool ParseRepeatChoice(std::string_view iniBytes, DimensionKind kind)
{
    const std::optional<std::string_view> value = ini::Value(iniBytes, RepeatSectionName, RepeatKey(kind));
    return value == "1";
}

std::string WithRepeatChoice(std::string_view iniBytes, DimensionKind kind, bool on)
{
    return ini::WithValue(iniBytes, RepeatSectionName, RepeatKey(kind), on ? "1" : "0");
}

bool LoadRepeatChoice(const std::string& path, DimensionKind kind)
{
    std::string bytes;
    return platform::FileExists(path) && platform::ReadWholeFile(path, bytes) && ParseRepeatChoice(bytes, kind);
}

bool SaveRepeatChoice(const std::string& path, DimensionKind kind, bool on)
{
    std::string bytes;
    if (platform::FileExists(path) && !platform::ReadWholeFile(path, bytes))
        return false;
    return platform::WriteWholeFile(path, WithRepeatChoice(bytes, kind, on));
}
