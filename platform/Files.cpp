// Whole-file reads and writes, the same on every system: only the file
// primitives below them differ.
#include "platform/Files.h"

#include "platform/FileRetry.h"

namespace platform {

namespace {

void Report(FileError* error, const FileError& failure)
{
    if (error != nullptr)
        *error = failure;
}

// A file of ours that must not stay: a temporary that could not take its
// place, or a partial file. Its own budget, since the write's may be spent.
void RemoveWaiting(FileSteps& steps, const std::string& path)
{
    RetryPolicy retry(steps.Clock());
    FileError ignored;
    retry.Run([&](FileError& e) { return steps.Remove(path, e); }, ignored);
}

// Writes until done or failed for good; created collects whether any
// attempt made the file.
bool WriteRetrying(FileSteps& steps, RetryPolicy& retry, const std::string& path, const std::string& bytes,
                   bool& created, FileError& failure)
{
    return retry.Run(
        [&](FileError& e) {
            bool made = false;
            const bool written = steps.Write(path, bytes, made, e);
            created = created || made;
            return written;
        },
        failure);
}

}  // namespace

std::string TemporaryPath(const std::string& path) { return path + ".tmp"; }

bool WriteWholeFile(FileSteps& steps, const std::string& path, const std::string& bytes, WithoutTemporary fallback,
                    FileError* error)
{
    if (path.empty()) {
        Report(error, FileError());
        return false;
    }
    RetryPolicy retry(steps.Clock());
    FileError failure;
    const std::string temporary = TemporaryPath(path);
    bool created = false;
    if (WriteRetrying(steps, retry, temporary, bytes, created, failure) &&
        retry.Run([&](FileError& e) { return steps.Replace(temporary, path, e); }, failure))
        return true;
    if (created)
        RemoveWaiting(steps, temporary);
    if (created || fallback == WithoutTemporary::Fail) {
        Report(error, failure);
        return false;
    }
    // No temporary file can live beside the target (no right to create
    // files there, or the name is taken by a folder): the target itself
    // may still be writable.
    created = false;
    if (WriteRetrying(steps, retry, path, bytes, created, failure))
        return true;
    if (created)
        RemoveWaiting(steps, path);
    Report(error, failure);
    return false;
}

bool OpenForReading(FileSteps& steps, InputFile& file, const std::string& path, FileError* error)
{
    RetryPolicy retry(steps.Clock());
    FileError failure;
    if (retry.Run([&](FileError& e) { return steps.Open(file, path, e); }, failure))
        return true;
    Report(error, failure);
    return false;
}

bool ReadWholeFile(FileSteps& steps, const std::string& path, std::string& bytes, FileError* error)
{
    bytes.clear();
    InputFile file;
    if (!OpenForReading(steps, file, path, error))
        return false;
    char buffer[65536];
    for (;;) {
        const long long got = file.Read(buffer, sizeof buffer);
        if (got < 0) {
            Report(error, file.Error());
            return false;
        }
        if (got == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, WithoutTemporary fallback, FileError* error)
{
    return WriteWholeFile(SystemFileSteps(), path, bytes, fallback, error);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, FileError* error)
{
    return ReadWholeFile(SystemFileSteps(), path, bytes, error);
}

bool OpenForReading(InputFile& file, const std::string& path, FileError* error)
{
    return OpenForReading(SystemFileSteps(), file, path, error);
}

}  // namespace platform
