// What the reader makes of a broad set of inputs, field by field, against
// the model that the reader made of them when these files were written:
// every exchange file in the repository, large generated drawings and
// hostile bytes. Small inputs keep their whole dump in tests/golden/reader/
// (NAME.dump), large ones a digest of it (digests.txt). A mismatch leaves
// the dump made now beside the build for comparison.
//
// After a deliberate change of the model, remake them with
//   Q308_UPDATE_GOLDEN=1 build/default/tests/ReaderGoldenTest
// and review the difference before committing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "support/MixedRecords.h"
#include "support/ModelDump.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

const fs::path GoldenDir = fs::path(Q308_SOURCE_DIR) / "tests/golden/reader";
const fs::path ActualDir = fs::path(Q308_BINARY_DIR) / "reader-golden";
constexpr std::size_t WholeDumpLimit = 8 * 1024;  // inputs up to this size keep their whole dump

bool Updating() { return std::getenv("Q308_UPDATE_GOLDEN") != nullptr; }

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// ---- hostile and generated inputs ----

// Records made of the reader's keywords, numbers at the edges of the
// parsers and every kind of separator, in a fixed pseudo-random order.
std::string KeywordSoup(int lines, uint64_t seed)
{
    static const char* const Words[] = {
        "hk", "hs", "hzs", "hcw", "hch", "hcd", "hcc", "bz", "hn", "lgn", "lyn", "lg", "lgA", "lg1F", "lgz", "ly",
        "ly9", "lc", "lc10", "lc3", "lt", "lt2", "lw", "lw4", "cn$", "cn", "cn0", "cn3", "cn11", "cc", "cc12", "cc9",
        "z1", "z3", "z5", "z6", "pn", "pn7", "pl", "msg", "#", "hp", "hp1", "hp2-", "hp3ln", "hp4ci", "hp12ch",
        "hp0", "hp100", "hp-ch", "hhp", "hhp5ln", "hhp12", "hhp7ci", "hhpch", "ci", "ch", "cv", "cs", "cr", "co",
        "cp", "ct", "ck", "cz", "c2", "pt", "BL", "sl", "sc", "se", "so", "sg", "file=", "xfile=a b",
        "0", "1", "-1", "+2", "3.25", ".5", "5.", "1e3", "2.5E-3", "1E+5", "1e", "-", "+", ".", "E5", "1,5", "abc",
        "1e999", "-1e999", "99999999999", "2147483647", "2147483648", "-2147483648", "-2147483649", "4.9e-324",
        "1e-400", "2.2250738585072014e-308", "1.7976931348623157e308", "-0", "-0.0", "0x1F", "0X1f", "$FFFFFFFF",
        "$100000000", "x7", "-$A", "00000000000000000000000000001", "0.1000000000000000055511151231257827",
        "123456789012345678901234567890", "9007199254740993", "1234.5678901234",
        "\x82\xa0", "\x90\xa1\x96\x40", "\x82", "\xfd\x41", "\x80", "\xfe", "\xff", "\xa0\xb1\xdf",
    };
    static const std::string Separators[] = {" ", " ", " ", "  ", "\t", " \t ", "\"", "=", "\r", "\r\r",
                                             "\x01", "\0"s, "\x1f", "\xfe", "\xff", "\x82", " \""};
    records::NumberSource random(seed);
    std::string bytes;
    for (int i = 0; i < lines; ++i) {
        const int count = static_cast<int>(random.Next() % 12);
        for (int j = 0; j < count; ++j) {
            bytes += Words[random.Next() % std::size(Words)];
            bytes += Separators[random.Next() % std::size(Separators)];
        }
        static const char* const Ends[] = {"\r\n", "\r\n", "\r\n", "\n", "\r\r\n", "\x82\r\n", " \r\n", "\t\n"};
        bytes += Ends[random.Next() % std::size(Ends)];
    }
    return bytes;
}

