// The preview on drawings handed over whole (100,000 and 1,000,000 mixed
// elements): the first view shows the drawing around the dimension, and a
// scripted series of wheel notches, pans and resizes, at the dimension and
// at the whole drawing, each answered within a frame, the exact picture
// following. The times are the program's own (window properties); the
// driver prints the median and the slowest. And the peak memory of the
// program against the size of the exchange file.
#include "WineTest.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>

#include "tests/support/MixedRecords.h"

namespace wt {

namespace {

constexpr COLORREF InputGrey = RGB(0x9a, 0x9a, 0x9a);
const std::vector<PickedAt> MixedPicks = {{1, -28417.3362508124, -15530.9281744203},
                                          {2, -9936.71940358122, -13278.0465216877},
                                          {3, -8125.58137066391, -11092.6604832819},
                                          {4, -12488.0173392285, 24917.3306114752}};

unsigned long long Property(HWND window, const wchar_t* name)
{
    return static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(GetPropW(window, name)));
}

// Waits until the property reads other than before (or, with before 0, anything).
bool WaitForProperty(HWND window, const wchar_t* name, unsigned long long before, DWORD milliseconds)
{
    for (DWORD waited = 0;; waited += 5) {
        const unsigned long long now = Property(window, name);
        if (now != 0 && now != before)
            return true;
        if (waited >= milliseconds)
            return false;
        Sleep(5);
    }
}

struct Times {
    std::vector<double> Answer, Exact;  // milliseconds
    int Lost = 0;                       // steps no paint answered within the wait
};

// One step of the series: the action, the paint that answers it, and the
// exact picture after it (waited for, so that each step starts from one).
void Step(HWND preview, Times& times, const std::function<void()>& act, bool waitForExact = true)
{
    const unsigned long long answers = Property(preview, L"Q308.AnswerCount");
    act();
    if (!WaitForProperty(preview, L"Q308.AnswerCount", answers, 3000)) {
        ++times.Lost;
        return;
    }
    times.Answer.push_back(Property(preview, L"Q308.AnswerMicroseconds") / 1000.0);
    if (waitForExact) {
        if (WaitForProperty(preview, L"Q308.ExactMicroseconds", 0, 10000))
            times.Exact.push_back(Property(preview, L"Q308.ExactMicroseconds") / 1000.0);
        else
            ++times.Lost;
    }
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Slowest(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

// A pixel of the picture at least that far from every picked point's mark.
POINT EmptySpot(HWND preview, int away)
{
    const Picture picture = CapturePicture(preview);
    const std::vector<POINT> marks = PickMarks(picture, Scaled(8));
    for (int y = picture.Height / 4; y < picture.Height * 3 / 4; y += Scaled(10))
        for (int x = picture.Width / 4; x < picture.Width * 3 / 4; x += Scaled(10)) {
            const POINT at{picture.Origin.x + x, picture.Origin.y + y};
            if (std::all_of(marks.begin(), marks.end(),
                            [&](POINT m) { return std::hypot(m.x - at.x, m.y - at.y) >= away; }))
                return at;
        }
    return {picture.Origin.x + picture.Width / 2, picture.Origin.y + picture.Height / 2};
}

// Notches in and out about the middle of the picture, some in quick
// succession (the renderer still at work), a pan of five steps, and at the
// dimension a resize and back.
void Series(HWND preview, Times& times, bool resize)
{
    const POINT spot = EmptySpot(preview, Scaled(30));
    MouseTo(spot);
    Sleep(100);
    for (int notch = 0; notch < 3; ++notch)
        Step(preview, times, [] { MouseWheel(WHEEL_DELTA); });
    for (int notch = 0; notch < 3; ++notch)
        Step(preview, times, [] { MouseWheel(-WHEEL_DELTA); });
    // Quick notches: each answered while the last one's exact picture is still being painted.
    for (int notch = 0; notch < 4; ++notch)
        Step(preview, times, [&] { MouseWheel(notch < 2 ? WHEEL_DELTA : -WHEEL_DELTA); }, notch == 3);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    for (int move = 1; move <= 5; ++move)
        Step(preview, times, [&] { MouseTo({spot.x + 12 * move, spot.y + 7 * move}); });
    MouseButton(MOUSEEVENTF_LEFTUP);
    if (resize) {
        RECT place{};
        GetWindowRect(preview, &place);
        for (const int grow : {Scaled(40), 0})
            Step(preview, times, [&] {
                SetWindowPos(preview, nullptr, 0, 0, place.right - place.left + grow, place.bottom - place.top + grow,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            });
    }
}

void Report(Case& c, const std::wstring& what, const Times& times, double exactBound)
{
    wchar_t line[300];
    swprintf(line, 300,
             L"measured: painting %ls: answer median %.2f ms, slowest %.2f ms (%d steps); exact picture after "
             L"median %.0f ms, slowest %.0f ms (%d)",
             what.c_str(), Median(times.Answer), Slowest(times.Answer), static_cast<int>(times.Answer.size()),
             Median(times.Exact), Slowest(times.Exact), static_cast<int>(times.Exact.size()));
    Print(line);
    c.Check(times.Lost == 0, L"every step of " + what + L" was answered and its picture followed: " +
                                 Number(times.Lost) + L" lost");
    c.Check(!times.Answer.empty() && Median(times.Answer) <= 16,
            L"the median answer " + what + L" within the 16 ms of one frame");
    c.Check(!times.Exact.empty() && Median(times.Exact) <= exactBound,
            L"the exact picture " + what + L" follows within " + Number(static_cast<long long>(exactBound)) +
                L" ms (median)");
}

double PeakMegabytes(const Program& program)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(program.Process(), &counters, sizeof counters))
        return 0;
    return counters.PeakWorkingSetSize / 1048576.0;
}

void CheckPaintOn(const Settings& settings, long elements, double exactBound)
{
    const std::wstring name = elements == 100000 ? L"100,000 elements" : L"1,000,000 elements";
    Case c(L"preview paint on " + name + L" handed over whole");
    const std::string drawing = records::MixedExchangeFile(elements);
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-paint"));
    RemoveTree(program.Folder());
    MakeFolder(program.Folder());
    const HWND preview = StartWithPreview(program, c, drawing);
    if (preview == nullptr)
        return;
    if (!c.Check(WaitForProperty(preview, L"Q308.FirstPictureMicroseconds", 0, 30000),
                 L"the first picture with the drawing is shown"))
        return;
    const double first = Property(preview, L"Q308.FirstPictureMicroseconds") / 1000.0;
    const double plan = Property(preview, L"Q308.PlanMicroseconds") / 1000.0;
    wchar_t line[200];
    swprintf(line, 200, L"measured: the preview's first picture on %ls: %.0f ms after the dialog (the paint plan made in %.0f ms)",
             name.c_str(), first, plan);
    Print(line);
    c.Check(first <= 500, L"the first picture within 0.5 s of the dialog");

    // The first view: framed on the dimension, the drawing around it in grey.
    Sleep(200);
    const Picture picture = CapturePicture(preview);
    const std::vector<POINT> marks = PickMarks(picture, Scaled(8));
    const std::optional<POINT> mark1 = MarkOf(marks, MixedPicks, 1), mark4 = MarkOf(marks, MixedPicks, 4);
    c.Check(mark1 && mark4 && mark1->y - mark4->y > picture.Height / 2,
            L"the first view frames the dimension and its picked points");
    c.Check(picture.Count(InputGrey) > static_cast<int>(picture.Pixels.size() / 10),
            L"the drawing handed over shows around the dimension: " + Number(picture.Count(InputGrey)) +
                L" grey pixels of " + Number(static_cast<long long>(picture.Pixels.size())));

    Times atDimension, atWhole;
    Series(preview, atDimension, true);
    // The whole drawing, from the context menu.
    const POINT spot = EmptySpot(preview, Scaled(30));
    MouseTo(spot);
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    Sleep(300);
    Step(preview, atWhole, [] { PressKeys({{'A', false}, {'A', true}}); });
    Series(preview, atWhole, false);
    Report(c, L"on " + name + L" at the dimension", atDimension, exactBound);
    Report(c, L"on " + name + L" at the whole drawing", atWhole, exactBound);

    const double peak = PeakMegabytes(program), file = drawing.size() / 1048576.0;
    swprintf(line, 200, L"measured: q308.exe's peak memory under Wine on %ls, preview open: %.1f MiB = %.2f x the file",
             name.c_str(), peak, peak / file);
    Print(line);
    // Where the file is large enough for Wine's own share not to dominate.
    if (elements >= 1000000)
        c.Check(peak <= 2.5 * file, L"the peak memory within 2.5 times the exchange file, Wine's share included");
    c.Check(program.Running(), L"the dialog is still open");
    program.PostKey(VK_ESCAPE);
    program.WaitForExit(c, 30000);
}

// The same program on the same file with the preview closed: what Wine and
// the dialog take without the preview.
void CheckMemoryWithoutPreview(const Settings& settings)
{
    Case c(L"q308.exe's memory on 1,000,000 elements without the preview");
    const std::string drawing = records::MixedExchangeFile(1000000);
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-paint-closed"));
    RemoveTree(program.Folder());
    MakeFolder(program.Folder());
    WriteBytes(program.File(L"JWC_TEMP.TXT"), drawing);
    WriteBytes(program.File(L"q304.dat"), PreviewSceneSettings(100, 120));
    if (!program.Start(c))
        return;
    Sleep(500);
    const double peak = PeakMegabytes(program), file = drawing.size() / 1048576.0;
    wchar_t line[200];
    swprintf(line, 200, L"measured: q308.exe's peak memory under Wine on 1,000,000 elements, preview closed: %.1f MiB = "
                        L"%.2f x the file",
             peak, peak / file);
    Print(line);
    c.Check(peak > 0, L"the peak memory is known");
    program.PostKey(VK_ESCAPE);
    program.WaitForExit(c, 30000);
}

}  // namespace

void CheckPreviewPaint(const Settings& settings)
{
    CheckPaintOn(settings, 100000, 250);
    CheckPaintOn(settings, 1000000, 1000);
    CheckMemoryWithoutPreview(settings);
}

}  // namespace wt
