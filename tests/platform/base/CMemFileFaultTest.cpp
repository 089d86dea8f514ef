#include "platform/base/CMemFile.h"

#include "platform/base/CFileException.h"
#include "tests/platform/base/FileTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CMemFileFaultTest, FixedBufferRefusesToGrowAndKeepsItsContents)
{
    BYTE buffer[6] = { 'h', 'e', 'l', 'l', 'o', '!' };
    CMemFile file(buffer, sizeof(buffer));
    file.Seek(5, CFile::begin);
    bool bThrown = false;
    try {
        file.Write("xy", 2);
    } catch (CMemoryException* pException) {
        bThrown = true;
        pException->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(std::memcmp(buffer, "hello!", 6), 0);
    bThrown = false;
    try {
        file.SetLength(7);
    } catch (CMemoryException* pException) {
        bThrown = true;
        pException->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(file.GetLength(), 6u);
}

TEST(CMemFileFaultTest, SeeksBeforeTheStartThrowAndLeaveThePosition)
{
    CMemFile file;
    file.Write("abc", 3);
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.Seek(-4, CFile::end); }), CFileException::badSeek);
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.Seek(0, 7); }), CFileException::badSeek);
    EXPECT_EQ(file.GetPosition(), 3u);
}

TEST(CMemFileFaultTest, MemoryHasNoRangesToLock)
{
    CMemFile file;
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.LockRange(0, 1); }), CFileException::genericException);
    EXPECT_EQ(ThrownCause<CFileException>([&] { file.UnlockRange(0, 1); }), CFileException::genericException);
    file.Write("abc", 3);
    file.Close();
    EXPECT_EQ(file.GetLength(), 0u);
}
