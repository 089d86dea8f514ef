#pragma once

// A fixture for the set-up wizard: drive C: a fresh tree, a program folder
// and registry of the test's own with two creatable document types (Text
// Document: .txt, .text; Writer Document: .odt), the program's resource
// module and usage file, and the test driver, whose scripts must all run.
// Message boxes answered with AnswerMessage keep their texts in m_messages.

#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestData.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/Registry.h"
#include "platform/controls/TreeViewControl.h"

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class SetupWizardTest
    : public DriveTreeTest
    , protected DialogHarness {
protected:
    void SetUp() override
    {
        DriveTreeTest::SetUp();
        m_pModulePath = std::make_unique<ScopedVariable>("ARCHIVORA_MODULE_PATH", (BinaryRoot() / "app").string());
        SetFileType(".txt", "txtfile", "Text Document", true);
        SetFileType(".text", "textfile", "Text Document", false);
        SetFileType(".odt", "odtfile", "Writer Document", true);
    }
    void TearDown() override
    {
        ExpectScriptsRan();
        m_pModulePath.reset();
        DriveTreeTest::TearDown();
    }

    // A Netscape user whose profile folder is pszRoot (a program path).
    static void AddNetscapeUser(const char* pszName, const char* pszRoot)
    {
        HKEY hKey = nullptr;
        const CString strKey = CString("SOFTWARE\\Netscape\\Netscape Navigator\\Users\\") + pszName;
        ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, strKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueEx(hKey, "DirRoot", 0, REG_SZ, reinterpret_cast<const BYTE*>(pszRoot),
                      static_cast<DWORD>(strlen(pszRoot) + 1)),
            ERROR_SUCCESS);
        RegCloseKey(hKey);
    }

    /* Script steps. */

    // Checks line nLine of the check list nId, as a click on its box does.
    std::function<void(HWND)> ClickCheckLine(int nId, int nLine)
    {
        return [this, nId, nLine](
                   HWND hDlg) { EXPECT_TRUE(m_driver.ClickCheckListBox(CTestDriver::FindChild(hDlg, nId), nLine)); };
    }
    // Clicks the check box of the folder tree's item at path (texts below the drive item).
    std::function<void(HWND)> CheckFolder(std::vector<CString> path)
    {
        return [this, path](HWND hDlg) {
            HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
            const HTREEITEM hDrive = reinterpret_cast<HTREEITEM>(::SendMessage(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            std::vector<CString> full { ItemText(hTree, hDrive) };
            full.insert(full.end(), path.begin(), path.end());
            const HTREEITEM hItem = CTestDriver::TreeItem(hTree, full);
            ASSERT_NE(hItem, nullptr);
            EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hItem));
        };
    }
    static CString ItemText(HWND hTree, HTREEITEM hItem)
    {
        char szText[260] = "";
        TVITEM item {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = szText;
        item.cchTextMax = sizeof szText;
        ::SendMessage(hTree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
        return szText;
    }
    // The texts of the children of the item at path in tree nId (an empty path: the top items).
    std::vector<std::string> TreeTexts(HWND hDlg, int nId, std::vector<CString> path)
    {
        HWND hTree = CTestDriver::FindChild(hDlg, nId);
        const HTREEITEM hParent = path.empty() ? nullptr : CTestDriver::TreeItem(hTree, path);
        std::vector<std::string> texts;
        for (const CString& str : CTestDriver::TreeChildren(hTree, hParent))
            texts.emplace_back(str);
        return texts;
    }

private:
    std::unique_ptr<ScopedVariable> m_pModulePath;
};
