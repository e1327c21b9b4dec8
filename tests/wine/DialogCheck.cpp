// The dialog as a user sees it right after start: windows, texts, sizes,
// lists, limits, colours, tab order and the taskbar window.
#include "WineTest.h"

namespace wt {

namespace {

struct ExpectedEdit {
    const wchar_t* Name;
    const wchar_t* Text;
    int MaxLength;
};

// Whether the input method is off cannot be seen from another process.
const ExpectedEdit Edits[] = {
    {L"Edit7", L"3", 8},  {L"Edit8", L"15", 8}, {L"Edit1", L"1", 16}, {L"Edit2", L"", 32}, {L"Edit3", L"", 32},
    {L"Edit4", L"0.5", 16}, {L"Edit5", L"2", 16}, {L"Edit6", L"2", 16}, {L"Edit9", L"2", 16},
};

const std::vector<std::wstring> Markers = {L"線矢印", L"△", L"□", L"Ｏ", L"○", L"■",
                                           L"▲",     L"●", L"～", L"＞", L"／", L"△"};

struct ExpectedList {
    const wchar_t* Name;
    std::vector<std::wstring> Items;
    int Selected;
};

// ComboBox3 as host-four-points.txt fills it: current text type 4, the
// sizes of its "hcw", "hch" and "hcd" records.
const ExpectedList Lists[] = {
    {L"ComboBox1", Markers, 0},
    {L"ComboBox2", Markers, 0},
    {L"ComboBox3",
     {L"現在の文字種(No4)", L"No1: W2 H2 D0", L"No2: W2.5 H2.5 D0", L"No3: W3 H3 D0.5", L"No4: W3.5 H3.5 D0.5",
      L"No5: W4 H4 D0.5", L"No6: W5 H5 D1", L"No7: W6 H6 D1", L"No8: W7 H7 D1", L"No9: W8 H8 D1",
      L"No10: W5 H2.5 D0.5"},
     -1},
    {L"ComboBox4",
     {L"1", L"0.1", L"0.01", L"0.001", L"0.0001", L"0.00001", L"0.000001", L"0.0000001", L"0.00000001"},
     3},
    {L"ComboBox5", {L"切り捨て", L"切り上げ", L"四捨五入"}, 2},
};

struct ExpectedButton {
    const wchar_t* Name;
    const wchar_t* Text;
    LONG Kind;
};

const ExpectedButton Buttons[] = {
    {L"CheckBox1", L"３桁毎カンマ付加", BS_AUTOCHECKBOX}, {L"CheckBox2", L"単位の付加", BS_AUTOCHECKBOX},
    {L"CheckBox3", L"寸法値を全角化", BS_AUTOCHECKBOX},   {L"CheckBox4", L"寸法図形化", BS_AUTOCHECKBOX},
    {L"Button1", L"ＯＫ(&Y)", BS_DEFPUSHBUTTON},          {L"Button2", L"キャンセル(&N)", BS_PUSHBUTTON},
    {L"RadioGroup1", L"小数点以下の０表示", BS_GROUPBOX}, {L"RadioGroup2", L"寸法値の単位", BS_GROUPBOX},
};

const wchar_t* const MemoLines[] = {
    L"◇垂直寸法線の設定は", L"　水平寸法線の設定とは", L"　別に呼出・登録しており", L"　水平寸法線の設定を",
    L"　共有利用していません", L"", L"◇寸法値の水平位置を", L"　指定出来る垂直寸法線", L"　を作図します",
    L"◇寸法値の位置指定は", L"　寸法値が中央の場合は", L"　　　中下点基準", L"　寸法値が左出しの場合は",
    L"　　　右下点基準　", L"　寸法値が右出しの場合は", L"　　　左下点基準", L"　となります",
    L"◇寸法値が寸法補助線間", L"　及び、寸法補助線と", L"　重なる場合には", L"　逆矢印にはなりません", L"",
    L"◆ブロック図形内のもの", L"　は処理出来ませんので", L"　御注意下さい。", L"　ブロック編集内で行う",
    L"　場合には、本ソフトを", L"　Jw_cadのインストール・", L"　フォルダに配置して", L"　実行を行う必要がある",
    L"　場合があります。",
};

// Tab order; a radio group is entered on its checked button.
const wchar_t* const TabOrder[] = {
    L"ComboBox1", L"ComboBox2", L"Edit7",     L"Edit8",     L"Edit1",     L"ComboBox3", L"Edit2",
    L"Edit3",     L"ComboBox4", L"ComboBox5", L"RadioGroup1", L"RadioGroup2", L"CheckBox1", L"CheckBox2",
    L"CheckBox3", L"CheckBox4", L"Edit4",     L"Edit5",     L"Edit6",     L"Edit9",     L"Button1",
    L"Button2",
};

std::wstring NameOf(const Program& program, HWND window)
{
    for (const ExpectedControl& control : ExpectedControls()) {
        if (program.Control(control.Name) == window)
            return control.Name;
        const std::vector<HWND> buttons = program.RadioButtons(control.Name);
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i] == window)
                return std::wstring(control.Name) + L" item " + Number(static_cast<long long>(i));
    }
    return window == nullptr ? L"nothing" : ClassOf(window) + L" \"" + TextOf(window) + L"\"";
}

