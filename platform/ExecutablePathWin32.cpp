// The running executable's own path, as the loader knows it.
#include "platform/ExecutablePath.h"

#include <windows.h>

#include "platform/WideText.h"

namespace platform {

std::string ExecutablePath()
{
    // Grows the buffer until the whole path fits: a long path (beyond
    // MAX_PATH) is cut silently by a fixed buffer.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size()) {
            buffer.resize(length);
            return Utf8FromWide(buffer);
        }
        if (buffer.size() >= 32768)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableFolder()
{
    const std::string path = ExecutablePath();
    const std::size_t delimiter = path.find_last_of("\\/");
    return delimiter == std::string::npos ? std::string() : path.substr(0, delimiter + 1);
}

}  // namespace platform
