#pragma once
// Waiting out another program's passing hold on a file. On Windows, virus
// scanners, the search indexer and cloud-sync clients open a file that was
// just written for tens to hundreds of milliseconds, often without letting
// it be replaced or deleted; the whole-file operations of Files.h try such
// a step again, with growing pauses, for a bounded time. The steps and the
// clock are behind interfaces so that tests can inject faults and time.
#include <string>

#include "platform/Files.h"

namespace platform {

// Milliseconds on a clock that never goes back, and a pause on it.
class RetryClock {
public:
    virtual ~RetryClock() = default;
    virtual long long Milliseconds() = 0;
    virtual void Pause(int milliseconds) = 0;
};

// The system's monotonic clock.
RetryClock& SystemClock();

// One operation's retries: every step of it shares one budget, counted
// from the first failure, so that the operation as a whole gives up in
// bounded time.
class RetryPolicy {
public:
    static constexpr int BudgetMilliseconds = 2000;
    static constexpr int FirstPause = 10;    // then 20, 30, ... up to
    static constexpr int LongestPause = 100;

    explicit RetryPolicy(RetryClock& clock) : clock_(clock) {}

    // Runs step (bool(FileError&)) until it succeeds or fails for good: a
    // failure that is not passing, or a passing one once the budget is
    // spent. error then holds the last failure.
    template <typename Step>
    bool Run(Step&& step, FileError& error)
    {
        for (;;) {
            error = FileError();
            if (step(error))
                return true;
            if (!error.Passing || !PauseBeforeRetry())
                return false;
        }
    }

private:
    // False, without pausing, when the budget is spent.
    bool PauseBeforeRetry();

    RetryClock& clock_;
    long long started_ = -1;
    int pauses_ = 0;
};

// The steps whole-file reads and writes are made of, carried out by the
// system; each says why it failed. A test derives a layer of its own to
// make steps fail and to keep time.
class FileSteps {
public:
    virtual ~FileSteps() = default;
    // Creates or truncates path and writes bytes; created tells whether the
    // file was created, even when a later part of the step failed.
    virtual bool Write(const std::string& path, const std::string& bytes, bool& created, FileError& error);
    virtual bool Replace(const std::string& from, const std::string& to, FileError& error);
    virtual bool Remove(const std::string& path, FileError& error);
    virtual bool Open(InputFile& file, const std::string& path, FileError& error);
    virtual RetryClock& Clock();
};

FileSteps& SystemFileSteps();

// The whole-file operations of Files.h over the given steps.
bool WriteWholeFile(FileSteps& steps, const std::string& path, const std::string& bytes, WithoutTemporary fallback,
                    FileError* error);
bool ReadWholeFile(FileSteps& steps, const std::string& path, std::string& bytes, FileError* error);
bool OpenForReading(FileSteps& steps, InputFile& file, const std::string& path, FileError* error);

}  // namespace platform
