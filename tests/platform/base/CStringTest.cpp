#include "platform/base/CString.h"

#include <gtest/gtest.h>

TEST(CStringTest, BasicApi)
{
    CString str("Hello");
    str += ", ";
    str += CString("World");
    str += '!';
    EXPECT_STREQ(str, "Hello, World!");
    EXPECT_EQ(str.GetLength(), 13);
    EXPECT_EQ(str.Mid(7, 5), "World");
    EXPECT_EQ(str.Left(100), str);
    EXPECT_EQ(str.Right(-1), "");
    EXPECT_EQ(str.Find("World"), 7);
    EXPECT_EQ(str.ReverseFind('o'), 8);
    CString strFormatted;
    strFormatted.Format("%s=%d", CString("n"), 42);
    EXPECT_EQ(strFormatted, "n=42");
    EXPECT_EQ(CString("ÉTÉ").MakeLower(), "été");
    EXPECT_EQ(CString("straße").CompareNoCase("STRASSE"), 1);
    EXPECT_EQ(CString("Ärger").CompareNoCase("ärGER"), 0);
}