// The colour on screen at a point of a window's client area.
COLORREF ScreenColour(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

std::wstring Rgb(COLORREF colour)
{
    return L"RGB(" + Number(GetRValue(colour)) + L", " + Number(GetGValue(colour)) + L", " +
           Number(GetBValue(colour)) + L")";
}

void CheckColour(Case& c, HWND window, int x, int y, COLORREF expected, const std::wstring& what)
{
    COLORREF actual = CLR_INVALID;
    for (int waited = 0; waited < 3000; waited += 100) {
        actual = ScreenColour(window, x, y);
        if (actual == expected)
            break;
        Sleep(100);
    }
    c.Check(actual == expected, what + L": " + Rgb(actual) + L", expected " + Rgb(expected));
}

void CheckWindows(Program& program, Case& c)
{
    const HWND dialog = program.Dialog();
    RECT client{};
    GetClientRect(dialog, &client);
    c.Equal(client.right, 509, L"client width");
    c.Equal(client.bottom, 376, L"client height");
    RECT window{};
    GetWindowRect(dialog, &window);
    c.Equal(window.left, 100, L"left without a settings file");
    c.Equal(window.top, 100, L"top without a settings file");
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    c.Check((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) && (style & WS_MINIMIZEBOX),
            L"caption, system menu and minimise button");
    c.Check(!(style & WS_THICKFRAME) && !(style & WS_MAXIMIZEBOX), L"neither resizable nor maximisable");
    // The icon at the left of the title bar: the red dimension line and the
    // blue value of its picture. (Its handle cannot be asked for from
    // another process under Wine.)
    int red = 0;
    int blue = 0;
    HDC screen = GetDC(nullptr);
    for (int y = window.top; y < window.top + 28; ++y)
        for (int x = window.left; x < window.left + 28; ++x) {
            const COLORREF colour = GetPixel(screen, x, y);
            red += colour == RGB(255, 0, 0);
            blue += colour == RGB(0, 0, 255);
        }
    ReleaseDC(nullptr, screen);
    c.Check(red >= 8 && blue >= 4, L"the title bar shows the program's icon (" + Number(red) + L" red, " +
                                       Number(blue) + L" blue pixels)");

    // The taskbar shows the application title, from a window of its own.
    const HWND owner = GetWindow(dialog, GW_OWNER);
    c.Check(owner != nullptr, L"the dialog has an owner window");
    c.Equal(TextOf(owner), L"q308_垂直寸法線Ｂ", L"application title");
    c.Check(IsWindowVisible(owner) && GetWindow(owner, GW_OWNER) == nullptr &&
                !(GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW),
            L"the application window gets the taskbar button");
    c.Check(!(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW), L"the dialog has no taskbar button of its own");

    for (const ExpectedControl& expected : ExpectedControls()) {
        const HWND control = program.Control(expected.Name);
        c.Check(control != nullptr && IsWindowVisible(control),
                std::wstring(expected.Name) + L": no visible " + expected.Class + L" at " + Number(expected.Left) +
                    L", " + Number(expected.Top) + L", " + Number(expected.Width) + L" x " + Number(expected.Height));
    }
    for (const ExpectedLabel& label : ExpectedLabels()) {
        HWND found = nullptr;
        for (HWND child : program.Children()) {
            const RECT rect = RectInParent(child);
            if (ClassOf(child) == L"Static" && TextOf(child) == label.Text && rect.left == label.Left &&
                rect.top == label.Top)
                found = child;
        }
        if (!c.Check(found != nullptr && IsWindowVisible(found),
                     std::wstring(L"label \"") + label.Text + L"\" not at " + Number(label.Left) + L", " +
                         Number(label.Top)))
            continue;
        // The label is as tall as its font, which tells the 11-pixel heading
        // from the rest; and wide enough for its text.
        const RECT rect = RectInParent(found);
        const int height = rect.bottom - rect.top;
        c.Check(label.FontHeight == 11 ? height < 13 : height >= 13,
                std::wstring(L"label \"") + label.Text + L"\" is " + Number(height) + L" pixels high");
        c.Check(rect.right - rect.left >= static_cast<int>(wcslen(label.Text)) * label.FontHeight / 2,
                std::wstring(L"label \"") + label.Text + L"\" is cut short");
    }
}

void CheckValues(Program& program, Case& c)
{
    for (const ExpectedEdit& edit : Edits) {
        const HWND window = program.Control(edit.Name);
        const std::wstring name = edit.Name;
        c.Equal(TextOf(window), edit.Text, name + L" text");
        c.Equal(static_cast<long long>(SendMessageW(window, EM_GETLIMITTEXT, 0, 0)), edit.MaxLength,
                name + L" maximum length");
    }
    for (const ExpectedList& list : Lists) {
        const HWND box = program.Control(list.Name);
        const std::wstring name = list.Name;
        c.Equal(GetWindowLongW(box, GWL_STYLE) & 3, CBS_DROPDOWNLIST, name + L" is a drop-down list");
        const std::vector<std::wstring> items = ComboItems(box);
        c.Equal(static_cast<long long>(items.size()), static_cast<long long>(list.Items.size()), name + L" items");
        for (std::size_t i = 0; i < items.size() && i < list.Items.size(); ++i)
            c.Equal(items[i], list.Items[i], name + L" item " + Number(static_cast<long long>(i)));
        c.Equal(SendMessageW(box, CB_GETCURSEL, 0, 0), list.Selected, name + L" selection");
    }
    for (const ExpectedButton& button : Buttons) {
        const HWND window = program.Control(button.Name);
        const std::wstring name = button.Name;
        c.Equal(TextOf(window), button.Text, name + L" text");
        c.Equal(GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK, button.Kind, name + L" kind");
        if (button.Kind == BS_AUTOCHECKBOX)
            c.Equal(SendMessageW(window, BM_GETCHECK, 0, 0), BST_UNCHECKED, name + L" unchecked");
    }
    const struct {
        const wchar_t* Group;
        const wchar_t* First;
        const wchar_t* Second;
    } groups[] = {{L"RadioGroup1", L"無", L"有"}, {L"RadioGroup2", L"mm", L"ｍ"}};
    for (const auto& group : groups) {
        const std::vector<HWND> buttons = program.RadioButtons(group.Group);
        const std::wstring name = group.Group;
        if (!c.Equal(static_cast<long long>(buttons.size()), 2, name + L" buttons"))
            continue;
        c.Equal(TextOf(buttons[0]), group.First, name + L" item 0");
        c.Equal(TextOf(buttons[1]), group.Second, name + L" item 1");
        const RECT first = RectInParent(buttons[0]);
        const RECT second = RectInParent(buttons[1]);
        c.Check(first.top == second.top && first.right <= second.left, name + L" has two columns");
        c.Equal(SendMessageW(buttons[0], BM_GETCHECK, 0, 0), BST_CHECKED, name + L" item 0 checked");
        c.Equal(SendMessageW(buttons[1], BM_GETCHECK, 0, 0), BST_UNCHECKED, name + L" item 1 unchecked");
    }

    const HWND memo = program.Control(L"Memo1");
    const LONG memoStyle = GetWindowLongW(memo, GWL_STYLE);
    c.Check((memoStyle & ES_MULTILINE) && (memoStyle & ES_READONLY) && (memoStyle & WS_VSCROLL),
            L"Memo1 is a read-only memo with a vertical scroll bar");
    c.Check((memoStyle & ES_AUTOHSCROLL) != 0, L"Memo1 does not wrap words");
    c.Check(!(memoStyle & WS_TABSTOP), L"Memo1 is no tab stop");
    std::wstring expectedMemo;
    for (const wchar_t* line : MemoLines)
        expectedMemo += std::wstring(expectedMemo.empty() ? L"" : L"\r\n") + line;
    c.Equal(TextOf(memo), expectedMemo, L"Memo1 text");
    c.Equal(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), 31, L"Memo1 lines");

    const HWND status = program.Control(L"LabelA1");
    c.Equal(TextOf(status), L"　", L"LabelA1 text");
    c.Equal(GetWindowLongW(status, GWL_STYLE) & SS_TYPEMASK, SS_CENTER, L"LabelA1 centred");
}

