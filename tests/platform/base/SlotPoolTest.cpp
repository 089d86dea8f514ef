#include "platform/base/SlotPool.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <list>
#include <numeric>
#include <set>

namespace {

using Page = std::array<unsigned char, 4100>;

TEST(SlotPoolTest, SlotsAreAlignedDistinctAndKeepTheirBytesAcrossRuns)
{
    CSlotPool pool;
    // Enough slots to fill the small runs and more than one large one.
    constexpr int COUNT = 1500;
    std::vector<Page*> slots;
    for (int n = 0; n < COUNT; ++n) {
        auto* pSlot = static_cast<Page*>(pool.Take(sizeof(Page)));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(pSlot) % alignof(std::max_align_t), 0u);
        pSlot->fill(static_cast<unsigned char>(n));
        slots.push_back(pSlot);
    }
    EXPECT_GT(pool.GetRunCount(), 3u);
    EXPECT_EQ(std::set<Page*>(slots.begin(), slots.end()).size(), slots.size());
    // A slot overlapping another would have lost its bytes to a later fill.
    for (int n = 0; n < COUNT; ++n)
        EXPECT_EQ((*slots[n])[0] + (*slots[n])[sizeof(Page) - 1], 2 * static_cast<unsigned char>(n)) << n;
}

TEST(SlotPoolTest, GivenSlotsAreTakenAgainBeforeNewOnes)
{
    CSlotPool pool;
    void* pFirst = pool.Take(sizeof(Page));
    void* pSecond = pool.Take(sizeof(Page));
    pool.Give(pFirst);
    pool.Give(pSecond);
    EXPECT_EQ(pool.Take(sizeof(Page)), pSecond);
    EXPECT_EQ(pool.Take(sizeof(Page)), pFirst);
    EXPECT_EQ(pool.GetRunCount(), 1u);
}

TEST(SlotPoolTest, ListsSharingAPoolSpliceAndFreeTheirElements)
{
    CSlotPool pool;
    using List = std::list<Page, CSlotAllocator<Page>>;
    List cached { CSlotAllocator<Page>(&pool) };
    List pinned { CSlotAllocator<Page>(&pool) };
    for (int n = 0; n < 600; ++n)
        cached.emplace_front().fill(static_cast<unsigned char>(n));
    pinned.splice(pinned.end(), cached, std::next(cached.begin(), 10), std::next(cached.begin(), 20));
    EXPECT_EQ(cached.size(), 590u);
    EXPECT_EQ(pinned.front()[0], static_cast<unsigned char>(589));
    std::size_t nRuns = pool.GetRunCount();
    // Freed elements make room for as many new ones without new runs.
    cached.clear();
    for (int n = 0; n < 590; ++n)
        cached.emplace_back();
    EXPECT_EQ(pool.GetRunCount(), nRuns);
    EXPECT_EQ(pinned.back()[0], static_cast<unsigned char>(580));
    // Emptied, the lists give the runs back; the pool starts afresh.
    cached.clear();
    pinned.clear();
    pool.Release();
    EXPECT_EQ(pool.GetRunCount(), 0u);
    cached.emplace_back().fill(7);
    EXPECT_EQ(cached.front()[sizeof(Page) - 1], 7);
    EXPECT_EQ(pool.GetRunCount(), 1u);
}

} // namespace
