// The dialog on a text console. On a terminal the form is shown as text and
// the user edits it line by line; otherwise standard input is a script of
// commands, one per line:
//
//   NAME=VALUE   Edit1..Edit9: the text; ComboBox1..5, RadioGroup1..2: the
//                item index (-1: none); CheckBox1..4: 0 or 1;
//                Left, Top: the dialog's position;
//                Point3, Point4: "X Y", where the point is dragged to in
//                the preview (drawing units), for the rest of the run;
//                with a chain kind Point4.K: span K's value (1-based);
//                Repeat: 0 or 1, the menu's choice of dimension after
//                dimension (OK then also writes "hr")
//   Preview=FILE writes the picture of what OK would draw now (the preview
//                window's picture, its status line as text) as SVG to FILE
//   OK           presses Button1
//   Cancel       presses Button2
//
// Standard output gets "focus: NAME", "message: TEXT" (a text of several
// lines on one), "preview: FILE" and "closed", and no other line starts
// with those words. When the exchange file cannot be written, its message
// is printed and, on a terminal, the user may try again; a script gives up,
// and the program then exits with status 1. The screen is UTF-8; the form and
// the files stay Shift-JIS.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "dialog/ChainConstruction.h"
#include "dialog/FormLayout.h"
#include "dialog/Frontend.h"
#include "dialog/Unit1.h"
#include "helpers/MyFunc.h"
#include "helpers/SjisText.h"
#include "platform/Charset.h"
#include "platform/Files.h"
#include "preview/LivePreview.h"
#include "preview/SvgWriter.h"

namespace {

std::string Screen(std::string_view sjis) { return platform::SjisToUtf8(std::string(sjis)); }

// A message's lines joined by blanks, so that it stays one line of output.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (const char c : text)
        if (c != '\n' && c != '\r')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    return line;
}

class ConsoleToolkit : public FormToolkit {
public:
    explicit ConsoleToolkit(bool interactive) : interactive_(interactive) {}

    void FocusControl(const std::string& controlName) override
    {
        std::cout << "focus: " << controlName << std::endl;
    }

    void ShowMessage(const std::string& sjisText) override
    {
        std::cout << "message: " << Screen(OneLine(sjisText)) << std::endl;
        if (interactive_)
            waitForOk_ = true;
    }

    bool AskRetry(const std::string& sjisText) override
    {
        std::cout << "message: " << Screen(OneLine(sjisText)) << std::endl;
        if (!interactive_)
            return false;
        // The terminal is back in line mode once the dialog has closed.
        std::cout << "[retry: r, cancel: c] " << std::flush;
        std::string answer;
        return std::getline(std::cin, answer) && (answer == "r" || answer == "retry");
    }

    void RepaintStatus(const std::string& sjisText) override
    {
        if (interactive_)
            std::cout << "[" << Screen(sjisText) << "]" << std::endl;
    }

    void CloseForm() override { closeRequested_ = true; }

    bool CloseRequested() const { return closeRequested_; }
    bool TakeWaitForOk()
    {
        const bool wait = waitForOk_;
        waitForOk_ = false;
        return wait;
    }

private:
    bool interactive_;
    bool closeRequested_ = false;
    bool waitForOk_ = false;
};

