#pragma once

// Preference pages with folders over a drive table of the test's own: C: is
// a fixed drive over a fresh temporary tree, and no other letter exists
// unless the test adds one. Folders are picked as a user picks them: the
// page's picker button is clicked and the rows of the popup chain chosen.

#include "platform/base/CollectionArrays.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/support/TempFolder.h"
#include "ui/CPopupCtrl.h"

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
        Driver().OnNextWait([this, rows] {
            for (size_t nLevel = 0; nLevel < rows.size(); ++nLevel) {
                const std::vector<HWND> popups = CTestDriver::PopupWindows();
                ASSERT_GT(popups.size(), nLevel) << rows[nLevel];
                HWND hPopup = popups[nLevel];
                const std::vector<CString> items = CTestDriver::Items(CTestDriver::PopupList(hPopup));
                int nRow = -1;
                for (size_t n = 0; n < items.size(); ++n) {
                    if (items[n] == rows[nLevel].c_str())
                        nRow = static_cast<int>(n);
                }
                ASSERT_GE(nRow, 0) << rows[nLevel];
                if (nLevel + 1 < rows.size()) {
                    ASSERT_TRUE(Driver().HoverPopupRow(hPopup, nRow));
                    Driver().Advance(CPopupCtrl::HOVER_DELAY_MS);
                } else {
                    ASSERT_TRUE(Driver().ClickPopupRow(hPopup, nRow));
                }
            }
        });
        ClickButton(hPage, nButton);
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
