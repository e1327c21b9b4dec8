// Reads the exchange file the host writes before it starts the program.
//
//   file      := { line line-end } [ line ] [ 0x1A { any byte } ]
//   line-end  := LF | CR LF        a CR anywhere else is dropped
//   line      := tokens as TokeniseLine splits them; t0 names the record
//
//   header    := "hk" a | "hs" s0..s15 | "hzs" w h | "hn" v1..v4 | "bz"
//              | ("hcw" | "hch" | "hcd" | "hcc") v1..v10 | "file=" path
//   names     := "lgn" name | "lyn" name
//   attribute := "lg" hexdigit [v] | "ly" hexdigit [v] | "lc" c [ext]
//              | "lt" t | "lw" w | "cn$" font | "cn" t [w h d c]
//              | "cc" digit | "pn" c
//   modes     := "z1".."z5" | "pl" | "msg" | "#"
//   points    := "hp" n [marker] x y | "hhp" n [marker]
//   elements  := see ApplyElementRules; "x1 y1 x2 y2" is a line
//
// Nothing is ever rejected: a line no rule takes is skipped, a number that
// does not parse is 0, and a record short of values falls through to the
// element rules, where four tokens still make a line.
#include "exchange/ExchangeReader.h"

#include <cstring>
#include <exception>
#include <memory>
#include <string_view>
#include <thread>

#include "exchange/DrawingState.h"
#include "exchange/Elements.h"
#include "exchange/LineSplitter.h"
#include "exchange/ReadAhead.h"
#include "exchange/Tokens.h"
#include "helpers/Numbers.h"
#include "helpers/SjisText.h"
#include "platform/Files.h"

