#include "platform/base/CStdioFile.h"

#include "platform/base/CFileException.h"
#include "tests/platform/base/FileTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(CStdioFileFaultTest, LinesNeedAnOpenFileWithTheRightAccess)
{
    TempFolder folder;
    std::string strPath = ProgramPathOf(folder.WriteFile("a.txt", "line\n"));
    CString strLine;
    char szLine[8];

    CStdioFile closed;
    EXPECT_EQ(ThrownCause<CFileException>([&] { closed.ReadString(strLine); }), CFileException::invalidFile);
    EXPECT_EQ(ThrownCause<CFileException>([&] { closed.ReadString(szLine, 8); }), CFileException::invalidFile);
    EXPECT_EQ(ThrownCause<CFileException>([&] { closed.WriteString("x"); }), CFileException::invalidFile);

    CStdioFile writer(strPath.c_str(), CFile::modeWrite | CFile::shareDenyNone);
    EXPECT_EQ(ThrownCause<CFileException>([&] { writer.ReadString(strLine); }), CFileException::accessDenied);
    EXPECT_EQ(ThrownCause<CFileException>([&] { writer.WriteString(nullptr); }), CFileException::genericException);

    CStdioFile reader(strPath.c_str(), CFile::modeRead | CFile::shareDenyNone);
    EXPECT_EQ(ThrownCause<CFileException>([&] { reader.WriteString("x"); }), CFileException::accessDenied);
    // The failed write did not disturb reading.
    ASSERT_TRUE(reader.ReadString(strLine));
    EXPECT_STREQ(strLine, "line");
}

TEST(CStdioFileFaultTest, MissingFilesThrowFromTheConstructor)
{
    TempFolder folder;
    std::string strPath = ProgramPathOf(folder / "missing.txt");
    int nCause
        = ThrownCause<CFileException>([&] { CStdioFile file(strPath.c_str(), CFile::modeRead | CFile::typeText); });
    EXPECT_EQ(nCause, CFileException::fileNotFound);
}
