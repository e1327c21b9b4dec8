#pragma once
// The program from its arguments to its exit status, for both entries and
// the fuzzer: the kind of dimension the arguments choose, shown by the
// front end (RunFrontend of the one linked in). An argument the program
// does not know is told to the user through tellUser, and the host finds a
// run that drew nothing.
#include <functional>
#include <span>
#include <string>

class TForm1;

inline constexpr int UnknownArgumentStatus = 2;

// arguments are Shift-JIS; programFolder empty: the executable's folder.
int RunProgram(std::span<const std::string> arguments, const std::function<void(const std::string&)>& tellUser,
               int (*frontend)(TForm1&), const std::string& programFolder = {});
