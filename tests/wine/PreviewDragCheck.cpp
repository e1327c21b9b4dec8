// Points 3 and 4 dragged in the preview with the real mouse: the picture
// and the strip follow every move while the dialog keeps the keys; Escape
// and a lost capture put the point back; Ctrl+R, the system menu and the
// context menu put both back where the host picked them; and OK writes what
// the native program writes given the point the drag ended on.
#include "WineTest.h"

namespace wt {

namespace {

// The picks of PreviewScene(), in drawing units.
const std::vector<PickedAt> ScenePicks = {{1, 0, 0}, {2, 10, 40}, {3, 25, 7}, {4, -5, 20}};
// The system menu's item that puts the points back, as its command arrives.
constexpr WPARAM ResetPointsCommand = 0x0120;

int Arm() { return Scaled(8); }

// The scene with the preview open, the dialog at (100, 120).
HWND StartScene(Program& program, Case& c)
{
    const HWND preview = StartWithPreview(program, c, PreviewScene());
    Sleep(300);
    return preview;
}

std::optional<POINT> FindMark(HWND preview, int number, const std::vector<PickedAt>& picks = ScenePicks)
{
    return MarkOf(PickMarks(CapturePicture(preview), Arm()), picks, number);
}

std::wstring PointLine(const std::pair<std::wstring, std::wstring>& point)
{
    return point.first + L" " + point.second;
}

// Drags point number from its mark to at and lets go; the point the strip
// then names as moved.
std::optional<std::pair<std::wstring, std::wstring>> DragAndDrop(HWND preview, POINT from, POINT at, int number,
                                                                   Case& c)
{
    MouseTo(from);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    c.Check(DragTo(preview, Offset(from, (at.x - from.x) / 2, (at.y - from.y) / 2)) && DragTo(preview, at),
            L"the strip follows the drag of point " + Number(number));
    const std::wstring before = StripText(preview);
    MouseButton(MOUSEEVENTF_LEFTUP);
    WaitForStripChange(preview, before, 1000);
    const std::optional<std::wstring> note = LineStartingWith(preview, L"移動した点：");
    if (!c.Check(note.has_value(), L"after the drag the strip names the moved point: " + StripText(preview)))
        return std::nullopt;
    const std::wstring name = L"点" + Number(number) + L"（";
    const std::size_t at4 = note->find(name);
    if (!c.Check(at4 != std::wstring::npos, L"the note names point " + Number(number) + L": " + *note))
        return std::nullopt;
    return PointInStrip(note->substr(0, note->find(L'）', at4) + 1));
}

void CheckDragBeyondTheEnd(const Settings& settings)
{
    Case c(L"preview drag: point 4 beyond the end and back, OK as the native program");
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-drag"));
    const HWND preview = StartScene(program, c);
    if (preview == nullptr)
        return;
    const HWND focus = program.Focus();
    const Picture first = CapturePicture(preview);
    const std::optional<POINT> mark4 = FindMark(preview, 4), mark2 = FindMark(preview, 2);
    if (!c.Check(mark4 && mark2, L"the marks of points 2 and 4 are on the screen"))
        return;

    MouseTo(*mark4);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    // Past point 2: the value runs out beyond the dimension's end.
    c.Check(DragTo(preview, Offset(*mark4, 0, -20)) && DragTo(preview, {mark4->x, mark2->y - Scaled(40)}),
            L"the strip follows each move");
    const std::vector<std::wstring> beyond = StripLines(preview);
    c.Check(beyond.size() >= 2 && beyond[0].rfind(L"点4（寸法値の位置）を移動中（", 0) == 0 &&
                beyond[1].rfind(L"寸法値 40", 0) == 0,
            L"the strip says what is moved and what the value reads: " + StripText(preview));
    const Picture outside = CapturePicture(preview);
    c.Check(outside.Pixels != first.Pixels, L"the picture follows the point");
    c.Check(GetForegroundWindow() == program.Dialog() && program.Focus() == focus,
            L"the dialog keeps the focus during the drag");
    // And back between the ends, a little beside where it was.
    c.Check(DragTo(preview, Offset(*mark4, Scaled(6), -Scaled(10))), L"the strip follows the way back");
    const std::optional<std::pair<std::wstring, std::wstring>> during = PointInStrip(StripLines(preview)[0]);
    const std::wstring before = StripText(preview);
    MouseButton(MOUSEEVENTF_LEFTUP);
    WaitForStripChange(preview, before, 1000);
    const std::optional<std::wstring> note = LineStartingWith(preview, L"移動した点：点4（");
    const std::optional<std::pair<std::wstring, std::wstring>> dropped =
        note ? PointInStrip(*note) : std::nullopt;
    if (!c.Check(during && dropped && *during == *dropped,
                 L"the point is left where the drag ended: " + StripText(preview)))
        return;
    c.Check(CapturePicture(preview).Pixels != first.Pixels, L"the picture shows the moved point");
    c.Check(GetForegroundWindow() == program.Dialog() && program.Focus() == focus, L"the focus is where it was");

    // Enter presses OK with the point where the drag left it.
    PressKeys({{VK_RETURN, false}, {VK_RETURN, true}});
    program.WaitForExit(c);
    DeferNativeComparison(settings, L"drag-point4", PreviewScene(), PreviewSceneSettings(100, 120),
                          L"Point4=" + PointLine(*dropped) + L"\nOK\n", program);
}

void CheckEscapeAndLostCapture(const Settings& settings)
{
    Case c(L"preview drag: Escape and a lost capture put the point back");
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-drag-escape"));
    const HWND preview = StartScene(program, c);
    if (preview == nullptr)
        return;
    const Picture first = CapturePicture(preview);
    const std::wstring firstStrip = StripText(preview);
    const std::optional<POINT> mark4 = FindMark(preview, 4);
    if (!c.Check(mark4.has_value(), L"the mark of point 4 is on the screen"))
        return;

    // Escape during the drag: the point as it was, the dialog still open.
    MouseTo(*mark4);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    c.Check(DragTo(preview, Offset(*mark4, 30, -40)) && DragTo(preview, Offset(*mark4, 60, -80)),
            L"the drag moves the point");
    PressKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
    c.Check(program.Running(), L"Escape during the drag leaves the dialog open");
    c.Equal(StripText(preview), firstStrip, L"the strip after Escape");
    c.Check(CapturePicture(preview).Pixels == first.Pixels, L"the picture after Escape is the first one");
    MouseTo(Offset(*mark4, 20, 20));
    Sleep(200);
    c.Equal(StripText(preview), firstStrip, L"moving on with the button down changes nothing");
    MouseButton(MOUSEEVENTF_LEFTUP);

    // The capture taken by another window (Windows cancels the mode).
    MouseTo(*mark4);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    c.Check(DragTo(preview, Offset(*mark4, -25, 35)), L"a second drag moves the point");
    const std::wstring moving = StripText(preview);
    PostMessageW(preview, WM_CANCELMODE, 0, 0);
    WaitForStripChange(preview, moving, 1000);
    c.Equal(StripText(preview), firstStrip, L"the strip after the capture was lost");
    c.Check(CapturePicture(preview).Pixels == first.Pixels, L"the picture after the capture was lost");
    MouseButton(MOUSEEVENTF_LEFTUP);

    // A point already moved goes back to where that drag began, not to the host's.
    const std::optional<std::pair<std::wstring, std::wstring>> moved =
        DragAndDrop(preview, *mark4, Offset(*mark4, 15, 25), 4, c);
    MouseTo(Offset(*mark4, 15, 25));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    c.Check(DragTo(preview, Offset(*mark4, 70, 5)), L"a drag of the moved point");
    PressKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
    MouseButton(MOUSEEVENTF_LEFTUP);
    const std::optional<std::wstring> note = LineStartingWith(preview, L"移動した点：点4（");
    c.Check(moved && note && PointInStrip(*note) == moved,
            L"Escape puts it back where that drag began: " + StripText(preview));

    // Escape without a drag is the dialog's again.
    PressKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
    program.WaitForExit(c);
    DeferNativeComparison(settings, L"drag-escape", PreviewScene(), PreviewSceneSettings(100, 120),
                          L"Point4=" + (moved ? PointLine(*moved) : L"0 0") + L"\nCancel\n", program);
}

void CheckWayBack(const Settings& settings)
{
    Case c(L"preview drag: back to the host's points, and points dragged onto point 1 and off the window");
    Program program(settings.Executable, JoinPath(settings.Root, L"preview-drag-back"));
    const HWND preview = StartScene(program, c);
    if (preview == nullptr)
        return;
    const Picture first = CapturePicture(preview);
    const std::wstring firstStrip = StripText(preview);
    const std::optional<POINT> mark1 = FindMark(preview, 1), mark3 = FindMark(preview, 3),
                               mark4 = FindMark(preview, 4);
    if (!c.Check(mark1 && mark3 && mark4, L"the marks of points 1, 3 and 4 are on the screen"))
        return;
    const auto backAgain = [&](const std::wstring& how) {
        c.Equal(StripText(preview), firstStrip, L"the strip after " + how);
        c.Check(CapturePicture(preview).Pixels == first.Pixels, L"the picture after " + how + L" is the first one");
    };

    DragAndDrop(preview, *mark4, Offset(*mark4, 40, -30), 4, c);
    PressKeys({{VK_CONTROL, false}, {'R', false}, {'R', true}, {VK_CONTROL, true}});
    backAgain(L"Ctrl+R");

    DragAndDrop(preview, *mark3, Offset(*mark3, 30, 10), 3, c);
    PostMessageW(program.Dialog(), WM_SYSCOMMAND, ResetPointsCommand, 0);
    Sleep(300);
    backAgain(L"the system menu's item");

    DragAndDrop(preview, *mark4, Offset(*mark4, 40, 30), 4, c);
    // The context menu, its item chosen by its letter.
    const POINT empty = Offset(*mark4, Scaled(12), Scaled(40));
    MouseTo(empty);
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    Sleep(300);
    PressKeys({{'R', false}, {'R', true}});
    backAgain(L"the context menu's item");
    c.Check(program.Running(), L"the dialog is still open");

    // Bad input: point 3 onto point 1, point 4 offWindow off the window and the drawing.
    const std::optional<std::pair<std::wstring, std::wstring>> onto1 = DragAndDrop(preview, *mark3, *mark1, 3, c);
    const std::optional<std::pair<std::wstring, std::wstring>> offWindow =
        DragAndDrop(preview, *mark4, {5, GetSystemMetrics(SM_CYSCREEN) - 5}, 4, c);
    c.Check(program.Running() && !StripLines(preview).empty(), L"the preview goes on: " + StripText(preview));
    if (!onto1 || !offWindow)
        return;
    program.Click(program.Control(L"Button1"));
    program.WaitForExit(c);
    DeferNativeComparison(settings, L"drag-bad-places", PreviewScene(), PreviewSceneSettings(100, 120),
                          L"Point3=" + PointLine(*onto1) + L"\nPoint4=" + PointLine(*offWindow) + L"\nOK\n", program);
}

}  // namespace

void CheckPreviewDrag(const Settings& settings)
{
    CheckDragBeyondTheEnd(settings);
    CheckEscapeAndLostCapture(settings);
    CheckWayBack(settings);
}

}  // namespace wt
