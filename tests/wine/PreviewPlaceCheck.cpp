// Where the preview opens at each density (wholly on the screen: beside the
// dialog, narrower, or over its far side), and the keys left with the
// dialog after the user moved and resized the preview with the mouse.
#include "WineTest.h"

namespace wt {

namespace {

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::wstring Describe(const RECT& r)
{
    return Number(r.left) + L", " + Number(r.top) + L" - " + Number(r.right) + L", " + Number(r.bottom);
}

// A drag with the left button from one screen point to another, in steps.
void MouseDrag(POINT from, POINT to)
{
    MouseTo(from);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 4; ++step)
        MouseTo({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    Sleep(100);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Sleep(300);
}

}  // namespace

void CheckPreviewOnScreen(const Settings& settings, int dpi)
{
    Case c(L"preview on the screen at " + Number(dpi) + L" DPI");
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-place-" + Number(dpi)));
    const HWND preview = StartWithPreview(program, c, PreviewScene(), 100, 100);
    if (preview == nullptr)
        return;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT dialog = WindowRect(program.Dialog()), place = WindowRect(preview);
    const std::wstring where = L": " + Describe(place) + L" beside the dialog at " + Describe(dialog);
    c.Check(place.left >= work.left && place.top >= work.top && place.right <= work.right &&
                place.bottom <= work.bottom,
            L"wholly on the screen" + where);
    const int width = Scaled(420), least = Scaled(200);
    const int roomRight = work.right - dialog.right, roomLeft = dialog.left - work.left;
    if (roomRight >= width) {
        c.Check(place.left == dialog.right && place.right - place.left == width, L"right of the dialog" + where);
    } else if (std::max(roomRight, roomLeft) >= least) {
        c.Check((place.left >= dialog.right || place.right <= dialog.left) && place.right - place.left < width,
                L"beside the dialog, narrower" + where);
    } else {
        c.Check(place.right - place.left == least && (place.right == work.right || place.left == work.left),
                L"at its least width against the screen's edge, over the dialog's far side" + where);
    }
    c.Equal(place.top, dialog.top, L"at the dialog's top");
    const Picture picture = CapturePicture(preview);
    c.Check(picture.Count(RGB(0x1f, 0x5f, 0xbf)) > 50, L"the dimension is drawn in it");
    c.Equal(static_cast<long long>(PickMarks(picture, Scaled(8)).size()), 4, L"the four picked points are marked");
    program.Click(program.Control(L"Button2"));
    program.WaitForExit(c);
}

// A first run shows the preview beside the dialog; it moves along with the
// dialog until the user places it himself; a remembered place that would
// cover the dialog (taken at another density) gives way to the side.
void CheckPreviewBesideDialog(const Settings& settings, int dpi)
{
    Case c(L"preview beside the dialog, moved along with it, at " + Number(dpi) + L" DPI");
    const std::wstring folder = JoinPath(settings.Root, L"preview-beside-" + Number(dpi));
    RECT last{};
    {
        Program program(settings.Executable, folder);
        program.AsFirstRun();
        WriteBytes(program.File(L"JWC_TEMP.TXT"), PreviewScene());
        WriteBytes(program.File(L"q304.dat"), PreviewSceneSettings(40, 60));
        if (!program.Start(c))
            return;
        const HWND preview = PreviewWindowOf(program);
        if (!c.Check(preview != nullptr, L"a first run shows the preview by itself"))
            return;
        for (const POINT to : {POINT{40, 60}, POINT{160, 200}, POINT{20, 40}}) {
            program.Move(to.x, to.y);
            Sleep(300);
            const RECT dialog = WindowRect(program.Dialog()), place = WindowRect(preview);
            RECT shared{};
            c.Check(!IntersectRect(&shared, &dialog, &place),
                    L"clear of the dialog at " + Describe(dialog) + L": " + Describe(place));
            c.Check(place.left == dialog.right || place.right == dialog.left || place.top == dialog.bottom,
                    L"beside the dialog at " + Describe(dialog) + L": " + Describe(place));
            last = dialog;
        }
        program.Click(program.Control(L"Button2"));
        program.WaitForExit(c);
        std::string ini;
        c.Check(ReadBytes(program.File(L"q308.ini"), ini) && ini.rfind("[Preview]\r\nOpen=1\r\n", 0) == 0,
                L"q308.ini says it was open: " + Hex(ini));
    }
    // Over the dialog where it stood: the next run puts it beside it again.
    Program program(settings.Executable, folder);
    WriteBytes(program.File(L"q304.dat"), PreviewSceneSettings(last.left, last.top));
    WriteBytes(program.File(L"q308.ini"), "[Preview]\r\nOpen=1\r\nLeft=" + std::to_string(last.left + 30) +
                                               "\r\nTop=" + std::to_string(last.top + 20) +
                                               "\r\nWidth=420\r\nHeight=401\r\n");
    if (!program.Start(c))
        return;
    const HWND preview = PreviewWindowOf(program);
    if (c.Check(preview != nullptr, L"the preview opens as remembered")) {
        const RECT dialog = WindowRect(program.Dialog()), place = WindowRect(preview);
        RECT shared{};
        c.Check(!IntersectRect(&shared, &dialog, &place),
                L"a remembered place over the dialog gives way: " + Describe(place) + L" beside " + Describe(dialog));
    }
    program.Click(program.Control(L"Button2"));
    program.WaitForExit(c);
}

void CheckPreviewMovedKeepsKeys(const Settings& settings)
{
    Case c(L"preview moved and resized with the mouse: Enter and Escape still reach the dialog");
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-moved"));
    const HWND preview = StartWithPreview(program, c, PreviewScene());
    if (preview == nullptr)
        return;
    const HWND edit1 = program.Control(L"Edit1"), edit7 = program.Control(L"Edit7");
    SendMessageW(program.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit1), TRUE);
    program.SetText(L"Edit7", L"");
    Sleep(200);

