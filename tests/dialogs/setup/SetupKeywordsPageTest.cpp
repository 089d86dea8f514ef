// The set-up wizard's keywords page: the folders a user picks for a group
// through the Folders tab's Add popup reach that group in the results.

#include "dialogs/setup/CInstalacaoKeywords.h"

#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "frame/SetupResults.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/dialogs/setup/SetupWizardTest.h"

#include "platform/controls/PropertySheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class SetupKeywordsPageTest : public SetupWizardTest {
protected:
    // The organisation road up to the keywords page, with the usage "Home".
    void GoToKeywordsPage(CDialogScript& script)
    {
        script.Press(ID_WIZNEXT).Then(ClickCheckLine(IDC_DOC_TYPES, 0)).Press(ID_WIZNEXT).Press(ID_WIZNEXT);
        script.Check(IDC_SETUP_USE_USAGE).Then([this](HWND hDlg) {
            const std::vector<CString> usages = CTestDriver::Items(CTestDriver::FindChild(hDlg, IDC_SETUP_USAGES));
            for (std::size_t i = 0; i < usages.size(); ++i) {
                if (usages[i] == CString("Home"))
                    ClickCheckLine(IDC_SETUP_USAGES, static_cast<int>(i))(hDlg);
            }
        });
        script.Press(ID_WIZNEXT).Press(ID_WIZNEXT);
    }
    // Shows the group pages' Folders tab and picks the folder at rows (below drive C:) with its Add button.
    std::function<void(HWND)> AddFolderThroughPopup(const std::vector<std::string>& rows)
    {
        return [this, rows](HWND hDlg) {
            // The list's page is a child of the group sheet.
            HWND hGroupSheet = ::GetParent(::GetParent(CTestDriver::FindChild(hDlg, IDC_GROUP_FOLDER_LIST)));
            HWND hTab = reinterpret_cast<HWND>(::SendMessage(hGroupSheet, PSM_GETTABCONTROL, 0, 0));
            ASSERT_NE(hTab, nullptr);
            ASSERT_TRUE(m_driver.ClickTab(hTab, FOLDERS_TAB));
            HWND hAdd = CTestDriver::FindChild(hGroupSheet, IDC_GROUP_FOLDER_ADD);
            ASSERT_TRUE(CTestDriver::IsVisible(hAdd));
            std::vector<std::string> chain { std::string(Text(IDS_MY_COMPUTER)), "C (c:)" };
            chain.insert(chain.end(), rows.begin(), rows.end());
            PickInPopupChain(m_driver, hAdd, chain);
        };
    }
    static Texts ListedFolders(HWND hDlg)
    {
        Texts listed;
        for (const std::vector<CString>& row :
            CTestDriver::ListRows(CTestDriver::FindChild(hDlg, IDC_GROUP_FOLDER_LIST)))
            listed.emplace_back(row.at(0));
        return listed;
    }
    static Texts Folders(const COrgItem& item)
    {
        Texts folders;
        for (int i = 0; i < item.folders.GetSize(); ++i)
            folders.emplace_back(item.folders[i]);
        return folders;
    }

    static constexpr int FOLDERS_TAB = 2;
};

} // namespace

