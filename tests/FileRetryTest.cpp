// The retries of whole-file writes and reads, over the real files of a
// scratch folder with faults injected step by step, on a clock that only
// moves when the code under test pauses (or a step is made to take time).
#include "platform/FileRetry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace platform;

namespace {

class FakeClock final : public RetryClock {
public:
    long long Now = 0;
    std::vector<int> Pauses;

    long long Milliseconds() override { return Now; }
    void Pause(int milliseconds) override
    {
        Pauses.push_back(milliseconds);
        Now += milliseconds;
    }
};

enum class Step { Write, Replace, Remove, Open };

// A step on a file whose name ends in Name fails with Error until the clock
// reaches Until. A partial write creates the file and writes half the bytes
// first, as a full disk does.
struct Fault {
    Step Kind;
    std::string Name;
    long long Until;
    FileError Error;
    bool Partial = false;
};

constexpr unsigned long SharingViolation = 32;  // the codes Windows gives
constexpr unsigned long AccessDenied = 5;
constexpr unsigned long DiskFull = 112;
const FileError Held{SharingViolation, true};
const FileError HeldDenied{AccessDenied, true};

class FaultySteps final : public FileSteps {
public:
    explicit FaultySteps(std::vector<Fault> faults) : faults_(std::move(faults)) {}

    FakeClock Time;

    bool Write(const std::string& path, const std::string& bytes, bool& created, FileError& error) override
    {
        const Fault* fault = Failing(Step::Write, path);
        if (fault == nullptr)
            return FileSteps::Write(path, bytes, created, error);
        created = fault->Partial && FileSteps::Write(path, bytes.substr(0, bytes.size() / 2), created, error);
        error = fault->Error;
        return false;
    }
    bool Replace(const std::string& from, const std::string& to, FileError& error) override
    {
        return Fails(Step::Replace, from, error) || Fails(Step::Replace, to, error) ? false
                                                                                    : FileSteps::Replace(from, to, error);
    }
    bool Remove(const std::string& path, FileError& error) override
    {
        return Fails(Step::Remove, path, error) ? false : FileSteps::Remove(path, error);
    }
    bool Open(InputFile& file, const std::string& path, FileError& error) override
    {
        return Fails(Step::Open, path, error) ? false : FileSteps::Open(file, path, error);
    }
    RetryClock& Clock() override { return Time; }

private:
    const Fault* Failing(Step kind, const std::string& path)
    {
        for (const Fault& fault : faults_)
            if (fault.Kind == kind && path.ends_with("/" + fault.Name) && Time.Now < fault.Until)
                return &fault;
        return nullptr;
    }
    bool Fails(Step kind, const std::string& path, FileError& error)
    {
        const Fault* fault = Failing(kind, path);
        if (fault != nullptr)
            error = fault->Error;
        return fault != nullptr;
    }

    std::vector<Fault> faults_;
};

class RetryFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "q308-retry-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern + "/";
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Path(const std::string& name) const { return folder_ + name; }
    std::string Contents(const std::string& name) const
    {
        std::string bytes;
        return ReadWholeFile(Path(name), bytes) ? bytes : "<missing>";
    }
    // What is in the folder besides the file named.
    std::vector<std::string> Others(const std::string& name) const
    {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            if (entry.path().filename() != name)
                others.push_back(entry.path().filename().string());
        return others;
    }

    std::string folder_;
};

// Pauses never shrink, except the last, cut to the budget's end.
void ExpectGrowing(const std::vector<int>& pauses, const std::string& name)
{
    for (std::size_t i = 1; i + 1 < pauses.size(); ++i)
        EXPECT_LE(pauses[i - 1], pauses[i]) << name << ", pause " << i;
}

}  // namespace

TEST(RetryPolicy, PassingFailuresAreTriedForTheBudgetWithGrowingPauses)
{
    FakeClock clock;
    RetryPolicy retry(clock);
    int attempts = 0;
    FileError error;
    EXPECT_FALSE(retry.Run(
        [&](FileError& e) {
            ++attempts;
            e = Held;
            return false;
        },
        error));
    EXPECT_EQ(error.Code, SharingViolation);
    EXPECT_EQ(clock.Now, RetryPolicy::BudgetMilliseconds);  // the last attempt on the budget's end
    EXPECT_EQ(attempts, static_cast<int>(clock.Pauses.size()) + 1);
    ASSERT_GE(clock.Pauses.size(), 12u);
    EXPECT_EQ(clock.Pauses.front(), RetryPolicy::FirstPause);
    EXPECT_EQ(*std::max_element(clock.Pauses.begin(), clock.Pauses.end()), RetryPolicy::LongestPause);
    ExpectGrowing(clock.Pauses, "always held");
}

TEST(RetryPolicy, LastingFailuresAndSuccessesDoNotWait)
{
    for (const bool succeeds : {true, false}) {
        FakeClock clock;
        RetryPolicy retry(clock);
        int attempts = 0;
        FileError error;
        EXPECT_EQ(retry.Run(
                      [&](FileError& e) {
                          ++attempts;
                          e = FileError{AccessDenied, false};
                          return succeeds;
                      },
                      error),
                  succeeds);
        EXPECT_EQ(attempts, 1);
        EXPECT_TRUE(clock.Pauses.empty());
    }
}

