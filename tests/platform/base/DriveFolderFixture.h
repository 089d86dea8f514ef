#pragma once

// A fixture for the path tests: a fresh temporary folder that the drive letter
// T: stands for, so tests use program paths ("T:\a\b.txt") on real files. The
// drive table and the current directory are put back after each test.

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

class DriveFolderTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(SetDriveOverride('T', m_folder.Path().c_str(), DRIVE_FIXED));
        char szCurrent[1024];
        ASSERT_LT(GetCurrentDirectory(sizeof(szCurrent), szCurrent), sizeof(szCurrent));
        m_strOldCurrent = szCurrent;
    }

    void TearDown() override
    {
        SetCurrentDirectory(m_strOldCurrent.c_str());
        ResetDriveTable();
        ProgramFolderTest::TearDown();
    }

    const TempFolder& Folder() const { return m_folder; }
    // The program path of a path relative to the folder: "a/b" -> "T:\a/b".
    static std::string OnT(const std::string& strRelative) { return "T:\\" + strRelative; }
    // Writes a file below the folder and returns its host path.
    std::string Write(const std::string& strRelative, std::string_view strContents = "x") const
    {
        return m_folder.WriteFile(strRelative, strContents).string();
    }

private:
    TempFolder m_folder;
    std::string m_strOldCurrent;
};
