// Working the preview window as a user does, with the real mouse and keys
// (SendInput), and reading what it shows: its strip, the marks of the
// picked points on the screen, the time a frame of a drag took. Runs the
// native program cannot be given in advance (the point a drag ends on is
// known only when it has ended) are left for run-wine-tests.sh to compare.
#include "WineTest.h"

#include <algorithm>
#include <cmath>

namespace wt {

namespace {

constexpr COLORREF PickColour = RGB(0xe0, 0x8a, 0x00);

void SendOne(INPUT input)
{
    SendInput(1, &input, sizeof(INPUT));
}

INPUT Mouse(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

HWND PreviewWindowOf(const Program& program, bool shown)
{
    for (int waited = 0;; waited += 50) {
        const HWND window = program.TopWindow(L"プレビュー - " + program.Caption());
        if ((window != nullptr && IsWindowVisible(window)) == shown)
            return shown ? window : nullptr;
        if (waited >= 3000)
            return nullptr;
        Sleep(50);
    }
}

HWND StartWithPreview(Program& program, Case& c, const std::string& drawing, int left, int top)
{
    WriteBytes(program.File(L"JWC_TEMP.TXT"), drawing);
    WriteBytes(program.File(KindOf(program.Arguments()).SettingsFile), PreviewSceneSettings(left, top));
    WriteBytes(program.File(L"q308.ini"), PreviewOpenIni);
    if (!program.Start(c))
        return nullptr;
    const HWND preview = PreviewWindowOf(program);
    c.Check(preview != nullptr, L"the preview opens");
    return preview;
}

HWND PreviewStripOf(HWND preview)
{
    for (HWND child = GetWindow(preview, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Static")
            return child;
    return nullptr;
}

std::vector<std::wstring> StripLines(HWND preview)
{
    std::vector<std::wstring> lines;
    const std::wstring text = TextOf(PreviewStripOf(preview));
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::wstring StripText(HWND preview) { return TextOf(PreviewStripOf(preview)); }

bool WaitForStripChange(HWND preview, const std::wstring& before, DWORD milliseconds)
{
    for (DWORD waited = 0; waited < milliseconds; waited += 10) {
        if (StripText(preview) != before)
            return true;
        Sleep(10);
    }
    return false;
}

std::optional<std::pair<std::wstring, std::wstring>> PointInStrip(const std::wstring& line)
{
    const std::size_t open = line.rfind(L'（'), comma = line.rfind(L", "), close = line.rfind(L'）');
    if (open == std::wstring::npos || comma == std::wstring::npos || close == std::wstring::npos ||
        !(open < comma && comma < close))
        return std::nullopt;
    return std::pair(line.substr(open + 1, comma - open - 1), line.substr(comma + 2, close - comma - 2));
}

std::optional<std::wstring> LineStartingWith(HWND preview, const std::wstring& start)
{
    for (const std::wstring& line : StripLines(preview))
        if (line.rfind(start, 0) == 0)
            return line;
    return std::nullopt;
}

Picture CapturePicture(HWND preview)
{
    Picture picture;
    RECT client{};
    GetClientRect(preview, &client);
    const RECT strip = RectInParent(PreviewStripOf(preview));
    picture.Width = client.right;
    picture.Height = std::max(0L, strip.top);
    ClientToScreen(preview, &picture.Origin);
    if (picture.Width <= 0 || picture.Height <= 0)
        return picture;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.Width;
    info.bmiHeader.biHeight = -picture.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.Width, picture.Height, screen, picture.Origin.x, picture.Origin.y, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    picture.Pixels.resize(static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height));
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i) {
        const DWORD p = pixels[i];
        picture.Pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

int Picture::Count(COLORREF colour) const
{
    return static_cast<int>(std::count(Pixels.begin(), Pixels.end(), colour));
}

// A mark is a circle with a cross through it, its arms arm pixels long;
// the dimension, painted over it, may hide part of it (all of one arm and
// the centre, where point 3 lies on the dimension line). A pixel counts as
// a centre where both arms of one straight stroke through it are nearly
// whole in the marks' colour (no digit of a label has such a stroke), and
// it has more of the cross than any other pixel near it.
std::vector<POINT> PickMarks(const Picture& picture, int arm)
{
    const auto run = [&](int x, int y, int dx, int dy) {
        int count = 0;
        for (int k = 1; k <= arm; ++k)
            count += picture.At(x + k * dx, y + k * dy) == PickColour;
        return count;
    };
    std::vector<std::pair<int, POINT>> candidates;
    for (int y = arm; y < picture.Height - arm; ++y)
        for (int x = arm; x < picture.Width - arm; ++x) {
            const int left = run(x, y, -1, 0), right = run(x, y, 1, 0), up = run(x, y, 0, -1),
                      down = run(x, y, 0, 1);
            if ((left >= arm - 2 && right >= arm - 2) || (up >= arm - 2 && down >= arm - 2))
                candidates.push_back({left + right + up + down, {x, y}});
        }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<POINT> centres;
    for (const auto& [score, at] : candidates) {
        const bool taken = std::any_of(centres.begin(), centres.end(), [&](const POINT& c) {
            return std::abs(c.x - at.x) <= arm && std::abs(c.y - at.y) <= arm;
        });
        if (!taken)
            centres.push_back(at);
    }
    for (POINT& c : centres) {
        c.x += picture.Origin.x;
        c.y += picture.Origin.y;
    }
    return centres;
}

std::optional<POINT> ScreenPointOf(const std::vector<POINT>& marks, const std::vector<PickedAt>& picks, double x,
                                   double y)
{
    // The marks farthest left and right belong to the picks farthest left
    // and right; the scale and place of the view follow.
    if (marks.size() < 2 || picks.size() < 2)
        return std::nullopt;
    const auto byX = [](const auto& a, const auto& b) { return a.x < b.x; };
    const auto [leftMark, rightMark] = std::minmax_element(marks.begin(), marks.end(), byX);
    const auto [leftPick, rightPick] = std::minmax_element(picks.begin(), picks.end(), byX);
    if (rightPick->x == leftPick->x)
        return std::nullopt;
    const double scale = (rightMark->x - leftMark->x) / (rightPick->x - leftPick->x);
    return POINT{std::lround(leftMark->x + (x - leftPick->x) * scale),
                 std::lround(leftMark->y - (y - leftPick->y) * scale)};
}

std::optional<POINT> MarkOf(const std::vector<POINT>& marks, const std::vector<PickedAt>& picks, int number)
{
    for (const PickedAt& pick : picks) {
        if (pick.Number != number)
            continue;
        const std::optional<POINT> at = ScreenPointOf(marks, picks, pick.x, pick.y);
        if (!at)
            return std::nullopt;
        // The marks found are a pixel or two off where a line hides part of
        // them: the nearest within a mark's reach.
        const auto distance = [&](const POINT& mark) { return std::hypot(mark.x - at->x, mark.y - at->y); };
        const POINT* nearest = nullptr;
        for (const POINT& mark : marks)
            if (distance(mark) <= Scaled(8) && (nearest == nullptr || distance(mark) < distance(*nearest)))
                nearest = &mark;
        if (nearest != nullptr)
            return *nearest;
    }
    return std::nullopt;
}

void MouseTo(POINT at)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    POINT aim = at;
    for (int attempt = 0; attempt < 4; ++attempt) {
        INPUT input = Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
        input.mi.dx = static_cast<LONG>((static_cast<long long>(aim.x) * 65535 + (width - 1) / 2) / (width - 1));
        input.mi.dy = static_cast<LONG>((static_cast<long long>(aim.y) * 65535 + (height - 1) / 2) / (height - 1));
        SendOne(input);
        Sleep(20);
        POINT now{};
        GetCursorPos(&now);
        if (now.x == at.x && now.y == at.y)
            return;
        aim.x += at.x - now.x;
        aim.y += at.y - now.y;
    }
}

void MouseButton(DWORD flags)
{
    SendOne(Mouse(flags));
    Sleep(50);
}

void MouseWheel(int delta)
{
    INPUT input = Mouse(MOUSEEVENTF_WHEEL);
    input.mi.mouseData = static_cast<DWORD>(delta);
    SendOne(input);
}

void PressKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    for (const auto& [key, up] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendOne(input);
    }
    Sleep(300);
}

bool DragTo(HWND preview, POINT at)
{
    const std::wstring before = StripText(preview);
    MouseTo(at);
    return WaitForStripChange(preview, before);
}

std::vector<double> FrameTimes(const Program& program, HWND preview, POINT mark, Case& c)
{
    std::vector<double> times;
    MouseTo(mark);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 30; ++step) {
        const std::wstring before = StripText(preview);
        MouseTo({mark.x + (step % 2 == 0 ? 2 : -2) * step / 2, mark.y - 2 * step});
        if (!WaitForStripChange(preview, before, 3000))
            continue;
        Sleep(20);
        times.push_back(static_cast<double>(reinterpret_cast<ULONG_PTR>(GetPropW(preview, L"Q308.FrameMicroseconds"))) /
                        1000);
    }
    PressKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
    MouseButton(MOUSEEVENTF_LEFTUP);
    c.Check(times.size() >= 25 && std::all_of(times.begin(), times.end(), [](double t) { return t > 0; }),
            L"the drag's frames were measured: " + Number(static_cast<long long>(times.size())));
    c.Check(program.Running(), L"Escape ended the drag, not the dialog");
    return times;
}

void DeferNativeComparison(const Settings& settings, const std::wstring& id, const std::string& exchange,
                           const std::string& settingsFile, const std::wstring& script, const Program& program)
{
    const std::wstring folder = JoinPath(JoinPath(settings.Root, L"deferred"), id);
    RemoveTree(folder);
    MakeFolder(JoinPath(folder, L"in"));
    MakeFolder(JoinPath(folder, L"wine"));
    const std::wstring settingsName = KindOf(program.Arguments()).SettingsFile;
    WriteBytes(JoinPath(folder, L"in\\JWC_TEMP.TXT"), exchange);
    WriteBytes(JoinPath(JoinPath(folder, L"in"), settingsName), settingsFile);
    WriteBytes(JoinPath(folder, L"script.txt"), Utf8(script));
    if (!program.Arguments().empty())
        WriteBytes(JoinPath(folder, L"arguments.txt"), Utf8(program.Arguments()));
    for (const std::wstring& name : {std::wstring(L"JWC_TEMP.TXT"), settingsName}) {
        std::string bytes;
        if (ReadBytes(program.File(name), bytes))
            WriteBytes(JoinPath(JoinPath(folder, L"wine"), name), bytes);
    }
    std::wstring shown = script;
    std::replace(shown.begin(), shown.end(), L'\n', L';');
    Print(L"  deferred: " + id + L", compared with the native program on \"" + shown + L"\" after this run");
}

}  // namespace wt
