#include "exchange/BlockList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

struct Record {
    long Number = 0;
    std::string Text;  // not trivially destructible: Release must destroy it
};

void Fill(BlockList<Record>& list, long from, long to)
{
    for (long i = from; i < to; ++i) {
        Record& r = list.Append();
        EXPECT_EQ(r.Number, 0);  // made fresh, whatever the chunk held before
        r.Number = i;
        r.Text = "record number " + std::to_string(i);  // long enough for the heap
    }
}

long Wrong(const BlockList<Record>& list)
{
    long wrong = 0;
    for (std::size_t i = 0; i < list.Count(); ++i)
        wrong += list[i].Number != static_cast<long>(i) || list[i].Text != "record number " + std::to_string(i);
    return wrong;
}

// Long lists take their chunks ahead and lend them to a helper thread;
// moving, emptying and refilling a list at any point of that keeps every
// record and the capacity in thousands.
TEST(BlockList, RecordsSurviveChunksTakenAheadMovesAndReleases)
{
    std::atomic<bool> done{false};
    std::thread helper([&] {
        while (!done.load())
            TouchLentPages();
    });
    const long counts[] = {1, 999, 1000, 1001, 2000, 4001, 15000, 61234};
    for (long count : counts) {
        BlockList<Record> list;
        Fill(list, 0, count / 2);
        BlockList<Record> moved(std::move(list));  // mid-fill, a chunk possibly still lent
        EXPECT_EQ(list.Count() + list.Capacity(), 0u);
        Fill(moved, count / 2, count);
        EXPECT_EQ(moved.Count(), static_cast<std::size_t>(count));
        EXPECT_EQ(moved.Capacity(), static_cast<std::size_t>((count + 999) / 1000 * 1000)) << count;
        EXPECT_EQ(Wrong(moved), 0) << count;

        list = std::move(moved);
        EXPECT_EQ(Wrong(list), 0) << count;
        list.Release();
        EXPECT_EQ(list.Count() + list.Capacity(), 0u);
        Fill(list, 0, count);  // the same list, grown again from nothing
        EXPECT_EQ(Wrong(list), 0) << count;
    }
    done.store(true);
    helper.join();
}

}  // namespace