std::optional<int> ParseInt(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    std::size_t used = 0;
    try {
        const int value = std::stoi(text, &used);
        if (used == text.size())
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// Whole Shift-JIS characters, at most maxLength of them, as an edit box
// with a length limit takes a typed or pasted text.
std::string CutToLength(const std::string& sjis, int maxLength, bool& cut)
{
    cut = false;
    if (maxLength <= 0)
        return sjis;
    std::size_t i = 0;
    for (int count = 0; i < sjis.size(); ++count) {
        if (count == maxLength) {
            cut = true;
            break;
        }
        i += (IsLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size()) ? 2 : 1;
    }
    return sjis.substr(0, i);
}

// The control a command names: by name, or on a terminal by tab number.
const layout::ControlDescription* ControlForCommand(const std::string& name, bool interactive)
{
    if (const auto tab = ParseInt(name); tab && interactive) {
        for (const layout::ControlDescription& d : layout::Controls())
            if (d.TabOrder == *tab)
                return &d;
        return nullptr;
    }
    return layout::FindControl(name);
}

std::string ValueShown(TForm1& form, const layout::ControlDescription& d)
{
    const std::string name(d.Name);
    if (const TEdit* edit = form.EditNamed(name))
        return "\"" + Screen(edit->Text) + "\"";
    if (const TCheckBox* check = form.CheckBoxNamed(name))
        return check->Checked ? "[x]" : "[ ]";
    auto item = [](const std::vector<std::string>& items, int index) {
        if (index < 0 || index >= static_cast<int>(items.size()))
            return std::string("(none)");
        return std::to_string(index) + " " + Screen(items[index]);
    };
    if (const TComboBox* box = form.ComboBoxNamed(name))
        return item(box->Items, box->ItemIndex);
    if (const TRadioGroup* group = form.RadioGroupNamed(name))
        return item(group->Items, group->ItemIndex);
    return {};
}

void ShowControl(TForm1& form, const layout::ControlDescription& d, bool withItems)
{
    std::string label;
    if (const layout::LabelDescription* heading = layout::FindLabel(d.Name, layout::LabelRole::Heading))
        label += Screen(heading->Text);
    if (const layout::LabelDescription* caption = layout::FindLabel(d.Name, layout::LabelRole::Caption))
        label += Screen(caption->Text);
    if (label.empty())
        label = Screen(d.Caption);
    std::string line = (d.TabOrder < 10 ? " " : "") + std::to_string(d.TabOrder) + " " + std::string(d.Name) +
                       "  " + label + ": " + ValueShown(form, d);
    if (const layout::LabelDescription* unit = layout::FindLabel(d.Name, layout::LabelRole::Unit))
        line += " " + Screen(unit->Text);
    if (const layout::LabelDescription* note = layout::FindLabel(d.Name, layout::LabelRole::Note))
        line += "  " + Screen(note->Text);
    std::cout << line << "\n";
    if (!withItems)
        return;
    const std::string name(d.Name);
    const std::vector<std::string>* items = nullptr;
    if (const TComboBox* box = form.ComboBoxNamed(name))
        items = &box->Items;
    else if (const TRadioGroup* group = form.RadioGroupNamed(name))
        items = &group->Items;
    if (items == nullptr)
        return;
    std::string list = "      ";
    for (std::size_t i = 0; i < items->size(); ++i)
        list += " " + std::to_string(i) + "=" + Screen((*items)[i]);
    std::cout << list << "\n";
}

void ShowForm(TForm1& form)
{
    std::cout << "==== " << Screen(form.Caption) << " (" << Screen(form.ApplicationTitle) << ") ====\n";
    for (const std::string& line : form.Memo1.Lines)
        std::cout << "  | " << Screen(line) << "\n";
    for (const layout::ControlDescription& d : layout::Controls())
        if (d.TabOrder >= 0 && d.Kind != layout::ControlKind::Button)
            ShowControl(form, d, true);
    std::cout << "[" << Screen(form.LabelA1.Caption) << "]\n"
              << "Set a control with NAME=VALUE or NUMBER=VALUE; " << Screen(form.Button1.Caption) << ": OK, "
              << Screen(form.Button2.Caption) << ": Cancel or Esc; Point3=X Y, Point4=X Y: move the line or the value (a chain: Point4.K=X Y for span K); Preview=FILE: the picture of what OK "
                 "draws now as SVG; show: the form again"
              << "\nRepeat=1 or 0: " << Screen(RepeatItemText) << " (now " << (form.RepeatAfterOk ? 1 : 0) << ")"
              << std::endl;
}

// "X Y": two finite numbers in drawing units, separated by blanks.
std::optional<PointD> ParsePoint(const std::string& text)
{
    std::vector<std::string> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            numbers.push_back(text.substr(start, i - start));
    }
    if (numbers.size() != 2 || !IsNumberText(numbers[0]) || !IsNumberText(numbers[1]))
        return std::nullopt;
    return PointD{StrToFloatSafe(numbers[0]), StrToFloatSafe(numbers[1])};
}

// Applies one NAME=VALUE; false with a reason when it cannot.
bool SetControl(TForm1& form, const std::string& name, const std::string& utf8Value, bool interactive,
                std::string& error)
{
    // A picked point moved as a drag in the preview moves it.
    if (name == "Point3" || name == "Point4") {
        const std::optional<PointD> point = ParsePoint(utf8Value);
        if (!point) {
            error = name + " takes two numbers, x and y: " + utf8Value;
            return false;
        }
        (name == "Point3" ? form.MovedPoint3 : form.MovedPoint4) = point;
        return true;
    }
    // A chain's span value: Point4.K, K from 1 to the row's spans.
    if (name.starts_with("Point4.")) {
        const auto span = ParseInt(name.substr(7));
        const int spans = static_cast<int>(ChainPointsOfModel().size()) - 1;
        if (!IsChain(form.Kind) || !span || *span < 1 || *span > spans) {
            error = name + ": no such span" + (IsChain(form.Kind) ? " (1.." + std::to_string(spans) + ")" : "");
            return false;
        }
        const std::optional<PointD> point = ParsePoint(utf8Value);
        if (!point) {
            error = name + " takes two numbers, x and y: " + utf8Value;
            return false;
        }
        form.MovedSpanValues[*span] = *point;
        return true;
    }
    if (name == "Repeat") {
        const auto value = ParseInt(utf8Value);
        if (!value || (*value != 0 && *value != 1)) {
            error = "Repeat takes 0 or 1";
            return false;
        }
        form.RepeatAfterOk = *value == 1;
        return true;
    }
    if (name == "Left" || name == "Top") {
        const auto value = ParseInt(utf8Value);
        if (!value) {
            error = "not an integer: " + utf8Value;
            return false;
        }
        (name == "Left" ? form.Left : form.Top) = *value;
        return true;
    }
    const layout::ControlDescription* d = ControlForCommand(name, interactive);
    if (d == nullptr) {
        error = "no control named " + name;
        return false;
    }
    const std::string controlName(d->Name);
    if (TEdit* edit = form.EditNamed(controlName)) {
        bool cut = false;
        edit->Text = CutToLength(platform::Utf8ToSjis(utf8Value), edit->MaxLength, cut);
        if (cut)
            std::cerr << controlName << " takes at most " << edit->MaxLength << " characters; the text was cut to \""
                      << Screen(edit->Text) << "\"" << std::endl;
        return true;
    }
    const auto value = ParseInt(utf8Value);
    if (TCheckBox* check = form.CheckBoxNamed(controlName)) {
        if (!value || (*value != 0 && *value != 1)) {
            error = controlName + " takes 0 or 1";
            return false;
        }
        check->Checked = *value == 1;
        return true;
    }
    TComboBox* box = form.ComboBoxNamed(controlName);
    TRadioGroup* group = form.RadioGroupNamed(controlName);
    if (box == nullptr && group == nullptr) {
        error = controlName + " cannot be set";
        return false;
    }
    if (!value) {
        error = controlName + " takes an item index";
        return false;
    }
    if (box)
        box->SetItemIndex(*value);
    else
        group->SetItemIndex(*value);
    return true;
}

enum class Command { None, Ok, Cancel, Show };

// The picture follows every change, as the preview window does, so that a
// value OK refuses shows the last good dimension.
void WritePreview(preview::LivePreview& live, const std::string& utf8Path)
{
    if (platform::WriteWholeFile(utf8Path, preview::WriteSvg(live.Current())))
        std::cout << "preview: " << utf8Path << std::endl;
    else
        std::cerr << "cannot write the preview to " << utf8Path << std::endl;
}

Command Execute(TForm1& form, preview::LivePreview& live, const std::string& line, bool interactive)
{
    if (line.empty())
        return Command::None;
    if (line == "OK" || (interactive && (line == "ok" || line == "o")))
        return Command::Ok;
    if (line == "Cancel" || (interactive && (line == "cancel" || line == "c")))
        return Command::Cancel;
    if (interactive && line == "show")
        return Command::Show;
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && line.substr(0, equals) == "Preview") {
        WritePreview(live, line.substr(equals + 1));
        return Command::None;
    }
    std::string error = "unknown command: " + line;
    if (equals != std::string::npos && SetControl(form, line.substr(0, equals), line.substr(equals + 1), interactive, error)) {
        live.Update(form);
        if (interactive)
            if (const layout::ControlDescription* d = ControlForCommand(line.substr(0, equals), true))
                ShowControl(form, *d, false);
        return Command::None;
    }
    std::cerr << error << std::endl;
    return Command::None;
}

