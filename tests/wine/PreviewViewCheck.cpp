// The preview's view worked with the real mouse: a readable first view
// framed on the dimension beside a large plan, the wheel zooming about the
// pointer, a pan, the view kept while values change, the whole drawing and
// the dimension framed again; and the time one frame of a drag takes on the
// project's sample drawing and on 100,000 elements.
#include "WineTest.h"

#include <algorithm>
#include <cmath>

#include "tests/support/MixedRecords.h"

namespace wt {

namespace {

// The scene beside a plan outline of 20 m by 12 m, beside which the whole
// drawing would leave the dimension a few pixels.
std::string SceneWithPlan()
{
    std::string bytes = PreviewScene();
    for (const char* line : {"-10000 -6000 10000 -6000\r\n", "10000 -6000 10000 6000\r\n",
                             "10000 6000 -10000 6000\r\n", "-10000 6000 -10000 -6000\r\n"})
        bytes += line;
    return bytes;
}

const std::vector<PickedAt> ScenePicks = {{1, 0, 0}, {2, 10, 40}, {3, 25, 7}, {4, -5, 20}};

int Arm() { return Scaled(8); }

std::vector<POINT> Marks(HWND preview) { return PickMarks(CapturePicture(preview), Arm()); }

bool Near(POINT a, POINT b, int tolerance = 1)
{
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

// Whether every mark of one list has one in the other within two pixels,
// what finding the mark of point 3 under the dimension line may be off.
bool SameMarks(const std::vector<POINT>& a, const std::vector<POINT>& b)
{
    if (a.size() != b.size())
        return false;
    return std::all_of(a.begin(), a.end(), [&](POINT p) {
        return std::any_of(b.begin(), b.end(), [&](POINT q) { return Near(p, q, 2); });
    });
}

std::wstring Describe(const std::vector<POINT>& marks)
{
    std::wstring text;
    for (const POINT& p : marks)
        text += L"(" + Number(p.x) + L", " + Number(p.y) + L") ";
    return text;
}

double Distance(POINT a, POINT b) { return std::hypot(a.x - b.x, a.y - b.y); }

void Settle(const Program& program)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(program.Dialog(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(300);
}

void RightClickAndChoose(POINT at, WORD letter)
{
    MouseTo(at);
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    Sleep(300);
    PressKeys({{letter, false}, {letter, true}});
}

void CheckViewWithTheMouse(const Settings& settings)
{
    Case c(L"preview view: framed on the dimension, wheel about the pointer, pan, frames");
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-view"));
    const HWND preview = StartWithPreview(program, c, SceneWithPlan());
    if (preview == nullptr)
        return;
    Sleep(300);
    const std::vector<POINT> first = Marks(preview);
    const std::optional<POINT> mark1 = MarkOf(first, ScenePicks, 1), mark2 = MarkOf(first, ScenePicks, 2),
                               mark4 = MarkOf(first, ScenePicks, 4);
    if (!c.Check(first.size() == 4 && mark1 && mark2 && mark4, L"the four marks are found: " + Describe(first)))
        return;
    // Readable: the 40 units between points 1 and 2 take most of the picture,
    // not the few pixels they would beside the whole plan.
    const Picture picture = CapturePicture(preview);
    c.Check(mark1->y - mark2->y > picture.Height / 2,
            L"the dimension fills the first view: " + Number(mark1->y - mark2->y) + L" of " +
                Number(picture.Height) + L" pixels");

    // The wheel zooms about the pointer: the mark under it stays.
    MouseTo(*mark4);
    MouseWheel(WHEEL_DELTA);
    Settle(program);
    const std::vector<POINT> zoomed = Marks(preview);
    c.Check(std::any_of(zoomed.begin(), zoomed.end(), [&](POINT p) { return Near(p, *mark4); }),
            L"the mark under the pointer stays under it: " + Describe(zoomed));
    c.Check(!SameMarks(zoomed, first), L"the others moved: " + Describe(zoomed));
    MouseWheel(-WHEEL_DELTA);
    Settle(program);
    c.Check(SameMarks(Marks(preview), first), L"zooming out again gives the first view: " + Describe(Marks(preview)));

    // Zoomed out about another pixel, the view then stays while a value changes.
    MouseTo(*mark2);
    MouseWheel(-2 * WHEEL_DELTA);
    Settle(program);
    const std::vector<POINT> out = Marks(preview);
    c.Check(!SameMarks(out, first), L"zoomed out: " + Describe(out));
    program.SetText(L"Edit7", L"4");
    Settle(program);
    c.Check(SameMarks(Marks(preview), out), L"a new arrow length leaves the view as it is: " + Describe(Marks(preview)));

    // A drag on empty space (away from every mark) pans.
    POINT grab = {picture.Origin.x + Scaled(30), picture.Origin.y + picture.Height / 2};
    for (int tries = 0; tries < 20 && std::any_of(out.begin(), out.end(), [&](POINT p) {
                                          return Distance(p, grab) < Scaled(20);
                                      });
         ++tries)
        grab.y += Scaled(15);
    MouseTo(grab);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseTo({grab.x + 20, grab.y + 10});
    MouseTo({grab.x + 40, grab.y + 25});
    Sleep(200);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle(program);
    std::vector<POINT> shifted = out;
    for (POINT& p : shifted)
        p = {p.x + 40, p.y + 25};
    const std::vector<POINT> panned = Marks(preview);
    c.Check(SameMarks(panned, shifted), L"the marks moved with the pan: " + Describe(panned) + L"expected " +
                                            Describe(shifted));

    // The context menu shows the whole drawing; a double-click frames the dimension again.
    RightClickAndChoose(grab, 'A');
    Settle(program);
    // The 40 units of the dimension are then under a pixel: what is left of
    // the marks is one cluster.
    const std::vector<POINT> whole = Marks(preview);
    c.Check(!whole.empty() && std::all_of(whole.begin(), whole.end(),
                                          [&](POINT p) { return Distance(p, whole.front()) < Scaled(12); }),
            L"the whole plan: the dimension shrinks to a few pixels: " + Describe(whole));
    // Away from the marks, which a double-click would take for a drag.
    const Picture all = CapturePicture(preview);
    MouseTo({all.Origin.x + all.Width / 4, all.Origin.y + all.Height / 2});
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Settle(program);
    const std::vector<POINT> framed = Marks(preview);
    const std::optional<POINT> framed1 = MarkOf(framed, ScenePicks, 1), framed2 = MarkOf(framed, ScenePicks, 2);
    c.Check(framed1 && framed2 && framed1->y - framed2->y > picture.Height / 2,
            L"a double-click frames the dimension again: " + Describe(framed));
    c.Check(GetForegroundWindow() == program.Dialog(), L"the dialog stays active throughout");
    program.PostKey(VK_ESCAPE);
    program.WaitForExit(c);
}

void CheckFrameTime(const Settings& settings, const std::wstring& name, const std::string& drawing,
                    const std::vector<PickedAt>& picks)
{
    Case c(L"preview speed: a frame of a drag on " + name);
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-speed"));
    RemoveTree(program.Folder());
    MakeFolder(program.Folder());
    const HWND preview = StartWithPreview(program, c, drawing);
    if (preview == nullptr)
        return;
    Settle(program);
    const std::vector<POINT> marks = Marks(preview);
    const std::optional<POINT> mark4 = MarkOf(marks, picks, 4);
    if (!c.Check(mark4.has_value(), L"the mark of point 4 is found: " + Describe(marks)))
        return;
    std::vector<double> times = FrameTimes(program, preview, *mark4, c);
    if (times.empty())
        return;
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2], worst = times.back();
    wchar_t line[200];
    swprintf(line, 200, L"measured: one frame of a drag on %ls: median %.2f ms, slowest %.2f ms (%d moves)",
             name.c_str(), median, worst, static_cast<int>(times.size()));
    Print(line);
    c.Check(median <= 16, L"the median frame within the 16 ms of one frame");
    program.PostKey(VK_ESCAPE);
    program.WaitForExit(c);
}

}  // namespace

void CheckPreviewView(const Settings& settings)
{
    CheckViewWithTheMouse(settings);
}

void CheckPreviewSpeed(const Settings& settings)
{
    wchar_t path[MAX_PATH] = {};
    std::string sample;
    if (GetEnvironmentVariableW(L"Q308_SAMPLE_DRAWING", path, MAX_PATH) > 0 && ReadBytes(path, sample))
        CheckFrameTime(settings, L"the sample drawing", sample,
                       {{1, 1200, 800}, {2, 1850, 3200}, {3, 3400, 1500}, {4, 2600, 2100}});
    else
        Print(L"skipped: the frame time on the sample drawing (Q308_SAMPLE_DRAWING names no file)");
    CheckFrameTime(settings, L"100,000 elements", records::MixedExchangeFile(100000),
                   {{1, -28417.3362508124, -15530.9281744203},
                    {2, -9936.71940358122, -13278.0465216877},
                    {3, -8125.58137066391, -11092.6604832819},
                    {4, -12488.0173392285, 24917.3306114752}});
}

}  // namespace wt
