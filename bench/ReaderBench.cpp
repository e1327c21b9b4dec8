// Reading speed of the exchange file for drawings of growing size. Each
// file mixes the records a real drawing hands over, so the figure covers
// splitting, tokenising, number parsing and the element lists together.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"

namespace {

std::string MixedRecords(long count)
{
    std::string bytes =
        "hq\r\nhk 0\r\nhs 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100\r\n"
        "hcw 2 2.5 3 4 5 6 7 8 9 6\r\nhp1- 1 2\r\nhp2 3 4\r\nlg0\r\nly0\r\nlc2\r\nlt1\r\ncn3\r\n";
    for (long i = 0; i < count; ++i) {
        const std::string x = std::to_string(i * 0.731), y = std::to_string(-i * 1.17);
        switch (i % 10) {
        case 0:
            bytes += "pl\r\n";
            [[fallthrough]];
        case 1:
        case 2:
        case 3:
            bytes += x + " " + y + " " + y + " " + x + "\r\n";
            break;
        case 4:
            bytes += "lc" + std::to_string(i % 9 + 1) + "\r\n";
            break;
        case 5:
            bytes += "ch " + x + " " + y + " 1 0 \"寸法 " + std::to_string(i) + " 垂直寸法線\r\n";
            break;
        case 6:
            bytes += "sl " + x + " " + y + " " + y + " " + x + " 0 0 " + x + " " + x + "\r\n";
            break;
        case 7:
            bytes += "pt " + x + " " + y + "\r\n";
            break;
        case 8:
            bytes += "ci " + x + " " + y + " 12.5\r\n";
            break;
        default:
            bytes += "z3\r\nhhp" + std::to_string(i % 100) + "ln\r\n" + y + " " + x + " " + x + " " + y + "\r\n";
            break;
        }
    }
    return bytes + "#\r\n";
}

// One file per size, written once into the temporary folder.
const std::string& FileOfRecords(long count, std::size_t& size)
{
    static std::map<long, std::pair<std::string, std::size_t>> files;
    auto found = files.find(count);
    if (found == files.end()) {
        const auto folder = std::filesystem::temp_directory_path() / "q308-reader-bench";
        std::filesystem::create_directories(folder);
        const std::string path = (folder / ("records-" + std::to_string(count) + ".txt")).string();
        const std::string bytes = MixedRecords(count);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
            std::abort();
        std::fclose(f);
        found = files.emplace(count, std::make_pair(path, bytes.size())).first;
    }
    size = found->second.second;
    return found->second.first;
}

void ReadRecords(benchmark::State& state)
{
    std::size_t size = 0;
    const std::string& path = FileOfRecords(state.range(0), size);
    for (auto _ : state) {
        InitDrawingState();
        if (!ReadExchangeFile(path))
            state.SkipWithError("the file could not be read");
        benchmark::DoNotOptimize(DrawingState.ElementOrder.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.counters["elements"] = static_cast<double>(DrawingState.ElementOrder.Count());
    FreeDrawingState();
}

}  // namespace

BENCHMARK(ReadRecords)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
