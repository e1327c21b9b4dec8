#include "dialog/Startup.h"

#include <optional>

#include "dialog/Unit1.h"

int RunProgram(std::span<const std::string> arguments, const std::function<void(const std::string&)>& tellUser,
               int (*frontend)(TForm1&), const std::string& programFolder)
{
    std::string unknown;
    const std::optional<DimensionKind> kind = KindFromArguments(arguments, unknown);
    if (!kind) {
        // The exchange file first: the host reads it as soon as we end,
        // however the user leaves the message.
        HandBackNothing(programFolder);
        tellUser(UnknownArgumentMessage(unknown));
        return UnknownArgumentStatus;
    }
    TForm1 form(nullptr, *kind);
    form.ProgramFolder = programFolder;
    return frontend(form);
}
