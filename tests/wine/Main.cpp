// q308-wine-test: the Windows program's end-to-end tests.
//
//   q308-wine-test plan PLAN SAMPLES HOST_SAMPLES
//       writes each scenario's input files and its actions as a script for
//       the native program into PLAN\<scenario>
//   q308-wine-test run Q308_EXE SCRATCH PLAN SAMPLES HOST_SAMPLES
//       runs every check; the native program's results must be in
//       PLAN\<scenario>\native. Ends with the line "N passed, M failed".
//   SAMPLES holds our host-format fixtures; HOST_SAMPLES the host's own
//   files, whose scenarios are skipped where the folder does not exist.
//   q308-wine-test exe-path FILE
//       writes its own ExecutablePath to FILE (for the long-path check)
//   q308-wine-test dump Q308_EXE FOLDER
//       starts q308.exe in FOLDER and lists the dialog's windows
//   q308-wine-test paint Q308_EXE SCRATCH
//       the preview's paint times on large drawings alone
#include "WineTest.h"
#include "platform/ExecutablePath.h"
#include "platform/Files.h"

namespace {

int Usage()
{
    wt::Print(L"usage: q308-wine-test plan PLAN SAMPLES HOST_SAMPLES | run Q308_EXE SCRATCH PLAN SAMPLES HOST_SAMPLES | "
              L"exe-path FILE | "
              L"dump Q308_EXE FOLDER | paint Q308_EXE SCRATCH");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // A crash must end the run, not wait on a dialog nobody sees.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // The driver measures the dialog in the pixels of its monitor, never in
    // coordinates Windows scales down for programs that know no density.
    wt::MakeDpiAware();
    if (argc < 2)
        return Usage();
    const std::wstring mode = argv[1];
    if (mode == L"exe-path" && argc == 3)
        return wt::WriteBytes(argv[2], platform::ExecutablePath()) ? 0 : 1;
    if (mode == L"dump" && argc == 4) {
        wt::Case c(L"dump");
        wt::Program program(argv[2], argv[3]);
        if (!program.Start(c))
            return 1;
        for (HWND child : program.Children()) {
            const RECT rect = wt::RectInParent(child);
            wt::Print(wt::ClassOf(child) + L" id " + wt::Number(GetDlgCtrlID(child)) + L" at " +
                      wt::Number(rect.left) + L", " + wt::Number(rect.top) + L" size " +
                      wt::Number(rect.right - rect.left) + L" x " + wt::Number(rect.bottom - rect.top) +
                      L" style " + wt::Hex(std::string(1, static_cast<char>(GetWindowLongW(child, GWL_STYLE) >> 24))) +
                      L" \"" + wt::TextOf(child) + L"\"");
        }
        PostMessageW(program.Dialog(), WM_CLOSE, 0, 0);
        program.WaitForExit(c);
        return 0;
    }
    if (mode == L"paint" && argc == 4) {
        wt::Settings settings{argv[2], argv[3], L""};
        wt::MakeFolder(settings.Root);
        wt::CheckPreviewPaint(settings);
        wt::Print(wt::Number(wt::PassedCases()) + L" passed, " + wt::Number(wt::FailedCases()) + L" failed");
        return wt::FailedCases() == 0 ? 0 : 1;
    }
    if (mode == L"plan" && argc == 5) {
        wt::SetSamplesFolders(argv[3], argv[4]);
        wt::WritePlan(argv[2]);
        return 0;
    }
    if (mode != L"run" || argc != 7)
        return Usage();

    wt::Settings settings{argv[2], argv[3], argv[4]};
    wt::SetSamplesFolders(argv[5], argv[6]);
    wt::RemoveTree(settings.Root);
    wt::MakeFolder(settings.Root);

    wt::CheckPlatform(settings);
    wt::CheckFullWidth();
    wt::CheckDialog(settings, false);
    wt::CheckDialog(settings, true);
    wt::RunScenarios(settings);
    wt::RunScenarios(settings, {}, L" (preview open)", true);
    wt::CheckPreview(settings);
    wt::CheckPreviewDrag(settings);
    wt::CheckPreviewView(settings);
    wt::CheckPreviewMovedKeepsKeys(settings);
    wt::CheckPreviewBesideDialog(settings, 96);
    wt::CheckPreviewSpeed(settings);
    wt::CheckChainDrag(settings);
    wt::CheckPreviewPaint(settings);
    wt::CheckFaults(settings);
    wt::CheckHolds(settings);
    wt::CheckDensities(settings);
    wt::CheckKinds(settings);
    wt::CheckRepeat(settings);

    wt::Print(wt::Number(wt::PassedCases()) + L" passed, " + wt::Number(wt::FailedCases()) + L" failed");
    return wt::FailedCases() == 0 ? 0 : 1;
}
