#pragma once

// The fixture of the group dialog tests: a catalog in the test's folder with
// two top-level groups, and helpers that reach into a shown dialog's sheet.

#include "tests/dialogs/DialogTestSupport.h"

#include "platform/controls/ListViewControl.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

class GroupDialogTest : public DocumentDialogTest {
protected:
    // The tab control of a property sheet, made by the sheet itself.
    static constexpr int SHEET_TABS_ID = 0x3020;

    void SetUp() override
    {
        DocumentDialogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
        m_projects = AddNode(*pRoot, "Projects", "current work")->GetRef();
        m_archive = AddNode(*pRoot, "Archive")->GetRef();
    }

    std::string Bytes() const
    {
        std::ifstream in(Home() / "archiv.cat", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Shows page nPage of the sheet inside the dialog.
    void ShowPage(HWND hDlg, int nPage) { m_driver.ClickTab(CTestDriver::FindChild(hDlg, SHEET_TABS_ID), nPage); }
    // Adds a row with a text at the end of a list view, as typing into it would.
    static void AddRow(HWND hList, LPCTSTR pszText)
    {
        LVITEM item {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(::SendMessage(hList, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<LPTSTR>(pszText);
        ::SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
    static void SelectRow(HWND hList, int nRow)
    {
        LVITEM item {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        ::SendMessage(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    }
    static std::vector<std::string> KeywordTexts(const CNodeRec& node)
    {
        std::vector<std::string> texts;
        for (const auto& pKeyword : node.GetKeywords())
            texts.emplace_back(static_cast<LPCTSTR>(pKeyword->GetText()));
        std::sort(texts.begin(), texts.end());
        return texts;
    }
    static std::vector<std::string> FolderTexts(const CNodeRec& node)
    {
        std::vector<std::string> texts;
        for (const auto& pFolder : node.GetNodeFolders())
            texts.emplace_back(static_cast<LPCTSTR>(pFolder->GetText()));
        return texts;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    CRecordRef m_projects, m_archive;
};
