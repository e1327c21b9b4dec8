// Files on Windows. Paths arrive as UTF-8 and are turned into wide strings
// here only, so a program folder named in any script (not just the ANSI code
// page) works; file contents are bytes and never converted. Files are opened
// with CreateFileW, so that a failure keeps the system's own reason.
#include "platform/Files.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "platform/FileRetry.h"
#include "platform/WideText.h"

namespace platform {

namespace {

// Access is denied for good to a read-only file or a folder, and where no
// file of the name exists (the folder takes no new files); a file that is
// being deleted, or is open in another program, denies it for a moment.
bool DeniedForAMoment(std::initializer_list<const std::wstring*> paths)
{
    bool present = false;
    for (const std::wstring* path : paths) {
        const DWORD attributes = GetFileAttributesW(path->c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD why = GetLastError();
            if (why != ERROR_FILE_NOT_FOUND && why != ERROR_PATH_NOT_FOUND)
                present = true;  // delete pending
            continue;
        }
        if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
            return false;
        present = true;
    }
    return present;
}

// The error of the call that just failed on these paths. Sharing and lock
// violations pass when the other program closes the file; so does a denied
// access to a file another program holds without letting it be deleted.
FileError ErrorOn(DWORD code, std::initializer_list<const std::wstring*> paths)
{
    FileError error;
    error.Code = code;
    error.Passing = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
                    (code == ERROR_ACCESS_DENIED && DeniedForAMoment(paths));
    error.Full = code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL;
    return error;
}

FileError ErrorOfThisCall()
{
    FileError error;
    error.Code = GetLastError();
    error.Full = error.Code == ERROR_DISK_FULL || error.Code == ERROR_HANDLE_DISK_FULL;
    return error;
}

// The stream of a file opened as _wfopen would (both sharing read and
// write), with the reason kept where it cannot be opened.
std::FILE* OpenStream(const std::string& path, DWORD access, DWORD disposition, int flags, const char* mode,
                      FileError& error)
{
    const std::wstring wide = WideFromUtf8(path);
    if (wide.empty()) {
        error = FileError{ERROR_INVALID_NAME, false};
        return nullptr;
    }
    const HANDLE handle = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = ErrorOn(GetLastError(), {&wide});
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (descriptor < 0) {
        error = FileError{ERROR_TOO_MANY_OPEN_FILES, false};
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, mode);
    if (file == nullptr) {
        error = FileError{ERROR_NOT_ENOUGH_MEMORY, false};
        _close(descriptor);
    }
    return file;
}

class TickClock final : public RetryClock {
public:
    long long Milliseconds() override { return static_cast<long long>(GetTickCount64()); }
    void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
};

}  // namespace

bool InputFile::Open(const std::string& path) {
    Close();
    file_ = OpenStream(path, GENERIC_READ, OPEN_EXISTING, _O_RDONLY | _O_BINARY, "rb", error_);
    return file_ != nullptr;
}

long long InputFile::Read(char* buffer, std::size_t size) {
    if (file_ == nullptr) return -1;
    std::size_t count = std::fread(buffer, 1, size, file_);
    if (count == 0 && std::ferror(file_)) {
        error_ = ErrorOfThisCall();
        return -1;
    }
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
    file_ = OpenStream(path, GENERIC_WRITE, CREATE_ALWAYS, _O_WRONLY | _O_BINARY, "wb", error_);
    return file_ != nullptr;
}

bool OutputFile::Write(const char* data, std::size_t size) {
    if (file_ == nullptr) return false;
    if (std::fwrite(data, 1, size, file_) == size) return true;
    error_ = ErrorOfThisCall();
    return false;
}

bool OutputFile::Close() {
    if (file_ == nullptr) return true;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    if (!ok) error_ = ErrorOfThisCall();
    // A full disk or a lost network share may show only when the data
    // reaches the device; a file about to replace another must know now.
    if (ok && _commit(_fileno(file_)) != 0) {
        error_ = ErrorOfThisCall();
        ok = false;
    }
    if (std::fclose(file_) != 0 && ok) {
        error_ = ErrorOfThisCall();
        ok = false;
    }
    file_ = nullptr;
    return ok;
}

bool FileExists(const std::string& path) {
    std::wstring wide = WideFromUtf8(path);
    if (wide.empty()) return false;
    DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool RemoveFile(const std::string& path, FileError* error) {
    const std::wstring wide = WideFromUtf8(path);
    if (!wide.empty() && DeleteFileW(wide.c_str()) != 0) return true;
    if (error != nullptr) *error = wide.empty() ? FileError{ERROR_INVALID_NAME, false} : ErrorOn(GetLastError(), {&wide});
    return false;
}

bool MoveFileOver(const std::string& from, const std::string& to, FileError* error) {
    const std::wstring source = WideFromUtf8(from);
    const std::wstring target = WideFromUtf8(to);
    // Windows refuses to replace a read-only file, and that answer is
    // final; Wine would replace it. The program keeps Windows' answer.
    const DWORD attributes = target.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        if (error != nullptr) *error = FileError{ERROR_ACCESS_DENIED, false};
        return false;
    }
    if (!source.empty() && !target.empty() &&
        MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
        return true;
    if (error != nullptr)
        *error = source.empty() || target.empty() ? FileError{ERROR_INVALID_NAME, false}
                                                  : ErrorOn(GetLastError(), {&source, &target});
    return false;
}

std::string FileErrorText(const FileError& error) {
    if (error.Code == 0) return {};
    wchar_t* text = nullptr;
    // Language 0: the user's language, as every other message they see.
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(error.Code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide = length > 0 && text != nullptr ? std::wstring(text, length) : std::wstring();
    if (text != nullptr) LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' '))
        wide.pop_back();
    if (wide.empty()) wide = L"(" + std::to_wstring(error.Code) + L")";
    return SjisFromWide(wide);
}

RetryClock& SystemClock() {
    static TickClock clock;
    return clock;
}

}  // namespace platform
