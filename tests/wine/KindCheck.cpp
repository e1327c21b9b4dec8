// The kinds other than the vertical one as the user meets them beyond the
// whole runs: the preview names the kind, and an argument the program does
// not know is named in a message box while the host gets "nothing drawn".
#include "WineTest.h"

namespace wt {

namespace {

void CheckPreviewTitles(const Settings& settings)
{
    for (const KindFacts& kind : Kinds()) {
        Case c(std::wstring(L"preview of ") + kind.Caption);
        // Named by the argument: a chain shares its settings file with its single kind.
        const std::wstring argument = kind.Argument;
        Program program(settings.Executable,
                        JoinPath(settings.Root, L"kind-preview" + (argument.empty() ? L"" : L"-" + argument.substr(1))));
        program.SetArguments(kind.Argument, kind.Caption);
        WriteBytes(program.File(L"JWC_TEMP.TXT"), Sample(L"host-four-points.txt"));
        WriteBytes(program.File(L"q308.ini"), PreviewOpenIni);
        if (!program.Start(c))
            continue;
        c.Check(PreviewShown(program), std::wstring(L"a preview titled \"プレビュー - ") + kind.Caption + L"\"");
        program.Click(program.Control(L"Button2"));
        program.WaitForExit(c);
    }
}

void CheckUnknownArgument(const Settings& settings, const std::wstring& arguments, const std::wstring& named)
{
    Case c(L"unknown argument " + arguments);
    Program program(settings.Executable, JoinPath(settings.Root, L"unknown-argument"));
    RemoveTree(program.File(L"q304.dat"));
    program.SetArguments(arguments, L"");
    WriteBytes(program.File(L"JWC_TEMP.TXT"), Sample(L"host-four-points.txt"));
    if (!program.StartOnly(c))
        return;
    const HWND box = program.WaitForMessageBox();
    if (c.Check(box != nullptr, L"a message box names the argument")) {
        const std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
        c.Check(text.find(L"「" + named + L"」") != std::wstring::npos, L"the message names " + named + L": " + text);
        c.Check(text.find(L"/h") != std::wstring::npos && text.find(L"/a") != std::wstring::npos,
                L"the message says which arguments there are");
        bool icon = false;
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child))
                icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
        c.Check(icon, L"the message box shows an icon");
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    }
    program.WaitForExit(c, 15000, 2);
    std::string after;
    c.Check(ReadBytes(program.File(L"JWC_TEMP.TXT"), after) && after == "hq\r\n",
            L"the host finds a run that drew nothing");
    for (const KindFacts& kind : Kinds())
        c.Check(!Exists(program.File(kind.SettingsFile)), std::wstring(kind.SettingsFile) + L" not written");
}

}  // namespace

void CheckKinds(const Settings& settings)
{
    CheckPreviewTitles(settings);
    CheckUnknownArgument(settings, L"/x", L"/x");
    CheckUnknownArgument(settings, L"/h /a", L"/a");
    CheckUnknownArgument(settings, L"\"/水平\"", L"/水平");
}

}  // namespace wt
