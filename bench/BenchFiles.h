#pragma once
// The generated drawings both benchmarks read, written once per run into a
// folder of the benchmark's own under the temporary folder.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/MixedRecords.h"

namespace benchfiles {

inline std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "q308-bench";
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// The exchange file of count mixed records; its size in bytes goes to size.
inline std::string RecordsFile(long count, std::size_t& size)
{
    const std::string path = (Folder() / ("records-" + std::to_string(count) + ".txt")).string();
    const std::string bytes = records::MixedExchangeFile(count);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
    size = bytes.size();
    return path;
}

}  // namespace benchfiles
