#include "platform/ExecutablePath.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
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
        std::filesystem::remove_all(folder_);
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

}  // namespace

TEST_F(FilesFolder, WholeFileRoundTripKeepsEveryByte)
{
    std::string large;  // larger than the read buffer
    for (int i = 0; i < 200000; ++i)
        large += static_cast<char>(i * 7);
    // Line ends, NUL, Ctrl-Z and Shift-JIS bytes must pass untouched.
    for (const std::string& bytes : {std::string("hq\r\nlg0\n\r\0\x1A\x82\xA0\x81\x40\xFF", 16), std::string(), large}) {
        ASSERT_TRUE(WriteWholeFile(Path("a.txt"), std::string(5000, 'x')));
        ASSERT_TRUE(WriteWholeFile(Path("a.txt"), bytes));
        EXPECT_EQ(Contents(Path("a.txt")), bytes) << bytes.size();
        EXPECT_FALSE(FileExists(Path("a.txt.tmp")));
    }
}

TEST_F(FilesFolder, WholeFileFailsLeavingNoTemporary)
{
    ASSERT_TRUE(WriteWholeFile(Path("plain"), "x"));
    ASSERT_EQ(::mkdir(Path("target").c_str(), 0700), 0);
    ASSERT_TRUE(WriteWholeFile(Path("target/inside"), "keep"));
    // No temporary file can be created; or, with a non-empty folder at the
    // target, the bytes are written and the rename fails.
    for (const std::string& path : {Path("missing/a.txt"), Path("plain/a.txt"), std::string(), Path("target")}) {
        EXPECT_FALSE(WriteWholeFile(path, "data")) << path;
        EXPECT_FALSE(FileExists(path + ".tmp")) << path;
    }
    EXPECT_EQ(Contents(Path("plain")), "x");
    EXPECT_EQ(Contents(Path("target/inside")), "keep");
}

// The settings file is written in place where no temporary file can be made
// beside it; a temporary that was made but could not be moved is no such case.
TEST_F(FilesFolder, WholeFileWritesInPlaceOnlyWithoutATemporary)
{
    ASSERT_TRUE(WriteWholeFile(Path("a.txt"), "previous"));
    ASSERT_EQ(::mkdir(Path("a.txt.tmp").c_str(), 0700), 0);
    EXPECT_FALSE(WriteWholeFile(Path("a.txt"), "new"));
    EXPECT_EQ(Contents(Path("a.txt")), "previous");
    EXPECT_TRUE(WriteWholeFile(Path("a.txt"), "new", WithoutTemporary::WriteInPlace));
    EXPECT_EQ(Contents(Path("a.txt")), "new");

    // b: neither a temporary nor the target can be made; c: a non-empty
    // folder the finished temporary cannot replace.
    for (const char* folder : {"b", "b.tmp", "c"})
        ASSERT_EQ(::mkdir(Path(folder).c_str(), 0700), 0);
    ASSERT_TRUE(WriteWholeFile(Path("c/inside"), "keep"));
    for (const std::string& path : {Path("b"), Path("c")})
        EXPECT_FALSE(WriteWholeFile(path, "new", WithoutTemporary::WriteInPlace)) << path;
    EXPECT_TRUE(std::filesystem::is_directory(Path("b")));
    EXPECT_FALSE(FileExists(Path("c.tmp")));
    EXPECT_EQ(Contents(Path("c/inside")), "keep");
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
    EXPECT_EQ(Contents(Path("a.txt")), "previous");
}

TEST_F(FilesFolder, ExistsRemoveAndReadFailures)
{
    EXPECT_FALSE(FileExists(Path("a")));
    ASSERT_TRUE(WriteWholeFile(Path("a"), "x"));
    EXPECT_TRUE(FileExists(Path("a")));
    EXPECT_FALSE(FileExists(folder_));  // a folder is not a file
    EXPECT_TRUE(RemoveFile(Path("a")));
    EXPECT_FALSE(FileExists(Path("a")));
    EXPECT_FALSE(RemoveFile(Path("a")));

    std::string bytes = "stale";
    EXPECT_FALSE(ReadWholeFile(Path("missing"), bytes));
    EXPECT_FALSE(ReadWholeFile(folder_, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST_F(FilesFolder, StreamsReportMisuseAndFailures)
{
    InputFile in;
    char buffer[4];
    EXPECT_FALSE(in.Open(Path("missing")));
    EXPECT_EQ(in.Read(buffer, sizeof buffer), -1);  // nothing open

    OutputFile out;
    EXPECT_FALSE(out.Write("x", 1));  // not created
    EXPECT_FALSE(out.Create(Path("missing/a")));
    EXPECT_FALSE(out.Write("x", 1));
    EXPECT_TRUE(out.Close());  // nothing open, nothing lost
}

// The size decides how a file is read; only a plain file has one.
TEST_F(FilesFolder, InputSizeIsTheFilesOrUnknown)
{
    ASSERT_TRUE(WriteWholeFile(Path("empty"), ""));
    ASSERT_TRUE(WriteWholeFile(Path("some"), std::string(123457, 'x')));
    const struct {
        std::string path;
        long long size;
    } cases[] = {{Path("empty"), 0}, {Path("some"), 123457}, {"/dev/null", -1}, {folder_, -1}};
    for (const auto& c : cases) {
        InputFile in;
        if (!in.Open(c.path))
            continue;  // a folder may not open at all
        EXPECT_EQ(in.Size(), c.size) << c.path;
        char byte;
        in.Read(&byte, 1);
        EXPECT_EQ(in.Size(), c.size) << c.path << " after a read";
    }
    InputFile closed;
    EXPECT_EQ(closed.Size(), -1);
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
    EXPECT_EQ(file.Error().Code, static_cast<unsigned long>(ENOSPC));
    EXPECT_FALSE(file.Error().Passing);
    EXPECT_FALSE(FileErrorText(file.Error()).empty());
}

// Each failure keeps the system's reason; nothing here is held for a moment
// by another program, so no failure is passing.
TEST_F(FilesFolder, FailuresKeepTheSystemsReason)
{
    InputFile in;
    EXPECT_FALSE(in.Open(Path("missing")));
    FileError moved, removed, written;
    EXPECT_FALSE(MoveFileOver(Path("missing"), Path("b"), &moved));
    EXPECT_FALSE(RemoveFile(Path("missing"), &removed));
    ASSERT_EQ(::mkdir(Path("a.txt.tmp").c_str(), 0700), 0);
    EXPECT_FALSE(WriteWholeFile(Path("a.txt"), "x", WithoutTemporary::Fail, &written));
    const struct {
        FileError Error;
        int Code;
    } cases[] = {{in.Error(), ENOENT}, {moved, ENOENT}, {removed, ENOENT}, {written, EISDIR}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.Error.Code, static_cast<unsigned long>(c.Code));
        EXPECT_FALSE(c.Error.Passing);
    }
    EXPECT_EQ(FileErrorText(FileError()), "");
}

TEST(ExecutablePath, NamesThisProgram)
{
    const std::string path = ExecutablePath();
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(path, folder + "FilesTest");
    EXPECT_TRUE(FileExists(path));
}
