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
}

// Registered with the sanitizers' allocator told to fail like malloc (see CMakeLists.txt).
TEST(GlobalMemoryTest, ImpossibleSizesFailWithOutOfMemory)
{
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T(-1) / 2), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

} // namespace

TEST(GlobalMemoryTest, ReAllocKeepsBytesAndTheMovableHandle)
{
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(hMem), "abcd", 4);
    // A locked block moves only when the caller allows it.
    EXPECT_EQ(GlobalReAlloc(hMem, 8, GMEM_ZEROINIT), nullptr);
    EXPECT_EQ(GlobalSize(hMem), 4u);
    ASSERT_EQ(GlobalReAlloc(hMem, 8, GMEM_MOVEABLE | GMEM_ZEROINIT), hMem);
    EXPECT_EQ(GlobalSize(hMem), 8u);
    auto* pBytes = static_cast<const BYTE*>(GlobalLock(hMem));
    EXPECT_EQ(std::memcmp(pBytes, "abcd\0\0\0\0", 8), 0);
    EXPECT_TRUE(GlobalUnlock(hMem)); // the lock taken before the resize is kept
    // Shrinking keeps the bytes where they are.
    ASSERT_EQ(GlobalReAlloc(hMem, 2, 0), hMem);
    EXPECT_EQ(GlobalLock(hMem), pBytes);
    EXPECT_EQ(GlobalSize(hMem), 2u);
    GlobalUnlock(hMem);
    GlobalUnlock(hMem);
    GlobalFree(hMem);
}

TEST(GlobalMemoryTest, FixedBlocksMoveOnlyWhenAllowed)
{
    HGLOBAL hFixed = GlobalAlloc(GMEM_FIXED, 8);
    std::memcpy(hFixed, "fixed!!", 8);
    EXPECT_EQ(GlobalReAlloc(hFixed, 4, 0), hFixed); // shrinking stays in place
    EXPECT_EQ(GlobalSize(hFixed), 4u);
    EXPECT_EQ(GlobalReAlloc(hFixed, 64, 0), nullptr);
    EXPECT_EQ(GlobalSize(hFixed), 4u); // left as it was
    HGLOBAL hMoved = GlobalReAlloc(hFixed, 64, GMEM_MOVEABLE);
    ASSERT_NE(hMoved, nullptr);
    EXPECT_EQ(GlobalLock(hMoved), hMoved); // still fixed: its handle is its new address
    EXPECT_EQ(std::memcmp(hMoved, "fixe", 4), 0);
    EXPECT_EQ(GlobalSize(hMoved), 64u);
    if (hMoved != hFixed) {
        EXPECT_EQ(GlobalSize(hFixed), 0u);
    }
    GlobalFree(hMoved);
}