    // By its title bar, then by its bottom right corner.
    const RECT before = WindowRect(preview);
    const int titleY = before.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    MouseDrag({before.left + Scaled(80), titleY}, {before.left + Scaled(80) + 60, titleY + 50});
    const RECT moved = WindowRect(preview);
    c.Check(moved.left == before.left + 60 && moved.top == before.top + 50,
            L"the title bar moves it: " + Describe(before) + L" to " + Describe(moved));
    MouseDrag({moved.right - 2, moved.bottom - 2}, {moved.right - 2 + 50, moved.bottom - 2 - 40});
    const RECT resized = WindowRect(preview);
    c.Check(resized.right - resized.left == moved.right - moved.left + 50 &&
                resized.bottom - resized.top == moved.bottom - moved.top - 40,
            L"the corner resizes it: " + Describe(moved) + L" to " + Describe(resized));
    c.Check(GetForegroundWindow() == program.Dialog(), L"the dialog is the active window again");
    c.Check(program.WaitForFocus(edit1), L"with the focus where it was");

    // Enter presses OK, which refuses the empty length and goes to its box.
    PressKeys({{VK_RETURN, false}, {VK_RETURN, true}});
    c.Check(program.WaitForFocus(edit7) && program.Running(), L"Enter reached OK: the focus went to 長さ");
    program.SetText(L"Edit7", L"3");
    const RECT again = WindowRect(preview);
    MouseDrag({again.left + Scaled(80), again.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2},
              {again.left + Scaled(80) - 30, again.top + GetSystemMetrics(SM_CYFRAME) +
                                                 GetSystemMetrics(SM_CYCAPTION) / 2 + 20});
    c.Check(GetForegroundWindow() == program.Dialog(), L"after a second move too");
    PressKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
    program.WaitForExit(c);
    DeferNativeComparison(settings, L"preview-moved", PreviewScene(), PreviewSceneSettings(100, 120),
                          L"Edit7=\nOK\nEdit7=3\nCancel\n", program);
}

}  // namespace wt