void CheckColours(Program& program, Case& c)
{
    const HWND memo = program.Control(L"Memo1");
    RECT memoClient{};
    GetClientRect(memo, &memoClient);
    // Right of the first line's text, inside the memo.
    CheckColour(c, memo, memoClient.right - 3, 3, RGB(187, 235, 244), L"Memo1 background");
    CheckColour(c, program.Control(L"LabelA1"), 3, 3, RGB(231, 231, 231), L"LabelA1 background");
    CheckColour(c, program.Dialog(), 500, 240, RGB(255, 255, 255), L"dialog background");
    CheckColour(c, program.Dialog(), 100, 200, RGB(255, 255, 255), L"background inside a radio group");
}

void CheckTabOrder(Program& program, Case& c)
{
    // The first control has the focus when the dialog opens; Tab walks the
    // rest and comes round again.
    std::vector<HWND> order;
    for (const wchar_t* name : TabOrder) {
        HWND window = program.Control(name);
        if (!program.RadioButtons(name).empty())
            window = program.Control(name, 0);  // item 0 is checked by default
        order.push_back(window);
    }
    order.push_back(order.front());
    c.Check(program.WaitForFocus(order.front()), L"focus at start: " + NameOf(program, program.Focus()));
    for (std::size_t i = 1; i < order.size(); ++i) {
        program.PostKey(VK_TAB);
        if (!c.Check(program.WaitForFocus(order[i]), L"Tab number " + Number(static_cast<long long>(i)) +
                                                         L" went to " + NameOf(program, program.Focus()) +
                                                         L", expected " + NameOf(program, order[i])))
            break;
    }
    // Once its second button is chosen, Tab enters the group there.
    program.Click(program.Control(L"RadioGroup1", 1));
    SendMessageW(program.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(program.Control(L"ComboBox5")), TRUE);
    program.PostKey(VK_TAB);
    c.Check(program.WaitForFocus(program.Control(L"RadioGroup1", 1)),
            L"Tab into RadioGroup1 went to " + NameOf(program, program.Focus()));
    program.Click(program.Control(L"RadioGroup1", 0));
}

