#include "platform/base/PageRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

bool AllZero(const CPageRun& run)
{
    return std::all_of(run.GetData(), run.GetData() + run.GetSize(), [](BYTE b) { return b == 0; });
}

TEST(PageRunTest, RunsAreZeroFilledWritableAndLargeOnesStartOnALargePage)
{
    CPageRun small(5000);
    CPageRun large(CPageRun::LARGE_PAGE_SIZE + 100);
    for (const CPageRun* pRun : { &small, &large }) {
        EXPECT_TRUE(AllZero(*pRun));
        // Every byte asked for is there: the last one too, on the last page.
        std::fill_n(pRun->GetData(), pRun->GetSize(), BYTE { 0xA5 });
        EXPECT_EQ(pRun->GetData()[pRun->GetSize() - 1], 0xA5);
    }
    EXPECT_EQ(small.GetSize(), 5000u);
    EXPECT_EQ(large.GetSize(), CPageRun::LARGE_PAGE_SIZE + 100);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(large.GetData()) % CPageRun::LARGE_PAGE_SIZE, 0u);
}

TEST(PageRunTest, ImpossibleSizesThrow)
{
    EXPECT_THROW(CPageRun(0), std::bad_alloc);
    EXPECT_THROW(CPageRun(SIZE_MAX / 2), std::bad_alloc);
}

} // namespace