// The budget is time, not pauses: slow attempts and the steps of one
// operation all count against it.
TEST(RetryPolicy, SlowAttemptsAndLaterStepsShareTheBudget)
{
    FakeClock clock;
    RetryPolicy retry(clock);
    FileError error;
    const auto slowHeld = [&](FileError& e) {
        clock.Now += 700;
        e = Held;
        return false;
    };
    EXPECT_FALSE(retry.Run(slowHeld, error));
    EXPECT_LE(clock.Now, 700 + RetryPolicy::BudgetMilliseconds + 700);
    EXPECT_LE(clock.Pauses.size(), 3u);

    const long long before = clock.Now;
    int attempts = 0;
    EXPECT_FALSE(retry.Run(
        [&](FileError& e) {
            ++attempts;
            e = Held;
            return false;
        },
        error));
    EXPECT_EQ(attempts, 1) << "the budget was spent by the first step";
    EXPECT_EQ(clock.Now, before);
}

TEST_F(RetryFolder, WritesWaitOutPassingHoldsAndNeverLeaveTheTemporary)
{
    const struct {
        const char* Name;
        std::vector<Fault> Faults;
        bool Written;
        long long From, To;  // when the write ended on the clock
    } cases[] = {
        {"nothing wrong", {}, true, 0, 0},
        {"target held 300 ms", {{Step::Replace, "out.txt", 300, HeldDenied}}, true, 300, 400},
        {"temporary grabbed for 1 s", {{Step::Replace, "out.txt.tmp", 1000, Held}}, true, 1000, 1100},
        {"stale temporary held 300 ms", {{Step::Write, "out.txt.tmp", 300, Held}}, true, 300, 400},
        {"target held 5 s", {{Step::Replace, "out.txt", 5000, HeldDenied}}, false, 1900, 2000},
        {"read-only target", {{Step::Replace, "out.txt", 5000, FileError{AccessDenied, false}}}, false, 0, 0},
        {"disk full", {{Step::Write, "out.txt.tmp", 5000, FileError{DiskFull, false}, true}}, false, 0, 0},
        // The temporary that could not take the target's place is removed
        // even while a scanner still has it open.
        {"temporary held 3 s",
         {{Step::Replace, "out.txt.tmp", 3000, Held}, {Step::Remove, "out.txt.tmp", 3000, Held}},
         false, 3000, 3100},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteWholeFile(Path("out.txt"), "input"));
        FaultySteps steps(c.Faults);
        FileError error;
        EXPECT_EQ(WriteWholeFile(steps, Path("out.txt"), "output", WithoutTemporary::Fail, &error), c.Written)
            << c.Name;
        EXPECT_EQ(Contents("out.txt"), c.Written ? "output" : "input") << c.Name;
        EXPECT_EQ(Others("out.txt"), std::vector<std::string>()) << c.Name;
        EXPECT_GE(steps.Time.Now, c.From) << c.Name;
        EXPECT_LE(steps.Time.Now, c.To) << c.Name;
        if (!c.Written) {
            EXPECT_EQ(error.Code, c.Faults.front().Error.Code) << c.Name;
        }
    }
}

// Where no temporary file can be made (a folder has its name), the settings
// are written in place; that write waits out a hold too, and a partial one
// is not left.
TEST_F(RetryFolder, InPlaceWritesWaitAndFailWhole)
{
    const FileError isFolder{21, false};
    const struct {
        const char* Name;
        std::vector<Fault> Faults;
        bool Written;
        std::string Left;
    } cases[] = {
        {"target free", {{Step::Write, "s.dat.tmp", 9999, isFolder}}, true, "new"},
        {"target held 300 ms", {{Step::Write, "s.dat.tmp", 9999, isFolder}, {Step::Write, "s.dat", 300, Held}}, true,
         "new"},
        {"disk full",
         {{Step::Write, "s.dat.tmp", 9999, isFolder}, {Step::Write, "s.dat", 9999, FileError{DiskFull, false}, true}},
         false, "<missing>"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteWholeFile(Path("s.dat"), "previous"));
        FaultySteps steps(c.Faults);
        EXPECT_EQ(WriteWholeFile(steps, Path("s.dat"), "new", WithoutTemporary::WriteInPlace, nullptr), c.Written)
            << c.Name;
        EXPECT_EQ(Contents("s.dat"), c.Left) << c.Name;
        EXPECT_LE(steps.Time.Now, 400) << c.Name;
        FaultySteps failing(c.Faults);
        EXPECT_FALSE(WriteWholeFile(failing, Path("s.dat"), "new", WithoutTemporary::Fail, nullptr)) << c.Name;
    }
}

TEST_F(RetryFolder, ReadsWaitOutPassingHolds)
{
    ASSERT_TRUE(WriteWholeFile(Path("in.txt"), "hq\r\n"));
    const struct {
        const char* Name;
        std::string File;
        std::vector<Fault> Faults;
        bool Read;
        long long From, To;
    } cases[] = {
        {"nothing wrong", "in.txt", {}, true, 0, 0},
        {"held 300 ms", "in.txt", {{Step::Open, "in.txt", 300, Held}}, true, 300, 400},
        {"held 5 s", "in.txt", {{Step::Open, "in.txt", 5000, Held}}, false, 1900, 2000},
        {"missing", "none.txt", {}, false, 0, 0},
    };
    for (const auto& c : cases) {
        FaultySteps steps(c.Faults);
        std::string bytes;
        FileError error;
        EXPECT_EQ(ReadWholeFile(steps, Path(c.File), bytes, &error), c.Read) << c.Name;
        EXPECT_EQ(bytes, c.Read ? "hq\r\n" : "") << c.Name;
        EXPECT_NE(error.Code == 0, !c.Read) << c.Name;
        EXPECT_GE(steps.Time.Now, c.From) << c.Name;
        EXPECT_LE(steps.Time.Now, c.To) << c.Name;
    }
}