void CheckTyping(Program& program, Case& c)
{
    // The limits hold for what the user types; Edit2 counts characters,
    // not bytes.
    const struct {
        const wchar_t* Name;
        const wchar_t* Typed;
        const wchar_t* Kept;
    } cases[] = {
        {L"Edit7", L"1234567890", L"12345678"},
        {L"Edit1", L"12345678901234567890", L"1234567890123456"},
        {L"Edit2", L"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめも",
         L"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみ"},
    };
    for (const auto& typing : cases) {
        const HWND edit = program.Control(typing.Name);
        program.SetText(typing.Name, L"");
        program.Type(edit, typing.Typed);
        c.Equal(TextOf(edit), typing.Kept, std::wstring(typing.Name) + L" after typing");
    }
}

// The read-only memo leaves Enter to the dialog: it presses OK, which here
// stops at ComboBox3, still without a selection.
void CheckEnterInMemo(Program& program, Case& c)
{
    for (const ExpectedEdit& edit : Edits)
        program.SetText(edit.Name, edit.Text);
    SendMessageW(program.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(program.Control(L"Memo1")), TRUE);
    if (!c.Check(program.WaitForFocus(program.Control(L"Memo1")), L"cannot put the focus into Memo1"))
        return;
    const std::wstring before = TextOf(program.Control(L"Memo1"));
    program.PostKey(VK_RETURN);
    c.Check(program.WaitForFocus(program.Control(L"ComboBox3")),
            L"Enter in Memo1 must press OK; the focus is on " + NameOf(program, program.Focus()));
    c.Equal(TextOf(program.Control(L"Memo1")), before, L"Memo1 after Enter");
}

