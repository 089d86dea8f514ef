#include "dialogs/setup/COrgTreeCtrl.h"

#include "dialogs/setup/COrgMirrorTreeCtrl.h"
#include "resources/ResourceIds.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/controls/TreeViewControl.h"
#include "platform/framework/CEdit.h"
#include "platform/framework/CWinApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class COrgTreeCtrlTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(m_host.CreateEx(
            0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr));
        ASSERT_TRUE(m_tree.Create(
            WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_EDITLABELS, RECT { 0, 0, 300, 300 }, &m_host, 1));
        m_hTop = m_tree.InsertNode(nullptr, "Work", 6);
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        DialogTest::TearDown();
    }

    // Edits hItem's name to pszText (null: the edit is cancelled) and lets the posted sort run.
    void Rename(HTREEITEM hItem, LPCTSTR pszText)
    {
        if (m_tree.GetEditControl() == nullptr) {
            ASSERT_NE(m_tree.EditLabel(hItem), nullptr);
        }
        if (pszText)
            m_tree.GetEditControl()->SetWindowText(pszText);
        m_tree.SendMessage(TVM_ENDEDITLABELNOW, pszText ? FALSE : TRUE);
        m_driver.Pump();
    }
    Names Children(HTREEITEM hParent) const
    {
        Names names;
        for (const CString& str : CTestDriver::TreeChildren(m_tree.m_hWnd, hParent))
            names.emplace_back(str);
        return names;
    }

    CWnd m_host;
    COrgTreeCtrl m_tree;
    COrgMirrorTreeCtrl m_mirror;
    HTREEITEM m_hTop { nullptr };
};

} // namespace

TEST_F(COrgTreeCtrlTest, ANewItemLeftUnnamedGoesWhileANamedOneKeepsItsName)
{
    const std::string strPlaceholder(Text(IDS_NEW_ITEM_NAME));
    HTREEITEM hNew = m_tree.AddNewChild(m_hTop);
    EXPECT_EQ(Children(m_hTop), Names { strPlaceholder });
    Rename(hNew, "  ");
    EXPECT_TRUE(Children(m_hTop).empty()) << "emptied";
    m_tree.AddNewChild(m_hTop);
    Rename(m_tree.GetChildItem(m_hTop), nullptr);
    EXPECT_TRUE(Children(m_hTop).empty()) << "cancelled";

    hNew = m_tree.AddNewChild(m_hTop);
    Rename(hNew, " Letters ");
    EXPECT_EQ(Children(m_hTop), Names { "Letters" }) << "trimmed";
    m_tree.SetKeywords(hNew, CStringArray());
    Rename(hNew, strPlaceholder.c_str());
    EXPECT_EQ(Children(m_hTop), Names { "Letters" }) << "a named item renamed to the placeholder stays";
}

TEST_F(COrgTreeCtrlTest, SiblingNamesStayUniqueWithoutRegardToCaseAndSorted)
{
    m_tree.InsertNode(m_hTop, "Beta", 2);
    HTREEITEM hAlpha = m_tree.InsertNode(m_hTop, "Alpha", 2);
    AnswerMessage();
    Rename(hAlpha, "BETA");
    AnswerMessage();
    Rename(m_tree.AddNewChild(m_hTop), "alpha");
    ASSERT_EQ(m_messages.size(), 2u);
    CString strTaken;
    strTaken.Format(Text(IDS_SIBLING_NAME_TAKEN), "Alpha", "BETA");
    EXPECT_EQ(m_messages[0], strTaken);
    CString strNewTaken;
    strNewTaken.Format(Text(IDS_NEW_NAME_TAKEN), "alpha");
    EXPECT_EQ(m_messages[1], strNewTaken);
    EXPECT_EQ(Children(m_hTop), (Names { "Alpha", "Beta" })) << "the refused new item is gone";

    Rename(hAlpha, "ALPHA");
    EXPECT_EQ(Children(m_hTop), (Names { "ALPHA", "Beta" })) << "its own name in another case";
    Rename(hAlpha, "Zulu");
    EXPECT_EQ(Children(m_hTop), (Names { "Beta", "Zulu" })) << "re-sorted";
    EXPECT_EQ(m_tree.FindChild(m_hTop, "zULU"), hAlpha);
}

