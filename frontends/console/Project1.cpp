// The program: one dialog, shown by the front end linked in, which ends
// the program when the dialog has closed. The first argument chooses the
// dimension: none, "/h" or "/a".
#include <iostream>
#include <string>
#include <vector>

#include "dialog/Frontend.h"
#include "dialog/Startup.h"
#include "platform/Charset.h"

int main(int argc, char** argv)
{
    // The terminal's arguments are UTF-8; the program's texts Shift-JIS.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(platform::Utf8ToSjis(argv[i]));
    return RunProgram(arguments, [](const std::string& message) {
        std::cerr << platform::SjisToUtf8(message) << std::endl;
    }, RunFrontend);
}
