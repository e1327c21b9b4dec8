#include "platform/PagePrefetch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr unsigned char Guard = 0xAA;
constexpr unsigned char Pattern = 0x5C;

// A lent range is the prefetcher's only until it is taken back: bytes
// written after TakePages must survive whatever the thread still had to
// do, and the bytes around the range are never written at all.
TEST(PagePrefetch, TakenBackRangesAreTheCallersAgainAndNothingAroundThemIsWritten)
{
    struct Case {
        std::size_t offset, size;
        bool waitFirst;  // let the thread finish before taking back
    };
    const Case cases[] = {
        {0, 1 << 20, false},  {100, (1 << 20) - 200, false}, {4095, 4097, false},
        {1, 1, false},        {100, (1 << 20) - 200, true},  {4096 * 3 + 7, 9000, true},
    };
    std::vector<unsigned char> buffer((1 << 20) + 8192);
    for (const Case& c : cases) {
        for (int round = 0; round < 50; ++round) {
            std::memset(buffer.data(), Guard, buffer.size());
            unsigned char* const begin = buffer.data() + c.offset;
            const platform::PrefetchTicket ticket = platform::PrefetchPages(begin, c.size);
            if (c.waitFirst)
                platform::WaitForPrefetches();
            platform::TakePages(ticket);
            std::memset(begin, Pattern, c.size);
            platform::WaitForPrefetches();
            std::size_t wrong = 0;
            for (std::size_t i = 0; i < buffer.size(); ++i) {
                const bool inside = i >= c.offset && i < c.offset + c.size;
                wrong += buffer[i] != (inside ? Pattern : Guard);
            }
            ASSERT_EQ(wrong, 0u) << "offset " << c.offset << " size " << c.size << " round " << round;
        }
    }
}

// Ranges queued behind others can be taken back in any order, and waiting
// ends once every one is done or taken.
TEST(PagePrefetch, ManyRangesTakenBackInAnyOrder)
{
    constexpr int Count = 64;
    std::vector<std::vector<unsigned char>> ranges(Count, std::vector<unsigned char>(64 * 1024, Guard));
    std::vector<platform::PrefetchTicket> tickets;
    for (auto& range : ranges)
        tickets.push_back(platform::PrefetchPages(range.data(), range.size()));
    for (int i = Count - 1; i >= 0; i -= 2)
        platform::TakePages(tickets[i]);
    for (int i = 0; i < Count; i += 2)
        platform::TakePages(tickets[i]);
    for (auto& range : ranges)
        std::memset(range.data(), Pattern, range.size());
    platform::WaitForPrefetches();
    for (const auto& range : ranges)
        for (unsigned char b : range)
            ASSERT_EQ(b, Pattern);
    // Taking back twice, or ticket 0, is harmless.
    platform::TakePages(tickets[0]);
    platform::TakePages(0);
}

}  // namespace
