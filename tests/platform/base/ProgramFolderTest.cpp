#include "platform/base/ProgramFolder.h"

#include "platform/base/CString.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST_F(ProgramFolderCallsTest, WhatLiesInTheProgramFolderIsFoundThroughLinksToo)
{
    const TempFolder outside;
    std::filesystem::create_directories(Home() / "settings");
    std::filesystem::create_directory_symlink(Home(), outside / "shortcut");
    std::filesystem::create_directory(outside / "docs");
    const auto inside = [](const std::filesystem::path& path) {
        return IsInProgramFolder(ProgramPathFromHostPath(path.string()).c_str()) != FALSE;
    };
    EXPECT_TRUE(inside(Home()));
    EXPECT_TRUE(inside(Home() / "settings" / "CurrentUser.reg"));
    EXPECT_TRUE(inside(outside / "shortcut"));
    EXPECT_TRUE(inside(outside / "shortcut" / "settings"));
    EXPECT_FALSE(inside(outside / "docs"));
    // The program's paths ignore case, and so does the test.
    CString strUpper = ProgramPathFromHostPath((Home() / "settings").string()).c_str();
    strUpper.MakeUpper();
    EXPECT_TRUE(IsInProgramFolder(strUpper));
    EXPECT_FALSE(inside(Home().parent_path()));
    // A sibling whose name begins with the folder's is not inside it.
    EXPECT_FALSE(inside(Home().string() + "-other"));
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
