#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

// A fresh folder per test, removed with everything in it afterwards.
class FilesFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "q308-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern + "/";
    }
    void TearDown() override
    {
        ::chmod(folder_.c_str(), 0700);
        const std::string command = "rm -rf '" + folder_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::string Path(const std::string& name) const { return folder_ + name; }

    std::string folder_;
};

std::string Contents(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return bytes;
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

TEST_F(FilesFolder, WholeFileRoundTripKeepsEveryByte)
{
    std::string large;
    for (int i = 0; i < 200000; ++i)
        large += static_cast<char>(i * 7);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        // Line ends, NUL, Ctrl-Z and Shift-JIS bytes must pass untouched.
        {"control and double-byte", std::string("hq\r\nlg0\n\r\0\x1A\x82\xA0\x81\x40\xFF", 16)},
        {"nothing", ""},
        {"larger than the read buffer", large},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(Path("a.txt"), std::string(5000, 'x')));
        ASSERT_TRUE(WriteWholeFile(Path("a.txt"), c.bytes));
        EXPECT_EQ(Contents(Path("a.txt")), c.bytes);
        EXPECT_FALSE(FileExists(Path("a.txt.tmp")));
    }
}

TEST_F(FilesFolder, WholeFileFailsWhereNoFileCanBeCreated)
{
    ASSERT_TRUE(WriteWholeFile(Path("plain"), "x"));
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"missing folder", Path("missing/a.txt")},
        {"parent is a file", Path("plain/a.txt")},
        {"empty path", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(WriteWholeFile(c.path, "data"));
        EXPECT_FALSE(FileExists(c.path));
        EXPECT_FALSE(FileExists(c.path + ".tmp"));
    }
    EXPECT_EQ(Contents(Path("plain")), "x");
}

TEST_F(FilesFolder, WholeFileLeavesNoTemporaryWhenTheTargetCannotBeReplaced)
{
    // A non-empty folder at the target: the bytes are written, the rename fails.
    ASSERT_EQ(::mkdir(Path("target").c_str(), 0700), 0);
    ASSERT_TRUE(WriteWholeFile(Path("target/inside"), "keep"));

    EXPECT_FALSE(WriteWholeFile(Path("target"), "data"));
    EXPECT_FALSE(FileExists(Path("target.tmp")));
    EXPECT_TRUE(IsFolder(Path("target")));
    EXPECT_EQ(Contents(Path("target/inside")), "keep");
}

TEST_F(FilesFolder, WholeFileInReadOnlyFolderKeepsThePreviousFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    ASSERT_TRUE(WriteWholeFile(Path("a.txt"), "previous"));
    ASSERT_EQ(::chmod(folder_.c_str(), 0500), 0);

    EXPECT_FALSE(WriteWholeFile(Path("a.txt"), "new"));
    EXPECT_FALSE(WriteWholeFile(Path("b.txt"), "new"));
    EXPECT_FALSE(FileExists(Path("b.txt")));
    EXPECT_FALSE(FileExists(Path("a.txt.tmp")));
    EXPECT_EQ(Contents(Path("a.txt")), "previous");
}

TEST_F(FilesFolder, ReadWholeFileFailsOnMissingFileAndFolder)
{
    std::string bytes = "stale";
    EXPECT_FALSE(ReadWholeFile(Path("missing"), bytes));
    EXPECT_FALSE(ReadWholeFile(folder_, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST_F(FilesFolder, ExistsAndRemove)
{
    EXPECT_FALSE(FileExists(Path("a")));
    ASSERT_TRUE(WriteWholeFile(Path("a"), "x"));
    EXPECT_TRUE(FileExists(Path("a")));
    EXPECT_FALSE(FileExists(folder_));  // a folder is not a file

    EXPECT_TRUE(RemoveFile(Path("a")));
    EXPECT_FALSE(FileExists(Path("a")));
    EXPECT_FALSE(RemoveFile(Path("a")));
}

TEST_F(FilesFolder, InputFileReadsToTheEnd)
{
    ASSERT_TRUE(WriteWholeFile(Path("a"), "abcdefg"));
    InputFile file;
    ASSERT_TRUE(file.Open(Path("a")));
    char buffer[4];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 3);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0);
    file.Close();
    EXPECT_EQ(file.Read(buffer, sizeof buffer), -1);
    EXPECT_FALSE(file.Open(Path("missing")));
}

TEST_F(FilesFolder, OutputFileReportsFailures)
{
    OutputFile file;
    EXPECT_FALSE(file.Write("x", 1));  // not created
    EXPECT_FALSE(file.Create(Path("missing/a")));
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_TRUE(file.Close());  // nothing open, nothing lost

    ASSERT_TRUE(file.Create(Path("b")));
    EXPECT_TRUE(file.Write("hq\r\n"));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(Contents(Path("b")), "hq\r\n");
}

TEST(OutputFile, CloseReportsDataThatNeverReachedTheDisk)
{
    // The device is always full; buffered writes only fail when flushed.
    if (!FileExists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    OutputFile file;
    ASSERT_TRUE(file.Create("/dev/full"));
    file.Write("hq\r\n");
    EXPECT_FALSE(file.Close());
}

TEST(ExecutablePath, NamesThisProgram)
{
    const std::string path = ExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(path.substr(path.rfind('/') + 1), "FilesTest");
    EXPECT_TRUE(FileExists(path));

    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(path.substr(0, folder.size()), folder);
    EXPECT_EQ(path.find('/', folder.size()), std::string::npos);
}
