#pragma once
// The Windows test driver: starts q308.exe in folders of its own, works its
// dialog from outside as a user would, and checks windows and files. Texts
// are wide strings here; narrow literals stay ASCII, since the build turns
// narrow literals into Shift-JIS. Reports go to standard output in UTF-8.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace wt {

// ---- reporting --------------------------------------------------------

// One named group of checks; it passes when every check in it passes.
class Case {
public:
    explicit Case(std::wstring name);
    ~Case();
    Case(const Case&) = delete;
    Case& operator=(const Case&) = delete;

    bool Check(bool ok, const std::wstring& what);
    bool Equal(const std::wstring& actual, const std::wstring& expected, const std::wstring& what);
    bool Equal(long long actual, long long expected, const std::wstring& what);
    bool Bytes(const std::string& actual, const std::string& expected, const std::wstring& what);
    bool Failed() const { return failures_ > 0; }

private:
    std::wstring name_;
    int failures_ = 0;
};

void Print(const std::wstring& text);  // one line, UTF-8
// This process sees every window in its real pixels (per-monitor aware).
void MakeDpiAware();
int PassedCases();
int FailedCases();

// ---- text and files ---------------------------------------------------

std::string Utf8(const std::wstring& wide);
std::wstring Wide(const std::string& utf8);
std::string Sjis(const std::wstring& wide);
std::wstring FromSjis(const std::string& sjis);
std::wstring Hex(const std::string& bytes);
std::wstring Number(long long value);

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
bool ReadBytes(const std::wstring& path, std::string& bytes);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);
void RemoveTree(const std::wstring& path);
bool MakeFolder(const std::wstring& path);  // with its parents

// Exchange files in the host's manner: our fixtures (the samples folder),
// and the host's own files where their folder was given and exists.
std::string Sample(const std::wstring& name);
std::optional<std::string> HostSample(const std::wstring& name);
void SetSamplesFolders(const std::wstring& fixtures, const std::wstring& hostSamples);

// ---- the program under test -------------------------------------------

// Control geometry as the dialog must show it (client coordinates).
struct ExpectedControl {
    const wchar_t* Name;
    const wchar_t* Class;  // window class
    int Left, Top, Width, Height;
};
const std::vector<ExpectedControl>& ExpectedControls();
const ExpectedControl* FindExpected(const std::wstring& name);

// The static labels, at 96 DPI: text, position and font height.
struct ExpectedLabel {
    const wchar_t* Text;
    int Left, Top;
    int FontHeight;
};
const std::vector<ExpectedLabel>& ExpectedLabels();

// The density the dialog is expected at. The form is described in 96-DPI
// pixels; at another density every edge is scaled and rounded to nearest,
// halves away from zero. Control lookups follow it.
void SetExpectedDpi(int dpi);
int ExpectedDpi();
int Scaled(int value);
RECT ScaledRect(int left, int top, int width, int height);

// What the user sees of each kind of dimension the arguments choose.
struct KindFacts {
    const wchar_t* Argument;      // L"" for the vertical dimension
    const wchar_t* Caption;       // L"垂直寸法線Ｂ"
    const wchar_t* SettingsFile;  // L"q304.dat"
    const wchar_t* FirstHelpLine;
};
const std::vector<KindFacts>& Kinds();
// The kind of that argument; the vertical one for any other.
const KindFacts& KindOf(const std::wstring& argument);

class Program {
public:
    // Copies q308.exe into folder (created if needed).
    Program(const std::wstring& executable, const std::wstring& folder);
    ~Program();  // ends a program still running
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring File(const std::wstring& name) const { return JoinPath(folder_, name); }

    // The program's arguments, and the caption of the dialog they open
    // (the vertical dimension's without arguments).
    void SetArguments(const std::wstring& arguments, const std::wstring& caption);
    // Started as the first run: no q308.ini, so the preview opens by itself.
    void AsFirstRun() { firstRun_ = true; }
    // Starts it with the working folder elsewhere and waits for the dialog.
    bool Start(Case& c);
    // Starts it where it is to show no dialog; false when it cannot be started.
    bool StartOnly(Case& c);
    HWND Dialog() const { return dialog_; }
    const std::wstring& Caption() const { return caption_; }
    const std::wstring& Arguments() const { return arguments_; }
    // A top-level window of the program with that title, shown or not.
    HWND TopWindow(const std::wstring& title) const;
    DWORD ThreadId() const { return threadId_; }
    HANDLE Process() const { return process_.hProcess; }
    bool Running() const;
    // Waits for the program to end; true when it ended with that status.
    bool WaitForExit(Case& c, DWORD milliseconds = 15000, DWORD status = 0);

