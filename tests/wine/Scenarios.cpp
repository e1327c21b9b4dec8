// Whole runs of the program, each compared byte for byte with the native
// program given the same files and the same user actions. The plan mode
// writes every scenario's input files and its actions as a script for the
// native program's console front end; run-wine-tests.sh runs the native
// program on them; the run mode then repeats the actions on q308.exe and
// compares the files the two left behind.
#include "WineTest.h"

#include <algorithm>
#include <cstdint>

namespace wt {

namespace {

enum class Action {
    Set,             // Name := Value (text, or item index for lists, radio groups, check boxes)
    Move,            // the dialog to (X, Y)
    Ok,              // click Button1
    Enter,           // the Enter key on the focused control
    AltKey,          // Alt with the letter in Value: a button's mnemonic
    Cancel,          // click Button2
    Escape,          // the Escape key on the focused control
    CloseBox,        // WM_CLOSE, as the title bar's close box sends it
    SystemClose,     // the system menu's Close (SC_CLOSE)
    ExpectFocus,     // the focus is on Name and the dialog is still open
    ExpectMessage,   // the message box shows Value; it is dismissed with its OK button
    ExpectLastMessage,  // as ExpectMessage, and the run ends after it
};

struct Step {
    Action Kind;
    std::wstring Name;
    std::wstring Value;
    int X = 0;
    int Y = 0;
};

struct Scenario {
    std::wstring Id;      // folder of the plan
    std::wstring Folder;  // program folder of the Wine run (any script)
    bool HasExchange = true;
    std::string Exchange;
    bool HasSettings = false;
    std::string Settings;
    std::vector<Step> Steps;
    // Further checks on the dialog as it opened.
    std::function<void(Program&, Case&)> Inspect;
    // The program's arguments: the kind of dimension. The settings file is that kind's.
    std::wstring Arguments = {};
};

Step Set(const std::wstring& name, const std::wstring& value) { return {Action::Set, name, value}; }
Step Move(int x, int y) { return {Action::Move, L"", L"", x, y}; }
Step Do(Action action) { return {action, L"", L""}; }
Step FocusOn(const std::wstring& name) { return {Action::ExpectFocus, name, L""}; }
Step MessageSays(const std::wstring& text) { return {Action::ExpectMessage, L"", text}; }
Step LastMessageSays(const std::wstring& text) { return {Action::ExpectLastMessage, L"", text}; }

std::string Lines(const std::vector<std::wstring>& lines)
{
    std::string bytes;
    for (const std::wstring& line : lines)
        bytes += Sjis(line) + "\r\n";
    return bytes;
}

// Bytes no host writes: control bytes, 0x1A, lone CRs, lead bytes without
// their second byte, 0xFF, and a line of 100,000 bytes.
std::string Replaced(std::string bytes, const std::string& from, const std::string& to)
{
    const std::size_t at = bytes.find(from);
    return at == std::string::npos ? bytes : bytes.replace(at, from.size(), to);
}

std::string GarbageExchange()
{
    std::string bytes = "hq\r\nhs 1 2\r\n\x81\r\nhp1\x82\r\n\xFF\xFE\x00\x01\rcn\"$\x81\r\n";
    std::uint32_t state = 12345;
    for (int i = 0; i < 60000; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>((state >> 16) & 0xFF);
    }
    bytes += "\r\n" + std::string(100000, 'x') + "\r\nhp1 1e999 -nan\r\nhk abc\r\n";
    return bytes;
}

std::string GarbageSettings()
{
    std::string bytes = "abc\r\n\xFF\xFE\x00\x01\r\n99999999999999999999\r\n-5\r\n\x81\r\n7\n";
    bytes += std::string(300, '9') + "\r\n";  // longer than any edit box takes
    bytes += "\x82\xA0\x82\r\n\r\n\x1A\r\nq\r\n";
    for (int i = 0; i < 20; ++i)
        bytes += "-1\r\n";
    return bytes;
}

// A settings file as the program writes it, with a value other than the
// default in every control.
std::string FullSettings()
{
    return Lines({L"60", L"40", L"2", L"11", L"4", L"2", L"1", L"1.5", L"約", L"mm", L"0.8", L"1", L"3", L"2.5",
                  L"20", L"4", L"1", L"0", L"1", L"0", L"1", L"0", L"2", L"250", L"0", L"1", L"2", L"3", L"4",
                  L"5", L"6"});
}

void InspectSettingsApplied(Program& program, Case& c)
{
    RECT window{};
    GetWindowRect(program.Dialog(), &window);
    c.Equal(window.left, 60, L"dialog left from the settings");
    c.Equal(window.top, 40, L"dialog top from the settings");
    const struct {
        const wchar_t* Name;
        LRESULT Index;
    } lists[] = {{L"ComboBox1", 2}, {L"ComboBox2", 11}, {L"ComboBox3", 4}, {L"ComboBox4", 2}, {L"ComboBox5", 1}};
    for (const auto& list : lists)
        c.Equal(SendMessageW(program.Control(list.Name), CB_GETCURSEL, 0, 0), list.Index,
                std::wstring(list.Name) + L" selection");
    const struct {
        const wchar_t* Name;
        const wchar_t* Text;
    } edits[] = {{L"Edit1", L"1.5"}, {L"Edit2", L"約"}, {L"Edit3", L"mm"}, {L"Edit4", L"0.8"}, {L"Edit5", L"1"},
                 {L"Edit6", L"3"},   {L"Edit7", L"2.5"}, {L"Edit8", L"20"},  {L"Edit9", L"4"}};
    for (const auto& edit : edits)
        c.Equal(TextOf(program.Control(edit.Name)), edit.Text, std::wstring(edit.Name) + L" text");
    const struct {
        const wchar_t* Name;
        int Item;
        bool Checked;
    } buttons[] = {{L"RadioGroup1", 0, false}, {L"RadioGroup1", 1, true}, {L"RadioGroup2", 0, true},
                   {L"RadioGroup2", 1, false}, {L"CheckBox1", -1, true},  {L"CheckBox2", -1, false},
                   {L"CheckBox3", -1, true},   {L"CheckBox4", -1, false}};
    for (const auto& button : buttons)
        c.Equal(SendMessageW(program.Control(button.Name, button.Item), BM_GETCHECK, 0, 0),
                button.Checked ? BST_CHECKED : BST_UNCHECKED,
                std::wstring(button.Name) + L" item " + Number(button.Item) + L" checked");
}

std::vector<Scenario> Scenarios()
{
    const std::string fourPoints = Sample(L"host-four-points.txt");
    const std::string freeSize = Sample(L"host-free-size.txt");
    const std::optional<std::string> hostFourPoints = HostSample(L"host-four-points.txt");
    const std::optional<std::string> hostFreeSize = HostSample(L"host-free-size.txt");
    const std::wstring zeroLength = L"寸法が「0」になりますので作図出来ません";
    std::vector<Scenario> all;

    all.push_back({L"ok-defaults", L"ok-defaults", true, fourPoints, false, "",
                   {Set(L"ComboBox3", L"0"), Move(150, 120), Do(Action::Ok)}, nullptr});
    all.push_back({L"ok-every-control", L"ok-every-control", true, fourPoints, false, "",
                   {Set(L"ComboBox1", L"3"), Set(L"ComboBox2", L"10"), Set(L"Edit7", L"4"), Set(L"Edit8", L"30"),
                    Set(L"Edit1", L"2"), Set(L"ComboBox3", L"10"), Set(L"Edit2", L"Ｈ＝"), Set(L"Edit3", L" 約"),
                    Set(L"ComboBox4", L"1"), Set(L"ComboBox5", L"1"), Set(L"RadioGroup1", L"1"),
                    Set(L"RadioGroup2", L"1"), Set(L"CheckBox1", L"1"), Set(L"CheckBox2", L"1"),
                    Set(L"CheckBox3", L"1"), Set(L"Edit4", L"-1.5"), Set(L"Edit5", L"0"), Set(L"Edit6", L"3"),
                    Set(L"Edit9", L"5"), Move(33, 44), Do(Action::Enter)},
                   nullptr});
    all.push_back({L"ok-figure", L"ok-figure", true, freeSize + fourPoints, false, "",
                   {Set(L"ComboBox3", L"0"), Set(L"CheckBox4", L"1"), Set(L"ComboBox1", L"7"),
                    Set(L"ComboBox2", L"0"), Move(200, 10), Do(Action::Ok)},
                   nullptr});
    all.push_back({L"ok-from-settings", L"ok-from-settings", true, fourPoints, true, FullSettings(),
                   {Move(60, 40), Do(Action::Ok)}, InspectSettingsApplied});
    // Every check of OK in turn: the bad value keeps the dialog open with
    // the focus on its control; the good value lets the next check run.
    all.push_back({L"bad-values", L"bad-values", true, fourPoints, false, "",
                   {Move(70, 80), Do(Action::Ok), FocusOn(L"ComboBox3"), Set(L"ComboBox3", L"0"),
                    Set(L"Edit1", L"abc"), Do(Action::Ok), FocusOn(L"Edit1"), Set(L"Edit1", L"0"), Do(Action::Enter),
                    FocusOn(L"Edit1"), Set(L"Edit1", L"1"), Set(L"Edit7", L"1000.5"), Do(Action::Ok),
                    FocusOn(L"Edit7"), Set(L"Edit7", L"1000"), Set(L"Edit8", L"180"), Do(Action::Ok),
                    FocusOn(L"Edit8"), Set(L"Edit8", L"179.9"), Set(L"Edit5", L"-0.1"), Do(Action::Ok),
                    FocusOn(L"Edit5"), Set(L"Edit5", L"0"), Set(L"Edit6", L"-1"), Do(Action::Ok), FocusOn(L"Edit6"),
                    Set(L"Edit6", L"1"), Set(L"Edit9", L"-2"), Do(Action::Ok), FocusOn(L"Edit9"),
                    Set(L"Edit9", L"abc"), Do(Action::Ok)},
                   nullptr});
    // Points 1 and 2 missing: both (0, 0), a dimension of length zero.
    all.push_back({L"zero-length", L"zero-length", true, freeSize, false, "",
                   {Set(L"ComboBox3", L"0"), Move(90, 90), Do(Action::Ok), MessageSays(zeroLength),
                    Do(Action::Cancel)},
                   nullptr});
    all.push_back({L"cancel", L"cancel", true, fourPoints, true, FullSettings(), {Do(Action::Cancel)}, nullptr});
    all.push_back({L"escape", L"escape", true, fourPoints, false, "", {Do(Action::Escape)}, nullptr});
    all.push_back({L"close-box", L"close-box", true, fourPoints, false, "", {Do(Action::CloseBox)}, nullptr});
    all.push_back(
        {L"system-close", L"system-close", true, fourPoints, false, "", {Do(Action::SystemClose)}, nullptr});
    all.push_back({L"folder-japanese", L"測定フォルダ", true, fourPoints, false, "",
                   {Set(L"ComboBox3", L"0"), Move(150, 120), {Action::AltKey, L"", L"y"}}, nullptr});
    all.push_back({L"alt-n", L"alt-n", true, fourPoints, true, FullSettings(), {{Action::AltKey, L"", L"n"}}, nullptr});
    // A folder name Shift-JIS cannot spell.
    all.push_back({L"folder-korean", L"測定_한국", true, fourPoints, true, FullSettings(),
                   {Set(L"Edit2", L"한"), Move(150, 120), Do(Action::Ok)}, nullptr});
    all.push_back({L"missing-exchange", L"missing-exchange", false, "", false, "",
                   {Set(L"ComboBox3", L"1"), Move(100, 100), Do(Action::Ok), MessageSays(zeroLength),
                    Do(Action::CloseBox)},
                   nullptr});
    all.push_back({L"empty-exchange", L"empty-exchange", true, "", false, "", {Do(Action::Cancel)}, nullptr});
    all.push_back(
        {L"garbage-exchange", L"garbage-exchange", true, GarbageExchange(), false, "", {Do(Action::Cancel)}, nullptr});
    all.push_back({L"garbage-settings", L"garbage-settings", true, fourPoints, true, GarbageSettings(),
                   {Do(Action::Escape)}, nullptr});
    // An empty settings file empties every edit box, so OK stops at Edit1.
    all.push_back({L"empty-settings", L"empty-settings", true, fourPoints, true, "",
                   {Do(Action::Ok), FocusOn(L"Edit1"), Set(L"Edit1", L"1"), Set(L"Edit7", L"3"), Set(L"Edit8", L"15"),
                    Move(0, 0), Do(Action::Ok)},
                   [](Program& program, Case& c) {
                       RECT window{};
                       GetWindowRect(program.Dialog(), &window);
                       c.Equal(window.left, 0, L"dialog left from an empty settings file");
                       c.Equal(window.top, 0, L"dialog top from an empty settings file");
                       c.Equal(TextOf(program.Control(L"Edit4")), L"", L"Edit4 text");
                       c.Equal(SendMessageW(program.Control(L"ComboBox3"), CB_GETCURSEL, 0, 0), 0,
                               L"ComboBox3 selection");
                   }});
    // The other kinds: their captions and help texts, their own settings
    // files, and the vertical construction in their frames.
    const auto inspectKind = [](const std::wstring& argument) {
        return [argument](Program& program, Case& c) {
            const KindFacts& kind = KindOf(argument);
            c.Equal(TextOf(program.Dialog()), kind.Caption, L"caption");
            c.Equal(TextOf(GetWindow(program.Dialog(), GW_OWNER)), std::wstring(L"q308_") + kind.Caption,
                    L"application title");
            const std::wstring help = TextOf(program.Control(L"Memo1"));
            c.Equal(help.substr(0, help.find(L'\r')), kind.FirstHelpLine, L"help text");
        };
    };
    all.push_back({L"horizontal-ok", L"horizontal-ok", true, fourPoints, false, "",
                   {Set(L"ComboBox3", L"0"), Set(L"ComboBox2", L"6"), Move(150, 120), Do(Action::Ok)},
                   inspectKind(L"/h"), L"/h"});
    all.push_back({L"horizontal-figure", L"horizontal-figure", true, freeSize + fourPoints, false, "",
                   {Set(L"ComboBox3", L"0"), Set(L"CheckBox4", L"1"), Move(200, 10), Do(Action::Enter)},
                   inspectKind(L"/h"), L"/h"});
    all.push_back({L"aligned-from-settings", L"aligned-from-settings", true, fourPoints, true, FullSettings(),
                   {Move(60, 40), Do(Action::Ok)},
                   [inspectKind](Program& program, Case& c) {
                       inspectKind(L"/a")(program, c);
                       InspectSettingsApplied(program, c);
                   },
                   L"/a"});
    all.push_back({L"aligned-cancel", L"aligned-cancel", true, fourPoints, true, FullSettings(),
                   {Do(Action::Cancel)}, inspectKind(L"/a"), L"/A"});
    // The chains on a row with a small span whose value runs out; the
    // horizontal one at an axis angle, its line and values turned with it.
    const std::string chainRow = Sample(L"host-chain-row.txt");
    all.push_back({L"chain-vertical-ok", L"chain-vertical-ok", true, chainRow, false, "",
                   {Set(L"ComboBox3", L"0"), Move(150, 120), Do(Action::Ok)}, inspectKind(L"/c"), L"/c"});
    all.push_back({L"chain-horizontal-axis", L"chain-horizontal-axis", true, Replaced(chainRow, "hk 0\r\n", "hk 30\r\n"),
                   false, "", {Set(L"ComboBox3", L"0"), Set(L"ComboBox4", L"1"), Move(150, 120), Do(Action::Enter)},
                   inspectKind(L"/hc"), L"/hc"});
    all.push_back({L"chain-aligned-from-settings", L"chain-aligned-from-settings", true, chainRow, true,
                   FullSettings(), {Move(60, 40), Do(Action::Ok)},
                   [inspectKind](Program& program, Case& c) {
                       inspectKind(L"/ac")(program, c);
                       InspectSettingsApplied(program, c);
                   },
                   L"/ac"});
    all.push_back({L"chain-cancel", L"chain-cancel", true, chainRow, true, FullSettings(), {Do(Action::Cancel)},
                   inspectKind(L"/hc"), L"/HC"});
    // Picking ended after the first measured point: nothing to draw, the
    // host finds "hq".
    const std::string onePoint = chainRow.substr(0, chainRow.find("hp3")) + chainRow.substr(chainRow.find("lg4"));
    all.push_back({L"chain-one-point", L"chain-one-point", true, onePoint, false, "",
                   {Set(L"ComboBox3", L"0"), Move(90, 90), Do(Action::Ok),
                    LastMessageSays(L"測る点が２点以上ないため直列寸法を作図出来ません")},
                   inspectKind(L"/ac"), L"/ac"});

    // The host's own files, where they lie beside the project.
    if (hostFourPoints && hostFreeSize) {
        all.push_back({L"host-own-file", L"host-own-file", true, *hostFourPoints, false, "",
                       {Set(L"ComboBox3", L"0"), Move(150, 120), Do(Action::Ok)}, nullptr});
        all.push_back({L"host-own-figure", L"host-own-figure", true, *hostFreeSize + *hostFourPoints, false, "",
                       {Set(L"ComboBox3", L"0"), Set(L"CheckBox4", L"1"), Move(200, 10), Do(Action::Ok)}, nullptr});
    }
    return all;
}

std::wstring NativeScript(const Scenario& scenario, std::vector<std::wstring>& expectedOutput)
{
    std::wstring script;
    for (const Step& step : scenario.Steps) {
        switch (step.Kind) {
        case Action::Set:
            script += step.Name + L"=" + step.Value + L"\n";
            break;
        case Action::Move:
            script += L"Left=" + Number(step.X) + L"\nTop=" + Number(step.Y) + L"\n";
            break;
        case Action::Ok:
        case Action::Enter:
            script += L"OK\n";
            break;
        case Action::AltKey:
            script += step.Value == L"n" ? L"Cancel\n" : L"OK\n";
            break;
        case Action::Cancel:
        case Action::Escape:
            script += L"Cancel\n";
            break;
        case Action::CloseBox:
        case Action::SystemClose:
            break;  // the end of the script closes the form as the close box does
        case Action::ExpectFocus:
            expectedOutput.push_back(L"focus: " + step.Name);
            break;
        case Action::ExpectMessage:
        case Action::ExpectLastMessage:
            expectedOutput.push_back(L"message: " + step.Value);
            break;
        }
    }
    return script;
}

void RunStep(Program& program, Case& c, const Step& step)
{
    switch (step.Kind) {
    case Action::Set: {
        const ExpectedControl* expected = FindExpected(step.Name);
        if (expected != nullptr && std::wstring(expected->Class) == L"Edit")
            program.SetText(step.Name, step.Value);
        else
            program.SetIndex(step.Name, std::stoi(step.Value));
        break;
    }
    case Action::Move:
        program.Move(step.X, step.Y);
        break;
    case Action::Ok:
        program.Click(program.Control(L"Button1"));
        break;
    case Action::Enter:
        program.PostKey(VK_RETURN);
        break;
    case Action::AltKey: {
        HWND target = program.Focus();
        PostMessageW(target != nullptr ? target : program.Dialog(), WM_SYSCHAR, step.Value.front(), 1 | (1 << 29));
        break;
    }
    case Action::Cancel:
        program.Click(program.Control(L"Button2"));
        break;
    case Action::Escape:
        program.PostKey(VK_ESCAPE);
        break;
    case Action::CloseBox:
        PostMessageW(program.Dialog(), WM_CLOSE, 0, 0);
        break;
    case Action::SystemClose:
        PostMessageW(program.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Action::ExpectFocus: {
        const HWND control = program.Control(step.Name);
        HWND focus = nullptr;
        bool onControl = false;
        for (int waited = 0; waited < 3000 && !onControl; waited += 50) {
            focus = program.Focus();
            onControl = focus == control || (focus != nullptr && GetParent(focus) == control);
            if (!onControl)
                Sleep(50);
        }
        c.Check(onControl, L"focus on " + step.Name + L" expected; it is on a " + ClassOf(focus) + L" \"" +
                               TextOf(focus) + L"\"");
        c.Check(program.Running() && IsWindowVisible(program.Dialog()), L"the dialog must stay open");
        break;
    }
    case Action::ExpectMessage:
    case Action::ExpectLastMessage: {
        const HWND box = program.WaitForMessageBox();
        if (!c.Check(box != nullptr, L"no message box"))
            break;
        c.Equal(TextOf(GetDlgItem(box, 0xFFFF)), step.Value, L"message text");
        c.Check(GetWindow(box, GW_OWNER) == program.Dialog(), L"the message box belongs to the dialog");
        c.Check(!IsWindowEnabled(program.Dialog()), L"the dialog waits while the message box is up");
        std::vector<HWND> buttons;
        bool icon = false;
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) == L"Button" && IsWindowVisible(child))
                buttons.push_back(child);
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child))
                icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
        }
        c.Equal(static_cast<long long>(buttons.size()), 1, L"buttons in the message box");
        c.Check(icon, L"the message box shows an icon");
        // A close request meanwhile (the taskbar's Close) must neither end
        // the run under the waiting OK handler nor be lost in a crash.
        PostMessageW(GetWindow(program.Dialog(), GW_OWNER), WM_CLOSE, 0, 0);
        Sleep(200);
        c.Check(IsWindow(box) && program.Running(), L"a close request leaves the message box up");
        if (buttons.size() == 1) {
            c.Equal(GetDlgCtrlID(buttons[0]), IDOK, L"the message box's button");
            PostMessageW(buttons[0], BM_CLICK, 0, 0);
        }
        for (int waited = 0; waited < 5000 && IsWindow(box); waited += 50)
            Sleep(50);
        c.Check(!IsWindow(box), L"the message box closes with its OK button");
        if (step.Kind == Action::ExpectLastMessage)
            c.Check(WaitForSingleObject(program.Process(), 5000) == WAIT_OBJECT_0, L"the run ends after the message");
        else
            c.Check(program.Running() && IsWindowEnabled(program.Dialog()),
                    L"the dialog stays open after the message");
        break;
    }
    }
}

