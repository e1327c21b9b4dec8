// The Windows program: one dialog, shown by the Win32 front end, which ends
// the program when the dialog has closed. The first argument chooses the
// dimension: none, "/h" or "/a".
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "dialog/DimensionKind.h"
#include "dialog/Frontend.h"
#include "dialog/Startup.h"
#include "platform/WideText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    // The host waits for this program: no system box about a missing disk
    // or a failed file may stop it unseen.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // DLLs come from the system only, never from the folder the host put
    // the exchange file in.
    SetDllDirectoryW(L"");

    // The command line arrives in the ANSI code page, Shift-JIS here.
    return RunProgram(SplitCommandLine(commandLine ? commandLine : ""), [](const std::string& message) {
        MessageBoxW(nullptr, platform::WideFromSjis(message).c_str(), L"q308", MB_ICONERROR | MB_OK);
    }, RunFrontend);
}
