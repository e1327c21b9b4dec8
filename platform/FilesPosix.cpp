// Files as bytes on POSIX systems, through stdio in binary mode.
#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool InputFile::Open(const std::string& path)
{
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

long long InputFile::Read(char* buffer, std::size_t size)
{
    if (file_ == nullptr)
        return -1;
    const std::size_t got = std::fread(buffer, 1, size, file_);
    if (got == 0 && std::ferror(file_))
        return -1;
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
    return file_ != nullptr;
}

bool OutputFile::Write(const char* data, std::size_t size)
{
    if (file_ == nullptr)
        return false;
    if (size == 0)
        return true;
    return std::fwrite(data, 1, size, file_) == size;
}

bool OutputFile::Close()
{
    if (file_ == nullptr)
        return true;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    // Some file systems report a full disk or a lost server only when the
    // data reaches the device; a file that is about to replace another must
    // know that now. Pipes and devices cannot be synced and need not be.
    if (ok && ::fsync(fileno(file_)) != 0 && errno != EINVAL && errno != EROFS)
        ok = false;
    if (std::fclose(file_) != 0)
        ok = false;
    file_ = nullptr;
    return ok;
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool MoveFileOver(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace platform
