// The Windows program: one dialog, shown by the Win32 front end, which ends
// the program when the dialog has closed.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "dialog/Frontend.h"
#include "dialog/Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The host waits for this program: no system box about a missing disk
    // or a failed file may stop it unseen.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // DLLs come from the system only, never from the folder the host put
    // the exchange file in.
    SetDllDirectoryW(L"");

    TForm1 form;
    Form1 = &form;
    return RunFrontend(form);
}
