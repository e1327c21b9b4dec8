// Starting q308.exe and working its dialog from another process, as a user
// (or an accessibility tool) would: window messages only.
#include "WineTest.h"

#include <algorithm>

namespace wt {

namespace {

struct Search {
    DWORD ProcessId;
    const wchar_t* Title;
    bool VisibleOnly;
    HWND Found;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->ProcessId && (!search->VisibleOnly || IsWindowVisible(window)) &&
        TextOf(window) == search->Title) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindMessageBox(HWND window, LPARAM parameter)
{
    if (IsWindowVisible(window) && ClassOf(window) == L"#32770") {
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
    }
    return TRUE;
}

bool SameClass(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

const std::vector<ExpectedControl>& ExpectedControls()
{
    static const std::vector<ExpectedControl> controls = {
        {L"ComboBox1", L"ComboBox", 48, 4, 81, 21},     {L"ComboBox2", L"ComboBox", 48, 28, 81, 21},
        {L"Edit7", L"Edit", 48, 64, 33, 21},            {L"Edit8", L"Edit", 48, 88, 33, 21},
        {L"Edit1", L"Edit", 72, 112, 57, 21},           {L"ComboBox3", L"ComboBox", 136, 28, 169, 21},
        {L"Edit2", L"Edit", 200, 56, 105, 21},          {L"Edit3", L"Edit", 200, 80, 105, 21},
        {L"ComboBox4", L"ComboBox", 200, 136, 105, 21}, {L"ComboBox5", L"ComboBox", 200, 160, 105, 21},
        {L"RadioGroup1", L"Button", 8, 184, 145, 41},   {L"RadioGroup2", L"Button", 160, 184, 145, 41},
        {L"CheckBox1", L"Button", 8, 232, 145, 17},     {L"CheckBox2", L"Button", 152, 232, 105, 17},
        {L"CheckBox3", L"Button", 256, 232, 129, 17},   {L"CheckBox4", L"Button", 384, 232, 105, 17},
        {L"Edit4", L"Edit", 200, 252, 57, 21},          {L"Edit5", L"Edit", 200, 276, 57, 21},
        {L"Edit6", L"Edit", 200, 300, 57, 21},          {L"Edit9", L"Edit", 200, 324, 57, 21},
        {L"Button1", L"Button", 360, 264, 137, 33},     {L"Button2", L"Button", 360, 312, 137, 33},
        {L"Memo1", L"Edit", 312, 0, 193, 225},          {L"LabelA1", L"Static", 0, 352, 509, 24},
    };
    return controls;
}

const std::vector<ExpectedLabel>& ExpectedLabels()
{
    static const std::vector<ExpectedLabel> labels = {
        {L"始点", 8, 8, 13},
        {L"終点", 8, 32, 13},
        {L"（線矢印）", 8, 52, 11},
        {L"長さ", 8, 68, 13},
        {L"図寸mm", 88, 68, 13},
        {L"角度", 8, 92, 13},
        {L"°", 88, 92, 13},
        {L"端点倍率", 8, 116, 13},
        {L"（点マーカ　線矢印を除く）", 128, 116, 13},
        {L"寸法値の文字種", 136, 8, 13},
        {L"接頭文字", 136, 60, 13},
        {L"接尾文字", 136, 84, 13},
        {L"寸法値の精度", 8, 140, 13},
        {L"寸法値の丸め", 8, 164, 13},
        {L"寸法値と水平線との距離", 8, 256, 13},
        {L"図寸mm", 264, 256, 13},
        {L"計測点と寸法補助線の距離", 8, 280, 13},
        {L"図寸mm", 264, 280, 13},
        {L"寸法補助線のはみ出し距離", 8, 304, 13},
        {L"図寸mm", 264, 304, 13},
        {L"逆矢印の寸法はみだし距離", 8, 328, 13},
        {L"図寸mm", 264, 328, 13},
    };
    return labels;
}

namespace {

int expectedDpi = 96;

}  // namespace

void SetExpectedDpi(int dpi) { expectedDpi = dpi; }
int ExpectedDpi() { return expectedDpi; }
int Scaled(int value) { return MulDiv(value, expectedDpi, 96); }
RECT ScaledRect(int left, int top, int width, int height)
{
    return {Scaled(left), Scaled(top), Scaled(left + width), Scaled(top + height)};
}

const ExpectedControl* FindExpected(const std::wstring& name)
{
    for (const ExpectedControl& control : ExpectedControls())
        if (name == control.Name)
            return &control;
    return nullptr;
}

std::wstring TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &got);
    text.resize(std::min<std::size_t>(got, length));
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

RECT RectInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<std::wstring> ComboItems(HWND box)
{
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, i, 0);
        std::wstring item(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
        items.push_back(item);
    }
    return items;
}

Program::Program(const std::wstring& executable, const std::wstring& folder)
    : executable_(executable), folder_(folder)
{
    MakeFolder(folder_);
}

Program::~Program()
{
    if (process_.hProcess != nullptr) {
        if (Running()) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

void Program::SetArguments(const std::wstring& arguments, const std::wstring& caption)
{
    arguments_ = arguments;
    caption_ = caption;
}

bool Program::StartOnly(Case& c)
{
    const std::wstring copy = File(L"q308.exe");
    if (!c.Check(CopyFileW(executable_.c_str(), copy.c_str(), FALSE) != 0, L"cannot copy q308.exe to " + copy))
        return false;
    if (!firstRun_ && !Exists(File(L"q308.ini")))
        WriteBytes(File(L"q308.ini"), PreviewClosedIni);
    std::wstring commandLine = L"\"" + copy + L"\"" + (arguments_.empty() ? L"" : L" " + arguments_);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // The working folder is not the program's: it must find its files
    // beside the executable, wherever it is started from.
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    if (!c.Check(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, windows,
                                &startup, &process_) != 0,
                 L"cannot start " + copy))
        return false;
    WaitForInputIdle(process_.hProcess, 10000);
    return true;
}

bool Program::Start(Case& c)
{
    if (!StartOnly(c))
        return false;
    for (int waited = 0; waited < 20000 && dialog_ == nullptr; waited += 50) {
        Search search{process_.dwProcessId, caption_.c_str(), true, nullptr};
        EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&search));
        if (search.Found != nullptr) {
            dialog_ = search.Found;
            break;
        }
        if (!Running())
            break;
        Sleep(50);
    }
    if (!c.Check(dialog_ != nullptr, L"the dialog did not appear"))
        return false;
    threadId_ = GetWindowThreadProcessId(dialog_, nullptr);
    // Let it finish painting and settle its focus.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(100);
    return true;
}

