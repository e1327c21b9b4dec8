#include "platform/WideText.h"

#include <windows.h>

namespace platform {

std::wstring WideFromBytes(unsigned codePage, std::string_view bytes, bool strict)
{
    if (bytes.empty())
        return std::wstring();
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data(), size);
    return wide;
}

std::string BytesFromWide(unsigned codePage, std::wstring_view wide)
{
    if (wide.empty())
        return std::string();
    // UTF-8 takes neither flags nor a default character.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = utf8 ? nullptr : "?";
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, fallback, nullptr);
    if (size <= 0)
        return std::string();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(), size, fallback, nullptr);
    return bytes;
}

}  // namespace platform
