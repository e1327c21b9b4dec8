// The preview window beside the dialog, as a user meets it: the system-menu
// item, the window beside the dialog, what it shows while the user types,
// the focus left with the dialog, and q308.ini remembered from run to run,
// with the damaged files a user may leave behind.
#include "WineTest.h"

#include <algorithm>
#include <initializer_list>

namespace wt {

namespace {

// The preview's item in the dialog's system menu, as its command arrives.
constexpr WPARAM PreviewCommand = 0x0110;

}  // namespace

// A vertical dimension 40 long on a layer group of scale 2, the value
// centred between its ends, beside a rectangle of the host's.
std::string PreviewScene()
{
    std::wstring text;
    for (const wchar_t* line : {L"hq", L"hk 0", L"hs 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2", L"hp1-  0 0", L"hp2   10 40",
                                L"hp3-  25 7", L"hp4   -5 20", L"lg0", L"ly0", L"lc2", L"lt1", L"cn1",
                                L"cn\"$<ＭＳ ゴシック>", L"#", L"0 0 10 0", L"10 0 10 40", L"10 40 0 40", L"0 40 0 0"})
        text += std::wstring(line) + L"\r\n";
    return Sjis(text);
}

// Settings with the host's current text type chosen, the dialog at (left, top).
std::string PreviewSceneSettings(int left, int top)
{
    std::wstring text = Number(left) + L"\r\n" + Number(top) + L"\r\n";
    for (const wchar_t* line : {L"0", L"0", L"0", L"3", L"2", L"1", L"", L"", L"0.5", L"2", L"2", L"3", L"15", L"2",
                                L"0", L"0", L"0", L"0", L"0", L"0"})
        text += std::wstring(line) + L"\r\n";
    return Sjis(text);
}

namespace {

// The program's preview window, shown or not; nullptr when it has none.
// Its title names the kind of dimension.
HWND PreviewOf(const Program& program) { return program.TopWindow(L"プレビュー - " + program.Caption()); }

// Waits until the preview is shown (or hidden); nullptr when it is not shown.
HWND WaitForPreview(const Program& program, bool shown)
{
    for (int waited = 0; waited < 3000; waited += 50) {
        const HWND window = PreviewOf(program);
        if ((window != nullptr && IsWindowVisible(window)) == shown)
            return shown ? window : nullptr;
        Sleep(50);
    }
    const HWND window = PreviewOf(program);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

HWND StatusOf(HWND preview)
{
    for (HWND child = GetWindow(preview, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Static")
            return child;
    return nullptr;
}

void Settle(const Program& program)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(program.Dialog(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(200);
}

// The preview's picture as the screen shows it (above its status line),
// and how many of its pixels are in the dimension lines' strong blue.
struct Snapshot {
    std::vector<COLORREF> Pixels;
    int Blue = 0;
    int Faint = 0;
};

Snapshot TakeSnapshot(HWND preview)
{
    Snapshot shot;
    RECT client{};
    GetClientRect(preview, &client);
    RECT status = RectInParent(StatusOf(preview));
    POINT origin{0, 0};
    ClientToScreen(preview, &origin);
    HDC screen = GetDC(nullptr);
    for (int y = 0; y < status.top; y += 2)
        for (int x = 0; x < client.right; x += 2) {
            const COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
            shot.Pixels.push_back(c);
            shot.Blue += c == RGB(0x1f, 0x5f, 0xbf);
            shot.Faint += GetBValue(c) > 220 && GetRValue(c) < 215 && GetRValue(c) > 150;
        }
    ReleaseDC(nullptr, screen);
    return shot;
}

// Keys and clicks as the user gives them, to whichever window is active.
void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    std::vector<INPUT> inputs;
    for (const auto& [key, up] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(300);
}

void Click(POINT at)
{
    SetCursorPos(at.x, at.y);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(300);
}

void OpenFromMenu(const Program& program)
{
    PostMessageW(program.Dialog(), WM_SYSCOMMAND, PreviewCommand, 0);
    Settle(program);
}

// The item in the dialog's system menu, chosen by its mnemonic through the
// menu itself, as from the keyboard: Alt+Space opens the menu, P the item.
// (Wine keeps a menu to its own process, so its text cannot be read here.)
void CheckMenuItem(Program& program, Case& c)
{
    PostMessageW(program.Dialog(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
    Sleep(300);
    PostMessageW(program.Dialog(), WM_CHAR, L'p', 1);
    c.Check(WaitForPreview(program, true) != nullptr, L"P in the system menu opens the preview");
    PostMessageW(program.Dialog(), WM_SYSCOMMAND, PreviewCommand, 0);
    c.Check(WaitForPreview(program, false) == nullptr, L"the item again closes it");
}

std::string ReadIni(const Program& program)
{
    std::string bytes;
    ReadBytes(program.File(L"q308.ini"), bytes);
    return bytes;
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

void CheckOpenAndType(const Settings& settings)
{
    Case c(L"preview: the menu item, beside the dialog, following each keystroke");
    Program program(settings.Executable, JoinPath(settings.Root, L"preview"));
    WriteBytes(program.File(L"JWC_TEMP.TXT"), PreviewScene());
    WriteBytes(program.File(L"q304.dat"), PreviewSceneSettings(100, 120));
    if (!program.Start(c))
        return;
    c.Check(WaitForPreview(program, false) == nullptr, L"no preview where the user closed it");
    CheckMenuItem(program, c);
    const HWND focusBefore = program.Focus();
    OpenFromMenu(program);
    const HWND preview = WaitForPreview(program, true);
    if (!c.Check(preview != nullptr, L"the menu command opens the preview"))
        return;
    const RECT dialog = WindowRect(program.Dialog());
    const RECT place = WindowRect(preview);
    c.Check(GetWindow(preview, GW_OWNER) == program.Dialog(), L"the dialog owns the preview");
    c.Equal(place.left, dialog.right, L"the preview stands right of the dialog");
    c.Equal(place.top, dialog.top, L"at the dialog's top");
    c.Equal(place.bottom - place.top, dialog.bottom - dialog.top, L"and at its height");
    c.Check((GetWindowLongW(preview, GWL_STYLE) & WS_THICKFRAME) != 0, L"the preview can be resized");
    c.Check(program.Focus() == focusBefore && GetForegroundWindow() == program.Dialog(),
            L"opening it leaves the focus in the dialog");
    const HWND status = StatusOf(preview);
    c.Equal(TextOf(status), L"寸法値 40", L"status line");
    const Snapshot first = TakeSnapshot(preview);
    c.Check(first.Blue > 50, L"the dimension is drawn in colour: " + Number(first.Blue) + L" blue pixels");

    // Typing a new arrow length: each keystroke redraws; 30 mm arrows no
    // longer fit between the extension lines.
    const HWND edit7 = program.Control(L"Edit7");
    SendMessageW(program.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit7), TRUE);
    program.SetText(L"Edit7", L"");
    Settle(program);
    c.Equal(TextOf(status), L"「長さ」の値は受け付けられません（0 < 値 ≦ 1000）", L"status line with Edit7 empty");
    program.Type(edit7, L"3");
    Settle(program);
    c.Equal(TextOf(status), L"寸法値 40", L"status line after typing 3");
    program.Type(edit7, L"0");
    Settle(program);
    c.Equal(TextOf(status), L"寸法値 40　（逆矢印）", L"status line after typing 30");
    const Snapshot reversed = TakeSnapshot(preview);
    c.Check(reversed.Pixels != first.Pixels, L"the picture changes with the arrows");
    c.Check(program.Focus() == edit7, L"the focus stays in Edit7 while the preview follows");

    // A value OK refuses names its control; the last good dimension stays, faint.
    program.SetText(L"Edit8", L"180");
    Settle(program);
    c.Equal(TextOf(status), L"「角度」の値は受け付けられません（0 < 値 < 180）", L"status line with Edit8 at 180");
    const Snapshot refused = TakeSnapshot(preview);
    c.Check(refused.Blue == 0 && refused.Faint > 50, L"the last good dimension is dimmed: " + Number(refused.Blue) +
                                                         L" strong, " + Number(refused.Faint) + L" faint pixels");
    program.SetText(L"Edit8", L"15");
    program.SetText(L"Edit7", L"3");
    Settle(program);
    // The reversed arrows' run-outs left the first view, which followed
    // them; a double-click on empty space frames the dimension again.
    const RECT strip = RectInParent(StatusOf(preview));
    POINT empty{Scaled(8), strip.top - Scaled(8)};
    ClientToScreen(preview, &empty);
    Click(empty);
    Click(empty);
    Settle(program);
    c.Check(TakeSnapshot(preview).Pixels == first.Pixels, L"the same values, framed again, give the same picture");

    // Ctrl+P closes and opens it again, as the item's text says.
    SendKeys({{VK_CONTROL, false}, {'P', false}, {'P', true}, {VK_CONTROL, true}});
    c.Check(WaitForPreview(program, false) == nullptr, L"Ctrl+P closes the preview");
    SendKeys({{VK_CONTROL, false}, {'P', false}, {'P', true}, {VK_CONTROL, true}});
    c.Check(WaitForPreview(program, true) != nullptr, L"Ctrl+P opens it again");

    // A click into the preview leaves the dialog active; Enter still presses OK.
    POINT inside{40, 40};
    ClientToScreen(preview, &inside);
    Click(inside);
    Settle(program);
    c.Check(GetForegroundWindow() == program.Dialog() && program.Focus() == edit7,
            L"a click into the preview leaves the dialog active with its focus");
    program.PostKey(VK_RETURN);
    program.WaitForExit(c);
    std::string exchange;
    c.Check(ReadBytes(program.File(L"JWC_TEMP.TXT"), exchange) && exchange.size() > 100,
            L"Enter in the dialog pressed OK: " + Number(static_cast<long long>(exchange.size())) + L" bytes");
    const std::string ini = ReadIni(program);
    c.Check(ini.rfind("[Preview]\r\nOpen=1\r\nLeft=" + std::to_string(place.left) + "\r\n", 0) == 0,
            L"q308.ini keeps it open: " + Wide(ini));
}

void CheckRemembered(const Settings& settings)
{
    Case c(L"preview: q308.ini round trip");
    const std::wstring folder = JoinPath(settings.Root, L"preview-ini");
    RECT moved{};
    {
        Program program(settings.Executable, folder);
        WriteBytes(program.File(L"JWC_TEMP.TXT"), PreviewScene());
        WriteBytes(program.File(L"q304.dat"), PreviewSceneSettings(60, 60));
        if (!program.Start(c))
            return;
        OpenFromMenu(program);
        const HWND preview = WaitForPreview(program, true);
        if (!c.Check(preview != nullptr, L"the preview opens"))
            return;
        SetWindowPos(preview, nullptr, 700, 300, 380, 280, SWP_NOZORDER | SWP_NOACTIVATE);
        Settle(program);
        moved = WindowRect(preview);
        program.Click(program.Control(L"Button2"));
        program.WaitForExit(c);
    }
    const std::string expected = "[Preview]\r\nOpen=1\r\nLeft=" + std::to_string(moved.left) +
                                 "\r\nTop=" + std::to_string(moved.top) + "\r\nWidth=" +
                                 std::to_string(moved.right - moved.left) + "\r\nHeight=" +
                                 std::to_string(moved.bottom - moved.top) + "\r\n";
    {
        Program program(settings.Executable, folder);
        c.Bytes(ReadIni(program), expected, L"q308.ini after Cancel");
        if (!program.Start(c))
            return;
        const HWND preview = WaitForPreview(program, true);
        if (!c.Check(preview != nullptr, L"it opens again at start"))
            return;
        const RECT again = WindowRect(preview);
        c.Check(EqualRect(&again, &moved) != FALSE, L"at the same place and size");
        // Its own close box closes it; the dialog goes on.
        PostMessageW(preview, WM_CLOSE, 0, 0);
        c.Check(WaitForPreview(program, false) == nullptr && program.Running(), L"its close box closes the preview only");
        PostMessageW(program.Dialog(), WM_CLOSE, 0, 0);
        program.WaitForExit(c);
    }
    {
        Program program(settings.Executable, folder);
        std::string closed = expected;
        closed.replace(closed.find("Open=1"), 6, "Open=0");
        c.Bytes(ReadIni(program), closed, L"q308.ini after closing it");
        if (!program.Start(c))
            return;
        c.Check(WaitForPreview(program, false) == nullptr, L"closed at start");
        OpenFromMenu(program);
        const HWND preview = WaitForPreview(program, true);
        const RECT reopened = preview != nullptr ? WindowRect(preview) : RECT{};
        c.Check(EqualRect(&reopened, &moved) != FALSE, L"reopened at the same place");
        program.PostKey(VK_ESCAPE);
        program.WaitForExit(c);
    }
}

// Damaged files: garbage, a size larger than any screen, a place on no screen.
void CheckDamagedIni(const Settings& settings)
{
    const struct {
        const wchar_t* Name;
        std::string Ini;
        bool OpenAtStart;
    } cases[] = {
        {L"garbage", std::string("[Preview]\r\nOpen=1\r\nLeft=\xFF\xFE\r\nTop=x\r\n\x81\r\n"), false},
        {L"huge", "[Preview]\r\nOpen=1\r\nLeft=10\r\nTop=10\r\nWidth=100000\r\nHeight=2000000000\r\n", true},
        {L"off-screen", "[Preview]\r\nOpen=1\r\nLeft=50000\r\nTop=-40000\r\nWidth=400\r\nHeight=300\r\n", true},
        // Sums of these would overflow a 32-bit integer.
        {L"extremes", "[Preview]\r\nOpen=1\r\nLeft=2147483000\r\nTop=-2147483000\r\nWidth=2147483647\r\nHeight=300\r\n",
         true},
    };
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const auto& damaged : cases) {
        Case c(std::wstring(L"preview: q308.ini ") + damaged.Name);
        Program program(settings.Executable, JoinPath(settings.Root, std::wstring(L"preview-") + damaged.Name));
        WriteBytes(program.File(L"JWC_TEMP.TXT"), PreviewScene());
        WriteBytes(program.File(L"q304.dat"), PreviewSceneSettings(100, 100));
        WriteBytes(program.File(L"q308.ini"), damaged.Ini);
        if (!program.Start(c))
            continue;
        HWND preview = WaitForPreview(program, damaged.OpenAtStart);
        c.Check((preview != nullptr) == damaged.OpenAtStart,
                damaged.OpenAtStart ? L"the preview opens" : L"garbage: closed");
        if (!damaged.OpenAtStart) {
            OpenFromMenu(program);
            preview = WaitForPreview(program, true);
            const RECT place = preview != nullptr ? WindowRect(preview) : RECT{};
            c.Equal(place.left, WindowRect(program.Dialog()).right, L"garbage: at the default place");
        }
        const RECT place = preview != nullptr ? WindowRect(preview) : RECT{};
        RECT visible{};
        c.Check(preview != nullptr && IntersectRect(&visible, &place, &screen) &&
                    place.right - place.left <= screen.right && place.bottom - place.top <= screen.bottom &&
                    place.left >= 0 && place.top >= 0,
                L"the preview is on the screen, no larger than it: " + Number(place.left) + L", " +
                    Number(place.top) + L", " + Number(place.right - place.left) + L" x " +
                    Number(place.bottom - place.top));
        c.Check(GetForegroundWindow() == program.Dialog(), L"the dialog keeps the focus");
        program.Click(program.Control(L"Button2"));
        program.WaitForExit(c);
        c.Check(ReadIni(program).rfind("[Preview]\r\nOpen=1\r\n", 0) == 0, L"q308.ini rewritten whole");
        c.Check(!Exists(program.File(L"q308.ini.tmp")), L"no temporary file left behind");
    }
}

// The preview is told it now stands on a 144-DPI monitor: it takes the
// rectangle Windows suggests and its status line grows with the density.
void CheckDensityChange(const Settings& settings)
{
    Case c(L"preview: dragged onto a monitor of another density");
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-dpi"));
    WriteBytes(program.File(L"JWC_TEMP.TXT"), PreviewScene());
    WriteBytes(program.File(L"q304.dat"), PreviewSceneSettings(100, 100));
    WriteBytes(program.File(L"q308.ini"), PreviewOpenIni);
    if (!program.Start(c))
        return;
    const HWND preview = WaitForPreview(program, true);
    if (!c.Check(preview != nullptr, L"the preview opens"))
        return;
    const RECT status = RectInParent(StatusOf(preview));
    c.Equal(status.bottom - status.top, MulDiv(24, ExpectedDpi(), 96), L"status line height");
    const RECT before = WindowRect(preview);
    const RECT suggested{before.left, before.top, before.left + 630, before.top + 600};
    program.SendDpiChanged(144, suggested, preview);
    Settle(program);
    const RECT after = WindowRect(preview);
    c.Check(EqualRect(&after, &suggested) != FALSE, L"the preview takes the suggested rectangle");
    const RECT grown = RectInParent(StatusOf(preview));
    c.Equal(grown.bottom - grown.top, 36, L"status line height at 144 DPI");
    RECT client{};
    GetClientRect(preview, &client);
    c.Equal(grown.bottom, client.bottom, L"the status line stays at the bottom");
    c.Equal(TextOf(StatusOf(preview)), L"寸法値 40", L"status line");
    program.Click(program.Control(L"Button2"));
    program.WaitForExit(c);
}

}  // namespace

bool PreviewShown(const Program& program, bool expected) { return WaitForPreview(program, expected) != nullptr; }

void CheckPreview(const Settings& settings)
{
    CheckOpenAndType(settings);
    CheckRemembered(settings);
    CheckDamagedIni(settings);
    CheckDensityChange(settings);
}

}  // namespace wt
