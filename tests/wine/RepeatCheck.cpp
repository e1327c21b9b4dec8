// Dimension after dimension as the user turns it on: the item of the
// dialog's system menu, which only the Windows program has. Here the item
// turns the choice on, OK then ends the output with "hr", and q308.ini keeps
// the choice beside the preview's place, where the next run finds it and
// the item turns it off again. (Wine keeps a menu to its own process, so
// the item's check mark is seen in the screenshots, not here.)
#include "WineTest.h"

namespace wt {

namespace {

// The item's command, as it arrives in the dialog's WM_SYSCOMMAND.
constexpr WPARAM RepeatCommand = 0x0130;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void CheckRepeat(const Settings& settings)
{
    const struct {
        const wchar_t* Id;
        const wchar_t* Script;  // for the native program, which takes the choice as a command
        bool Repeat;
        const char* IniEnd;
    } runs[] = {
        {L"repeat-turned-on", L"Repeat=1\nOK\n", true, "[Repeat]\r\nVertical=1\r\n"},
        {L"repeat-turned-off", L"Repeat=0\nOK\n", false, "[Repeat]\r\nVertical=0\r\n"},
    };
    const std::wstring folder = JoinPath(settings.Root, L"repeat");
    // With the preview open, both the preview and the choice write q308.ini as the dialog closes.
    RemoveTree(folder);
    MakeFolder(folder);
    WriteBytes(JoinPath(folder, L"q308.ini"), PreviewOpenIni);
    for (const auto& run : runs) {
        Case c(std::wstring(L"dimension after dimension: the system menu's item, then OK (") + run.Id + L")");
        Program program(settings.Executable, folder);
        const std::string drawing = PreviewScene(), q304 = PreviewSceneSettings(100, 120);
        WriteBytes(program.File(L"JWC_TEMP.TXT"), drawing);
        WriteBytes(program.File(L"q304.dat"), q304);
        if (!program.Start(c))
            return;
        c.Check(PreviewShown(program), L"the preview is open");
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(program.Dialog(), WM_SYSCOMMAND, RepeatCommand, 0, SMTO_NORMAL, 5000, &ignored);
        program.Click(program.Control(L"Button1"));
        program.WaitForExit(c);
        std::string exchange, ini;
        ReadBytes(program.File(L"JWC_TEMP.TXT"), exchange);
        ReadBytes(program.File(L"q308.ini"), ini);
        c.Check(EndsWith(exchange, "\r\nhr\r\n") == run.Repeat && exchange.size() > 100,
                run.Repeat ? L"the dimension, then hr" : L"the dimension without hr");
        c.Check(ini.rfind("[Preview]\r\nOpen=1\r\n", 0) == 0 && EndsWith(ini, run.IniEnd),
                L"q308.ini keeps the preview open and the choice: " + Wide(ini));
        DeferNativeComparison(settings, run.Id, drawing, q304, run.Script, program);
    }
}

}  // namespace wt
