#include "platform/shell/ProgramLaunch.h"

#include "platform/base/WinError.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

TEST(ProgramLaunchTest, OverrideRecordsCommandLinesInsteadOfStarting)
{
    CLaunchOverride launches;
    EXPECT_TRUE(LaunchProgram({ "/no/such/program", "-x", "a b" }));
    launches.FailLaunches();
    EXPECT_FALSE(LaunchProgram({ "other" }));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(launches.GetLaunches().size(), 2u);
    EXPECT_EQ(launches.GetLaunches()[0], (std::vector<std::string> { "/no/such/program", "-x", "a b" }));
}

TEST(ProgramLaunchTest, BadCommandLinesFail)
{
    EXPECT_FALSE(LaunchProgram({}));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(LaunchProgram({ "" }));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // A program that is not there starts nothing.
    EXPECT_FALSE(LaunchProgram({ "/nonexistent-folder-of-archivora-tests/program" }));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(ProgramLaunchTest, FindsProgramsOnThePath)
{
    TempFolder bin;
    auto program = bin.WriteFile("mail-tool", "#!/bin/sh\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    ScopedVariable path("PATH", bin.Path().string());
    EXPECT_EQ(FindHostProgram("mail-tool"), program.string());
    EXPECT_EQ(FindHostProgram("no-such-mail-tool"), "");
}