std::string RandomBytes(std::size_t size, uint64_t seed, const std::string& alphabet = {})
{
    records::NumberSource random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        const uint64_t r = random.Next();
        c = alphabet.empty() ? static_cast<char>(r) : alphabet[r % alphabet.size()];
        if (c == '\x1a')
            c = '\x1b';  // the end-of-file byte would end the reading at once
    }
    return bytes;
}

std::string Repeat(const std::string& piece, std::size_t times)
{
    std::string bytes;
    bytes.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        bytes += piece;
    return bytes;
}

struct Generated {
    const char* Name;
    std::function<std::string()> Bytes;
};

const std::vector<Generated>& GeneratedInputs()
{
    static const std::vector<Generated> inputs = {
        {"mixed-10000", [] { return records::MixedExchangeFile(10000); }},
        {"soup-20000", [] { return KeywordSoup(20000, 1); }},
        {"soup-short-lines", [] { return KeywordSoup(50000, 2); }},
        {"random-bytes", [] { return RandomBytes(256 * 1024, 3); }},
        {"random-separators", [] { return RandomBytes(256 * 1024, 4, " \t\r\n\"=\x82\x41\xfe\xff\x00" "1.-e"s); }},
        {"random-sjis",
         [] { return RandomBytes(256 * 1024, 5, "\x81\x40\x82\xa0\xe0\xfd\x9f\xa0\xdf \r\n\t\"=0123456789ch"s); }},
        {"megabyte-number-line", [] { return "1 " + std::string(1 << 20, '7') + " 3 4\r\n" + "hk 1\r\n"; }},
        {"megabyte-text-line",
         [] { return "ch 1 2 3 4 \"" + Repeat("\x90\xa1 a\t", 300000) + "\r\nch 1 2 3 4 \"after\r\n"; }},
        {"megabyte-single-token", [] { return std::string(3 << 20, 'x') + "\n1 2 3 4\n"; }},
        {"fifty-thousand-tokens", [] { return Repeat("12.5 ", 50000) + "\r\n" + Repeat("\t-1", 40000) + "\n"; }},
        {"many-empty-tokens", [] { return Repeat("a  \t ", 30000) + "\r\nhs" + Repeat(" 2", 16) + "\r\n"; }},
        {"lone-lead-bytes",
         [] { return "ab\x82\r\n1 2 3\x82\r\n\x82\n\x82\r\x82\r\rA\n1 2 3 4\x9f\r\nch 1 2 3 4 \"x\x82\r\n\xe0"s; }},
        {"nul-and-high-bytes", [] { return "h\0k 5\r\nhk\xfe 6\r\n\xff\xfe\xff\r\n1\0 2 3 4\r\n\0\0\0\r\n"s; }},
        {"end-of-file-byte", [] { return "hk 1\r\nhk 2\x1a\r\nhk 3\r\n1 2 3 4\r\n"s; }},
        {"no-final-line-end", [] { return "1 2 3 4\r\nhk 9"s; }},
        {"only-line-ends", [] { return "\r\n\n\r\r\n\r"s; }},
        {"empty", [] { return std::string(); }},
    };
    return inputs;
}

// ---- the comparison ----

struct Golden {
    std::map<std::string, std::string> Digests;
    bool Changed = false;

    Golden()
    {
        std::istringstream lines(ReadFile(GoldenDir / "digests.txt"));
        std::string name, digest;
        while (lines >> name >> digest)
            Digests[name] = digest;
    }
    ~Golden()
    {
        if (!Changed)
            return;
        std::string text;
        for (const auto& [name, digest] : Digests)
            text += name + " " + digest + "\n";
        WriteFile(GoldenDir / "digests.txt", text);
    }
};

std::string Hex(uint64_t v)
{
    std::ostringstream out;
    out << std::hex << v;
    return out.str();
}

