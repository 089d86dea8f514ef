// The program's find dialog and Find Files window, reached in the running
// application through the frame's prompts as the dialogs answer them.

#include "catalog/CTextSearch.h"
#include "dialogs/CDialogFramePrompts.h"
#include "frame/AppMessages.h"
#include "frame/CArqListCtrl.h"
#include "frame/CCoolMenu.h"
#include "frame/CDlgSearchResults.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "tests/frame/AppTestFixture.h"

#include "platform/base/PathMap.h"
#include "platform/controls/ListViewControl.h"
#include "platform/testing/DialogScript.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FindFilesPromptsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        fs::create_directories(Home() / "docs");
        for (const char* pszName : { "plan.txt", "notes.txt", "plan-b.txt" })
            std::ofstream(Home() / "docs" / pszName) << pszName;
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            auto pLetters = AddSystem(root, "Letters");
            AddDocument(catalog, *pLetters, Path("plan.txt").c_str());
            AddDocument(catalog, *pLetters, Path("notes.txt").c_str());
        });
        ASSERT_TRUE(Start());
        m_pScripted = InstallFramePrompts(&m_dialogs);
    }
    void TearDown() override
    {
        m_dialogs.CloseFindFiles();
        InstallFramePrompts(m_pScripted);
        GetGlobalSearchCriteria() = {}; // the program's find criteria outlive the test
        AppTest::TearDown();
    }

    std::string Path(const char* pszName) const
    {
        return ProgramPathFromHostPath((Home() / "docs" / pszName).string());
    }
    // Find from the Catalog menu, answered in its dialog: the words, the
    // field's radio button, the results listed in a window.
    void FindIntoList(const char* pszWords, int nFieldButton)
    {
        CDialogScript script;
        script.SetText(IDC_FIND_HOST_TEXT, pszWords).Check(nFieldButton).Check(IDC_FIND_HOST_RESULT_LIST).Press(IDOK);
        m_driver.AnswerNextDialog(std::move(script));
        Command(ID_CATALOG_FIND);
    }
    // The names the search results window lists, sorted; empty when it is not shown.
    std::vector<CString> ListedNames()
    {
        std::vector<CString> names;
        if (!MainFrame()->IsDragBarWindowShown(CCoolMenu::ENTRY_SEARCH_RESULTS))
            return names;
        CArqListCtrl& list = MainFrame()->GetDragBar().GetList().GetSearchResultsWindow()->GetList();
        list.WaitForFill(TRUE);
        for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
            names.push_back(list.GetItemText(nRow, list.FindColumn(4101)));
        std::sort(names.begin(), names.end());
        return names;
    }
    static HWND Finder() { return ::FindWindow(nullptr, "Find Files"); }
    static int Rows(HWND hFinder)
    {
        return static_cast<int>(::SendMessage(::GetDlgItem(hFinder, IDC_FIND_FILES_LIST), LVM_GETITEMCOUNT, 0, 0));
    }

    CDialogFramePrompts m_dialogs;
    CFramePrompts* m_pScripted { nullptr };
};

TEST_F(FindFilesPromptsTest, TheFindDialogStoresTheSearchInTheProgramsSettings)
{
    CDialogScript script;
    script.SetText(IDC_FIND_HOST_TEXT, "notes")
        .Check(IDC_FIND_HOST_FIELD1)
        .Uncheck(IDC_FIND_HOST_RESULT_LIST)
        .Uncheck(IDC_FIND_HOST_FIND_BAR)
        .Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    EXPECT_EQ(GetFramePrompts().FindFilesHost(), IDOK);
    EXPECT_TRUE(m_driver.ScriptErrors().empty());
    EXPECT_EQ(App().GetFindSettings().GetLastSearchText(), CString("notes"));
    EXPECT_EQ(App().GetFindSettings().GetFind().nField, CTextSearch::FIELD_NAME);
}

TEST_F(FindFilesPromptsTest, FindIntoTheListWindowListsTheDocumentsOfTheSystemsByNameAndByContent)
{
    FindIntoList("plan", IDC_FIND_HOST_FIELD1);
    EXPECT_TRUE(m_driver.ScriptErrors().empty());
    EXPECT_EQ(ListedNames(), (std::vector<CString> { "plan.txt" }));

    // Each file holds its own name.
    FindIntoList("notes", IDC_FIND_HOST_FIELD4);
    EXPECT_EQ(ListedNames(), (std::vector<CString> { "notes.txt" }));
    EXPECT_TRUE(CDlgSearchResults::HasResults());
}

TEST_F(FindFilesPromptsTest, TheFindFilesWindowOpensOnceAndFollowsTheCatalog)
{
    GetFramePrompts().OpenFindFiles(ProgramPathFromHostPath(Home().string()).c_str(), MainFrame());
    HWND hFinder = Finder();
    ASSERT_NE(hFinder, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hFinder));
    ::SetDlgItemText(hFinder, IDC_FIND_FILES_WORDS, "plan");
    ::SendMessage(hFinder, WM_COMMAND, MAKEWPARAM(IDC_FIND_FILES_FIND, BN_CLICKED), 0);
    EXPECT_EQ(Rows(hFinder), 1);

    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    AddDocument(*App().GetMainCatalog(), *pRoot, Path("plan-b.txt").c_str());
    MainFrame()->SendMessage(g_nMsgRedo);
    m_driver.Pump();
    EXPECT_EQ(Rows(hFinder), 2) << "the catalog change reaches the window through the drag bar";

    GetFramePrompts().OpenFindFiles(Path("").c_str(), MainFrame());
    EXPECT_EQ(Finder(), hFinder) << "made once, given the new folder";
    GetFramePrompts().CloseFindFiles();
    EXPECT_FALSE(::IsWindow(hFinder));
}

} // namespace
