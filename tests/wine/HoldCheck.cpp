// Files another program holds for a while, as virus scanners, the search
// indexer and sync clients do with a file just written: a hold that passes
// is waited out and the dimension still reaches the host; one that lasts
// is put to the user, who may retry once it is gone or give up.
#include "WineTest.h"

#include <algorithm>
#include <memory>

namespace wt {

namespace {

const wchar_t Exchange[] = L"JWC_TEMP.TXT";

// Another program's handle on a file, opened at once and closed after a
// time by a thread of its own, or when released.
class Holder {
public:
    Holder(const std::wstring& path, DWORD share, DWORD milliseconds) : milliseconds_(milliseconds)
    {
        file_ = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (file_ != INVALID_HANDLE_VALUE)
            thread_ = CreateThread(nullptr, 0, Hold, this, 0, nullptr);
    }
    ~Holder() { Release(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool Held() const { return thread_ != nullptr; }
    void Release()
    {
        SetEvent(stop_);
        if (thread_ != nullptr) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        if (stop_ != nullptr)
            CloseHandle(stop_);
        stop_ = nullptr;
    }

private:
    static DWORD WINAPI Hold(void* parameter)
    {
        auto* self = static_cast<Holder*>(parameter);
        WaitForSingleObject(self->stop_, self->milliseconds_);
        CloseHandle(self->file_);
        return 0;
    }

    DWORD milliseconds_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
};

// A scanner that opens a file the moment it appears (sharing read and
// write, not deletion) and holds it for a time.
class Grabber {
public:
    Grabber(std::wstring path, DWORD milliseconds) : path_(std::move(path)), milliseconds_(milliseconds)
    {
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    }
    ~Grabber()
    {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    Grabber(const Grabber&) = delete;
    Grabber& operator=(const Grabber&) = delete;

    bool Grabbed() const { return grabbed_; }

private:
    static DWORD WINAPI Watch(void* parameter)
    {
        auto* self = static_cast<Grabber*>(parameter);
        while (WaitForSingleObject(self->stop_, 0) == WAIT_TIMEOUT) {
            const HANDLE file = CreateFileW(self->path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                self->grabbed_ = true;
                Sleep(self->milliseconds_);
                CloseHandle(file);
                return 0;
            }
        }
        return 0;
    }

    std::wstring path_;
    DWORD milliseconds_;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    volatile bool grabbed_ = false;
};

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(JoinPath(folder, L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring Joined(const std::vector<std::wstring>& names)
{
    std::wstring text;
    for (const std::wstring& name : names)
        text += (text.empty() ? L"" : L" ") + name;
    return text;
}

// Dialog at (120, 130), the value in text type 3: OK draws at once.
std::string ChosenSettings()
{
    std::wstring text;
    for (const wchar_t* line : {L"120", L"130", L"0", L"0", L"4", L"3", L"2", L"1", L"", L"", L"0.5", L"2", L"2", L"3",
                                L"15", L"2", L"0", L"0", L"0", L"0", L"0", L"0"})
        text += std::wstring(line) + L"\r\n";
    return Sjis(text);
}

ULONGLONG Since(ULONGLONG start) { return GetTickCount64() - start; }

// What a held run is to leave: the exchange file's bytes, and the folder's
// files besides q308.exe.
struct Expected {
    std::string Exchange;
    std::wstring Files;
};

// One run: the program started on the host's sample; then the file named
// held (share as given) from just before the button is pressed.
struct HeldRun {
    const wchar_t* Name;
    const wchar_t* Held;  // nullptr: nothing
    DWORD Share;
    DWORD Milliseconds;
    const wchar_t* Button;
    bool PreviewOpen = false;
};

std::string RunHeld(const Settings& settings, const HeldRun& run, Case& c, const std::wstring& folder)
{
    Program program(settings.Executable, JoinPath(settings.Root, folder));
    WriteBytes(program.File(Exchange), Sample(L"host-four-points.txt"));
    WriteBytes(program.File(L"q304.dat"), ChosenSettings());
    if (run.PreviewOpen)
        WriteBytes(program.File(L"q308.ini"), PreviewOpenIni);
    if (!program.Start(c))
        return {};
    std::unique_ptr<Holder> holder;
    if (run.Held != nullptr) {
        holder = std::make_unique<Holder>(program.File(run.Held), run.Share, run.Milliseconds);
        c.Check(holder->Held(), std::wstring(L"cannot hold ") + run.Held);
    }
    const ULONGLONG pressed = GetTickCount64();
    program.PostClick(program.Control(run.Button));
    if (program.WaitForExit(c))
        Print(std::wstring(L"  ") + run.Name + L": ended " + Number(static_cast<long long>(Since(pressed))) +
              L" ms after the press");
    holder.reset();
    std::string exchange;
    ReadBytes(program.File(Exchange), exchange);
    return exchange;
}

void CheckPassingHolds(const Settings& settings, const std::string& drawn)
{
    const DWORD read = FILE_SHARE_READ;
    const DWORD readDelete = FILE_SHARE_READ | FILE_SHARE_DELETE;
    const struct {
        HeldRun Run;
        std::string Exchange;
        std::wstring Files;
    } cases[] = {
        {{L"JWC_TEMP.TXT held 300 ms at OK", Exchange, read, 300, L"Button1"}, drawn, L"JWC_TEMP.TXT q304.dat q308.exe"},
        {{L"JWC_TEMP.TXT held 300 ms at OK, sharing deletion", Exchange, readDelete, 300, L"Button1"},
         drawn,
         L"JWC_TEMP.TXT q304.dat q308.exe"},
        {{L"JWC_TEMP.TXT held 300 ms at Cancel", Exchange, read, 300, L"Button2"}, "hq\r\n",
         L"JWC_TEMP.TXT q304.dat q308.exe"},
        {{L"q304.dat held 300 ms at OK", L"q304.dat", read, 300, L"Button1"}, drawn, L"JWC_TEMP.TXT q304.dat q308.exe"},
        {{L"q308.ini held 300 ms at Cancel", L"q308.ini", read, 300, L"Button2", true}, "hq\r\n",
         L"JWC_TEMP.TXT q304.dat q308.exe q308.ini"},
    };
    int number = 0;
    for (const auto& k : cases) {
        Case c(k.Run.Name);
        const std::wstring folder = L"hold-" + Number(++number);
        const std::string exchange = RunHeld(settings, k.Run, c, folder);
        c.Bytes(exchange, k.Exchange, L"the exchange file");
        c.Equal(Joined(FilesIn(JoinPath(settings.Root, folder))), k.Files, L"the files left");
        std::string saved;
        if (std::wstring(k.Run.Held) == L"q304.dat")
            c.Check(ReadBytes(JoinPath(JoinPath(settings.Root, folder), L"q304.dat"), saved) && saved != ChosenSettings() &&
                        std::count(saved.begin(), saved.end(), '\n') == 31,
                    L"this run's settings are saved");
        if (k.Run.PreviewOpen)
            c.Check(ReadBytes(JoinPath(JoinPath(settings.Root, folder), L"q308.ini"), saved) &&
                        saved.find("Left=") != std::string::npos,
                    L"the preview's place is saved: " + Hex(saved));
    }
}

// A scanner takes the temporary file as it appears: the replace waits.
void CheckGrabbedTemporary(const Settings& settings, const std::string& drawn)
{
    Case c(L"JWC_TEMP.TXT.tmp grabbed as it appears");
    bool grabbed = false;
    // The temporary exists for a few milliseconds only; the scanner may miss it.
    for (int attempt = 1; attempt <= 5 && !grabbed; ++attempt) {
        Program program(settings.Executable, JoinPath(settings.Root, L"grabbed-" + Number(attempt)));
        WriteBytes(program.File(Exchange), Sample(L"host-four-points.txt"));
        WriteBytes(program.File(L"q304.dat"), ChosenSettings());
        if (!program.Start(c))
            return;
        ULONGLONG pressed = 0;
        {
            Grabber grabber(program.File(L"JWC_TEMP.TXT.tmp"), 300);
            pressed = GetTickCount64();
            program.PostClick(program.Control(L"Button1"));
            if (!program.WaitForExit(c))
                return;
            grabbed = grabber.Grabbed();
        }
        if (grabbed)
            Print(L"  the temporary grabbed: ended " + Number(static_cast<long long>(Since(pressed))) +
                  L" ms after OK (attempt " + Number(attempt) + L")");
        std::string exchange;
        ReadBytes(program.File(Exchange), exchange);
        c.Bytes(exchange, drawn, L"the exchange file");
        c.Equal(Joined(FilesIn(program.Folder())), L"JWC_TEMP.TXT q304.dat q308.exe", L"the files left");
    }
    c.Check(grabbed, L"the scanner never caught the temporary file");
}

// Held for 5 s: the user is asked; Retry once the hold is over writes the
// dimension, Cancel leaves what the host reads as nothing drawn.
void CheckLastingHold(const Settings& settings, const std::string& drawn, int answer, DWORD share,
                      const std::wstring& name)
{
    Case c(name);
    Program program(settings.Executable, JoinPath(settings.Root, L"lasting-" + Number(answer) + L"-" + Number(share)));
    const std::string input = Sample(L"host-four-points.txt");
    WriteBytes(program.File(Exchange), input);
    WriteBytes(program.File(L"q304.dat"), ChosenSettings());
    if (!program.Start(c))
        return;
    Holder holder(program.File(Exchange), share, 5000);
    const ULONGLONG pressed = GetTickCount64();
    program.PostClick(program.Control(L"Button1"));
    const HWND box = program.WaitForMessageBox(8000);
    const ULONGLONG asked = Since(pressed);
    c.Check(box != nullptr && asked >= 1900 && asked < 5000,
            L"the box comes once the writer has waited: " + Number(static_cast<long long>(asked)) + L" ms");
    Print(L"  " + name + L": asked " + Number(static_cast<long long>(asked)) + L" ms after OK");
    if (answer == IDRETRY)
        holder.Release();  // the user closes the other program first
    AnswerHandBackBox(c, program, answer);
    program.WaitForExit(c, 15000, answer == IDRETRY ? 0 : 1);
    holder.Release();
    std::string exchange;
    const bool present = ReadBytes(program.File(Exchange), exchange);
    if (answer == IDRETRY)
        c.Bytes(exchange, drawn, L"the exchange file after Retry");
    else if (share & FILE_SHARE_DELETE)
        c.Check(!present, L"the host's input, deleted while held, is gone: " + Hex(exchange.substr(0, 40)));
    else
        c.Bytes(exchange, input, L"the host's input, held against deletion, is left: nothing drawn");
    const std::wstring files = answer == IDRETRY || !(share & FILE_SHARE_DELETE) ? L"JWC_TEMP.TXT q304.dat q308.exe"
                                                                                  : L"q304.dat q308.exe";
    c.Equal(Joined(FilesIn(program.Folder())), files, L"the files left");
}

}  // namespace

bool AnswerHandBackBox(Case& c, const Program& program, int answer, DWORD milliseconds)
{
    const HWND box = program.WaitForMessageBox(milliseconds);
    if (!c.Check(box != nullptr, L"no box says the drawing could not be handed back"))
        return false;
    const std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
    const std::wstring path = program.File(Exchange);
    c.Check(text.rfind(L"寸法を Jw_cad に渡せませんでした。", 0) == 0, L"the box's text: " + text);
    // The file, then the system's reason on a line of its own.
    const std::size_t named = text.find(path + L"\n");
    c.Check(named != std::wstring::npos, L"the box names " + path + L": " + text);
    if (named != std::wstring::npos) {
        const std::size_t reason = named + path.size() + 1;
        c.Check(text.find(L'\n', reason) > reason, L"the box gives the system's reason: " + text);
    }
    c.Check(GetWindow(box, GW_OWNER) == program.Dialog(), L"the box belongs to the dialog");
    const HWND retry = GetDlgItem(box, IDRETRY);
    const HWND cancel = GetDlgItem(box, IDCANCEL);
    c.Check(retry != nullptr && IsWindowVisible(retry) && cancel != nullptr && IsWindowVisible(cancel) &&
                GetDlgItem(box, IDOK) == nullptr,
            L"the box has Retry and Cancel");
    const LONG retryStyle = retry != nullptr ? GetWindowLongW(retry, GWL_STYLE) & BS_TYPEMASK : 0;
    c.Check(retryStyle == BS_DEFPUSHBUTTON && program.Focus() == retry,
            L"Retry is the default button, with the focus: style " + Number(retryStyle));
    bool icon = false;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child))
            icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
    c.Check(icon, L"the box shows an icon");
    program.Click(answer == IDRETRY ? retry : cancel);
    // Gone before anyone looks for the next one.
    for (int waited = 0; waited < 3000 && IsWindow(box); waited += 20)
        Sleep(20);
    return true;
}

void CheckHolds(const Settings& settings)
{
    std::string drawn;
    {
        Case c(L"the dimension drawn with no file held");
        const HeldRun free{L"nothing held", nullptr, 0, 0, L"Button1"};
        drawn = RunHeld(settings, free, c, L"hold-free");
        c.Check(drawn.size() > 100 && drawn.rfind("lg", 0) == 0, L"the dimension's records: " + Hex(drawn.substr(0, 40)));
    }
    CheckPassingHolds(settings, drawn);
    CheckGrabbedTemporary(settings, drawn);
    CheckLastingHold(settings, drawn, IDRETRY, FILE_SHARE_READ, L"JWC_TEMP.TXT held 5 s, Retry after the hold");
    CheckLastingHold(settings, drawn, IDCANCEL, FILE_SHARE_READ, L"JWC_TEMP.TXT held 5 s, Cancel");
    CheckLastingHold(settings, drawn, IDCANCEL, FILE_SHARE_READ | FILE_SHARE_DELETE,
                     L"JWC_TEMP.TXT held 5 s sharing deletion, Cancel");
}

}  // namespace wt