// Compares the model now in DrawingState with the golden one for name.
void ExpectGolden(Golden& golden, const std::string& name, std::size_t inputSize)
{
    const std::string dump = modeldump::DumpModel();
    if (inputSize <= WholeDumpLimit) {
        const fs::path path = GoldenDir / (name + ".dump");
        if (Updating()) {
            WriteFile(path, dump);
            return;
        }
        ASSERT_TRUE(fs::exists(path)) << "no golden dump for " << name
                                      << " (a new input: record it with Q308_UPDATE_GOLDEN=1 and review it)";
        if (ReadFile(path) != dump) {
            WriteFile(ActualDir / (name + ".dump"), dump);
            ADD_FAILURE() << name << ": the model differs; compare " << path << " with " << ActualDir / (name + ".dump");
        }
        return;
    }
    const std::string digest = Hex(modeldump::Digest(dump));
    if (Updating()) {
        golden.Digests[name] = digest;
        golden.Changed = true;
        return;
    }
    ASSERT_TRUE(golden.Digests.count(name)) << "no golden digest for " << name
                                            << " (a new input: record it with Q308_UPDATE_GOLDEN=1 and review it)";
    if (golden.Digests[name] != digest) {
        WriteFile(ActualDir / (name + ".dump"), dump);
        ADD_FAILURE() << name << ": the model differs (digest " << digest << "); this dump is in "
                      << ActualDir / (name + ".dump");
    }
}

// Every exchange file the repository holds, by a name derived from its path.
std::vector<std::pair<std::string, fs::path>> RepositoryFiles()
{
    std::vector<std::pair<std::string, fs::path>> files;
    const fs::path source(Q308_SOURCE_DIR);
    auto add = [&](const fs::path& path) {
        std::string name = fs::relative(path, source).generic_string();
        for (char& c : name)
            if (c == '/' || c == '.')
                c = '-';
        files.emplace_back(name, path);
    };
    for (const auto& entry : fs::directory_iterator(source / "tests/fixtures"))
        if (entry.path().extension() == ".txt")
            add(entry.path());
    for (const auto& entry : fs::directory_iterator(source / "fuzz/corpus/reader"))
        add(entry.path());
    add(source / "samples/JWC_TEMP.TXT");
    for (const auto& entry : fs::directory_iterator(source / "tests/golden/preview"))
        if (entry.is_directory())
            for (const char* file : {"input.txt", "output.txt"})
                add(entry.path() / file);
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(ReaderGolden, RepositoryFilesReadAsBefore)
{
    Golden golden;
    const auto files = RepositoryFiles();
    ASSERT_GT(files.size(), 10u);
    for (const auto& [name, path] : files) {
        for (const ReaderThreads threads : {ReaderThreads::One, ReaderThreads::Two}) {
            InitDrawingState();
            EXPECT_TRUE(ReadExchangeFile(path.string(), threads)) << path;
            ExpectGolden(golden, name, fs::file_size(path));
        }
    }
    FreeDrawingState();
}

TEST(ReaderGolden, GeneratedAndHostileBytesReadAsBefore)
{
    Golden golden;
    for (const Generated& input : GeneratedInputs()) {
        const std::string bytes = input.Bytes();
        InitDrawingState();
        EXPECT_TRUE(ParseExchangeBytes(bytes.data(), bytes.size())) << input.Name;
        ExpectGolden(golden, input.Name, bytes.size());
    }
    FreeDrawingState();
}

// The same bytes read from a file arrive in chunks, with lines and CR LF
// pairs cut at chunk boundaries, on one thread or handed from a reading
// thread in batches; the model must not change.
TEST(ReaderGolden, FilesReadInChunksAsWholeBytes)
{
    const fs::path path = ActualDir / "chunked.txt";
    for (const Generated& input : GeneratedInputs()) {
        const std::string bytes = input.Bytes();
        InitDrawingState();
        ASSERT_TRUE(ParseExchangeBytes(bytes.data(), bytes.size()));
        const std::string whole = modeldump::DumpModel();
        WriteFile(path, bytes);
        for (const ReaderThreads threads : {ReaderThreads::One, ReaderThreads::Two}) {
            InitDrawingState();
            ASSERT_TRUE(ReadExchangeFile(path.string(), threads));
            EXPECT_TRUE(modeldump::DumpModel() == whole) << input.Name << (threads == ReaderThreads::Two ? " on two threads" : "");
        }
    }
    fs::remove(path);
    FreeDrawingState();
}