void CompareFile(Case& c, const Program& program, const std::wstring& nativeFolder, const std::wstring& name)
{
    std::string actual;
    std::string expected;
    const bool haveActual = ReadBytes(program.File(name), actual);
    const bool haveExpected = ReadBytes(JoinPath(nativeFolder, name), expected);
    if (!c.Check(haveActual == haveExpected, name + (haveActual ? L" written, but the native program left none"
                                                                 : L" missing, but the native program wrote one")))
        return;
    if (haveActual)
        c.Bytes(actual, expected, name);
}

}  // namespace

void WritePlan(const std::wstring& planFolder)
{
    for (const Scenario& scenario : Scenarios()) {
        const std::wstring folder = JoinPath(planFolder, scenario.Id);
        RemoveTree(folder);
        MakeFolder(JoinPath(folder, L"in"));
        if (scenario.HasExchange)
            WriteBytes(JoinPath(folder, L"in\\JWC_TEMP.TXT"), scenario.Exchange);
        if (scenario.HasSettings)
            WriteBytes(JoinPath(JoinPath(folder, L"in"), KindOf(scenario.Arguments).SettingsFile), scenario.Settings);
        if (!scenario.Arguments.empty())
            WriteBytes(JoinPath(folder, L"arguments.txt"), Utf8(scenario.Arguments));
        std::vector<std::wstring> output;
        WriteBytes(JoinPath(folder, L"script.txt"), Utf8(NativeScript(scenario, output)));
    }
}

