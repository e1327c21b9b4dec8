#include "exchange/OutputStore.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Files.h"

namespace {

void StoreLines(const std::vector<std::string>& lines)
{
    OutputStore.Lines.Release();
    for (const std::string& line : lines)
        AppendOutputLine(line);
}

std::string Contents(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(path, bytes)) << path;
    return bytes;
}

class ExchangeFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "q308-store-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern + "/";
        exchange_ = folder_ + "JWC_TEMP.TXT";
        ASSERT_TRUE(platform::WriteWholeFile(exchange_, "hq\r\nhp1 0 0\r\n"));  // the host's input
    }
    void TearDown() override
    {
        OutputStore.Lines.Release();
        ::chmod(folder_.c_str(), 0700);
        std::filesystem::remove_all(folder_);
    }

    std::string folder_;
    std::string exchange_;
};

}  // namespace

TEST(OutputStore, RendersStoredLinesCutAndJoined)
{
    const std::string cutQuote = std::string(255, 'a') + " \"";  // the cut drops the quote: no joining
    const struct {
        const char* Name;
        std::vector<std::string> Lines;
        std::string Bytes;
    } cases[] = {
        {"empty store", {}, "hq\r\n"},
        {"plain records", {"lg0", "ly0", "lc1"}, "lg0\r\nly0\r\nlc1\r\n"},
        {"text record", {"z3", "cs 10 20 10 0 \"", "abc", "lt1"}, "z3\r\ncs 10 20 10 0 \"abc\r\nlt1\r\n"},
        {"last entry ends in quote", {"lg0", "cs 1 2 10 0 \""}, "lg0\r\ncs 1 2 10 0 \""},
        {"two quoted entries in a row", {"a \"", "b \"", "c"}, "a \"b \"\r\nc\r\n"},
        {"empty entry is an empty line", {"x", "", "y"}, "x\r\n\r\ny\r\n"},
        {"quote joined with empty entry", {"\"", ""}, "\"\r\n"},
        {"quote inside is plain", {"a\"b", "c"}, "a\"b\r\nc\r\n"},
        {"cut quote", {cutQuote, "text"}, std::string(255, 'a') + "\r\ntext\r\n"},
        // Entries are cut at 255 bytes, even inside a double-byte character.
        {"300 bytes", {std::string(300, 'b')}, std::string(255, 'b') + "\r\n"},
        {"255 bytes", {std::string(255, 'c')}, std::string(255, 'c') + "\r\n"},
        {"pair at the cut", {std::string(254, 'd') + "\x82\xA0"}, std::string(254, 'd') + "\x82\r\n"},
    };
    for (const auto& c : cases) {
        StoreLines(c.Lines);
        EXPECT_EQ(RenderExchangeFile(), c.Bytes) << c.Name;
    }
    OutputStore.Lines.Release();
}

TEST(OutputStore, CapacityGrowsInThousands)
{
    const std::size_t cases[][2] = {{0, 0}, {1, 1000}, {1000, 1000}, {1001, 2000}, {2000, 2000}, {2001, 3000}};
    for (const auto& [lines, capacity] : cases) {
        StoreLines(std::vector<std::string>(lines, "z3"));
        EXPECT_EQ(OutputStore.Lines.Count(), lines);
        EXPECT_EQ(OutputStore.Lines.Capacity(), capacity) << lines;
    }
    OutputStore.Lines.Release();
}

TEST_F(ExchangeFolder, ReplacesTheInputWithTheRenderedBytes)
{
    OutputStore.Lines.Release();
    EXPECT_TRUE(WriteExchangeFile(exchange_));
    EXPECT_EQ(Contents(exchange_), "hq\r\n");

    StoreLines({"lg2", "z3", "cs 10 20 10 0 \"", "\x82\xA0", "msg", "0 0 3 4", "cs 1 2 10 0 \"", "5 \""});
    EXPECT_TRUE(WriteExchangeFile(exchange_));
    EXPECT_EQ(Contents(exchange_), "lg2\r\nz3\r\ncs 10 20 10 0 \"\x82\xA0\r\nmsg\r\n0 0 3 4\r\ncs 1 2 10 0 \"5 \"\r\n");
    EXPECT_FALSE(platform::FileExists(exchange_ + ".tmp"));
}

TEST_F(ExchangeFolder, FailedWriteLeavesNoFile)
{
    StoreLines({"lg0"});
    EXPECT_FALSE(WriteExchangeFile(folder_ + "missing/JWC_TEMP.TXT"));
    // The temporary file cannot be created; the host must not find its own
    // input there and take it for the output.
    ASSERT_EQ(::mkdir((exchange_ + ".tmp").c_str(), 0700), 0);
    EXPECT_FALSE(WriteExchangeFile(exchange_));
    EXPECT_FALSE(platform::FileExists(exchange_));
}

TEST_F(ExchangeFolder, ReadOnlyFolderLeavesNoPartialFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    ASSERT_TRUE(platform::RemoveFile(exchange_));
    ASSERT_EQ(::chmod(folder_.c_str(), 0500), 0);
    StoreLines({"lg0"});
    EXPECT_FALSE(WriteExchangeFile(exchange_));
    EXPECT_FALSE(platform::FileExists(exchange_));
    EXPECT_FALSE(platform::FileExists(exchange_ + ".tmp"));
}

// A caller that may try again keeps the host's input until it gives up.
TEST_F(ExchangeFolder, TriedWriteKeepsTheInputUntilDiscarded)
{
    StoreLines({"lg0"});
    ASSERT_EQ(::mkdir((exchange_ + ".tmp").c_str(), 0700), 0);
    platform::FileError error;
    EXPECT_FALSE(TryWriteExchangeFile(exchange_, error));
    EXPECT_EQ(error.Code, static_cast<unsigned long>(EISDIR));
    EXPECT_EQ(Contents(exchange_), "hq\r\nhp1 0 0\r\n");
    ASSERT_EQ(::rmdir((exchange_ + ".tmp").c_str()), 0);
    EXPECT_TRUE(TryWriteExchangeFile(exchange_, error));
    EXPECT_EQ(Contents(exchange_), "lg0\r\n");
    DiscardExchangeFile(exchange_);
    EXPECT_FALSE(platform::FileExists(exchange_));
}