    // The window of a control, found by class and position; a radio
    // group's frame, or with item >= 0 its item-th button.
    HWND Control(const std::wstring& name, int item = -1) const;
    std::vector<HWND> RadioButtons(const std::wstring& group) const;
    std::vector<HWND> Children() const;
    HWND Focus() const;
    // Waits until the focus is on window; false on timeout.
    bool WaitForFocus(HWND window, DWORD milliseconds = 3000) const;
    // A message box the dialog is waiting on (or, where no dialog was shown,
    // one of the program's main thread), or nullptr after the timeout.
    HWND WaitForMessageBox(DWORD milliseconds = 5000) const;

    // User actions.
    void SetText(const std::wstring& name, const std::wstring& text) const;
    void SetIndex(const std::wstring& name, int index) const;  // list, radio group or check box
    void Click(HWND button) const;                             // returns once handled
    void PostClick(HWND button) const;                         // returns at once
    void PostKey(WORD key) const;                              // to the focused control
    void Type(HWND window, const std::wstring& text) const;
    void Move(int left, int top) const;
    // As Windows tells the dialog it was dragged onto a monitor of that
    // density, suggesting the rectangle it should take there.
    // To the dialog, or to another window of the program.
    void SendDpiChanged(int dpi, const RECT& suggested, HWND target = nullptr) const;

private:
    std::wstring executable_;
    std::wstring folder_;
    std::wstring arguments_;
    std::wstring caption_ = L"垂直寸法線Ｂ";
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
    DWORD threadId_ = 0;
    bool firstRun_ = false;
};

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
RECT RectInParent(HWND window);
std::vector<std::wstring> ComboItems(HWND box);

// ---- the checks -------------------------------------------------------

struct Settings {
    std::wstring Executable;  // q308.exe to test
    std::wstring Root;        // scratch folder for the runs
    std::wstring Plan;        // scenario folders with the native program's results
};

void CheckPlatform(const Settings& settings);
void CheckFullWidth();
// With the preview open (a q308.ini says so at start), or without q308.ini.
void CheckDialog(const Settings& settings, bool withPreview);
void WritePlan(const std::wstring& planFolder);
// Every scenario, or only those named; suffix tells the runs apart. With
// the preview open (a q308.ini says so at start) the files must be the same.
void RunScenarios(const Settings& settings, const std::vector<std::wstring>& only = {},
                  const std::wstring& suffix = L"", bool withPreview = false);
void CheckPreview(const Settings& settings);
// Whether the program's preview window is shown, after waiting a moment for
// it to be shown (or hidden, with expected false).
bool PreviewShown(const Program& program, bool expected = true);
inline constexpr char PreviewOpenIni[] = "[Preview]\r\nOpen=1\r\n";
// What a user who closed the preview leaves; every run starts with it
// unless it brings a q308.ini of its own or asks for a first run.
inline constexpr char PreviewClosedIni[] = "[Preview]\r\nOpen=0\r\n";
void CheckFaults(const Settings& settings);
// Files held for a while by another program, as a virus scanner does.
void CheckHolds(const Settings& settings);
// The box that says the drawing could not be handed to the host: waits for
// it, checks it, and answers it with IDRETRY or IDCANCEL. False when no
// such box appeared in time.
bool AnswerHandBackBox(Case& c, const Program& program, int answer, DWORD milliseconds = 8000);
// A settings file that places the dialog at (left, top): kept there, or
// brought onto the nearest screen when it would be out of reach.
void CheckPreviewBesideDialog(const Settings& settings, int dpi);
void CheckSavedPosition(const Settings& settings, const wchar_t* left, const wchar_t* top, bool movedOnScreen);
void CheckDensities(const Settings& settings);
// The kinds other than the vertical one as the user meets them, and an
// argument the program does not know.
void CheckKinds(const Settings& settings);
// Dimension after dimension, turned on and off from the dialog's system menu.
void CheckRepeat(const Settings& settings);

