#pragma once
// What the fuzz targets share: a failed check aborts, which libFuzzer
// reports as a crash with the input that caused it, and a scratch folder
// of the process's own for the files the program reads and writes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzsupport {

inline void Require(bool condition, const char* what, const std::string& context = {})
{
    if (!condition) {
        std::fprintf(stderr, "check failed: %s%s%s\n", what, context.empty() ? "" : ": ", context.c_str());
        std::abort();
    }
}

// A fresh folder for this process, ending in the path delimiter; removed
// at exit.
inline const std::string& ScratchFolder()
{
    struct Folder {
        std::string Path;
        Folder()
        {
            // In memory where there is such a folder: the program syncs the
            // files it writes, which on a disk would cost milliseconds a run.
            std::error_code error;
            const std::filesystem::path base =
                std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
            std::string pattern = (base / "q308-fuzz-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr)
                std::abort();
            Path = pattern + "/";
        }
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(Path, ignored);
        }
    };
    static const Folder folder;
    return folder.Path;
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    Require(f != nullptr, "the scratch file can be written");
    if (!bytes.empty())
        Require(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "the scratch file is written whole");
    std::fclose(f);
}

inline std::string ReadFile(const std::string& path)
{
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

}  // namespace fuzzsupport
