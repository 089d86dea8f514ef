#pragma once

// A fixture for the tests that walk the shell namespace: drive C: is a fresh
// temporary tree and no other letter exists unless the test adds one
// (AddDrive), so My Computer lists exactly what the test made.

#include "platform/base/DriveTable.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Maps a letter of that type onto a fresh folder named by the letter below drives.
inline void AddTestDrive(const std::filesystem::path& drives, char chLetter, UINT uType)
{
    const std::filesystem::path folder = drives / std::string(1, chLetter);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(SetDriveOverride(chLetter, folder.string().c_str(), uType));
}

class DriveTreeTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
        AddDrive('C', DRIVE_FIXED);
    }
    void TearDown() override
    {
        m_variables.clear();
        ResetDriveTable();
        ProgramFolderTest::TearDown();
    }

    // Adds a letter of that type over a fresh folder of its own.
    void AddDrive(char chLetter, UINT uType) const { AddTestDrive(m_drives.Path(), chLetter, uType); }
    // Puts the program folder (and so its Start menu) at C:\Program and the
    // user's home and desktop data beside the drives, so that nothing of the
    // host's desktop (its launchers) shows; returns the program folder.
    std::filesystem::path UseDesktopOfItsOwn()
    {
        const std::filesystem::path program = Root() / "Program";
        const std::filesystem::path home = m_drives / "home";
        std::filesystem::create_directories(program);
        std::filesystem::create_directories(home / ".local/share/applications");
        std::filesystem::create_directories(home / ".config");
        std::filesystem::create_directories(home / "system-data");
        m_variables.push_back(std::make_unique<ScopedVariable>("ARCHIVORA_HOME", program.string()));
        m_variables.push_back(std::make_unique<ScopedVariable>("HOME", home.string()));
        m_variables.push_back(std::make_unique<ScopedVariable>("XDG_DATA_HOME", (home / ".local/share").string()));
        m_variables.push_back(std::make_unique<ScopedVariable>("XDG_CONFIG_HOME", (home / ".config").string()));
        m_variables.push_back(std::make_unique<ScopedVariable>("XDG_DATA_DIRS", (home / "system-data").string()));
        return program;
    }
    // Makes a folder (and its parents) on C:, by a path relative to its root.
    void MakeFolder(const std::string& strRelative) const { std::filesystem::create_directories(Root() / strRelative); }
    void WriteFile(const std::string& strRelative, std::string_view contents = "x") const
    {
        m_drives.WriteFile(std::filesystem::path("C") / strRelative, contents);
    }
    // The host folder of C:.
    std::filesystem::path Root() const { return m_drives / "C"; }

private:
    TempFolder m_drives;
    std::vector<std::unique_ptr<ScopedVariable>> m_variables;
};
