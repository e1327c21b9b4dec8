// The whole native program on a drawing of 1,000,000 mixed records: from
// its start, with the dialog cancelled on standard input, until "hq" is
// written and it has ended; beside awk counting the fields of the same
// file, where awk is installed. Median of five runs each, taken in turn,
// with the file in the page cache; the same for 100,000 records shows how
// the time grows with ten times the records; peak memory against the
// file's size.
//
//   ProgramBench [PROGRAM]   (default: the q308 built beside this benchmark)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/BenchFiles.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Run {
    double Seconds = 0;
    long PeakKilobytes = 0;
};

// Runs argv with standard input from the file input and output discarded.
Run Spawn(const std::vector<std::string>& argv, const std::string& input)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", args[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    Run run;
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.PeakKilobytes = usage.ru_maxrss;
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", args[0]);
        std::exit(1);
    }
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(start, end - start)) / name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
        start = end + 1;
    }
    return {};
}

struct Measured {
    double Program = 0, Awk = 0;
    long PeakKilobytes = 0;
    std::size_t Bytes = 0;
};

Measured Measure(long count, const fs::path& program, const std::string& awk)
{
    const fs::path folder = benchfiles::Folder() / ("program-" + std::to_string(count));
    fs::create_directories(folder);
    const fs::path copy = folder / "q308";
    fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
    Measured m;
    const fs::path source = benchfiles::RecordsFile(count, m.Bytes);
    const fs::path exchange = folder / "JWC_TEMP.TXT";
    const std::string cancel = (folder / "cancel.txt").string();
    std::ofstream(cancel) << "Cancel\n";
    ReadAll(source);  // into the page cache

    std::vector<double> programTimes, awkTimes;
    for (int run = 0; run < 5; ++run) {
        // The program replaces the exchange file with its output; a new
        // link to the generated file puts the input back without a copy.
        fs::remove(exchange);
        fs::create_hard_link(source, exchange);
        const Run r = Spawn({copy.string()}, cancel);
        if (ReadAll(exchange) != "hq\r\n") {
            std::fprintf(stderr, "the program did not write \"hq\"\n");
            std::exit(1);
        }
        programTimes.push_back(r.Seconds);
        m.PeakKilobytes = std::max(m.PeakKilobytes, r.PeakKilobytes);
        if (!awk.empty())
            awkTimes.push_back(Spawn({awk, "{n+=NF} END{print n}", source.string()}, "/dev/null").Seconds);
    }
    m.Program = Median(programTimes);
    if (!awkTimes.empty())
        m.Awk = Median(awkTimes);
    fs::remove(exchange);
    return m;
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path program = argc > 1 ? fs::path(argv[1]) : fs::path(Q308_PROGRAM);
    std::string awk = FindOnPath("mawk");
    if (awk.empty())
        awk = FindOnPath("awk");
    const Measured small = Measure(100000, program, awk);
    const Measured large = Measure(1000000, program, awk);
    for (const auto& [count, m] : {std::pair{100000L, small}, std::pair{1000000L, large}}) {
        std::printf("%7ld records (%.1f MB): q308 %.3f s", count, m.Bytes / 1e6, m.Program);
        if (!awk.empty())
            std::printf(", %s %.3f s, awk/q308 %.2f", fs::path(awk).filename().c_str(), m.Awk, m.Awk / m.Program);
        std::printf(", peak memory %.1f MiB = %.2f x the file\n", m.PeakKilobytes / 1024.0,
                    m.PeakKilobytes * 1024.0 / static_cast<double>(m.Bytes));
    }
    if (awk.empty())
        std::printf("no awk on the PATH: q308 alone\n");
    std::printf("10 x the records: %.2f x the time\n", large.Program / small.Program);
    return 0;
}
