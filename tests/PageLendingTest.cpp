#include "exchange/PageLending.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr unsigned char Guard = 0xAA;
constexpr unsigned char Pattern = 0x5C;

// A helper thread touching whatever is lent, as the reading thread does.
class Toucher {
public:
    Toucher()
        : thread_([this] {
              while (!done_.load())
                  TouchLentPages();
          })
    {
    }
    ~Toucher()
    {
        done_.store(true);
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// A lent range is the helper's only until it is taken back: bytes written
// after TakePages must survive whatever the helper still had to do, and the
// bytes around the range are never written at all.
TEST(PageLending, TakenBackRangesAreTheOwnersAgainAndNothingAroundThemIsWritten)
{
    struct Case {
        std::size_t offset, size;
        int spinFirst;  // let the helper get going before taking back
    };
    const Case cases[] = {
        {0, 1 << 20, 0},     {100, (1 << 20) - 200, 0}, {4095, 4097, 0},
        {1, 1, 0},           {100, (1 << 20) - 200, 20000}, {4096 * 3 + 7, 9000, 5000},
    };
    std::vector<unsigned char> buffer((1 << 20) + 8192);
    Toucher toucher;
    for (const Case& c : cases) {
        for (int round = 0; round < 50; ++round) {
            std::memset(buffer.data(), Guard, buffer.size());
            unsigned char* const begin = buffer.data() + c.offset;
            const LendingTicket ticket = LendPages(begin, c.size);
            std::atomic<int> spins{0};
            while (spins.load(std::memory_order_relaxed) < c.spinFirst)
                spins.fetch_add(1, std::memory_order_relaxed);
            TakePages(ticket);
            std::memset(begin, Pattern, c.size);
            std::size_t wrong = 0;
            for (std::size_t i = 0; i < buffer.size(); ++i) {
                const bool inside = i >= c.offset && i < c.offset + c.size;
                wrong += buffer[i] != (inside ? Pattern : Guard);
            }
            ASSERT_EQ(wrong, 0u) << "offset " << c.offset << " size " << c.size << " round " << round;
        }
    }
}

// Ranges lent with nobody touching come back as they were, in any order;
// taking back twice, or ticket 0, is harmless.
TEST(PageLending, UntouchedRangesComeBackAsTheyWere)
{
    constexpr int Count = 64;
    std::vector<std::vector<unsigned char>> ranges(Count, std::vector<unsigned char>(64 * 1024, Guard));
    std::vector<LendingTicket> tickets;
    for (auto& range : ranges)
        tickets.push_back(LendPages(range.data(), range.size()));
    for (int i = Count - 1; i >= 0; i -= 2)
        TakePages(tickets[i]);
    for (int i = 0; i < Count; i += 2)
        TakePages(tickets[i]);
    TouchLentPages();  // nothing is lent any more
    for (const auto& range : ranges)
        for (unsigned char b : range)
            ASSERT_EQ(b, Guard);
    TakePages(tickets[0]);
    TakePages(0);
}

}  // namespace
