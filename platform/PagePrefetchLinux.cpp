// One thread writes a zero to every page of the ranges lent to it, in
// turn. Its first write to a page is a page fault like any other, served
// under the page's own lock, so the thread that fills the memory later is
// neither held up by it nor finds the pages missing.
#include "platform/PagePrefetch.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace platform {

namespace {

class Prefetcher {
public:
    // Never destroyed: lists that lent chunks may be destroyed after every
    // other static object, and still take their chunks back. The thread
    // waits for work until the process ends.
    static Prefetcher& Instance()
    {
        static Prefetcher* const prefetcher = new Prefetcher;
        return *prefetcher;
    }

    PrefetchTicket Lend(void* begin, std::size_t size)
    {
        if (!enabled_ || size == 0)
            return 0;
        PrefetchTicket ticket;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ticket = ++lastTicket_;
            jobs_.push_back(Job{ticket, static_cast<unsigned char*>(begin), size});
        }
        wake_.notify_one();
        return ticket;
    }

    void Take(PrefetchTicket ticket)
    {
        if (ticket == 0)
            return;
        std::unique_lock<std::mutex> lock(mutex_);
        const auto waiting = std::find_if(jobs_.begin(), jobs_.end(), [&](const Job& job) { return job.Ticket == ticket; });
        if (waiting != jobs_.end()) {
            jobs_.erase(waiting);
            if (jobs_.empty() && current_ == 0)
                idle_.notify_all();
            return;
        }
        if (current_ != ticket)
            return;  // done already
        stop_.store(true, std::memory_order_relaxed);
        // Its last write happens before it lets go of current_ under the mutex.
        idle_.wait(lock, [&] { return current_ != ticket; });
    }

    void Wait()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        idle_.wait(lock, [this] { return jobs_.empty() && current_ == 0; });
    }

private:
    struct Job {
        PrefetchTicket Ticket;
        unsigned char* Begin;
        std::size_t Size;
    };

    Prefetcher()
    {
        const long page = ::sysconf(_SC_PAGESIZE);
        page_ = page > 0 ? static_cast<std::size_t>(page) : 4096;
        // On one processor the same faults would only change hands.
        if (std::thread::hardware_concurrency() < 2)
            return;
        try {
            std::thread([this] { Run(); }).detach();
            enabled_ = true;
        } catch (const std::exception&) {
            // No thread to be had: pages are mapped as they are first written.
        }
    }

    void Run()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return !jobs_.empty(); });
            const Job job = jobs_.front();
            jobs_.pop_front();
            current_ = job.Ticket;
            stop_.store(false, std::memory_order_relaxed);
            lock.unlock();
            Touch(job);
            lock.lock();
            current_ = 0;
            idle_.notify_all();
        }
    }

    void Touch(const Job& job)
    {
        // The first byte, then the first byte of every page that starts in
        // the range: nothing outside it is written.
        volatile unsigned char* const begin = job.Begin;
        const uintptr_t address = reinterpret_cast<uintptr_t>(job.Begin);
        const std::size_t firstPage = static_cast<std::size_t>((page_ - address % page_) % page_);
        begin[0] = 0;
        for (std::size_t at = firstPage; at < job.Size; at += page_) {
            if (stop_.load(std::memory_order_relaxed))
                return;
            begin[at] = 0;
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    PrefetchTicket lastTicket_ = 0;
    PrefetchTicket current_ = 0;  // the job being touched, 0 for none
    std::atomic<bool> stop_{false};
    bool enabled_ = false;
    std::size_t page_ = 4096;
};

}  // namespace

PrefetchTicket PrefetchPages(void* begin, std::size_t size) { return Prefetcher::Instance().Lend(begin, size); }

void TakePages(PrefetchTicket ticket) { Prefetcher::Instance().Take(ticket); }

void WaitForPrefetches() { Prefetcher::Instance().Wait(); }

}  // namespace platform