void RunScenarios(const Settings& settings, const std::vector<std::wstring>& only, const std::wstring& suffix,
                  bool withPreview)
{
    if (only.empty() && !withPreview && (!HostSample(L"host-four-points.txt") || !HostSample(L"host-free-size.txt")))
        Print(L"skipped: runs on the host's own files (its samples folder is absent); our host-format fixtures "
              L"were run instead");
    for (const Scenario& scenario : Scenarios()) {
        if (!only.empty() && std::find(only.begin(), only.end(), scenario.Id) == only.end())
            continue;
        // With the preview open the program must leave the same files.
        Case c(L"run: " + scenario.Id + suffix);
        const std::wstring plan = JoinPath(settings.Plan, scenario.Id);
        if (!c.Check(Exists(JoinPath(plan, L"native")), L"no result of the native program in " + plan))
            continue;

        // The native program met the same checks and messages.
        std::vector<std::wstring> expectedOutput;
        NativeScript(scenario, expectedOutput);
        std::string stdoutBytes;
        ReadBytes(JoinPath(plan, L"stdout.txt"), stdoutBytes);
        std::vector<std::wstring> nativeOutput;
        std::wstring all = Wide(stdoutBytes);
        for (std::size_t start = 0; start < all.size();) {
            std::size_t end = all.find(L'\n', start);
            if (end == std::wstring::npos)
                end = all.size();
            const std::wstring line = all.substr(start, end - start);
            if (line.rfind(L"focus: ", 0) == 0 || line.rfind(L"message: ", 0) == 0)
                nativeOutput.push_back(line);
            start = end + 1;
        }
        std::wstring joinedExpected, joinedNative;
        for (const std::wstring& line : expectedOutput)
            joinedExpected += line + L" | ";
        for (const std::wstring& line : nativeOutput)
            joinedNative += line + L" | ";
        c.Equal(joinedNative, joinedExpected, L"native program's focus moves and messages");

        const std::wstring folder =
            JoinPath(withPreview ? JoinPath(settings.Root, L"preview-open") : settings.Root, scenario.Folder);
        RemoveTree(folder);
        Program program(settings.Executable, folder);
        const KindFacts& kind = KindOf(scenario.Arguments);
        program.SetArguments(scenario.Arguments, kind.Caption);
        if (scenario.HasExchange)
            WriteBytes(program.File(L"JWC_TEMP.TXT"), scenario.Exchange);
        if (scenario.HasSettings)
            WriteBytes(program.File(kind.SettingsFile), scenario.Settings);
        if (withPreview)
            WriteBytes(program.File(L"q308.ini"), PreviewOpenIni);
        if (!program.Start(c))
            continue;
        if (withPreview)
            c.Check(PreviewShown(program), L"the preview is open");
        if (scenario.Inspect)
            scenario.Inspect(program, c);
        for (const Step& step : scenario.Steps) {
            if (!program.Running())
                break;
            RunStep(program, c, step);
        }
        program.WaitForExit(c);
        CompareFile(c, program, JoinPath(plan, L"native"), L"JWC_TEMP.TXT");
        bool tmpLeft = Exists(program.File(L"JWC_TEMP.TXT.tmp")) || Exists(program.File(L"q308.ini.tmp"));
        // Each settings file once: the chains share their single kinds'.
        for (const wchar_t* settingsFile : {L"q304.dat", L"q308h.dat", L"q308a.dat"}) {
            CompareFile(c, program, JoinPath(plan, L"native"), settingsFile);
            tmpLeft = tmpLeft || Exists(program.File(std::wstring(settingsFile) + L".tmp"));
        }
        c.Check(!tmpLeft, L"no temporary file left behind");
        std::string ini;
        c.Check(ReadBytes(program.File(L"q308.ini"), ini) && (withPreview || ini == PreviewClosedIni),
                L"q308.ini kept, closed where the user had closed the preview: " + Hex(ini));
    }
}

}  // namespace wt
