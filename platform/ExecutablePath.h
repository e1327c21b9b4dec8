#pragma once
// Where the running program lives: the exchange file and the settings file
// are looked for beside it. Paths are UTF-8.
#include <string>

namespace platform {

// Full path of the running executable; empty when the system cannot tell.
std::string ExecutablePath();
// Folder of the running executable, ending in the path delimiter.
std::string ExecutableFolder();

}  // namespace platform
