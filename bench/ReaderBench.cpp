// The exchange-file reader on drawings of 10,000, 100,000 and 1,000,000
// mixed records, beside the floor: a memchr scan for the line ends of the
// same file, read the same way. Each size reports its best times and the
// ratio reader/floor; at the end, how the reader's time grows with ten
// times the records.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "bench/BenchFiles.h"
#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"

namespace {

using Clock = std::chrono::steady_clock;

struct SizeFile {
    std::string Path;
    std::size_t Bytes = 0;
};

const SizeFile& FileOf(long count)
{
    static std::map<long, SizeFile> files;
    SizeFile& file = files[count];
    if (file.Path.empty())
        file.Path = benchfiles::RecordsFile(count, file.Bytes);
    return file;
}

// What no reader can beat: the file read in the reader's chunks and its
// lines found with memchr. Best of five.
double FloorSeconds(const std::string& path)
{
    constexpr std::size_t Chunk = 64 * 1024;
    std::unique_ptr<char[]> buffer(new char[Chunk]);
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::size_t lines = 0, got;
        while ((got = std::fread(buffer.get(), 1, Chunk, f)) > 0)
            for (const char* p = buffer.get(); (p = static_cast<const char*>(std::memchr(p, '\n', buffer.get() + got - p))); ++p)
                ++lines;
        std::fclose(f);
        benchmark::DoNotOptimize(lines);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

std::map<std::pair<long, long>, double> BestReaderSeconds;  // (records, threads)

void ReadRecords(benchmark::State& state)
{
    const long count = state.range(0), threads = state.range(1);
    const SizeFile& file = FileOf(count);
    const double floor = FloorSeconds(file.Path);
    double best = 1e9;
    for (auto _ : state) {
        const auto start = Clock::now();
        InitDrawingState();
        if (!ReadExchangeFile(file.Path, threads == 1 ? ReaderThreads::One : ReaderThreads::Two))
            state.SkipWithError("the file could not be read");
        benchmark::DoNotOptimize(DrawingState.ElementOrder.Count());
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
        state.PauseTiming();
        FreeDrawingState();
        state.ResumeTiming();
    }
    BestReaderSeconds[{count, threads}] = best;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.Bytes));
    state.counters["MB"] = static_cast<double>(file.Bytes) / 1e6;
    state.counters["reader_ms"] = best * 1e3;
    state.counters["floor_ms"] = floor * 1e3;
    state.counters["reader/floor"] = best / floor;
}

}  // namespace

// Second argument: the reader's threads (one, or one reading ahead as well).
BENCHMARK(ReadRecords)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 2}})
    ->ArgNames({"records", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const long threads : {1L, 2L}) {
        for (const long count : {10000L, 100000L}) {
            const auto small = BestReaderSeconds.find({count, threads}), large = BestReaderSeconds.find({count * 10, threads});
            if (small != BestReaderSeconds.end() && large != BestReaderSeconds.end())
                std::printf("%ld thread(s), %ld -> %ld records: %.2f x the time (best runs)\n", threads, count, count * 10,
                            large->second / small->second);
        }
    }
    return 0;
}
