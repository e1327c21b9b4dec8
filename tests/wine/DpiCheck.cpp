// The dialog at the densities of common displays (125 %, 150 %, 200 %) and
// when it is dragged onto a monitor of another density: the same form with
// every edge scaled, every text inside its control, the same files written.
#include "WineTest.h"

#include <cstdlib>

namespace wt {

namespace {

constexpr int Densities[] = {120, 144, 192};

// A run whose files must not depend on the density.
// ok-from-settings also finds the dialog at the position the file saved.
const std::vector<std::wstring> DensityScenarios = {L"ok-defaults", L"ok-every-control", L"ok-figure",
                                                    L"ok-from-settings"};

// Wine reads the system's density when a program starts.
bool SetSystemDpi(int dpi)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD value = static_cast<DWORD>(dpi);
    const bool set = RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                    sizeof value) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

// The form's font at the expected density, as the dialog makes it.
class FormFont {
public:
    explicit FormFont(int height)
        : font_(CreateFontW(-Scaled(height), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                            L"ＭＳ ゴシック")),
          dc_(CreateCompatibleDC(nullptr))
    {
        old_ = SelectObject(dc_, font_);
    }
    ~FormFont()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    FormFont(const FormFont&) = delete;
    FormFont& operator=(const FormFont&) = delete;

