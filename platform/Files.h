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

// Writes bytes to path; on any error no file is left there and false is returned.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Full path of the running executable (UTF-8).
std::string ExecutablePath();
// Folder of the running executable, ending in the path delimiter.
std::string ExecutableFolder();

}  // namespace platform
