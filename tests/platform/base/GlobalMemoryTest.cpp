#include "platform/base/GlobalMemory.h"

#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GlobalMemoryTest, MovableBlocksCountTheirLocks)
{
    HGLOBAL hMem = GlobalAlloc(GHND, 16);
    ASSERT_NE(hMem, nullptr);
    EXPECT_EQ(GlobalSize(hMem), 16u);
    auto* pFirst = static_cast<BYTE*>(GlobalLock(hMem));
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst[15], 0); // GMEM_ZEROINIT
    std::memcpy(pFirst, "kept", 5);
    EXPECT_EQ(GlobalLock(hMem), pFirst);
    EXPECT_TRUE(GlobalUnlock(hMem)); // still locked once
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(hMem)), "kept");
    GlobalUnlock(hMem);
    EXPECT_EQ(GlobalFree(hMem), nullptr);
}

TEST(GlobalMemoryTest, FixedBlocksAreTheirOwnAddress)
{
    HGLOBAL hMem = GlobalAlloc(GPTR, 4);
    ASSERT_NE(hMem, nullptr);
    EXPECT_EQ(GlobalLock(hMem), hMem);
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_EQ(GlobalFree(hMem), nullptr);
}

TEST(GlobalMemoryTest, FreedAndUnknownHandlesAreRefused)
{
    HGLOBAL hEmpty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(hEmpty, nullptr);
    EXPECT_EQ(GlobalSize(hEmpty), 0u);
    EXPECT_NE(GlobalLock(hEmpty), nullptr);
    GlobalFree(hEmpty);

    EXPECT_EQ(GlobalLock(hEmpty), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GlobalSize(hEmpty), 0u);
    EXPECT_EQ(GlobalFree(hEmpty), hEmpty);
    int nLocal = 0;
    EXPECT_EQ(GlobalLock(&nLocal), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T(-1) / 2), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

} // namespace