void CheckMinimise(Program& program, Case& c, bool withPreview)
{
    const HWND dialog = program.Dialog();
    const HWND application = GetWindow(dialog, GW_OWNER);
    SendMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Sleep(300);
    c.Check(IsIconic(application) && !IsWindowVisible(dialog),
            L"minimising the dialog minimises the taskbar window and hides the dialog");
    if (withPreview)
        c.Check(!PreviewShown(program, false), L"the preview goes with the dialog");
    SendMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    Sleep(300);
    c.Check(!IsIconic(application) && IsWindowVisible(dialog), L"restoring the taskbar window shows the dialog");
    if (withPreview)
        c.Check(PreviewShown(program), L"and the preview comes back with it");
}

}  // namespace

void CheckDialog(const Settings& settings, bool withPreview)
{
    Case c(withPreview ? L"dialog as shown, its preview open" : L"dialog as shown");
    Program program(settings.Executable, JoinPath(settings.Root, withPreview ? L"dialog-preview" : L"dialog"));
    WriteBytes(program.File(L"JWC_TEMP.TXT"), Sample(L"host-four-points.txt"));
    if (withPreview)
        WriteBytes(program.File(L"q308.ini"), PreviewOpenIni);
    if (!program.Start(c))
        return;
    c.Check(PreviewShown(program) == withPreview, withPreview ? L"the preview is open" : L"no preview window");
    CheckWindows(program, c);
    CheckValues(program, c);
    CheckColours(program, c);
    CheckTabOrder(program, c);
    CheckTyping(program, c);
    CheckEnterInMemo(program, c);
    CheckMinimise(program, c, withPreview);
    program.Click(program.Control(L"Button2"));
    program.WaitForExit(c);
    std::string exchange;
    c.Check(ReadBytes(program.File(L"JWC_TEMP.TXT"), exchange) && exchange == "hq\r\n",
            L"after Cancel the exchange file holds \"hq\" only: " + Hex(exchange.substr(0, 32)));
    c.Check(!Exists(program.File(L"q304.dat")), L"Cancel writes no settings file");
    std::string ini;
    c.Check(ReadBytes(program.File(L"q308.ini"), ini) && (withPreview || ini == PreviewClosedIni),
            L"q308.ini kept, closed where the user had closed the preview: " + Hex(ini));
}

}  // namespace wt
