// A chain's values dragged in the preview with the real mouse: a span's
// value grip, found where the drawing puts it, follows the mouse and stays
// where it was let go; the line's grip moves too; Ctrl+R puts both back;
// OK writes what the native program writes given the value's point.
// And the time a frame of such a drag takes on a row of many spans laid
// over a large drawing.
#include "WineTest.h"

#include <algorithm>
#include <cstdio>

#include "tests/support/MixedRecords.h"

namespace wt {

namespace {

// The picks of host-chain-row.txt. Run as a horizontal chain, its line
// runs through point 1 at y 12000; span 3 (points 4 and 5) fits its value,
// so the value's grip stands midway between them on the line.
const std::vector<PickedAt> RowPicks = {{1, -1500, 12000}, {2, 0, 0},       {3, 3000, 2500},   {4, 3150, 2620},
                                        {5, 6500, 5400},   {6, 9800, 8300}, {7, 12000, 10100}};
constexpr double Span3GripX = (3150 + 6500) / 2.0, LineY = 12000;

std::optional<std::pair<std::wstring, std::wstring>> PointAfter(const std::wstring& line, const std::wstring& name)
{
    const std::size_t at = line.find(name);
    if (at == std::wstring::npos)
        return std::nullopt;
    return PointInStrip(line.substr(0, line.find(L'）', at) + 1));
}

std::wstring PointText(const std::pair<std::wstring, std::wstring>& point)
{
    return point.first + L" " + point.second;
}

// Drags from grip to at and lets go; the point the note then gives the
// item named so ("スパン3の寸法値（", "点1（").
std::optional<std::pair<std::wstring, std::wstring>> DropAt(HWND preview, POINT grip, POINT at,
                                                              const std::wstring& name, Case& c)
{
    MouseTo(grip);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    c.Check(DragTo(preview, Offset(grip, (at.x - grip.x) / 2, (at.y - grip.y) / 2)) && DragTo(preview, at),
            L"the strip follows the drag of " + name);
    const std::wstring before = StripText(preview);
    MouseButton(MOUSEEVENTF_LEFTUP);
    WaitForStripChange(preview, before, 1000);
    const std::optional<std::wstring> note = LineStartingWith(preview, L"移動した点：");
    const auto point = note ? PointAfter(*note, name) : std::nullopt;
    c.Check(point.has_value(), L"after the drop the strip names " + name + L": " + StripText(preview));
    return point;
}

void CheckSpanValueDrag(const Settings& settings)
{
    Case c(L"chain preview: a span's value dragged, the line too, Ctrl+R, OK as the native program");
    Program program(settings.Executable, JoinPath(settings.Root, L"chain-drag"));
    program.SetArguments(L"/hc", KindOf(L"/hc").Caption);
    const std::string row = Sample(L"host-chain-row.txt");
    const HWND preview = StartWithPreview(program, c, row);
    if (preview == nullptr)
        return;
    Sleep(300);
    const Picture first = CapturePicture(preview);
    const std::wstring firstStrip = StripText(preview);
    const std::vector<POINT> marks = PickMarks(first, Scaled(8));
    const std::optional<POINT> grip = ScreenPointOf(marks, RowPicks, Span3GripX, LineY);
    if (!c.Check(grip && MarkOf(marks, RowPicks, 1) && MarkOf(marks, RowPicks, 7),
                 L"the marks of points 1 and 7 are on the screen"))
        return;

    // The value follows the mouse, then stays where it was let go. Every
    // move stays between the line and the points: the view holds still.
    MouseTo(*grip);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    c.Check(DragTo(preview, Offset(*grip, Scaled(15), Scaled(10))) &&
                DragTo(preview, Offset(*grip, Scaled(30), Scaled(20))),
            L"the strip follows each move");
    const std::wstring moving = StripLines(preview).front();
    c.Check(moving.rfind(L"スパン3の寸法値を移動中（", 0) == 0, L"the strip names the value moved: " + moving);
    c.Check(CapturePicture(preview).Pixels != first.Pixels, L"the picture follows the value");
    const std::wstring before = StripText(preview);
    MouseButton(MOUSEEVENTF_LEFTUP);
    WaitForStripChange(preview, before, 1000);
    const std::optional<std::wstring> note = LineStartingWith(preview, L"移動した点：");
    c.Check(note && PointInStrip(moving) && PointAfter(*note, L"スパン3の寸法値（") == PointInStrip(moving),
            L"the value is left where the drag ended: " + StripText(preview));

    // The line's grip beside it; the note names both, and Ctrl+R puts both
    // back. The strip has grown over the picture: the marks are found anew.
    const std::optional<POINT> mark1 = MarkOf(PickMarks(CapturePicture(preview), Scaled(8)), RowPicks, 1);
    if (!c.Check(mark1.has_value(), L"the mark of point 1 is on the screen after the drop"))
        return;
    DropAt(preview, *mark1, Offset(*mark1, 0, Scaled(25)), L"点1（", c);
    const std::optional<std::wstring> both = LineStartingWith(preview, L"移動した点：");
    c.Check(both && both->find(L"スパン3の寸法値（") != std::wstring::npos && both->find(L"）・") != std::wstring::npos,
            L"the note names the value and the line: " + StripText(preview));
    PressKeys({{VK_CONTROL, false}, {'R', false}, {'R', true}, {VK_CONTROL, true}});
    c.Equal(StripText(preview), firstStrip, L"the strip after Ctrl+R");
    // The view had drawn back to keep the row whole above the longer strip;
    // framed again (a double-click off the marks), it is the first picture.
    MouseTo({first.Origin.x + first.Width - Scaled(15), first.Origin.y + first.Height - Scaled(15)});
    for (const DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        MouseButton(button);
    Sleep(300);
    c.Check(CapturePicture(preview).Pixels == first.Pixels, L"the picture after Ctrl+R is the first one");

    // Dropped again, and OK.
    const auto dropped = DropAt(preview, *grip, Offset(*grip, -Scaled(20), Scaled(30)), L"スパン3の寸法値（", c);
    if (!dropped)
        return;
    program.Click(program.Control(L"Button1"));
    program.WaitForExit(c);
    DeferNativeComparison(settings, L"chain-drag-span3", row, PreviewSceneSettings(100, 120),
                          L"Point4.3=" + PointText(*dropped) + L"\nOK\n", program);
}

// 100,000 elements of the host's with a horizontal row of 98 measured
// points (97 spans, as many as the host hands over) across them, at a
// layer-group scale that lets most values stand inside their spans; span 1
// is wide, its value's grip clear of the others.
std::string ManySpansScene(std::vector<PickedAt>& picks, PickedAt& grip)
{
    std::string drawing = records::MixedExchangeFile(100000);
    const std::size_t hs = drawing.find("hs "), hsEnd = drawing.find("\r\n", hs);
    drawing.replace(hs, hsEnd - hs, "hs 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10");
    const double lineY = 9500;
    picks = {{1, -12000, lineY}};
    static constexpr double Widths[] = {260, 180, 320, 90};
    double x = -9800;
    for (int n = 2; n <= 99; ++n) {
        picks.push_back({n, x, -9000.0 + (n * 3797) % 17000});
        x += n == 2 ? 1500 : n == 98 ? 800 : Widths[n % 4];
    }
    grip = {0, (picks[1].x + picks[2].x) / 2, lineY};
    std::string records;
    char line[80];
    for (const PickedAt& pick : picks) {
        std::snprintf(line, sizeof line, "hp%d %.0f %.0f\r\n", pick.Number, pick.x, pick.y);
        records += line;
    }
    const std::size_t from = drawing.find("hp1"), to = drawing.find("lg4");
    return drawing.replace(from, to - from, records);
}

void CheckManySpansFrameTime(const Settings& settings)
{
    Case c(L"chain preview speed: a frame of a value's drag, 97 spans over 100,000 elements");
    std::vector<PickedAt> picks;
    PickedAt at{};
    const std::string drawing = ManySpansScene(picks, at);
    Program program(settings.Executable, JoinPath(settings.Root, L"chain-speed"));
    RemoveTree(program.Folder());
    MakeFolder(program.Folder());
    program.SetArguments(L"/hc", KindOf(L"/hc").Caption);
    const HWND preview = StartWithPreview(program, c, drawing);
    if (preview == nullptr)
        return;
    for (int waited = 0; waited < 30000 && GetPropW(preview, L"Q308.FirstPictureMicroseconds") == nullptr; waited += 50)
        Sleep(50);
    Sleep(500);
    const std::vector<POINT> marks = PickMarks(CapturePicture(preview), Scaled(8));
    const std::optional<POINT> grip = ScreenPointOf(marks, picks, at.x, at.y);
    if (!c.Check(grip && MarkOf(marks, picks, 1) && MarkOf(marks, picks, 99),
                 L"the marks of points 1 and 99 are on the screen"))
        return;
    // The grip is span 1's value.
    MouseTo(*grip);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    DragTo(preview, Offset(*grip, 0, -Scaled(4)));
    const std::wstring moving = StripLines(preview).front();
    PressKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
    MouseButton(MOUSEEVENTF_LEFTUP);
    if (!c.Check(moving.rfind(L"スパン1の寸法値を移動中（", 0) == 0, L"span 1's value is dragged: " + moving))
        return;

    std::vector<double> times = FrameTimes(program, preview, *grip, c);
    if (times.empty())
        return;
    std::sort(times.begin(), times.end());
    wchar_t line[200];
    swprintf(line, 200,
             L"measured: one frame of a chain value's drag, 97 spans on 100,000 elements: median %.2f ms, slowest "
             L"%.2f ms (%d moves)",
             times[times.size() / 2], times.back(), static_cast<int>(times.size()));
    Print(line);
    c.Check(times[times.size() / 2] <= 16, L"the median frame within the 16 ms of one frame");
    program.PostKey(VK_ESCAPE);
    program.WaitForExit(c, 30000);
}

}  // namespace

void CheckChainDrag(const Settings& settings)
{
    CheckSpanValueDrag(settings);
    CheckManySpansFrameTime(settings);
}

}  // namespace wt