TEST_F(COrgTreeCtrlTest, DeleteTakesSubtreesButNeverATopItem)
{
    HTREEITEM hChild = m_tree.InsertNode(m_hTop, "Child", 2);
    m_tree.InsertNode(hChild, "Grandchild", 2);
    m_tree.SelectItem(m_hTop);
    m_tree.SetFocus();
    m_driver.PressKey(VK_DELETE);
    EXPECT_EQ(Children(nullptr), Names { "Work" });
    m_tree.SelectItem(hChild);
    m_driver.PressKey(VK_DELETE);
    EXPECT_TRUE(Children(m_hTop).empty());
}

TEST_F(COrgTreeCtrlTest, TheMirrorCopiesWholeNamesAndReadsTheNodesThroughTheSource)
{
    const std::string strLong(COrgTreeCtrl::NAME_LENGTH, 'n');
    HTREEITEM hLong = m_tree.AddNewChild(m_hTop);
    Rename(hLong, strLong.c_str());
    HTREEITEM hOther = m_tree.InsertNode(nullptr, "Private", 8);
    m_tree.InsertNode(hOther, "Health", 2);

    CTreeCtrl* pBase = &m_mirror;
    ASSERT_TRUE(pBase->Create(WS_CHILD | TVS_HASBUTTONS, RECT { 0, 0, 100, 100 }, &m_host, 2));
    m_mirror.Mirror(m_tree);
    EXPECT_EQ(CTestDriver::TreeChildren(m_mirror.m_hWnd, nullptr).size(), 2u);
    HTREEITEM hMirrorLong = m_mirror.FindMirrorOf(hLong);
    ASSERT_NE(hMirrorLong, nullptr);
    EXPECT_EQ(std::string(m_mirror.GetItemText(hMirrorLong)), strLong);
    EXPECT_TRUE(m_mirror.GetItemState(m_mirror.GetParentItem(hMirrorLong), TVIS_EXPANDED) & TVIS_EXPANDED);

    EXPECT_FALSE(m_mirror.AnyNodeHasCriteria());
    EXPECT_EQ(m_tree.GetSearchMask(hLong), COrgNode::NEW_SEARCH_MASK);
    CStringArray folders;
    folders.Add("c:\\letters\\");
    m_tree.SetFolders(hLong, folders);
    EXPECT_TRUE(m_mirror.AnyNodeHasCriteria());
    EXPECT_FALSE(m_mirror.AnyNodeHasCriteria(m_mirror.FindMirrorOf(hOther)));
}

TEST_F(COrgTreeCtrlTest, DoubleClickAndF2StartANameWhereTheUserPoints)
{
    const std::string strPlaceholder(Text(IDS_NEW_ITEM_NAME));
    RECT workRect {};
    ASSERT_TRUE(m_tree.GetItemRect(m_hTop, &workRect, TRUE));
    ASSERT_TRUE(m_driver.DoubleClick(m_tree.m_hWnd, workRect.left + 2, (workRect.top + workRect.bottom) / 2));
    ASSERT_NE(m_tree.GetEditControl(), nullptr) << "the new child is being named";
    Rename(m_tree.GetChildItem(m_hTop), "Letters");
    EXPECT_EQ(Children(m_hTop), Names { "Letters" });

    ASSERT_TRUE(m_driver.DoubleClick(m_tree.m_hWnd, 150, 280));
    ASSERT_NE(m_tree.GetEditControl(), nullptr);
    EXPECT_EQ(Children(nullptr), (Names { strPlaceholder, "Work" })) << "empty space: a new top item, first";
    Rename(m_tree.GetRootItem(), "Home");
    EXPECT_EQ(Children(nullptr), (Names { "Home", "Work" }));

    m_tree.SelectItem(m_tree.GetChildItem(m_hTop));
    m_tree.SetFocus();
    m_driver.PressKey(VK_F2);
    ASSERT_NE(m_tree.GetEditControl(), nullptr) << "F2 names the selected item";
    Rename(m_tree.GetChildItem(m_hTop), "Mail");
    EXPECT_EQ(Children(m_hTop), Names { "Mail" });
}
