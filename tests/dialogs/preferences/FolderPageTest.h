#pragma once

// Preference pages with folders over a drive table of the test's own: C: is
// a fixed drive over a fresh temporary tree, and no other letter exists
// unless the test adds one. Folders are picked as a user picks them: the
// page's picker button is clicked and the rows of the popup chain chosen.

#include "platform/base/CollectionArrays.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <string>
#include <vector>

class FolderPageTest : public PreferencePageTest {
protected:
    void SetUp() override
    {
        PreferencePageTest::SetUp();
        ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
        AddDrive('C', DRIVE_FIXED);
    }
    void TearDown() override
    {
        for (const std::filesystem::path& folder : m_readOnly)
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        ResetDriveTable();
        PreferencePageTest::TearDown();
    }

    // Adds a letter of that type over a fresh folder of its own.
    void AddDrive(char chLetter, UINT uType) const { AddTestDrive(m_drives.Path(), chLetter, uType); }
    // Makes a folder (and its parents) on a drive, by its path below the root.
    void MakeFolder(const std::string& strRelative, char chLetter = 'C') const
    {
        std::filesystem::create_directories(m_drives / std::string(1, chLetter) / strRelative);
    }
    // Makes a folder on C: that cannot be written to, by its mode.
    void MakeReadOnlyFolder(const std::string& strRelative)
    {
        const std::filesystem::path folder = m_drives / "C" / strRelative;
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder,
            std::filesystem::perms::owner_write | std::filesystem::perms::group_write
                | std::filesystem::perms::others_write,
            std::filesystem::perm_options::remove);
        m_readOnly.push_back(folder);
    }

    // Clicks the page's picker button; in the popup chain it opens, each
    // row named but the last is opened and the last is clicked.
    void Pick(HWND hPage, int nButton, const std::vector<std::string>& rows)
    {
        PickInPopupChain(Driver(), ::GetDlgItem(hPage, nButton), rows);
    }

    // The texts of a folder list's rows.
    static std::vector<std::string> Rows(HWND hPage, int nList)
    {
        std::vector<std::string> rows;
        for (const std::vector<CString>& row : CTestDriver::ListRows(::GetDlgItem(hPage, nList)))
            rows.emplace_back(row.at(0));
        return rows;
    }
    static std::vector<std::string> Strings(const CStringArray& array)
    {
        std::vector<std::string> strings;
        for (int n = 0; n < array.GetSize(); ++n)
            strings.emplace_back(array[n]);
        return strings;
    }
    static void Fill(CStringArray& array, const std::vector<const char*>& strings)
    {
        array.RemoveAll();
        for (const char* psz : strings)
            array.Add(psz);
    }
    void SelectRow(HWND hPage, int nList, int nRow) { Driver().ClickListRow(::GetDlgItem(hPage, nList), nRow); }

    TempFolder m_drives;

private:
    std::vector<std::filesystem::path> m_readOnly;
};
