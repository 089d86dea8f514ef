#include "platform/base/CSharedFile.h"

#include "platform/base/CArchive.h"
#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The bytes of a global memory block.
std::vector<BYTE> BytesOf(HGLOBAL hMem)
{
    auto* pBytes = static_cast<const BYTE*>(GlobalLock(hMem));
    std::vector<BYTE> bytes(pBytes, pBytes + GlobalSize(hMem));
    GlobalUnlock(hMem);
    return bytes;
}

}

TEST(CSharedFileTest, DetachHandsOverAMovableBlockOfExactlyWhatWasWritten)
{
    // More than one growth step, written through an archive as the clipboard code does.
    CSharedFile file;
    {
        CArchive ar(&file, CArchive::store);
        for (int i = 0; i < 1500; ++i)
            ar << static_cast<DWORD>(i);
    }
    EXPECT_EQ(file.GetLength(), 6000u);
    HGLOBAL hMem = file.Detach();
    ASSERT_NE(hMem, nullptr);
    EXPECT_EQ(file.GetLength(), 0u);
    // Locked once, as the file held it: one unlock releases it.
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    std::vector<BYTE> bytes = BytesOf(hMem);
    ASSERT_EQ(bytes.size(), 6000u);
    EXPECT_NE(GlobalLock(hMem), static_cast<void*>(hMem)); // movable: the handle is no address
    GlobalUnlock(hMem);
    DWORD dwLast = 0;
    std::memcpy(&dwLast, &bytes[5996], 4);
    EXPECT_EQ(dwLast, 1499u);
    EXPECT_EQ(GlobalFree(hMem), nullptr);
}

TEST(CSharedFileTest, AnUnwrittenFileHasNoBlockAndCanBeReused)
{
    CSharedFile file;
    EXPECT_EQ(file.Detach(), nullptr);
    file.Write("again", 5);
    HGLOBAL hMem = file.Detach();
    ASSERT_NE(hMem, nullptr);
    GlobalUnlock(hMem);
    std::vector<BYTE> bytes = BytesOf(hMem);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "again");
    GlobalFree(hMem);
}
