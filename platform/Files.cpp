// Whole-file reads and writes, the same on every system: only the file
// primitives below them differ.
#include "platform/Files.h"

namespace platform {

namespace {

bool WriteTo(const std::string& path, const std::string& bytes, bool& created)
{
    OutputFile file;
    created = file.Create(path);
    if (!created)
        return false;
    const bool written = file.Write(bytes);
    return file.Close() && written;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes, WithoutTemporary fallback)
{
    if (path.empty())
        return false;
    const std::string temporary = path + ".tmp";
    bool created = false;
    if (WriteTo(temporary, bytes, created) && MoveFileOver(temporary, path))
        return true;
    if (created)
        RemoveFile(temporary);
    if (created || fallback == WithoutTemporary::Fail)
        return false;
    // No temporary file can live beside the target (no right to create
    // files there, or the name is taken by a folder): the target itself
    // may still be writable.
    if (WriteTo(path, bytes, created))
        return true;
    if (created)
        RemoveFile(path);
    return false;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    InputFile file;
    if (!file.Open(path))
        return false;
    char buffer[65536];
    for (;;) {
        const long long got = file.Read(buffer, sizeof buffer);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

}  // namespace platform