// ---- the preview worked with the mouse (PreviewSupport.cpp) -------------

// The preview's scene: a vertical dimension 40 long beside a rectangle of
// the host's, and settings that place the dialog at (left, top).
std::string PreviewScene();
std::string PreviewSceneSettings(int left, int top);
// The preview window once it is shown (or hidden); nullptr when it is not.
HWND PreviewWindowOf(const Program& program, bool shown = true);
// Starts the program on drawing with settings (its kind's file) that place
// the dialog at (left, top) and a q308.ini that opens the preview; the
// preview's window, or nullptr (a failed check) when the program or the
// preview did not come up.
HWND StartWithPreview(Program& program, Case& c, const std::string& drawing, int left = 100, int top = 120);
HWND PreviewStripOf(HWND preview);
std::wstring StripText(HWND preview);
std::vector<std::wstring> StripLines(HWND preview);
// The first line of the strip that starts so.
std::optional<std::wstring> LineStartingWith(HWND preview, const std::wstring& start);
bool WaitForStripChange(HWND preview, const std::wstring& before, DWORD milliseconds = 2000);
// The last "（x, y）" of a line of the strip, as its two texts.
std::optional<std::pair<std::wstring, std::wstring>> PointInStrip(const std::wstring& line);

// The preview's picture as the screen shows it (above its strip).
struct Picture {
    int Width = 0, Height = 0;
    POINT Origin{};  // its top left on the screen
    std::vector<COLORREF> Pixels;
    COLORREF At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
    int Count(COLORREF colour) const;
};
Picture CapturePicture(HWND preview);
// The centres of the picked points' marks (arms arm pixels long), on the screen.
std::vector<POINT> PickMarks(const Picture& picture, int arm);
// A picked point where the host put it, in drawing units.
struct PickedAt {
    int Number;
    double x, y;
};
// The mark of that picked point among marks, told from the others by where
// the picks lie in the drawing.
std::optional<POINT> MarkOf(const std::vector<POINT>& marks, const std::vector<PickedAt>& picks, int number);
// Where the drawing point (x, y) shows on the screen, the view's scale and
// place told by the marks of the picks farthest left and right.
std::optional<POINT> ScreenPointOf(const std::vector<POINT>& marks, const std::vector<PickedAt>& picks, double x,
                                   double y);

// The real mouse and keyboard, as the user works them.
void MouseTo(POINT screen);
void MouseButton(DWORD flags);  // MOUSEEVENTF_LEFTDOWN, ...
void MouseWheel(int delta);
void PressKeys(std::initializer_list<std::pair<WORD, bool>> keys);  // (key, up)

// A run whose native twin can be written only now: its input, settings
// (its kind's file), arguments and script, and the files q308.exe left,
// under SCRATCH\deferred\id, for run-wine-tests.sh to run the native
// program on and compare.
void DeferNativeComparison(const Settings& settings, const std::wstring& id, const std::string& exchange,
                           const std::string& settingsFile, const std::wstring& script, const Program& program);

inline POINT Offset(POINT p, int dx, int dy) { return {p.x + dx, p.y + dy}; }
// One move of a drag, waited for until the strip shows it.
bool DragTo(HWND preview, POINT at);
// A drag from the grip at mark, by small steps, ended by Escape: the time
// each frame took, as the program measured it (recomputing and painting
// one mouse move).
std::vector<double> FrameTimes(const Program& program, HWND preview, POINT mark, Case& c);

// The preview worked with the mouse: points dragged, Escape and a lost
// capture, the way back, zoom, pan and framing, and the time a frame takes.
void CheckPreviewDrag(const Settings& settings);
// A chain's span values dragged, and a frame's time on a row of many spans.
void CheckChainDrag(const Settings& settings);
void CheckPreviewView(const Settings& settings);
// Q308_SAMPLE_DRAWING names the project's sample drawing.
void CheckPreviewSpeed(const Settings& settings);
// Drawings handed over whole: the first view, and the time every notch,
// pan and resize takes to answer and its exact picture to follow.
void CheckPreviewPaint(const Settings& settings);
// Wholly on the screen at the current density, and the keys with the
// dialog after the preview was moved and resized with the mouse.
void CheckPreviewOnScreen(const Settings& settings, int dpi);
void CheckPreviewMovedKeepsKeys(const Settings& settings);

}  // namespace wt
