// Files on Windows. Paths arrive as UTF-8 and are turned into wide strings
// here only, so a program folder named in any script (not just the ANSI code
// page) works; file contents are bytes and never converted.
#include "platform/Files.h"

#include <windows.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace platform {

namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::FILE* OpenWide(const std::string& path, const wchar_t* mode) {
    std::wstring wide = Wide(path);
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
    std::wstring wide = Wide(path);
    if (wide.empty()) return false;
    DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool RemoveFile(const std::string& path) {
    std::wstring wide = Wide(path);
    return !wide.empty() && DeleteFileW(wide.c_str()) != 0;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::wstring target = Wide(path);
    if (target.empty()) return false;
    // Written beside the target and moved over it only once complete: a
    // failure leaves neither a partial file nor a damaged previous one.
    std::wstring temporary = target + L".tmp";
    bool ok = false;
    {
        OutputFile file;
        if (file.Create(path + ".tmp")) {
            ok = file.Write(bytes);
            ok = file.Close() && ok;
        }
    }
    if (ok) ok = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    InputFile file;
    if (!file.Open(path)) return false;
    char buffer[65536];
    for (;;) {
        long long count = file.Read(buffer, sizeof buffer);
        if (count < 0) return false;
        if (count == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

std::string ExecutablePath() {
    // Grows the buffer until the whole path fits: a long path (beyond
    // MAX_PATH) is cut silently by a fixed buffer.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) {
            buffer.resize(length);
            return Utf8(buffer);
        }
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableFolder() {
    std::string path = ExecutablePath();
    std::size_t delimiter = path.find_last_of("\\/");
    if (delimiter == std::string::npos) return std::string();
    return path.substr(0, delimiter + 1);
}

}  // namespace platform