namespace {

constexpr std::size_t ChunkSize = 64 * 1024;  // bytes read at a time
constexpr std::size_t TwoThreadsFrom = 1024 * 1024;  // file size in bytes

// 1-based position of the first occurrence of an ASCII needle in text, 0 when
// absent. The search steps over whole characters, so a trail byte that
// happens to look like the needle's first letter is never matched.
std::size_t FindOutsidePairs(std::string_view text, std::string_view needle)
{
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size;) {
        if (text.substr(i, needle.size()) == needle)
            return i + 1;
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return 0;
}

// The text without its first m - 1 bytes (empty when it is shorter).
std::string_view RestFrom(std::string_view text, std::size_t m)
{
    return m - 1 < text.size() ? text.substr(m - 1) : std::string_view();
}

// One hexadecimal digit, the byte right after a two-letter keyword.
int32_t HexDigitAt(std::string_view text, std::size_t position)
{
    if (position - 1 >= text.size())
        return 0;  // "$" alone is no number
    const char digit[2] = {'$', text[position - 1]};
    const int32_t value = StrToIntSafe(std::string_view(digit, 2));
    return value >= 0 && value <= 15 ? value : 0;
}

// Whether t0 contains "file=" (rule 1). Splitting keeps an equals sign in
// the token, so a token without one, the usual case, is passed at once.
bool NamesDrawingFile(std::string_view t0)
{
    return t0.find('=') != std::string_view::npos && FindOutsidePairs(t0, "file=") != 0;
}

bool StartsWith(std::string_view key, std::string_view prefix)
{
    return key.size() >= prefix.size() && std::memcmp(key.data(), prefix.data(), prefix.size()) == 0;
}

// "hp" n [marker] x y: the marker is the first "-", "ln", "ci" or "ch", the
// later kinds of the list taking precedence when several occur.
void ApplyPickedPoint(const TokenList& t)
{
    DrawingStateRecord& s = DrawingState;
    const std::string_view t0 = t[0];
    std::string_view text = RestFrom(t0, 3);
    int32_t kind = PickPlain;
    const struct {
        const char* Marker;
        int32_t Kind;
    } markers[] = {{"-", PickDash}, {"ln", PickLine}, {"ci", PickCircle}, {"ch", PickChar}};
    for (const auto& marker : markers) {
        const std::size_t p = FindOutsidePairs(t0, marker.Marker);
        if (p != 0) {
            text = p > 3 ? t0.substr(2, p - 3) : std::string_view();
            kind = marker.Kind;
        }
    }
    const int32_t m = StrToIntSafe(text);
    if (m < 1 || m >= PickedPointSlots)
        return;
    PickedPoint& point = s.PickedPoints[m];
    point.Present = true;
    point.X = StrToFloatSafe(t[1]);
    point.Y = StrToFloatSafe(t[2]);
    point.Kind = kind;
    ++s.PickedPointCount;
}

// "hhp" n [marker]: the digits between the keyword and "ln", "ci" or "ch".
void ApplyHhp(std::string_view t0)
{
    std::size_t length = t0.size();
    for (const char* marker : {"ln", "ci", "ch"}) {
        const std::size_t p = FindOutsidePairs(t0, marker);
        if (p > 4)
            length = p - 4;
    }
    DrawingState.PendingHhpNumber = StrToIntSafe(t0.substr(3, length));
}

void ApplyTextTypeRecord(const TokenList& t)
{
    DrawingStateRecord& s = DrawingState;
    const int32_t type = StrToIntSafe(RestFrom(t[0], 3));
    const bool freeSize = type == 0 && t.Count >= 5;
    const double width = freeSize ? StrToFloatSafe(t[1]) : 0.0;
    const double height = freeSize ? StrToFloatSafe(t[2]) : 0.0;
    const double spacing = freeSize ? StrToFloatSafe(t[3]) : 0.0;
    const int32_t color = freeSize ? StrToIntSafe(t[4]) : 0;
    if (s.First.Cn) {
        s.First.Cn = false;
        InitialAttributeSet& initial = s.InitialAttributes;
        initial.TextType = type;
        if (freeSize) {
            initial.FreeWidth = width;
            initial.FreeHeight = height;
            initial.FreeSpacing = spacing;
            initial.FreeColor = color;
        }
    }
    ReadingAttributeSet& reading = s.ReadingAttributes;
    reading.TextType = type;
    if (freeSize) {
        reading.FreeWidth = width;
        reading.FreeHeight = height;
        reading.FreeSpacing = spacing;
        reading.FreeColor = color;
    }
}

// Header, attribute and mode records; false when none of them takes the line.
bool ApplyReaderRules(const TokenList& t)
{
    DrawingStateRecord& s = DrawingState;
    ReadingAttributeSet& reading = s.ReadingAttributes;
    InitialAttributeSet& initial = s.InitialAttributes;
    const std::string_view t0 = t[0];
    const std::string_view key = t0;
    const int n = t.Count;
    auto real = [&](int i) { return StrToFloatSafe(t[i]); };
    auto integer = [&](int i) { return StrToIntSafe(t[i]); };

    if (NamesDrawingFile(t0)) {
        s.DrawingFilePath = RestFrom(t0, 6);
        return true;
    }
    // Only rules whose keyword starts with the same byte compete, and they
    // keep their order; the rest of the line is for the element rules.
    if (key.empty())
        return false;
    switch (key[0]) {
    case 'h':
        if (key == "hk" && n >= 2) {
            s.AxisAngle = real(1);
            return true;
        }
        if (key == "hs" && n >= 1 + LayerGroupCount) {
            for (int g = 0; g < LayerGroupCount; ++g)
                s.LayerGroupScales[g] = real(g + 1);
            return true;
        }
        if (key == "hzs" && n >= 3) {
            s.SheetSize[0] = real(1);
            s.SheetSize[1] = real(2);
            return true;
        }
        if ((key == "hcw" || key == "hch" || key == "hcd" || key == "hcc") && n >= 1 + TextTypeCount) {
            for (int j = 1; j <= TextTypeCount; ++j) {
                TextType& type = s.TextTypes[j - 1];
                switch (key[2]) {
                case 'w': type.Width = real(j); break;
                case 'h': type.Height = real(j); break;
                case 'd': type.Spacing = real(j); break;
                default: type.Color = integer(j); break;
                }
            }
            return true;
        }
        if (key == "hn" && n >= 5) {
            for (int i = 0; i < 4; ++i)
                s.HnValues[i] = real(i + 1);
            return true;
        }
        if (StartsWith(key, "hp") && n >= 3) {
            ApplyPickedPoint(t);
            return true;
        }
        if (StartsWith(key, "hhp")) {
            ApplyHhp(t0);
            return true;
        }
        break;
    case 'b':
        if (key == "bz") {
            s.BzPresent = true;
            return true;
        }
        break;
    case 'l':
        if (StartsWith(key, "lgn")) {
            s.LayerGroupNames[reading.LayerGroup] = RestFrom(t0, 4);
            return true;
        }
        if (StartsWith(key, "lyn")) {
            s.LayerNames[reading.LayerGroup * LayersPerGroup + reading.Layer] = RestFrom(t0, 4);
            return true;
        }
        if (StartsWith(key, "lg")) {
            const int32_t g = HexDigitAt(t0, 3);
            if (s.First.Lg) {
                s.First.Lg = false;
                initial.LayerGroup = g;
            }
            reading.LayerGroup = g;
            if (n >= 2)
                s.LayerGroupValues[g] = integer(1);
            s.PolylineMode = false;
            return true;
        }
        if (StartsWith(key, "ly")) {
            const int32_t l = HexDigitAt(t0, 3);
            if (s.First.Ly) {
                s.First.Ly = false;
                initial.Layer = l;
            }
            reading.Layer = l;
            if (n >= 2)
                s.LayerValues[reading.LayerGroup * LayersPerGroup + l] = integer(1);
            s.PolylineMode = false;
            return true;
        }
        if (StartsWith(key, "lc")) {
            const int32_t c = StrToIntSafe(RestFrom(t0, 3));
            if (s.First.Lc) {
                s.First.Lc = false;
                initial.LineColor = c;
            }
            reading.LineColor = c;
            if (c == 10 && n >= 2)
                reading.ExtendedColor = integer(1);
            s.PolylineMode = false;
            return true;
        }
        if (StartsWith(key, "lt")) {
            const int32_t v = StrToIntSafe(RestFrom(t0, 3));
            if (s.First.Lt) {
                s.First.Lt = false;
                initial.LineType = v;
            }
            reading.LineType = v;
            s.PolylineMode = false;
            return true;
        }
        if (StartsWith(key, "lw")) {
            const int32_t v = StrToIntSafe(RestFrom(t0, 3));
            if (s.First.Lw) {
                s.First.Lw = false;
                initial.LineWidth = v;
            }
            reading.LineWidth = v;
            s.LineWidthPresent = true;
            s.PolylineMode = false;
            return true;
        }
        break;
    case 'c':
        if (StartsWith(key, "cn$")) {
            const std::string_view name = RestFrom(t0, 4);
            if (initial.FontName.empty())
                initial.FontName = name;
            reading.FontName = name;
            s.PolylineMode = false;
            return true;
        }
        if (StartsWith(key, "cn")) {
            ApplyTextTypeRecord(t);
            s.PolylineMode = false;
            return true;
        }
        if (StartsWith(key, "cc")) {
            const int32_t v = StrToIntSafe(t0.substr(2, 1));
            reading.TextColor = v >= 0 && v <= 8 ? v : 0;
            s.PolylineMode = false;
            return true;
        }
        break;
    case 'z':
        if (key.size() == 2 && key[0] == 'z' && key[1] >= '1' && key[1] <= '5') {
            s.PendingZFlags |= 1 << (key[1] - '1');
            return true;
        }
        break;
    case 'p':
        if (StartsWith(key, "pn")) {
            reading.PointColor = StrToIntSafe(RestFrom(t0, 3));
            s.PolylineMode = false;
            return true;
        }
        if (key == "pl") {
            ++s.PolylineCount;
            s.PolylineMode = true;
            s.DimensionMode = false;
            return true;
        }
        break;
    case 'm':
        if (key == "msg") {
            s.DimensionMode = true;
            s.PolylineMode = false;
            return true;
        }
        break;
    case '#':
        if (key == "#") {
            s.PolylineMode = false;
            s.DimensionMode = false;
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

void ApplyTokens(TokenList& tokens)
{
    if (tokens.Count == 1 && tokens[0].empty())
        return;
    if (!ApplyReaderRules(tokens))
        ApplyElementRules(tokens);
}

struct ApplyEachLine {
    void operator()(TokenList& tokens) const { ApplyTokens(tokens); }
};

}  // namespace

void ParseExchangeLine(const std::string& line)
{
    TokenList tokens;
    TokeniseLine(line, tokens);
    ApplyTokens(tokens);
}

bool ParseExchangeBytes(const char* data, std::size_t size)
{
    try {
        LineSplitter<ApplyEachLine> splitter{ApplyEachLine()};
        splitter.Feed(data, size);
        splitter.Finish();
        return true;
    } catch (const std::exception&) {
        return false;  // out of memory: what was applied stays
    }
}

namespace {

bool ReadOnOneThread(platform::InputFile& file)
{
    try {
        std::unique_ptr<char[]> buffer(new char[ChunkSize]);
        LineSplitter<ApplyEachLine> splitter{ApplyEachLine()};
        while (!splitter.Ended()) {
            const long long count = file.Read(buffer.get(), ChunkSize);
            if (count < 0)
                return false;
            if (count == 0)
                break;
            splitter.Feed(buffer.get(), static_cast<std::size_t>(count));
        }
        splitter.Finish();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace

bool ReadExchangeFile(const std::string& path, ReaderThreads threads)
{
    if (!platform::FileExists(path))
        return false;
    platform::InputFile file;
    if (!platform::OpenForReading(file, path))
        return false;
    if (threads == ReaderThreads::Machine) {
        // Below a few batches a second thread costs more than it saves.
        const bool large = file.Size() >= static_cast<long long>(TwoThreadsFrom);
        threads = large && std::thread::hardware_concurrency() >= 2 ? ReaderThreads::Two : ReaderThreads::One;
    }
    if (threads == ReaderThreads::Two) {
        const ReadAheadResult result = ReadAhead(file, ApplyTokens);
        if (result != ReadAheadResult::NoThread)
            return result == ReadAheadResult::Read;
    }
    return ReadOnOneThread(file);
}
