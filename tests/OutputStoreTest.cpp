#include "exchange/OutputStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
    }
    void TearDown() override
    {
        OutputStore.Lines.Release();
        ::chmod(folder_.c_str(), 0700);
        const std::string command = "rm -rf '" + folder_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    std::string folder_;
    std::string exchange_;
};

}  // namespace

TEST(OutputStore, RendersStoredLinesWithJoining)
{
    const struct {
        const char* name;
        std::vector<std::string> lines;
        std::string bytes;
    } cases[] = {
        {"empty store", {}, "hq\r\n"},
        {"plain records", {"lg0", "ly0", "lc1"}, "lg0\r\nly0\r\nlc1\r\n"},
        {"text record", {"z3", "cs 10 20 10 0 \"", "abc", "lt1"}, "z3\r\ncs 10 20 10 0 \"abc\r\nlt1\r\n"},
        {"last entry ends in quote", {"lg0", "cs 1 2 10 0 \""}, "lg0\r\ncs 1 2 10 0 \""},
        {"two quoted entries in a row", {"a \"", "b \"", "c"}, "a \"b \"\r\nc\r\n"},
        {"empty entry is an empty line", {"x", "", "y"}, "x\r\n\r\ny\r\n"},
        {"quote joined with empty entry", {"\"", ""}, "\"\r\n"},
        {"lone quote at the end", {"\""}, "\""},
        {"quote inside is plain", {"a\"b", "c"}, "a\"b\r\nc\r\n"},
        {"only empty entries", {"", ""}, "\r\n\r\n"},
        {"dimension figure", {"msg", "0 0 3 4", "cs 1 2 10 0 \"", "5"}, "msg\r\n0 0 3 4\r\ncs 1 2 10 0 \"5\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreLines(c.lines);
        EXPECT_EQ(RenderExchangeFile(), c.bytes);
    }
    OutputStore.Lines.Release();
}

TEST(OutputStore, CutsLinesAt255Bytes)
{
    const std::string sjisPair = "\x82\xA0";  // one double-byte character
    const struct {
        const char* name;
        std::string line;
        std::string stored;
    } cases[] = {
        {"300 bytes", std::string(300, 'a'), std::string(255, 'a')},
        {"255 bytes", std::string(255, 'b'), std::string(255, 'b')},
        {"254 bytes", std::string(254, 'c'), std::string(254, 'c')},
        {"pair split at the cut", std::string(254, 'd') + sjisPair, std::string(254, 'd') + "\x82"},
        {"quote beyond the cut", std::string(255, 'e') + "\"", std::string(255, 'e')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreLines({c.line});
        ASSERT_EQ(OutputStore.Lines.Count(), 1u);
        EXPECT_EQ(OutputStore.Lines[0], c.stored);
    }
    OutputStore.Lines.Release();
}

TEST(OutputStore, CutQuoteNoLongerJoins)
{
    // The joining rule looks at the stored, cut line.
    StoreLines({std::string(255, 'a') + " \"", "text"});
    EXPECT_EQ(RenderExchangeFile(), std::string(255, 'a') + "\r\ntext\r\n");
    OutputStore.Lines.Release();
}

TEST(OutputStore, CapacityGrowsInThousands)
{
    const struct {
        std::size_t lines;
        std::size_t capacity;
    } cases[] = {{0, 0}, {1, 1000}, {1000, 1000}, {1001, 2000}, {2000, 2000}, {2001, 3000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        StoreLines(std::vector<std::string>(c.lines, "z3"));
        EXPECT_EQ(OutputStore.Lines.Count(), c.lines);
        EXPECT_EQ(OutputStore.Lines.Capacity(), c.capacity);
    }
    OutputStore.Lines.Release();
}

TEST_F(ExchangeFolder, EmptyStoreWritesHq)
{
    ASSERT_TRUE(platform::WriteWholeFile(exchange_, "hq\r\nhp1 0 0\r\n"));  // the host's input
    OutputStore.Lines.Release();
    EXPECT_TRUE(WriteExchangeFile(exchange_));
    EXPECT_EQ(Contents(exchange_), "hq\r\n");
}

TEST_F(ExchangeFolder, WritesTheRenderedBytes)
{
    StoreLines({"lg2", "ly6", "z3", "cs 10 20 10 0 \"", "\x82\xA0", "msg", "0 0 3 4", "cs 1 2 10 0 \"", "5 \""});
    EXPECT_TRUE(WriteExchangeFile(exchange_));
    EXPECT_EQ(Contents(exchange_),
              "lg2\r\nly6\r\nz3\r\ncs 10 20 10 0 \"\x82\xA0\r\nmsg\r\n0 0 3 4\r\ncs 1 2 10 0 \"5 \"\r\n");
    EXPECT_FALSE(platform::FileExists(exchange_ + ".tmp"));
}

TEST_F(ExchangeFolder, FailedWriteLeavesNoFile)
{
    ASSERT_TRUE(platform::WriteWholeFile(folder_ + "plain", "x"));
    StoreLines({"lg0"});
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"missing folder", folder_ + "missing/JWC_TEMP.TXT"},
        {"parent is a file", folder_ + "plain/JWC_TEMP.TXT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(WriteExchangeFile(c.path));
        EXPECT_FALSE(platform::FileExists(c.path));
        EXPECT_FALSE(platform::FileExists(c.path + ".tmp"));
    }
}

TEST_F(ExchangeFolder, FailedWriteDoesNotHandTheInputBack)
{
    // The temporary file cannot be created; the host must not find its own
    // input there and take it for the output.
    ASSERT_TRUE(platform::WriteWholeFile(exchange_, "hq\r\nhp1 0 0\r\n"));
    ASSERT_EQ(::mkdir((exchange_ + ".tmp").c_str(), 0700), 0);
    StoreLines({"lg0"});

    EXPECT_FALSE(WriteExchangeFile(exchange_));
    EXPECT_FALSE(platform::FileExists(exchange_));
}

TEST_F(ExchangeFolder, ReadOnlyFolderLeavesNoPartialFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    ASSERT_EQ(::chmod(folder_.c_str(), 0500), 0);
    StoreLines({"lg0"});
    EXPECT_FALSE(WriteExchangeFile(exchange_));
    EXPECT_FALSE(platform::FileExists(exchange_));
    EXPECT_FALSE(platform::FileExists(exchange_ + ".tmp"));
}
