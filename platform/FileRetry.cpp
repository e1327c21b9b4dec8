// The retry budget and the system's file steps, the same on every system;
// which failures are passing is decided by the file primitives of each.
#include "platform/FileRetry.h"

#include <algorithm>

namespace platform {

bool RetryPolicy::PauseBeforeRetry()
{
    const long long now = clock_.Milliseconds();
    if (started_ < 0)
        started_ = now;
    const long long left = BudgetMilliseconds - (now - started_);
    if (left <= 0)
        return false;
    // Short pauses first, so that the usual hold of a scanner costs little
    // more than the hold itself; the last attempt falls on the budget's end.
    const int pause = std::min(FirstPause * (pauses_ + 1), LongestPause);
    clock_.Pause(static_cast<int>(std::min<long long>(pause, left)));
    ++pauses_;
    return true;
}

bool FileSteps::Write(const std::string& path, const std::string& bytes, bool& created, FileError& error)
{
    OutputFile file;
    created = file.Create(path);
    if (!created) {
        error = file.Error();
        return false;
    }
    if (!file.Write(bytes)) {
        error = file.Error();
        file.Close();
        return false;
    }
    if (!file.Close()) {
        error = file.Error();
        return false;
    }
    return true;
}

bool FileSteps::Replace(const std::string& from, const std::string& to, FileError& error)
{
    return MoveFileOver(from, to, &error);
}

bool FileSteps::Remove(const std::string& path, FileError& error) { return RemoveFile(path, &error); }

bool FileSteps::Open(InputFile& file, const std::string& path, FileError& error)
{
    if (file.Open(path))
        return true;
    error = file.Error();
    return false;
}

RetryClock& FileSteps::Clock() { return SystemClock(); }

FileSteps& SystemFileSteps()
{
    static FileSteps steps;
    return steps;
}

}  // namespace platform
