#pragma once
// The three dimensions the program draws, each its own tool for the user:
// the program's first argument chooses one (none: vertical, "/h":
// horizontal, "/a": aligned). Each has its caption, its help text and its
// settings file; the construction is the vertical one throughout, in a
// frame turned for the kind.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class DimensionKind {
    Vertical,    // square to the host's axis
    Horizontal,  // along the host's axis
    Aligned,     // along the line from point 1 to point 2
    // A row of spans on one dimension line, each drawn as its direction's
    // single kind draws two points.
    VerticalChain,
    HorizontalChain,
    AlignedChain,  // along the line from the first to the last measured point
};

inline constexpr DimensionKind AllKinds[] = {DimensionKind::Vertical,      DimensionKind::Horizontal,
                                             DimensionKind::Aligned,       DimensionKind::VerticalChain,
                                             DimensionKind::HorizontalChain, DimensionKind::AlignedChain};

bool IsChain(DimensionKind kind);
// The single kind whose construction, frame and settings file a chain uses;
// a single kind itself.
DimensionKind SingleKindOf(DimensionKind kind);

struct KindDescription {
    DimensionKind Kind;
    std::string_view Argument;          // "" for the vertical dimension; lower case
    std::string_view Caption;           // "垂直寸法線Ｂ"
    std::string_view ApplicationTitle;  // "q308_垂直寸法線Ｂ"
    std::string_view SettingsFileName;  // "q304.dat"
    std::string_view Launcher;          // "q308.bat": what the host runs
    std::span<const std::string_view> HelpLines;
};

const KindDescription& DescribeKind(DimensionKind kind);

// The kind the program's arguments choose. An empty argument counts as
// none. Anything else (an unknown first argument, or any argument after
// the first) gives nullopt with unknown set to the first such argument.
std::optional<DimensionKind> KindFromArguments(std::span<const std::string> arguments, std::string& unknown);

// The arguments of a command line that no longer carries the program's
// name, as WinMain receives it, split as the C runtime splits them:
// blanks and tabs separate, double quotes group, backslashes escape a
// quote only. The second byte of a Shift-JIS character is never taken for
// a backslash or a quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// What the user is told of an argument the program does not know; Shift-JIS.
std::string UnknownArgumentMessage(std::string_view argument);

// The axis angle the vertical construction runs with for this kind, from
// the host's axis angle and the two measured points (a chain's first and
// last).
double ConstructionAxisAngle(DimensionKind kind, double hostAxisAngle, double x1, double y1, double x2, double y2);
