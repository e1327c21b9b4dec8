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
#include <functional>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/Unit1.h"
#include "dialog/FormToolkit.h"

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

// Lines of a CR LF file; a last line without its CR LF is marked so.
inline std::vector<std::string> CrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < bytes.size(); start = end + 2) {
        end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start) + (end == std::string::npos ? "<no CR LF>" : ""));
        if (end == std::string::npos)
            break;
    }
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

// What a front end does with the effects, written down in order.
class RecordingToolkit : public FormToolkit {
public:
    std::vector<std::string> Focused;
    std::vector<std::string> Messages;
    std::vector<std::string> Statuses;
    std::vector<std::string> Questions;
    // The user's answers to the Retry/Cancel questions in turn (true:
    // Retry); Cancel once they run out. OnQuestion runs before each answer.
    std::vector<bool> RetryAnswers;
    std::function<void()> OnQuestion;
    int CloseRequests = 0;
    TForm1* Form = nullptr;

    void FocusControl(const std::string& name) override { Focused.push_back(name); }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void RepaintStatus(const std::string& text) override { Statuses.push_back(text); }
    bool AskRetry(const std::string& text) override
    {
        Questions.push_back(text);
        if (OnQuestion)
            OnQuestion();
        return Questions.size() <= RetryAnswers.size() && RetryAnswers[Questions.size() - 1];
    }
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
                       const std::optional<std::string>& settings = std::nullopt,
                       DimensionKind kind = DimensionKind::Vertical)
        : Form(&Toolkit, kind)
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

// Tokens are split at every blank, so a doubled blank is a difference too.
inline ::testing::AssertionResult RecordMatches(const std::string& got, const std::string& want, double tolerance)
{
    const auto number = [](const std::string& token, double& value) {
        char* end = nullptr;
        value = std::strtod(token.c_str(), &end);
        return !token.empty() && *end == '\0';
    };
    const auto split = [](const std::string& line) {
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
        same = number(w[i], b) ? number(g[i], a) && std::fabs(a - b) <= tolerance : g[i] == w[i];
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

}  // namespace harness
