#pragma once
// "q308.ini" beside the program: whether the preview window is open, and
// where. A file of its own, so that the settings file the dialog shares
// with its users' habits stays as it is.
//
//   [Preview]
//   Open=1
//   Left=620
//   Top=100
//   Width=420
//   Height=403
//
// Keys and the section name are matched without regard to case; anything
// else in the file is ignored. The file also keeps the repeat choices
// (RepeatSettings.h), in a section of their own that a save keeps.
#include <cstdint>
#include <string>
#include <string_view>

struct PreviewPlacement {
    bool Open = false;
    bool HasPlace = false;  // Left, Top, Width and Height hold a place of its own
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

inline constexpr std::string_view PreviewSettingsFileName = "q308.ini";

// Garbage anywhere in the section means closed at the default place: a
// window that cannot be put where the file says is not opened unasked.
PreviewPlacement ParsePreviewSettings(std::string_view bytes);
std::string RenderPreviewSettings(const PreviewPlacement& placement);

// False, with the default placement, when there is no file; a file that
// cannot be read counts as garbage.
bool LoadPreviewSettings(const std::string& path, PreviewPlacement& placement);
// Whole or not at all, like the program's other files.
bool SavePreviewSettings(const std::string& path, const PreviewPlacement& placement);
