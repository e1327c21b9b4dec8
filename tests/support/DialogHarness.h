#pragma once
// Drives TForm1 the way a front end does, in a scratch folder of its own,
// and reads back what the run left there. Header-only, shared by the
// dialog's test programs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/Unit1.h"
#include "platform/FormToolkit.h"

namespace harness {

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "q308-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a scratch folder");
        path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder as the program names it: ending in the delimiter.
    std::string Folder() const { return path_ + "/"; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::optional<std::string> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Lines of a CR LF file; false in ok when a line end is not CR LF.
inline std::vector<std::string> CrLfLines(const std::string& bytes, bool* ok = nullptr)
{
    std::vector<std::string> lines;
    bool good = true;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        if (lf == std::string::npos) {
            lines.push_back(bytes.substr(start));
            good = false;
            break;
        }
        if (lf == start || bytes[lf - 1] != '\r')
            good = false;
        lines.push_back(bytes.substr(start, lf > start && bytes[lf - 1] == '\r' ? lf - 1 - start : lf - start));
        start = lf + 1;
    }
    if (ok)
        *ok = good;
    return lines;
}

// An exchange file in the host's manner: Shift-JIS (the literals already
// are) with CR LF.
inline std::string ExchangeText(const std::vector<std::string>& records)
{
    std::string text;
    for (const std::string& r : records)
        text += r + "\r\n";
    return text;
}

// What a front end does with the four effects, written down in order.
class RecordingToolkit : public platform::FormToolkit {
public:
    std::vector<std::string> Focused;
    std::vector<std::string> Messages;
    std::vector<std::string> Statuses;
    int CloseRequests = 0;
    TForm1* Form = nullptr;

    void FocusControl(const std::string& name) override { Focused.push_back(name); }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void RepaintStatus(const std::string& text) override { Statuses.push_back(text); }
    // A real dialog closes at once and runs its close handler.
    void CloseForm() override
    {
        ++CloseRequests;
        if (Form)
            Form->FormClose();
    }
};

// One run of the dialog in a scratch folder: the exchange file written,
// the dialog shown; then the test works the controls and reads the files.
class DialogRun {
public:
    // No exchange text: the host left no file.
    explicit DialogRun(const std::optional<std::string>& exchange,
                       const std::optional<std::string>& settings = std::nullopt)
        : Form(&Toolkit)
    {
        Toolkit.Form = &Form;
        if (exchange)
            WriteBytes(Scratch.File("JWC_TEMP.TXT"), *exchange);
        if (settings)
            WriteBytes(Scratch.File("q304.dat"), *settings);
        Form.ProgramFolder = Scratch.Folder();
        Form.FormShow();
    }

    // The usual choice after a first start: the value in text type 1.
    void PickTextType(int index = 1) { Form.ComboBox3.SetItemIndex(index); }

    bool Closed() const { return Toolkit.CloseRequests > 0; }
    void Cancel() { Form.Button2Click(); }

    std::string ExchangeBytes() const { return ReadBytes(Scratch.File("JWC_TEMP.TXT")).value_or("<missing>"); }
    std::vector<std::string> Records() const { return CrLfLines(ExchangeBytes()); }
    std::optional<std::string> SettingsBytes() const { return ReadBytes(Scratch.File("q304.dat")); }

    ScratchFolder Scratch;
    RecordingToolkit Toolkit;
    TForm1 Form;
};

// Sets controls as a script does, from "Name=Value": an edit's text, a
// list's item index (taken as the toolkit takes it), a check box's 0 or 1.
inline void Set(TForm1& form, const std::vector<std::string>& commands)
{
    for (const std::string& command : commands) {
        const std::size_t eq = command.find('=');
        const std::string name = command.substr(0, eq), value = command.substr(eq + 1);
        if (TEdit* edit = form.EditNamed(name))
            edit->Text = value;
        else if (TComboBox* box = form.ComboBoxNamed(name))
            box->SetItemIndex(std::stoi(value));
        else if (TRadioGroup* group = form.RadioGroupNamed(name))
            group->SetItemIndex(std::stoi(value));
        else if (TCheckBox* check = form.CheckBoxNamed(name))
            check->Checked = value == "1";
        else
            ADD_FAILURE() << "no control " << name;
    }
}

// ---- records compared token by token: numbers within a tolerance ----

