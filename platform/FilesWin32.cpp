// Files on Windows. Paths arrive as UTF-8 and are turned into wide strings
// here only, so a program folder named in any script (not just the ANSI code
// page) works; file contents are bytes and never converted.
#include "platform/Files.h"

#include <windows.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "platform/WideText.h"

namespace platform {

namespace {

std::FILE* OpenWide(const std::string& path, const wchar_t* mode) {
    std::wstring wide = WideFromUtf8(path);
    if (wide.empty()) return nullptr;
    return _wfopen(wide.c_str(), mode);
}

}  // namespace

bool InputFile::Open(const std::string& path) {
    Close();
    file_ = OpenWide(path, L"rb");
    return file_ != nullptr;
}

long long InputFile::Read(char* buffer, std::size_t size) {
    if (file_ == nullptr) return -1;
    std::size_t count = std::fread(buffer, 1, size, file_);
    if (count == 0 && std::ferror(file_)) return -1;
    return static_cast<long long>(count);
}

long long InputFile::Size() const {
    if (file_ == nullptr) return -1;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file_)));
    LARGE_INTEGER size;
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size))
        return -1;
    return static_cast<long long>(size.QuadPart);
}

void InputFile::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool OutputFile::Create(const std::string& path) {
    Close();
    file_ = OpenWide(path, L"wb");
    return file_ != nullptr;
}

bool OutputFile::Write(const char* data, std::size_t size) {
    if (file_ == nullptr) return false;
    return std::fwrite(data, 1, size, file_) == size;
}

bool OutputFile::Close() {
    if (file_ == nullptr) return true;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    // A full disk or a lost network share may show only when the data
    // reaches the device; a file about to replace another must know now.
    if (ok && _commit(_fileno(file_)) != 0) ok = false;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    return ok;
}

bool FileExists(const std::string& path) {
    std::wstring wide = WideFromUtf8(path);
    if (wide.empty()) return false;
    DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool RemoveFile(const std::string& path) {
    std::wstring wide = WideFromUtf8(path);
    return !wide.empty() && DeleteFileW(wide.c_str()) != 0;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    const std::wstring source = WideFromUtf8(from);
    const std::wstring target = WideFromUtf8(to);
    return !source.empty() && !target.empty() &&
           MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace platform
