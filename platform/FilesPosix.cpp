// Files as bytes on POSIX systems, through stdio in binary mode. Nothing
// here is held by another program for a moment the way Windows files are:
// no failure is passing.
#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Charset.h"
#include "platform/FileRetry.h"

namespace platform {

namespace {

FileError Errno()
{
    FileError error;
    error.Code = static_cast<unsigned long>(errno);
    error.Full = errno == ENOSPC || errno == EDQUOT;
    return error;
}

class MonotonicClock final : public RetryClock {
public:
    long long Milliseconds() override
    {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    }
    void Pause(int milliseconds) override
    {
        timespec pause{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000};
        while (::nanosleep(&pause, &pause) != 0 && errno == EINTR) {
        }
    }
};

}  // namespace

bool InputFile::Open(const std::string& path)
{
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr)
        error_ = Errno();
    return file_ != nullptr;
}

long long InputFile::Read(char* buffer, std::size_t size)
{
    if (file_ == nullptr)
        return -1;
    const std::size_t got = std::fread(buffer, 1, size, file_);
    if (got == 0 && std::ferror(file_)) {
        error_ = Errno();
        return -1;
    }
    return static_cast<long long>(got);
}

long long InputFile::Size() const
{
    struct stat status;
    if (file_ == nullptr || ::fstat(fileno(file_), &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    return static_cast<long long>(status.st_size);
}

void InputFile::Close()
{
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

bool OutputFile::Create(const std::string& path)
{
    Close();
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr)
        error_ = Errno();
    return file_ != nullptr;
}

bool OutputFile::Write(const char* data, std::size_t size)
{
    if (file_ == nullptr)
        return false;
    if (size == 0)
        return true;
    if (std::fwrite(data, 1, size, file_) == size)
        return true;
    error_ = Errno();
    return false;
}

bool OutputFile::Close()
{
    if (file_ == nullptr)
        return true;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    if (!ok)
        error_ = Errno();
    // Some file systems report a full disk or a lost server only when the
    // data reaches the device; a file that is about to replace another must
    // know that now. Pipes and devices cannot be synced and need not be.
    if (ok && ::fsync(fileno(file_)) != 0 && errno != EINVAL && errno != EROFS) {
        error_ = Errno();
        ok = false;
    }
    if (std::fclose(file_) != 0 && ok) {
        error_ = Errno();
        ok = false;
    }
    file_ = nullptr;
    return ok;
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path, FileError* error)
{
    if (::unlink(path.c_str()) == 0)
        return true;
    if (error != nullptr)
        *error = Errno();
    return false;
}

bool MoveFileOver(const std::string& from, const std::string& to, FileError* error)
{
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    if (error != nullptr)
        *error = Errno();
    return false;
}

std::string FileErrorText(const FileError& error)
{
    if (error.Code == 0)
        return {};
    return Utf8ToSjis(std::strerror(static_cast<int>(error.Code)));
}

RetryClock& SystemClock()
{
    static MonotonicClock clock;
    return clock;
}

}  // namespace platform