HWND Program::TopWindow(const std::wstring& title) const
{
    Search search{process_.dwProcessId, title.c_str(), false, nullptr};
    EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool Program::Running() const
{
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit(Case& c, DWORD milliseconds, DWORD status)
{
    if (process_.hProcess == nullptr)
        return false;
    if (!c.Check(WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0,
                 L"the program did not end")) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
        return false;
    }
    DWORD ended = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &ended);
    return c.Equal(ended, status, L"exit status");
}

std::vector<HWND> Program::Children() const
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND Program::Control(const std::wstring& name, int item) const
{
    const ExpectedControl* expected = FindExpected(name);
    if (expected == nullptr)
        return nullptr;
    if (item >= 0) {
        const std::vector<HWND> buttons = RadioButtons(name);
        return item < static_cast<int>(buttons.size()) ? buttons[static_cast<std::size_t>(item)] : nullptr;
    }
    const RECT wanted = ScaledRect(expected->Left, expected->Top, expected->Width, expected->Height);
    for (HWND child : Children()) {
        const RECT rect = RectInParent(child);
        if (SameClass(ClassOf(child), expected->Class) && EqualRect(&rect, &wanted))
            return child;
    }
    return nullptr;
}

std::vector<HWND> Program::RadioButtons(const std::wstring& group) const
{
    std::vector<HWND> buttons;
    const HWND frame = Control(group);
    if (frame == nullptr)
        return buttons;
    const RECT outer = RectInParent(frame);
    for (HWND child : Children()) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const LONG kind = style & BS_TYPEMASK;
        if (!SameClass(ClassOf(child), L"Button") || (kind != BS_AUTORADIOBUTTON && kind != BS_RADIOBUTTON))
            continue;
        const RECT rect = RectInParent(child);
        if (rect.left >= outer.left && rect.top >= outer.top && rect.right <= outer.right &&
            rect.bottom <= outer.bottom)
            buttons.push_back(child);
    }
    // Item order: down each column, columns left to right.
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        const RECT ra = RectInParent(a);
        const RECT rb = RectInParent(b);
        return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
    });
    return buttons;
}

HWND Program::Focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId_, &info))
        return nullptr;
    return info.hwndFocus;
}

bool Program::WaitForFocus(HWND window, DWORD milliseconds) const
{
    for (DWORD waited = 0;; waited += 50) {
        if (Focus() == window)
            return true;
        if (waited >= milliseconds)
            return false;
        Sleep(50);
    }
}

HWND Program::WaitForMessageBox(DWORD milliseconds) const
{
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        HWND box = nullptr;
        EnumThreadWindows(threadId_ != 0 ? threadId_ : process_.dwThreadId, FindMessageBox,
                          reinterpret_cast<LPARAM>(&box));
        if (box != nullptr)
            return box;
        Sleep(50);
    }
    return nullptr;
}

void Program::SetText(const std::wstring& name, const std::wstring& text) const
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000,
                        &ignored);
}

void Program::SetIndex(const std::wstring& name, int index) const
{
    const HWND control = Control(name);
    const LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (SameClass(ClassOf(control), L"ComboBox"))
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else if (kind == BS_GROUPBOX)
        Click(Control(name, index));
    else
        SendMessageW(control, BM_SETCHECK, index != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Program::Click(HWND button) const
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 3000, &ignored);
}

void Program::PostClick(HWND button) const
{
    // As the button tells its dialog, without waiting for the handler:
    // it may show a box of its own.
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void Program::PostKey(WORD key) const
{
    HWND target = Focus();
    if (target == nullptr)
        target = dialog_;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    PostMessageW(target, WM_KEYUP, key, scan | 1 | (1u << 30) | (1u << 31));
}

void Program::Type(HWND window, const std::wstring& text) const
{
    for (wchar_t ch : text) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_CHAR, ch, 1, SMTO_NORMAL, 5000, &ignored);
    }
}

void Program::SendDpiChanged(int dpi, const RECT& suggested, HWND target) const
{
    // The rectangle travels by pointer, so it is put into the program's own
    // memory first.
    void* remote = VirtualAllocEx(process_.hProcess, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (remote == nullptr)
        return;
    if (WriteProcessMemory(process_.hProcess, remote, &suggested, sizeof suggested, nullptr)) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(target != nullptr ? target : dialog_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                            reinterpret_cast<LPARAM>(remote),
                            SMTO_NORMAL, 5000, &ignored);
    }
    VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
}

void Program::Move(int left, int top) const
{
    SetWindowPos(dialog_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

}  // namespace wt
