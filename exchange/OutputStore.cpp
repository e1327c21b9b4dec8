// The stored output lines and the exchange file made from them.
//
// The file the host reads back:
//   file    = "hq" CRLF                       (nothing was stored)
//           | line*
//   line    = entry CRLF                      (entry not ending in '"')
//           | entry '"' next CRLF             (next's own last byte is not looked at)
//           | entry '"'                       (the last entry: no line end)
// A text record is stored as two entries, the first ending in a blank and a
// double quote, so that host sees keyword, numbers and text on one line.
#include "exchange/OutputStore.h"

#include "platform/Files.h"

OutputStoreRecord OutputStore;

void AppendOutputLine(std::string_view line)
{
    OutputStore.Lines.Append() = std::string(line.substr(0, MaxStoredLineBytes));
}

std::string RenderExchangeFile()
{
    static constexpr char LineEnd[] = "\r\n";
    const BlockList<std::string>& lines = OutputStore.Lines;
    if (lines.Count() == 0)
        return std::string("hq") + LineEnd;

    std::string bytes;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        const std::string& entry = lines[i];
        bytes += entry;
        if (!entry.empty() && entry.back() == '"') {
            if (i + 1 == lines.Count())
                break;
            bytes += lines[++i];
        }
        bytes += LineEnd;
    }
    return bytes;
}

bool WriteExchangeFile(const std::string& path)
{
    platform::FileError ignored;
    if (TryWriteExchangeFile(path, ignored))
        return true;
    DiscardExchangeFile(path);
    return false;
}

bool TryWriteExchangeFile(const std::string& path, platform::FileError& error)
{
    return platform::WriteWholeFile(path, RenderExchangeFile(), platform::WithoutTemporary::Fail, &error);
}

void DiscardExchangeFile(const std::string& path)
{
    // The file at path is still the host's own input; left there, the host
    // would read it back as if it were this program's output.
    platform::RemoveFile(path);
}
