#pragma once
// The real native program, copied into a scratch folder as a user would
// place it, run once on an exchange file with a script on its standard
// input; what it printed and the files it left.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "DialogHarness.h"

namespace harness {

struct ProgramRun {
    // arguments are given to the shell as they stand; files (name, bytes)
    // and folders are made in the program's folder before it starts.
    ProgramRun(const std::string& exchange, const std::string& commands, const std::string& arguments = "",
               const std::vector<std::pair<std::string, std::string>>& files = {},
               const std::vector<std::string>& folders = {})
    {
        std::filesystem::copy_file(Q308_BINARY_DIR "/q308", Scratch.File("q308"));
        for (const std::string& folder : folders)
            std::filesystem::create_directory(Scratch.File(folder));
        WriteBytes(Scratch.File("JWC_TEMP.TXT"), exchange);
        WriteBytes(Scratch.File("commands"), commands);
        for (const auto& [name, bytes] : files)
            WriteBytes(Scratch.File(name), bytes);
        const int status = std::system(
            ("cd '" + Scratch.Folder() + "' && ./q308 " + arguments + " < commands > stdout 2> stderr").c_str());
        Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        Out = ReadBytes(Scratch.File("stdout")).value_or("");
        Err = ReadBytes(Scratch.File("stderr")).value_or("");
        Exchange = ReadBytes(Scratch.File("JWC_TEMP.TXT")).value_or("<missing>");
        Settings = CrLfLines(ReadBytes(Scratch.File("q304.dat")).value_or(""));
    }

    std::vector<std::string> LinesOf(const std::string& name) const
    {
        return CrLfLines(ReadBytes(Scratch.File(name)).value_or(""));
    }

    ScratchFolder Scratch;
    int Status = -1;
    std::string Out, Err, Exchange;
    std::vector<std::string> Settings;  // q304.dat; empty: no file
};

}  // namespace harness
