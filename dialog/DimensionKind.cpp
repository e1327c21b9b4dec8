#include "dialog/DimensionKind.h"

#include "dialog/FormLayout.h"
#include "helpers/MyFunc.h"
#include "helpers/SjisText.h"

namespace {

// The vertical dimension's help text is the form's own. The others open
// with what they are and which settings they keep apart, in their own
// names, then go on as it does from its notes on the value's reference
// point.
constexpr std::string_view HorizontalHelpOpening[] = {
    "◇水平寸法線の設定は",
    "　垂直寸法線の設定とは",
    "　別に呼出・登録しており",
    "　垂直寸法線の設定を",
    "　共有利用していません",
    "",
    "◇寸法値の水平位置を",
    "　指定出来る水平寸法線",
    "　を作図します",
};

constexpr std::string_view AlignedHelpOpening[] = {
    "◇平行寸法線の設定は",
    "　垂直・水平寸法線の設定",
    "　とは別に呼出・登録して",
    "　おり、それらの設定を",
    "　共有利用していません",
    "",
    "◇寸法値の水平位置を",
    "　指定出来る平行寸法線",
    "　を作図します",
    "◇寸法線は１点目と２点目",
    "　を結ぶ線に平行になり",
    "　その実長を測ります",
};

// A chain's help opens with what it is and how the host hands its points
// over (the same words for every chain, the aligned one noting its line),
// says whose settings it shares, then goes on as its single kind's does.
constexpr std::string_view ChainPicking[] = {
    "　寸法線の位置、測る点を",
    "　順に指示し",
    "　［点指示終了］で終了",
    "◇隣り合う２点ごとの寸法",
    "　を１本の寸法線上に作図",
    "　します",
};
constexpr std::string_view AlignedChainLine[] = {
    "◇寸法線は最初と最後の点",
    "　を結ぶ線に平行です",
};
constexpr std::string_view ChainRunOut[] = {
    "◇入らない寸法値は空きの",
    "　ある側へ出します",
};

// The vertical help text's lines from its notes on the value's reference point on.
constexpr std::size_t SharedHelpFrom = 9;

std::vector<std::string_view> HelpOf(std::span<const std::string_view> opening)
{
    const std::span<const std::string_view> vertical = layout::FindControl("Memo1")->Items;
    std::vector<std::string_view> lines(opening.begin(), opening.end());
    lines.insert(lines.end(), vertical.begin() + SharedHelpFrom, vertical.end());
    return lines;
}

std::vector<std::string_view> ChainHelpOf(std::string_view name, std::span<const std::string_view> line,
                                          std::string_view shares)
{
    std::vector<std::string_view> opening{name};
    opening.insert(opening.end(), std::begin(ChainPicking), std::end(ChainPicking));
    opening.insert(opening.end(), line.begin(), line.end());
    opening.insert(opening.end(), std::begin(ChainRunOut), std::end(ChainRunOut));
    opening.push_back(shares);
    opening.push_back("");
    return HelpOf(opening);
}

const KindDescription* Kinds()
{
    static const std::vector<std::string_view> horizontalHelp = HelpOf(HorizontalHelpOpening);
    static const std::vector<std::string_view> alignedHelp = HelpOf(AlignedHelpOpening);
    static const std::vector<std::string_view> verticalChainHelp =
        ChainHelpOf("◇垂直直列寸法線は", {}, "◇設定は垂直寸法線と共有");
    static const std::vector<std::string_view> horizontalChainHelp =
        ChainHelpOf("◇水平直列寸法線は", {}, "◇設定は水平寸法線と共有");
    static const std::vector<std::string_view> alignedChainHelp =
        ChainHelpOf("◇平行直列寸法線は", AlignedChainLine, "◇設定は平行寸法線と共有");
    static const KindDescription kinds[] = {
        {DimensionKind::Vertical, "", layout::Form().Caption, layout::Form().ApplicationTitle, "q304.dat", "q308.bat",
         layout::FindControl("Memo1")->Items},
        {DimensionKind::Horizontal, "/h", "水平寸法線Ｂ", "q308_水平寸法線Ｂ", "q308h.dat", "q308h.bat", horizontalHelp},
        {DimensionKind::Aligned, "/a", "平行寸法線Ｂ", "q308_平行寸法線Ｂ", "q308a.dat", "q308a.bat", alignedHelp},
        {DimensionKind::VerticalChain, "/c", "垂直直列寸法線Ｂ", "q308_垂直直列寸法線Ｂ", "q304.dat", "q308c.bat",
         verticalChainHelp},
        {DimensionKind::HorizontalChain, "/hc", "水平直列寸法線Ｂ", "q308_水平直列寸法線Ｂ", "q308h.dat", "q308hc.bat",
         horizontalChainHelp},
        {DimensionKind::AlignedChain, "/ac", "平行直列寸法線Ｂ", "q308_平行直列寸法線Ｂ", "q308a.dat", "q308ac.bat",
         alignedChainHelp},
    };
    return kinds;
}

}  // namespace