TEST_F(SetupKeywordsPageTest, TheAddPopupWaitsForTheMouseOnItsButtonAndAClickOnARowWithFoldersOpensThem)
{
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    std::vector<size_t> shown; // popups open: after the rest on the button, after each click
    Texts listed;
    CDialogScript script;
    GoToKeywordsPage(script);
    script.Then([&](HWND hDlg) {
        HWND hGroupSheet = ::GetParent(::GetParent(CTestDriver::FindChild(hDlg, IDC_GROUP_FOLDER_LIST)));
        HWND hTab = reinterpret_cast<HWND>(::SendMessage(hGroupSheet, PSM_GETTABCONTROL, 0, 0));
        ASSERT_TRUE(m_driver.ClickTab(hTab, FOLDERS_TAB));
        HWND hAdd = CTestDriver::FindChild(hGroupSheet, IDC_GROUP_FOLDER_ADD);
        m_driver.OnNextWait([&] {
            // The cursor stays on the button that opened the popup a while.
            m_driver.Advance(2 * CPopupCtrl::CLOSE_DELAY_MS);
            shown.push_back(CTestDriver::PopupWindows().size());
            if (shown.back() == 0)
                return;
            HWND hRoot = CTestDriver::PopupWindows()[0];
            const std::vector<CString> rows = CTestDriver::Items(CTestDriver::PopupList(hRoot));
            const auto it = std::find(rows.begin(), rows.end(), Text(IDS_MY_COMPUTER));
            ASSERT_NE(it, rows.end());
            ASSERT_TRUE(m_driver.ClickPopupRow(hRoot, static_cast<int>(it - rows.begin())));
            shown.push_back(CTestDriver::PopupWindows().size());
            if (shown.back() < 2)
                return;
            // The drive is a folder of its own: a click on it chooses it.
            ASSERT_TRUE(m_driver.ClickPopupRow(CTestDriver::PopupWindows()[1], 0));
            shown.push_back(CTestDriver::PopupWindows().size());
        });
        RECT rect {};
        ::GetClientRect(hAdd, &rect);
        m_driver.Click(hAdd, rect.right / 2, rect.bottom / 2);
        listed = ListedFolders(hDlg);
    });
    script.Press(IDCANCEL);
    Answer(script);

    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, (std::vector<size_t> { 1, 2, 0 }));
    EXPECT_EQ(listed, Texts { "c:\\" });
}

TEST_F(SetupKeywordsPageTest, AFolderPickedThroughTheAddPopupReachesTheShownGroup)
{
    WriteFile("docs/a.txt");
    WriteFile("work/b.txt");
    CSetupResults results;
    CInstalacaoPropertySheet sheet(results);
    Texts firstListed;
    Texts secondListed;
    Texts backAgain;
    CDialogScript script;
    GoToKeywordsPage(script);
    // The first group takes "docs", picked twice: it is listed once.
    script.Then(AddFolderThroughPopup({ "docs" })).Then(AddFolderThroughPopup({ "docs" }));
    script.Then([&](HWND hDlg) { firstListed = ListedFolders(hDlg); });
    // The second group shows none of it, and takes "work".
    script.SelectTreeItem(IDC_SETUP_TREE, { Text(IDS_USAGE_BRANCH), "Family" });
    script.Then([&](HWND hDlg) { secondListed = ListedFolders(hDlg); });
    script.Then(AddFolderThroughPopup({ "work" }));
    // Back and Next again show the first group's folder once more.
    script.SelectTreeItem(IDC_SETUP_TREE, { Text(IDS_USAGE_BRANCH), "Bank and insurance" });
    script.Press(ID_WIZBACK).Press(ID_WIZNEXT);
    script.Then([&](HWND hDlg) { backAgain = ListedFolders(hDlg); });
    script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
    Answer(script);

    ASSERT_EQ(sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(firstListed, Texts { "c:\\docs" });
    EXPECT_TRUE(secondListed.empty());
    EXPECT_EQ(backAgain, Texts { "c:\\docs" }) << "the remembered group is shown again";
    ASSERT_NE(results.pUsageBranch, nullptr);
    const auto& groups = results.pUsageBranch->children;
    ASSERT_GE(groups.size(), 2u);
    EXPECT_EQ(std::string(groups[0]->strName), "Bank and insurance");
    EXPECT_EQ(Folders(*groups[0]), Texts { "c:\\docs" });
    EXPECT_EQ(std::string(groups[1]->strName), "Family");
    EXPECT_EQ(Folders(*groups[1]), Texts { "c:\\work" });
    for (std::size_t i = 2; i < groups.size(); ++i)
        EXPECT_EQ(groups[i]->folders.GetSize(), 0) << groups[i]->strName;
}
