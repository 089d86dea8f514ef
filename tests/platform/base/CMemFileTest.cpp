#include "platform/base/CMemFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string ReadAll(CFile& file)
{
    file.SeekToBegin();
    std::string strData(static_cast<size_t>(file.GetLength()), '\0');
    EXPECT_EQ(file.Read(strData.data(), static_cast<UINT>(strData.size())), strData.size());
    return strData;
}

}

TEST(CMemFileTest, GrowsAsWrittenAndFillsGapsWithZeros)
{
    CMemFile file(4);
    file.Write("abcdef", 6);
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(file.Seek(10, CFile::begin), 10u);
    EXPECT_EQ(file.GetLength(), 6u); // seeking alone does not grow it
    char ch = 0;
    EXPECT_EQ(file.Read(&ch, 1), 0u);
    file.Write("z", 1);
    EXPECT_EQ(ReadAll(file), std::string("abcdef\0\0\0\0z", 11));

    file.Seek(-2, CFile::end);
    char buffer[8] {};
    EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 2u);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0z", 2));
}

TEST(CMemFileTest, SetLengthCutsOrExtendsAndKeepsThePositionInside)
{
    CMemFile file;
    file.Write("0123456789", 10);
    file.SetLength(4);
    EXPECT_EQ(file.GetPosition(), 4u);
    file.SetLength(6);
    EXPECT_EQ(ReadAll(file), std::string("0123\0\0", 6));
    file.SeekToBegin();
    file.SetLength(2);
    EXPECT_EQ(file.GetPosition(), 0u);
}

TEST(CMemFileTest, FixedAttachedBufferIsTheFileAndCannotGrow)
{
    BYTE buffer[6] = { 'h', 'e', 'l', 'l', 'o', '!' };
    CMemFile file(buffer, sizeof(buffer));
    EXPECT_EQ(ReadAll(file), "hello!");
    file.Seek(0, CFile::begin);
    file.Write("J", 1);
    EXPECT_EQ(buffer[0], 'J'); // written in place
    EXPECT_EQ(file.Detach(), buffer);
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(CMemFileTest, GrowingAttachedBufferMovesToAnOwnBufferAndDetachHandsItOver)
{
    BYTE buffer[4] = { 'w', 'x', 'y', 'z' };
    CMemFile file;
    file.Attach(buffer, sizeof(buffer), 8);
    EXPECT_EQ(file.GetLength(), 0u); // a growable attachment starts empty
    file.Write("abc", 3);
    EXPECT_EQ(std::memcmp(buffer, "abcz", 4), 0);
    file.Write("defgh", 5);
    EXPECT_EQ(std::memcmp(buffer, "abcz", 4), 0); // the caller's buffer is no longer used
    EXPECT_EQ(file.GetLength(), 8u);
    BYTE* pData = file.Detach();
    ASSERT_NE(pData, buffer);
    EXPECT_EQ(std::memcmp(pData, "abcdefgh", 8), 0);
    std::free(pData);
    // After Detach the object is an empty file that still grows.
    file.Write("q", 1);
    EXPECT_EQ(ReadAll(file), "q");
}
