#pragma once
// Dimension after dimension: whether OK also asks the host to run the same
// kind again at once, kept for each kind in q308.ini beside the preview's
// section:
//
//   [Repeat]
//   Vertical=1
//   Horizontal=0
//   Aligned=1
//   VerticalChain=0    (and HorizontalChain, AlignedChain)
//
// Only 1 means on: a missing file, section or key, or any other value, is
// off. Keys and the section name are matched without regard to case.
#include <string>
#include <string_view>

#include "dialog/DimensionKind.h"

inline constexpr std::string_view RepeatSectionName = "Repeat";

// The kind's key in the section ("Vertical").
std::string_view RepeatKey(DimensionKind kind);

bool ParseRepeatChoice(std::string_view iniBytes, DimensionKind kind);
// The file's bytes with the kind's key set; every other line as it was.
std::string WithRepeatChoice(std::string_view iniBytes, DimensionKind kind, bool on);

// Off when there is no file or it cannot be read.
bool LoadRepeatChoice(const std::string& path, DimensionKind kind);
// The kind's key in the file at path, which is made where there is none.
// A file that exists but cannot be read is left alone (false): writing
// over it would lose the preview's place.
bool SaveRepeatChoice(const std::string& path, DimensionKind kind, bool on);
