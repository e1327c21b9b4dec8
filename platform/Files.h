#pragma once
// Files as bytes. Paths are UTF-8 strings everywhere in the program; on
// Windows they are converted to wide strings, so a folder named in any
// script works. File contents are never converted.
#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// Why a file operation failed.
struct FileError {
    unsigned long Code = 0;  // the system's: GetLastError() on Windows, errno elsewhere; 0: none
    // Another program has the file open for a moment (a virus scanner, the
    // search indexer, a cloud-sync client): worth trying again shortly.
    bool Passing = false;
    // The disk, or the user's share of it, is full: only freeing space helps.
    bool Full = false;
};

class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() { Close(); }

    bool Open(const std::string& path);  // read only
    // Reads up to size bytes; returns the count read, 0 at the end, -1 on error.
    long long Read(char* buffer, std::size_t size);
    // The open file's size in bytes as the system knows it now; -1 when it
    // cannot tell (a pipe, a device) or nothing is open.
    long long Size() const;
    void Close();
    // Why the last Open or Read failed.
    const FileError& Error() const { return error_; }

private:
    std::FILE* file_ = nullptr;
    FileError error_;
};

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { Close(); }

    bool Create(const std::string& path);  // creates or truncates
    bool Write(const char* data, std::size_t size);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    bool Close();  // false when flushing or closing failed
    // Why the last Create, Write or Close failed.
    const FileError& Error() const { return error_; }

private:
    std::FILE* file_ = nullptr;
    FileError error_;
};

bool FileExists(const std::string& path);
// One attempt each; error, when given, says why it failed.
bool RemoveFile(const std::string& path, FileError* error = nullptr);
// Puts the file at from in the place of the file at to, replacing it.
bool MoveFileOver(const std::string& from, const std::string& to, FileError* error = nullptr);

// The system's description of a failure, in the user's language, as
// Shift-JIS text without a line end.
std::string FileErrorText(const FileError& error);

// The temporary file WriteWholeFile makes beside path.
std::string TemporaryPath(const std::string& path);

// What WriteWholeFile does where it cannot create its temporary file.
enum class WithoutTemporary {
    Fail,          // report the failure; the file at path stays as it was
    WriteInPlace,  // create or truncate path itself, and delete it on error
};

// The whole-file operations below wait out another program's passing hold
// on a file (about two seconds in all, the pauses growing) and report any
// other failure at once; an operation that succeeds at once does not wait.
// Where error is given it says why the operation failed in the end.

// Writes bytes to path through a temporary file beside it, which replaces
// path only once complete: on any error false is returned and neither a
// partial file nor a damaged previous file nor the temporary is left behind.
bool WriteWholeFile(const std::string& path, const std::string& bytes,
                    WithoutTemporary fallback = WithoutTemporary::Fail, FileError* error = nullptr);
// Reads the whole file; false when it cannot be opened or read, with bytes
// then holding what was read before the error.
bool ReadWholeFile(const std::string& path, std::string& bytes, FileError* error = nullptr);
// Opens path for reading.
bool OpenForReading(InputFile& file, const std::string& path, FileError* error = nullptr);

}  // namespace platform