    // A caption's width as drawn: the "&" of a mnemonic takes no room.
    int Width(std::wstring text) const
    {
        for (std::size_t at = text.find(L'&'); at != std::wstring::npos; at = text.find(L'&', at + 1))
            text.erase(at, 1);
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    int Height() const
    {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        return metrics.tmHeight;
    }

private:
    HFONT font_;
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

std::wstring Describe(const RECT& rect)
{
    return Number(rect.left) + L", " + Number(rect.top) + L", " + Number(rect.right - rect.left) + L" x " +
           Number(rect.bottom - rect.top);
}

void CheckLayout(Program& program, Case& c)
{
    const std::wstring at = L" at " + Number(ExpectedDpi()) + L" DPI";
    RECT client{};
    GetClientRect(program.Dialog(), &client);
    const int slack = (ExpectedDpi() + 95) / 96;  // a pixel for every 96 units
    c.Check(std::abs(client.right - Scaled(509)) <= slack && std::abs(client.bottom - Scaled(376)) <= slack,
            L"client area" + at + L": " + Number(client.right) + L" x " + Number(client.bottom) + L", expected " +
                Number(Scaled(509)) + L" x " + Number(Scaled(376)));

    // Each control is looked up at its 96-DPI rectangle scaled.
    const FormFont font(13);
    for (const ExpectedControl& expected : ExpectedControls()) {
        const HWND control = program.Control(expected.Name);
        const RECT wanted = ScaledRect(expected.Left, expected.Top, expected.Width, expected.Height);
        if (!c.Check(control != nullptr, std::wstring(expected.Name) + L" at " + Describe(wanted) + at))
            continue;
        if (std::wstring(expected.Class) != L"Button")
            continue;
        // Buttons and check boxes show their whole caption; a check box's
        // and a group's caption leave room for the box and the frame.
        const LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
        const int room = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON ? 0 : Scaled(16);
        const int width = font.Width(TextOf(control)) + room;
        c.Check(width <= wanted.right - wanted.left, std::wstring(expected.Name) + L" \"" + TextOf(control) +
                                                         L"\" needs " + Number(width) + L" of " +
                                                         Number(wanted.right - wanted.left) + L" pixels" + at);
    }
    for (const wchar_t* group : {L"RadioGroup1", L"RadioGroup2"})
        for (HWND button : program.RadioButtons(group)) {
            const RECT rect = RectInParent(button);
            const int width = font.Width(TextOf(button)) + Scaled(16);
            c.Check(width <= rect.right - rect.left,
                    std::wstring(group) + L" item \"" + TextOf(button) + L"\" needs " + Number(width) + at);
        }
    // Labels stand at their scaled place and are as large as their text in
    // the scaled font.
    for (const ExpectedLabel& label : ExpectedLabels()) {
        const FormFont labelFont(label.FontHeight);
        HWND found = nullptr;
        for (HWND child : program.Children()) {
            const RECT rect = RectInParent(child);
            if (ClassOf(child) == L"Static" && TextOf(child) == label.Text && rect.left == Scaled(label.Left) &&
                rect.top == Scaled(label.Top))
                found = child;
        }
        if (!c.Check(found != nullptr, std::wstring(L"label \"") + label.Text + L"\" at " +
                                           Number(Scaled(label.Left)) + L", " + Number(Scaled(label.Top)) + at))
            continue;
        const RECT rect = RectInParent(found);
        c.Check(rect.right - rect.left >= labelFont.Width(label.Text) && rect.bottom - rect.top == labelFont.Height(),
                std::wstring(L"label \"") + label.Text + L"\" is " + Describe(rect) + L" for its text of " +
                    Number(labelFont.Width(label.Text)) + L" x " + Number(labelFont.Height()) + at);
    }
}

// The rectangle Windows suggests: the client area scaled, in a frame of the
// new density. Wine draws every frame at the system's size, so the frame
// keeps its size here.
RECT SuggestedRect(HWND dialog, int from, int to)
{
    RECT window{};
    RECT client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    return {window.left, window.top, window.left + frameWidth + MulDiv(client.right, to, from),
            window.top + frameHeight + MulDiv(client.bottom, to, from)};
}

// At 96 DPI the dialog is told it now stands on a 144-DPI monitor, then on
// a 96-DPI one again.
void CheckDpiChange(const Settings& settings)
{
    Case c(L"dragged onto a monitor of another density");
    Program program(settings.Executable, JoinPath(settings.Root, L"dpi-change"));
    WriteBytes(program.File(L"JWC_TEMP.TXT"), Sample(L"host-four-points.txt"));
    if (!program.Start(c))
        return;
    for (const auto& [from, to] : {std::pair(96, 144), std::pair(144, 96)}) {
        const RECT suggested = SuggestedRect(program.Dialog(), from, to);
        program.SendDpiChanged(to, suggested);
        SetExpectedDpi(to);
        RECT window{};
        GetWindowRect(program.Dialog(), &window);
        c.Check(EqualRect(&window, &suggested), L"the dialog takes the suggested rectangle " + Describe(suggested) +
                                                    L": " + Describe(window));
        CheckLayout(program, c);
    }
    program.Click(program.Control(L"Button2"));
    program.WaitForExit(c);
}

}  // namespace

void CheckDensities(const Settings& settings)
{
    CheckDpiChange(settings);
    for (int dpi : Densities) {
        {
            Case c(L"dialog at " + Number(dpi) + L" DPI");
            if (!c.Check(SetSystemDpi(dpi), L"the system's density can be set"))
                continue;
            SetExpectedDpi(dpi);
            Program program(settings.Executable, JoinPath(settings.Root, L"dpi" + Number(dpi)));
            WriteBytes(program.File(L"JWC_TEMP.TXT"), Sample(L"host-four-points.txt"));
            if (program.Start(c)) {
                CheckLayout(program, c);
                program.Click(program.Control(L"Button2"));
                program.WaitForExit(c);
            }
        }
        CheckPreviewOnScreen(settings, dpi);
        if (dpi == 144)
            CheckPreviewBesideDialog(settings, dpi);
        RunScenarios(settings, DensityScenarios, L" at " + Number(dpi) + L" DPI");
        CheckSavedPosition(settings, L"5000", L"4000", true);
        CheckSavedPosition(settings, L"-50", L"10", false);
    }
    SetSystemDpi(96);
    SetExpectedDpi(96);
}

}  // namespace wt