// Numbers as a record carries them, printed in full so the tolerance decides.
inline std::string Nums(std::initializer_list<double> values)
{
    std::ostringstream out;
    out.precision(17);
    for (const double v : values)
        out << (out.tellp() > 0 ? " " : "") << v;
    return out.str();
}

inline bool ReadsAsNumber(const std::string& token, double& value)
{
    char* end = nullptr;
    value = std::strtod(token.c_str(), &end);
    return !token.empty() && *end == '\0';
}

// Tokens are split at every blank, so a doubled blank is a difference too.
inline ::testing::AssertionResult RecordMatches(const std::string& got, const std::string& want, double tolerance)
{
    auto split = [](const std::string& line) {
        std::vector<std::string> tokens(1);
        for (const char c : line)
            if (c == ' ')
                tokens.emplace_back();
            else
                tokens.back().push_back(c);
        return tokens;
    };
    const std::vector<std::string> g = split(got), w = split(want);
    bool same = g.size() == w.size();
    for (std::size_t i = 0; same && i < g.size(); ++i) {
        double a = 0, b = 0;
        same = ReadsAsNumber(w[i], b) ? ReadsAsNumber(g[i], a) && std::fabs(a - b) <= tolerance : g[i] == w[i];
    }
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << got << "\" is not \"" << want << "\"";
}

inline void ExpectRecords(const std::vector<std::string>& got, const std::vector<std::string>& want,
                          double tolerance = 1e-9)
{
    ASSERT_EQ(got.size(), want.size()) << ::testing::PrintToString(got);
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_TRUE(RecordMatches(got[i], want[i], tolerance)) << "record " << i + 1;
}

// ---- records compared with tolerance on their numbers ----

struct Expected {
    std::string Keyword;          // "z3", "cs", "pt", "" for a line record
    std::vector<double> Numbers;  // empty: the whole line must equal Keyword
    std::optional<std::string> Text;
};

inline Expected Exact(const std::string& line) { return {line, {}, std::nullopt}; }
inline Expected Line(double x1, double y1, double x2, double y2) { return {"", {x1, y1, x2, y2}, std::nullopt}; }
inline Expected Nums(const std::string& keyword, std::vector<double> numbers) { return {keyword, numbers, std::nullopt}; }
inline Expected TextRecord(const std::string& keyword, std::vector<double> numbers, const std::string& text)
{
    return {keyword, numbers, text};
}

inline ::testing::AssertionResult RecordMatches(const std::string& line, const Expected& e, double tolerance)
{
    if (e.Numbers.empty()) {
        if (line == e.Keyword)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "\"" << line << "\" is not \"" << e.Keyword << "\"";
    }
    std::string numbers = line;
    if (!e.Keyword.empty()) {
        if (line.rfind(e.Keyword + " ", 0) != 0)
            return ::testing::AssertionFailure() << "\"" << line << "\" does not start with " << e.Keyword;
        numbers = line.substr(e.Keyword.size() + 1);
    }
    if (e.Text) {
        const std::string tail = " \"" + *e.Text;
        if (numbers.size() < tail.size() || numbers.compare(numbers.size() - tail.size(), tail.size(), tail) != 0)
            return ::testing::AssertionFailure() << "\"" << line << "\" does not end in the text " << *e.Text;
        numbers.resize(numbers.size() - tail.size());
    }
    std::istringstream in(numbers);
    std::vector<std::string> tokens{std::istream_iterator<std::string>(in), {}};
    if (tokens.size() != e.Numbers.size() || numbers.find("  ") != std::string::npos ||
        (!numbers.empty() && (numbers.front() == ' ' || numbers.back() == ' ')))
        return ::testing::AssertionFailure() << "\"" << line << "\": expected " << e.Numbers.size()
                                             << " numbers, one blank apart";
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        char* end = nullptr;
        const double value = std::strtod(tokens[i].c_str(), &end);
        if (*end != '\0' || std::fabs(value - e.Numbers[i]) > tolerance)
            return ::testing::AssertionFailure() << "\"" << line << "\": number " << i + 1 << " should be "
                                                 << e.Numbers[i];
    }
    return ::testing::AssertionSuccess();
}

inline void ExpectRecords(const std::vector<std::string>& lines, const std::vector<Expected>& expected,
                          double tolerance = 1e-9)
{
    ASSERT_EQ(lines.size(), expected.size()) << "record count";
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(RecordMatches(lines[i], expected[i], tolerance)) << "record " << i + 1;
}

}  // namespace harness
