#pragma once
// Files as bytes. Paths are UTF-8 strings everywhere in the program; on
// Windows they are converted to wide strings, so a folder named in any
// script works. File contents are never converted.
#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

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

private:
    std::FILE* file_ = nullptr;
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

private:
    std::FILE* file_ = nullptr;
};

bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
// Puts the file at from in the place of the file at to, replacing it.
bool MoveFileOver(const std::string& from, const std::string& to);

// What WriteWholeFile does where it cannot create its temporary file.
enum class WithoutTemporary {
    Fail,          // report the failure; the file at path stays as it was
    WriteInPlace,  // create or truncate path itself, and delete it on error
};

// Writes bytes to path through a temporary file beside it, which replaces
// path only once complete: on any error false is returned and neither a
// partial file nor a damaged previous file is left behind.
bool WriteWholeFile(const std::string& path, const std::string& bytes,
                    WithoutTemporary fallback = WithoutTemporary::Fail);
// Reads the whole file; false when it cannot be opened or read, with bytes
// then holding what was read before the error.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace platform
