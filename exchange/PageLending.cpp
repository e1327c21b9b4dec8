#include "exchange/PageLending.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace {

// Pages are at least this large everywhere the program runs; touching
// every 4096th byte reaches each page of a larger size too.
constexpr std::size_t PageSize = 4096;

class Lending {
public:
    // Never destroyed: lists that lent chunks may be destroyed after every
    // other static object, and still take their chunks back.
    static Lending& Instance()
    {
        static Lending* const lending = new Lending;
        return *lending;
    }

    LendingTicket Lend(void* begin, std::size_t size)
    {
        if (size == 0)
            return 0;
        std::lock_guard<std::mutex> lock(mutex_);
        const LendingTicket ticket = ++lastTicket_;
        lent_.push_back(Range{ticket, static_cast<unsigned char*>(begin), size});
        return ticket;
    }

    void Take(LendingTicket ticket)
    {
        if (ticket == 0)
            return;
        std::unique_lock<std::mutex> lock(mutex_);
        const auto waiting = std::find_if(lent_.begin(), lent_.end(), [&](const Range& range) { return range.Ticket == ticket; });
        if (waiting != lent_.end()) {
            lent_.erase(waiting);
            return;
        }
        if (touching_ != ticket)
            return;  // done already
        stop_.store(true, std::memory_order_relaxed);
        // The toucher's last write happens before it lets go of touching_
        // under the mutex.
        released_.wait(lock, [&] { return touching_ != ticket; });
    }

    void TouchAll()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!lent_.empty() && touching_ == 0) {
            const Range range = lent_.front();
            lent_.pop_front();
            touching_ = range.Ticket;
            stop_.store(false, std::memory_order_relaxed);
            lock.unlock();
            Touch(range);
            lock.lock();
            touching_ = 0;
            released_.notify_all();
        }
    }

private:
    struct Range {
        LendingTicket Ticket;
        unsigned char* Begin;
        std::size_t Size;
    };

    void Touch(const Range& range) const
    {
        // The first byte, then the first byte of every page that starts in
        // the range: nothing outside it is written.
        volatile unsigned char* const begin = range.Begin;
        const uintptr_t address = reinterpret_cast<uintptr_t>(range.Begin);
        begin[0] = 0;
        for (std::size_t at = (PageSize - address % PageSize) % PageSize; at < range.Size; at += PageSize) {
            if (stop_.load(std::memory_order_relaxed))
                return;
            begin[at] = 0;
        }
    }

    std::mutex mutex_;
    std::condition_variable released_;
    std::deque<Range> lent_;
    LendingTicket lastTicket_ = 0;
    LendingTicket touching_ = 0;  // the range being touched, 0 for none
    std::atomic<bool> stop_{false};
};

}  // namespace

LendingTicket LendPages(void* begin, std::size_t size) { return Lending::Instance().Lend(begin, size); }

void TakePages(LendingTicket ticket) { Lending::Instance().Take(ticket); }

void TouchLentPages() { Lending::Instance().TouchAll(); }
