// Arbitrary bytes as the program's command line and the native program's
// standard input: the first line is the command line as the Windows entry
// receives it, the rest a script of commands, run against a drawing with
// four picked points. Whatever the arguments, the program either names the
// one it does not know and leaves "hq" for the host, or shows the dialog of
// its kind; whatever the script holds, the program then answers only in
// its own four kinds of line, ends with "closed", and leaves an exchange
// file the host can read, every number of it finite, with no "hd" and "hr"
// only at its end.
// A picture asked for with Preview= always goes to the scratch folder: the
// fuzzer must not write files where its input says.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <iostream>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/DimensionKind.h"
#include "dialog/FormLayout.h"
#include "dialog/Frontend.h"
#include "dialog/Startup.h"
#include "FuzzSupport.h"

using fuzzsupport::Require;

namespace {

// The host's usual file: four picked points, layer group scales of 100; a
// chain reads points 2 on as its row (a point picked twice, a small span,
// a far one among them), the single kinds only the first four.
const char* const Exchange =
    "hq\r\nhk 0\r\nhs 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100\r\n"
    "hcw 2 2.5 3 3.5 4 5 6 7 8 5\r\nhch 2 2.5 3 3.5 4 5 6 7 8 2.5\r\nhcd 0 0 0.5 0.5 0.5 1 1 1 1 0.5\r\n"
    "hcc 1 1 2 2 3 3 4 5 6 2\r\nhp1- 0 0\r\nhp2 0 1000\r\nhp3- 500 200\r\nhp4 500 600\r\n"
    "hp5 500 600\r\nhp6 500 610\r\nhp7 3 1e300\r\n"
    "lg4\r\nly9\r\nlc3\r\nlt1\r\ncn4\r\n";

bool IsControlName(const std::string& name)
{
    return layout::FindControl(name) != nullptr;
}

// The script with every Preview= naming the one picture file.
std::string WithPicturesAt(const std::string& script, const std::string& picture)
{
    std::string out;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        end = end == std::string::npos ? script.size() : end + 1;
        const std::string line = script.substr(start, end - start);
        out += line.rfind("Preview=", 0) == 0 ? "Preview=" + picture + "\n" : line;
        start = end;
    }
    return out;
}

void RequireProtocol(const std::string& output, const std::string& picture)
{
    std::istringstream lines(output);
    std::string line, last;
    int closed = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("focus: ", 0) == 0)
            Require(IsControlName(line.substr(7)), "the focus goes to a control of the form");
        else if (line.rfind("preview: ", 0) == 0)
            Require(line.substr(9) == picture, "a picture is written where it was asked for");
        else if (line == "closed")
            ++closed;
        else
            Require(line.rfind("message: ", 0) == 0, "every line of output is focus, message or closed");
        last = line;
    }
    Require(closed == 1 && last == "closed", "the program ends with one closed");
}

// Nothing the host selected is ever erased ("hd"), and "hr", when OK
// asks for the next dimension, is the last record.
void RequireHostRecords(const std::string& exchange)
{
    std::istringstream lines(exchange);
    std::string line;
    bool repeat = false;
    while (std::getline(lines, line)) {
        Require(!repeat, "hr is the last record");
        Require(line.rfind("hd", 0) != 0, "no record erases the host's elements", line);
        repeat = line == "hr\r";
    }
}

// Moved points included (Point3=, Point4= with huge, denormal or odd
// values), every number the host reads is finite: no record but a text
// carries "inf" or "nan".
void RequireFiniteNumbers(const std::string& exchange)
{
    std::istringstream lines(exchange);
    for (std::string line; std::getline(lines, line);) {
        if (line.find('"') != std::string::npos)
            continue;
        std::string lower = line;
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        Require(lower.find("inf") == std::string::npos && lower.find("nan") == std::string::npos,
                "every number of a record is finite", line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A script, not a terminal: the front end looks at the file descriptors.
    const int none = ::open("/dev/null", O_RDWR);
    Require(none >= 0, "/dev/null opens");
    ::dup2(none, STDIN_FILENO);
    ::dup2(none, STDOUT_FILENO);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string& folder = fuzzsupport::ScratchFolder();
    fuzzsupport::WriteFile(folder + "JWC_TEMP.TXT", Exchange);
    std::remove((folder + "q304.dat").c_str());
    std::remove((folder + "q308.ini").c_str());  // a Repeat= of the last input would carry over

    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = std::min(input.find('\n'), input.size());
    const std::vector<std::string> arguments = SplitCommandLine(input.substr(0, lineEnd));
    const std::string picture = folder + "preview.svg";
    std::istringstream script(WithPicturesAt(input.substr(std::min(lineEnd + 1, input.size())), picture));
    std::ostringstream output, errors;
    std::streambuf* in = std::cin.rdbuf(script.rdbuf());
    std::streambuf* out = std::cout.rdbuf(output.rdbuf());
    std::streambuf* err = std::cerr.rdbuf(errors.rdbuf());
    std::cin.clear();
    std::vector<std::string> told;
    const int status = RunProgram(arguments, [&](const std::string& message) { told.push_back(message); }, RunFrontend, folder);
    std::cin.rdbuf(in);
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);

    std::string unknown;
    if (!KindFromArguments(arguments, unknown)) {
        Require(status == UnknownArgumentStatus && told.size() == 1, "an unknown argument is told once");
        Require(told[0].find("「" + unknown + "」") != std::string::npos, "the message names the argument");
        Require(output.str().empty(), "no dialog for an unknown argument");
        Require(fuzzsupport::ReadFile(folder + "JWC_TEMP.TXT") == "hq\r\n", "the host finds nothing drawn");
        return 0;
    }
    Require(status == 0 && told.empty(), "a known kind shows its dialog");
    RequireProtocol(output.str(), picture);
    std::FILE* written = std::fopen((folder + "JWC_TEMP.TXT").c_str(), "rb");
    Require(written != nullptr, "the exchange file is there for the host");
    std::fclose(written);
    RequireFiniteNumbers(fuzzsupport::ReadFile(folder + "JWC_TEMP.TXT"));
    RequireHostRecords(fuzzsupport::ReadFile(folder + "JWC_TEMP.TXT"));
    return 0;
}
