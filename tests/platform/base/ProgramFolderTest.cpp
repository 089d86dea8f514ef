#include "platform/base/ProgramFolder.h"

#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ProgramFolderCallsTest : public ProgramFolderTest { };

}

TEST_F(ProgramFolderCallsTest, ModuleFileIsArchivoraExeInTheProgramFolder)
{
    char szPath[MAX_PATH];
    DWORD dwLength = GetModuleFileName(nullptr, szPath, MAX_PATH);
    std::string strExpected = ProgramPathFromHostPath(Home().string()) + "\\archivora.exe";
    EXPECT_EQ(std::string(szPath), strExpected);
    EXPECT_EQ(dwLength, strExpected.size());
    std::string strHost;
    ASSERT_TRUE(HostPathFromProgramPath(szPath, strHost));
    EXPECT_EQ(strHost, (Home() / "archivora.exe").string());
}

TEST_F(ProgramFolderCallsTest, ModuleFileIsCutToASmallBuffer)
{
    char szPath[8] = "";
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetModuleFileName(nullptr, szPath, sizeof(szPath)), sizeof(szPath));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::string(szPath).size(), 7u);
    EXPECT_EQ(GetModuleFileName(nullptr, szPath, 0), 0u);
}

TEST_F(ProgramFolderCallsTest, WindowsAndSystemDirectoriesAreTheProgramFolder)
{
    char szWindows[MAX_PATH];
    char szSystem[MAX_PATH];
    UINT uLength = GetWindowsDirectory(szWindows, MAX_PATH);
    EXPECT_EQ(std::string(szWindows), ProgramPathFromHostPath(Home().string()));
    EXPECT_EQ(uLength, std::string(szWindows).size());
    EXPECT_EQ(GetSystemDirectory(szSystem, MAX_PATH), uLength);
    EXPECT_STREQ(szSystem, szWindows);
    EXPECT_EQ(GetWindowsDirectory(szWindows, 2), uLength + 1);
}