// ---- terminal line input, with Escape as a key of its own ----

class RawTerminal {
public:
    RawTerminal()
    {
        if (::tcgetattr(STDIN_FILENO, &saved_) != 0)
            return;
        termios raw = saved_;
        raw.c_lflag &= ~(ICANON | ECHO | ISIG);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        active_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
    }
    ~RawTerminal()
    {
        if (active_)
            ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

enum class LineEnd { Enter, Escape, EndOfInput };

int ReadByte(int timeoutMs)
{
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    if (timeoutMs >= 0 && ::poll(&fd, 1, timeoutMs) <= 0)
        return -1;
    unsigned char byte = 0;
    return ::read(STDIN_FILENO, &byte, 1) == 1 ? byte : -1;
}

LineEnd ReadLine(std::string& line)
{
    line.clear();
    for (;;) {
        const int byte = ReadByte(-1);
        if (byte < 0)
            return LineEnd::EndOfInput;
        if (byte == '\r' || byte == '\n') {
            std::cout << "\n" << std::flush;
            return LineEnd::Enter;
        }
        if (byte == 0x03)  // Ctrl-C: as the close box
            return LineEnd::EndOfInput;
        if (byte == 0x04 && line.empty())
            return LineEnd::EndOfInput;
        if (byte == 0x1b) {
            const int next = ReadByte(50);
            if (next < 0)
                return LineEnd::Escape;
            // A cursor or function key: skip its sequence.
            if (next == '[' || next == 'O')
                for (int b = ReadByte(50); b >= 0 && !(b >= 0x40 && b <= 0x7e); b = ReadByte(50)) {
                }
            continue;
        }
        if (byte == 0x7f || byte == 0x08) {
            if (line.empty())
                continue;
            std::size_t start = line.size() - 1;
            while (start > 0 && (static_cast<unsigned char>(line[start]) & 0xc0) == 0x80)
                --start;
            const bool wide = line.size() - start >= 3;  // CJK takes two cells
            line.erase(start);
            std::cout << (wide ? "\b\b  \b\b" : "\b \b") << std::flush;
            continue;
        }
        if (byte < 0x20)
            continue;
        line.push_back(static_cast<char>(byte));
        std::cout << static_cast<char>(byte) << std::flush;
    }
}

void RunTerminal(TForm1& form, ConsoleToolkit& toolkit, preview::LivePreview& live)
{
    RawTerminal raw;
    ShowForm(form);
    while (!toolkit.CloseRequested()) {
        std::cout << "> " << std::flush;
        std::string line;
        const LineEnd end = ReadLine(line);
        if (end == LineEnd::Escape) {
            std::cout << "\n";
            form.Button2Click();
            continue;
        }
        if (end == LineEnd::EndOfInput) {
            std::cout << "\n";
            return;
        }
        switch (Execute(form, live, line, true)) {
        case Command::Ok:
            form.Button1Click();
            if (toolkit.TakeWaitForOk()) {
                std::cout << "[OK] Enter" << std::flush;
                std::string dismiss;
                ReadLine(dismiss);
            }
            break;
        case Command::Cancel:
            form.Button2Click();
            break;
        case Command::Show:
            ShowForm(form);
            break;
        case Command::None:
            break;
        }
    }
}

void RunScript(TForm1& form, ConsoleToolkit& toolkit, preview::LivePreview& live)
{
    std::string line;
    while (!toolkit.CloseRequested() && std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        switch (Execute(form, live, line, false)) {
        case Command::Ok:
            form.Button1Click();
            break;
        case Command::Cancel:
            form.Button2Click();
            break;
        case Command::Show:
        case Command::None:
            break;
        }
    }
}

}  // namespace

int RunFrontend(TForm1& form)
{
    const bool interactive = ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO);
    ConsoleToolkit toolkit(interactive);
    form.Toolkit = &toolkit;
    form.FormShow();
    preview::LivePreview live;
    live.Start();
    live.Update(form);
    if (interactive)
        RunTerminal(form, toolkit, live);
    else
        RunScript(form, toolkit, live);
    // Closed by OK or Cancel, or input ended with the dialog open: as the close box.
    form.FormClose();
    std::cout << "closed" << std::endl;
    form.Toolkit = nullptr;
    return form.ExchangeFileWritten ? 0 : 1;
}