const KindDescription& DescribeKind(DimensionKind kind) { return Kinds()[static_cast<int>(kind)]; }

bool IsChain(DimensionKind kind) { return SingleKindOf(kind) != kind; }

DimensionKind SingleKindOf(DimensionKind kind)
{
    switch (kind) {
    case DimensionKind::VerticalChain:
        return DimensionKind::Vertical;
    case DimensionKind::HorizontalChain:
        return DimensionKind::Horizontal;
    case DimensionKind::AlignedChain:
        return DimensionKind::Aligned;
    default:
        return kind;
    }
}

namespace {

// Windows users type switches in either case.
bool SameArgument(std::string_view typed, std::string_view known)
{
    if (known.empty() || typed.size() != known.size())
        return false;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i] >= 'A' && typed[i] <= 'Z' ? static_cast<char>(typed[i] | 0x20) : typed[i];
        if (c != known[i])
            return false;
    }
    return true;
}

}  // namespace

std::optional<DimensionKind> KindFromArguments(std::span<const std::string> arguments, std::string& unknown)
{
    unknown.clear();
    DimensionKind kind = DimensionKind::Vertical;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.empty())
            continue;
        bool known = false;
        if (i == 0) {
            for (const DimensionKind k : AllKinds)
                if (SameArgument(argument, DescribeKind(k).Argument)) {
                    kind = k;
                    known = true;
                }
        }
        if (!known) {
            unknown = argument;
            return std::nullopt;
        }
    }
    return kind;
}

std::vector<std::string> SplitCommandLine(std::string_view line)
{
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const auto blank = [&](std::size_t at) { return line[at] == ' ' || line[at] == '\t'; };
    while (true) {
        while (i < line.size() && blank(i))
            ++i;
        if (i >= line.size())
            return arguments;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !blank(i))) {
            const char c = line[i];
            if (c == '\\') {
                std::size_t slashes = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    // 2n backslashes and a quote: n backslashes, the quote groups;
                    // 2n + 1: n backslashes and a quote taken as it is.
                    argument.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        argument += '"';
                        ++i;
                    }
                } else {
                    argument.append(slashes, '\\');
                }
                continue;
            }
            if (c == '"') {
                // Inside quotes, a doubled quote stands for one.
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            argument += c;
            if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < line.size())
                argument += line[++i];
            ++i;
        }
        arguments.push_back(std::move(argument));
    }
}

std::string UnknownArgumentMessage(std::string_view argument)
{
    return "引数「" + std::string(argument) +
           "」は使用できません。\n"
           "引数なしで垂直寸法線、/h で水平寸法線、/a で平行寸法線を作図します。\n"
           "/c、/hc、/ac でそれぞれの直列寸法線を作図します。\n"
           "何も作図せずに終了します。";
}

double ConstructionAxisAngle(DimensionKind kind, double hostAxisAngle, double x1, double y1, double x2, double y2)
{
    switch (SingleKindOf(kind)) {
    case DimensionKind::Vertical:
        break;
    case DimensionKind::Horizontal:
        return hostAxisAngle - 90;
    case DimensionKind::Aligned:
        return AngleDeg(x2 - x1, y2 - y1) - 90;
    default:
        break;
    }
    return hostAxisAngle;
}
