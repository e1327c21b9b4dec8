// Files the program cannot read or write, and positions it cannot use: the
// dialog still opens, the program never crashes and loses nothing the user
// could have kept.
#include "WineTest.h"

#include <algorithm>

namespace wt {

namespace {

std::string SettingsAt(const wchar_t* left, const wchar_t* top)
{
    std::wstring text = std::wstring(left) + L"\r\n" + top + L"\r\n";
    for (const wchar_t* line : {L"0", L"0", L"4", L"3", L"2", L"1", L"", L"", L"0.5", L"2", L"2", L"3", L"15", L"2",
                                L"0", L"0", L"0", L"0", L"0", L"0"})
        text += std::wstring(line) + L"\r\n";
    return Sjis(text);
}

// The exchange file is held open without sharing while the program runs:
// reading it at start and writing it at the end each give up after waiting
// a while; the user is told, and Cancel ends the program with a failure.
void CheckLockedExchange(const Settings& settings)
{
    Case c(L"locked exchange file");
    Program program(settings.Executable, JoinPath(settings.Root, L"locked"));
    const std::string sample = Sample(L"host-four-points.txt");
    WriteBytes(program.File(L"JWC_TEMP.TXT"), sample);
    HANDLE lock = CreateFileW(program.File(L"JWC_TEMP.TXT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    c.Check(lock != INVALID_HANDLE_VALUE, L"cannot lock the exchange file");
    if (program.Start(c)) {
        // Nothing could be read: the list shows the model's initial text types.
        const std::vector<std::wstring> items = ComboItems(program.Control(L"ComboBox3"));
        c.Equal(static_cast<long long>(items.size()), 11, L"ComboBox3 items");
        if (!items.empty())
            c.Equal(items[0], L"現在の文字種(No1)", L"ComboBox3 item 0");
        program.PostClick(program.Control(L"Button2"));
        AnswerHandBackBox(c, program, IDCANCEL);
        program.WaitForExit(c, 15000, 1);
    }
    CloseHandle(lock);
    std::string after;
    c.Check(ReadBytes(program.File(L"JWC_TEMP.TXT"), after) && after == sample,
            L"the locked file is left as it was");
    c.Check(!Exists(program.File(L"JWC_TEMP.TXT.tmp")), L"no temporary file left behind");
}

// An exchange file that is a folder cannot be read or replaced: the user
// is told at once, without a wait.
// Under each kind, the box bears that kind's title.
void CheckFolderAsExchange(const Settings& settings, const std::wstring& argument)
{
    Case c(L"exchange file that is a folder" + (argument.empty() ? L"" : L", " + argument));
    Program program(settings.Executable, JoinPath(settings.Root, L"folder-exchange" + argument.substr(argument.empty() ? 0 : 1)));
    program.SetArguments(argument, KindOf(argument).Caption);
    MakeFolder(program.File(L"JWC_TEMP.TXT"));
    if (program.Start(c)) {
        const ULONGLONG closed = GetTickCount64();
        PostMessageW(program.Dialog(), WM_CLOSE, 0, 0);
        program.WaitForMessageBox(8000);
        const ULONGLONG asked = GetTickCount64() - closed;
        c.Check(asked < 1000, L"the box comes at once: " + Number(static_cast<long long>(asked)) + L" ms");
        AnswerHandBackBox(c, program, IDCANCEL);
        program.WaitForExit(c, 15000, 1);
    }
    c.Check(!Exists(program.File(L"JWC_TEMP.TXT.tmp")), L"no temporary file left behind");
}

// A read-only exchange file is not waited for: the user is told at once;
// Retry asks again while it stays read-only.
void CheckReadOnlyExchange(const Settings& settings)
{
    Case c(L"read-only exchange file");
    Program program(settings.Executable, JoinPath(settings.Root, L"read-only-exchange"));
    const std::string sample = Sample(L"host-four-points.txt");
    WriteBytes(program.File(L"JWC_TEMP.TXT"), sample);
    WriteBytes(program.File(L"q304.dat"), SettingsAt(L"120", L"130"));
    SetFileAttributesW(program.File(L"JWC_TEMP.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
    if (program.Start(c)) {
        const ULONGLONG pressed = GetTickCount64();
        program.PostClick(program.Control(L"Button1"));
        program.WaitForMessageBox(8000);
        const ULONGLONG asked = GetTickCount64() - pressed;
        c.Check(asked < 1000, L"the box comes at once: " + Number(static_cast<long long>(asked)) + L" ms");
        AnswerHandBackBox(c, program, IDRETRY);
        // The second attempt fails the same way and asks again.
        AnswerHandBackBox(c, program, IDCANCEL);
        program.WaitForExit(c, 15000, 1);
    }
    SetFileAttributesW(program.File(L"JWC_TEMP.TXT").c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string after;
    c.Check(ReadBytes(program.File(L"JWC_TEMP.TXT"), after) && after == sample, L"the read-only file is kept");
    c.Check(!Exists(program.File(L"JWC_TEMP.TXT.tmp")), L"no temporary file left behind");
}

// No temporary file can be made beside either file: the settings are
// written in place, and the host's input is not left there to be read back
// as this run's output.
void CheckUnwritableFolder(const Settings& settings)
{
    Case c(L"folder where no temporary file can be made");
    Program program(settings.Executable, JoinPath(settings.Root, L"unwritable"));
    WriteBytes(program.File(L"JWC_TEMP.TXT"), Sample(L"host-four-points.txt"));
    const std::string previous = SettingsAt(L"120", L"130");
    WriteBytes(program.File(L"q304.dat"), previous);
    MakeFolder(program.File(L"JWC_TEMP.TXT.tmp"));
    MakeFolder(program.File(L"q304.dat.tmp"));
    if (program.Start(c)) {
        program.PostClick(program.Control(L"Button1"));
        AnswerHandBackBox(c, program, IDCANCEL);
        program.WaitForExit(c, 15000, 1);
    }
    // No temporary file can be made beside q304.dat: the save writes the
    // file in place rather than never saving.
    std::string settingsAfter;
    const bool read = ReadBytes(program.File(L"q304.dat"), settingsAfter);
    c.Check(read && settingsAfter != previous &&
                std::count(settingsAfter.begin(), settingsAfter.end(), '\n') == 31,
            L"the settings are written in place: " + Hex(settingsAfter.substr(0, 40)));
    c.Check(!Exists(program.File(L"JWC_TEMP.TXT")), L"the host's input is not left as the output");
}

}  // namespace

void CheckSavedPosition(const Settings& settings, const wchar_t* left, const wchar_t* top, bool movedOnScreen)
{
    const std::wstring at = ExpectedDpi() == 96 ? L"" : L" at " + Number(ExpectedDpi()) + L" DPI";
    Case c(std::wstring(L"saved position ") + left + L", " + top + at);
    Program program(settings.Executable,
                    JoinPath(settings.Root, std::wstring(L"position") + left + L"-" + Number(ExpectedDpi())));
    WriteBytes(program.File(L"JWC_TEMP.TXT"), Sample(L"host-four-points.txt"));
    WriteBytes(program.File(L"q304.dat"), SettingsAt(left, top));
    if (!program.Start(c))
        return;
    RECT window{};
    GetWindowRect(program.Dialog(), &window);
    if (movedOnScreen) {
        c.Check(window.left >= 0 && window.top >= 0 && window.right <= GetSystemMetrics(SM_CXSCREEN) &&
                    window.bottom <= GetSystemMetrics(SM_CYSCREEN),
                L"the dialog is brought onto the screen: " + Number(window.left) + L", " + Number(window.top));
    } else {
        // Partly off the screen (taken at another density, say): moved the
        // least distance that shows it whole.
        c.Equal(window.left, std::max(0, std::stoi(left)), L"left as saved, or at the screen's edge");
        c.Equal(window.top, std::max(0, std::stoi(top)), L"top as saved, or at the screen's edge");
    }
    program.Click(program.Control(L"Button2"));
    program.WaitForExit(c);
}

namespace {

void CheckReadOnlySettings(const Settings& settings)
{
    Case c(L"read-only settings file");
    Program program(settings.Executable, JoinPath(settings.Root, L"read-only"));
    WriteBytes(program.File(L"JWC_TEMP.TXT"), Sample(L"host-four-points.txt"));
    WriteBytes(program.File(L"q304.dat"), SettingsAt(L"110", L"90"));
    SetFileAttributesW(program.File(L"q304.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    if (program.Start(c)) {
        RECT window{};
        GetWindowRect(program.Dialog(), &window);
        c.Check(window.left == 110 && window.top == 90, L"the read-only file is read");
        c.Equal(SendMessageW(program.Control(L"ComboBox3"), CB_GETCURSEL, 0, 0), 4, L"ComboBox3 from the file");
        PostMessageW(program.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        program.WaitForExit(c);
    }
    SetFileAttributesW(program.File(L"q304.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

void CheckFaults(const Settings& settings)
{
    CheckLockedExchange(settings);
    for (const wchar_t* argument : {L"", L"/h", L"/a"})
        CheckFolderAsExchange(settings, argument);
    CheckReadOnlyExchange(settings);
    CheckUnwritableFolder(settings);
    CheckSavedPosition(settings, L"5000", L"4000", true);
    CheckSavedPosition(settings, L"-50", L"10", false);
    CheckReadOnlySettings(settings);
}

}  // namespace wt
