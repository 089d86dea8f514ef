// The preference pages' folder list: rows lower-cased in order, the column
// widened to the widest text (measured before lower-casing) and never
// narrowed by an add, a folder added once in any letter case, and every
// selected row removed with the column fitted to what is left.

#include "ui/CFolderListCtrl.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CRect.h"
#include "platform/gdi/ImageLists.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CSysImageList.h"

#include <string>
#include <vector>

namespace {

class FolderListCtrlTest : public UiTest {
protected:
    void Create(BOOL bIcons)
    {
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS,
            CRect(0, 0, 300, 120), &Host(), 100));
        m_list.Initialize(bIcons);
    }

    std::vector<std::string> Rows() const
    {
        CStringArray folders;
        m_list.GetFolders(folders);
        std::vector<std::string> rows;
        for (INT_PTR i = 0; i < folders.GetSize(); ++i)
            rows.emplace_back(folders[i]);
        return rows;
    }

    CFolderListCtrl m_list;
};

TEST_F(FolderListCtrlTest, RowsAreLowerCasedAndTheColumnOnlyWidensOnAdd)
{
    Create(TRUE);
    EXPECT_EQ(m_list.GetColumnWidth(0), CFolderListCtrl::INITIAL_WIDTH);
    m_list.AddFolder("C:\\Work\\Long Project Folder");
    const int nWide = m_list.GetColumnWidth(0);
    EXPECT_EQ(nWide, m_list.GetStringWidth("C:\\Work\\Long Project Folder") + CFolderListCtrl::ICON_ROW_MARGIN);
    m_list.AddFolder("D:\\A");
    EXPECT_EQ(m_list.GetColumnWidth(0), nWide);
    EXPECT_EQ(Rows(), (std::vector<std::string> { "c:\\work\\long project folder", "d:\\a" }));
}

TEST_F(FolderListCtrlTest, TheSystemIconsOutliveTheList)
{
    const CSysImageList keep;
    HIMAGELIST hSystem = GetSystemImageList(TRUE)->GetSafeHandle();
    const int nIcons = ImageList_GetImageCount(hSystem);
    ASSERT_GT(nIcons, 0);
    Create(TRUE);
    m_list.AddFolder("C:\\Work");
    m_list.DestroyWindow();
    EXPECT_EQ(ImageList_GetImageCount(hSystem), nIcons);
}

TEST_F(FolderListCtrlTest, ListWithoutIconsLeavesTheSmallerMargin)
{
    Create(FALSE);
    m_list.AddFolder("*.TMP");
    EXPECT_EQ(m_list.GetColumnWidth(0), m_list.GetStringWidth("*.TMP") + CFolderListCtrl::TEXT_ROW_MARGIN);
    EXPECT_EQ(m_list.GetImageList(LVSIL_SMALL), nullptr);
}

TEST_F(FolderListCtrlTest, AFolderIsAddedOnceInAnyLetterCase)
{
    Create(TRUE);
    EXPECT_TRUE(m_list.AddFolderOnce("C:\\Docs"));
    EXPECT_FALSE(m_list.AddFolderOnce("c:\\DOCS"));
    EXPECT_TRUE(m_list.AddFolderOnce("c:\\docs\\old"));
    EXPECT_EQ(Rows(), (std::vector<std::string> { "c:\\docs", "c:\\docs\\old" }));
}

TEST_F(FolderListCtrlTest, RemovingEverySelectedRowFitsTheColumnToTheRest)
{
    Create(TRUE);
    for (const char* pszFolder : { "c:\\a", "c:\\a very long folder name indeed", "c:\\bb", "c:\\another long one" })
        m_list.AddFolder(pszFolder);
    const int nWide = m_list.GetColumnWidth(0);
    m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    m_list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    m_list.RemoveSelected();
    EXPECT_EQ(Rows(), (std::vector<std::string> { "c:\\a", "c:\\bb" }));
    EXPECT_LT(m_list.GetColumnWidth(0), nWide);
    EXPECT_GE(m_list.GetColumnWidth(0), m_list.GetStringWidth("c:\\bb"));
}

} // namespace
