// The program's find dialog and Find Files window, reached in the running
// application through the frame's prompts as the dialogs answer them.

#include "catalog/CTextSearch.h"
#include "dialogs/CDialogFramePrompts.h"
#include "frame/AppMessages.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "tests/frame/AppTestFixture.h"

#include "platform/base/PathMap.h"
#include "platform/controls/ListViewControl.h"
#include "platform/testing/DialogScript.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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
