#pragma once

// A fixture for the namespace and file operation tests: a temporary tree with
// drives of every type and a home folder of its own (desktop folder, trash).
//
//   D:  <root>/cd     a CD (iso9660 in the mount table)
//   E:  <root>/net    an NFS mount of server:/export/docs, also \\server\docs
//   P:  <root>/fixed  a fixed drive
//   Q:  <root>/usb    a removable drive
//   HOME is <root>/home, with Desktop/ and the home trash under .local/share.

#include "platform/base/Com.h"
#include "platform/base/DriveTable.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

class ShellTreeTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_strRoot = m_tree.Path().string();
        std::filesystem::create_directories(m_tree / "home/Desktop");
        for (const char* pszFolder : { "cd", "net", "fixed", "usb" })
            std::filesystem::create_directories(m_tree / pszFolder);
        std::string strMounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                "2 1 11:0 / "
            + m_strRoot + "/cd ro - iso9660 /dev/sr0 ro\n3 1 0:50 / " + m_strRoot
            + "/net rw - nfs4 server:/export/docs rw\n";
        ReloadDriveTable(strMounts.c_str());
        ASSERT_TRUE(SetDriveOverride('P', (m_strRoot + "/fixed").c_str(), DRIVE_FIXED));
        ASSERT_TRUE(SetDriveOverride('Q', (m_strRoot + "/usb").c_str(), DRIVE_REMOVABLE));
        m_variables.push_back(std::make_unique<ScopedVariable>("HOME", m_strRoot + "/home"));
        m_variables.push_back(std::make_unique<ScopedVariable>("XDG_CONFIG_HOME", m_strRoot + "/home/.config"));
        m_variables.push_back(std::make_unique<ScopedVariable>("XDG_DATA_HOME", m_strRoot + "/home/.local/share"));
    }
    void TearDown() override
    {
        ResetDriveTable();
        m_variables.clear();
        ProgramFolderTest::TearDown();
    }

    // Writes a file below the root and returns its host path.
    std::string Write(const std::string& strRelative, std::string_view strContents = "x") const
    {
        return m_tree.WriteFile(strRelative, strContents).string();
    }
    void MakeFolder(const std::string& strRelative) const { std::filesystem::create_directories(m_tree / strRelative); }
    std::string Host(const std::string& strRelative) const { return m_strRoot + "/" + strRelative; }
    // The trash's own files, for tests that look at it directly.
    std::string HomeTrash() const { return m_strRoot + "/home/.local/share/Trash"; }

    std::string m_strRoot;

private:
    TempFolder m_tree;
    std::vector<std::unique_ptr<ScopedVariable>> m_variables;
};

// Frees an item list handed out by the shell when it goes.
struct IdListDeleter {
    void operator()(void* pidl) const { CoTaskMemFree(pidl); }
};
