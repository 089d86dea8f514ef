#include "dialogs/groups/CGroupPropertiesFolders.h"
#include "dialogs/groups/CGroupPropertiesKeywords.h"
#include "dialogs/groups/CGroupPropertiesTipoProcura.h"

#include "resources/ResourceIds.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/base/PathMap.h"
#include "platform/framework/CPropertySheet.h"
#include "platform/framework/CWinApp.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The set-up wizard's group pages in a child sheet of a window of the test.
class GroupPageTwinsTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(m_host.CreateEx(
            0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr));
        m_sheet.AddPage(&m_keywords);
        m_sheet.AddPage(&m_search);
        m_sheet.AddPage(&m_folders);
        ASSERT_TRUE(m_sheet.Create(&m_host, WS_CHILD | WS_VISIBLE, 0));
        for (int nPage = 2; nPage >= 0; --nPage)
            m_sheet.SetActivePage(nPage);
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        DialogTest::TearDown();
    }
    static void Fill(CStringArray& array, std::initializer_list<LPCTSTR> texts)
    {
        array.RemoveAll();
        for (LPCTSTR psz : texts)
            array.Add(psz);
    }
    static std::vector<CString> Vector(const CStringArray& array)
    {
        return std::vector<CString>(array.GetData(), array.GetData() + array.GetSize());
    }
    HWND Control(CPropertyPage& page, int nID) { return ::GetDlgItem(page.GetSafeHwnd(), nID); }

    CWnd m_host;
    CPropertySheet m_sheet;
    CGroupInstKeywords m_keywords;
    CGroupInstTipoProcura m_search;
    CGroupInstFolders m_folders;
};

} // namespace

TEST_F(GroupPageTwinsTest, KeywordsComeBackLastFirstTrimmedAndLeaveTheEntryRow)
{
    CStringArray keywords;
    Fill(keywords, { "letters  ", "budget", "" });
    m_keywords.SetKeywords(keywords);
    m_keywords.GetKeywords(keywords);
    EXPECT_EQ(Vector(keywords), (std::vector<CString> { "letters", "budget" })) << "rows sorted, taken last first";
    EXPECT_EQ(CTestDriver::ListRows(Control(m_keywords, IDC_GROUP_KEYWORD_LIST)).size(), 1u);
    keywords.RemoveAll();
    m_keywords.SetKeywords(keywords);
    m_keywords.GetKeywords(keywords);
    EXPECT_TRUE(keywords.IsEmpty()) << "an empty array shows nothing";
}

TEST_F(GroupPageTwinsTest, FoldersKeepMailboxesAndUsableFoldersAndComeBackReversed)
{
    std::filesystem::create_directories(Home() / "work");
    const CString strWork(ProgramPathFromHostPath((Home() / "work").string()).c_str());
    const CString strMissing(ProgramPathFromHostPath((Home() / "missing").string()).c_str());
    CStringArray folders;
    Fill(folders, { "*c:\\mail\\inbox", strWork, strMissing });
    m_folders.SetFolders(folders);
    HWND hList = Control(m_folders, IDC_GROUP_FOLDER_LIST);
    EXPECT_EQ(CTestDriver::ListRows(hList).size(), 2u) << "a missing folder is left out";
    m_folders.GetFolders(folders);
    CString strWorkLower(strWork);
    strWorkLower.MakeLower();
    EXPECT_EQ(Vector(folders), (std::vector<CString> { "*c:\\mail\\inbox", strWorkLower }));
    EXPECT_TRUE(CTestDriver::ListRows(hList).empty());
}

TEST_F(GroupPageTwinsTest, TheFolderListShowsAnEntryOnceWithItsPicture)
{
    CGroupFolderListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT | WS_VISIBLE, RECT { 0, 0, 200, 100 }, &m_host, 1));
    list.InsertColumn(0, "", LVCFMT_LEFT, 10);
    EXPECT_EQ(list.AddFolder("*C:\\Mail\\Inbox"), 0);
    EXPECT_EQ(list.AddFolder("c:\\work"), 1);
    EXPECT_TRUE(list.ContainsFolder("C:\\WORK"));
    EXPECT_FALSE(list.ContainsFolder("c:\\worker"));
    EXPECT_EQ(list.GetEntry(0), "*c:\\mail\\inbox") << "entries are kept lower-cased";
    LVITEM item {};
    item.mask = LVIF_IMAGE;
    for (int nRow : { 0, 1 }) {
        item.iItem = nRow;
        list.GetItem(&item);
        EXPECT_EQ(item.iImage, nRow == 0 ? CGroupFolderListCtrl::MAIL_IMAGE : CGroupFolderListCtrl::FOLDER_IMAGE);
    }
    EXPECT_GE(list.GetColumnWidth(0), list.GetStringWidth("c:\\mail\\inbox") + 38);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.DeleteSelected();
    EXPECT_EQ(list.GetItemCount(), 1);
    list.DestroyWindow();
}
