#include "webaccess/dialogs/CGroupCheckTreeCtrl.h"

#include "tests/dialogs/DialogTestSupport.h"

#include "platform/controls/TreeViewControl.h"
#include "platform/framework/CWinApp.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

class CGroupCheckTreeCtrlTest : public DocumentDialogTest {
protected:
    void SetUp() override
    {
        DocumentDialogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        std::unique_ptr<CNodeRec> pRoot = Root(*m_pCatalog);
        std::unique_ptr<CNodeRec> pWork = AddNode(*pRoot, "Work");
        m_alpha = AddNode(*pWork, "Alpha")->GetRef();
        std::unique_ptr<CNodeRec> pAlpha = Node(*m_pCatalog, m_alpha);
        m_deep = AddNode(*pAlpha, "Deep")->GetRef();
        m_beta = AddNode(*pWork, "Beta")->GetRef();
        m_home = AddNode(*pRoot, "Home")->GetRef();
        ASSERT_TRUE(m_host.CreateEx(
            0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr));
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, RECT { 0, 0, 300, 300 }, &m_host, 1));
        ASSERT_TRUE(m_tree.InitImageLists());
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        DocumentDialogTest::TearDown();
    }

    std::map<std::string, WORD> Checks(HTREEITEM hFrom = nullptr)
    {
        CWAGroupRightsMap map;
        m_tree.GetChecks(map, hFrom);
        std::map<std::string, WORD> checks;
        POSITION pos = map.GetStartPosition();
        while (pos != nullptr) {
            WA_GROUP_KEY key {};
            WORD wValue = 0;
            map.GetNextAssoc(pos, key, wValue);
            std::unique_ptr<CNodeRec> pNode
                = Node(*m_pCatalog, { static_cast<CATBLOCK>(key.nBlock), static_cast<LONG>(key.nSlot) });
            checks[static_cast<LPCTSTR>(pNode->GetName())] = wValue;
        }
        return checks;
    }
    HTREEITEM Item(CRecordRef ref) const { return m_tree.FindItem(ref.nBlock, ref.nSlot); }

    std::unique_ptr<CCatalog> m_pCatalog;
    CRecordRef m_alpha, m_deep, m_beta, m_home;
    CWnd m_host;
    CGroupCheckTreeCtrl m_tree;
};

} // namespace

TEST_F(CGroupCheckTreeCtrlTest, AWholeGroupChecksItsSubtreeAndComesBackAloneWithItsValue)
{
    m_tree.FillGroups(m_pCatalog.get(), FALSE);
    CWAGroupRightsMap map;
    map.SetAt(
        { static_cast<DWORD>(m_alpha.nBlock), static_cast<DWORD>(m_alpha.nSlot) }, CGroupCheckTreeCtrl::GROUP_WHOLE);
    map.SetAt({ static_cast<DWORD>(m_home.nBlock), static_cast<DWORD>(m_home.nSlot) }, CGroupCheckTreeCtrl::GROUP_PART);
    map.SetAt(WA_ALL_GROUPS, CGroupCheckTreeCtrl::GROUP_WHOLE);
    map.SetAt({ 999, 3 }, CGroupCheckTreeCtrl::GROUP_WHOLE);
    m_tree.SetChecks(map);
    EXPECT_EQ(m_tree.GetCheckState(Item(m_deep)), CCheckTreeCtrl::STATE_CHECKED);
    EXPECT_EQ(m_tree.GetCheckState(Item(m_beta)), CCheckTreeCtrl::STATE_UNCHECKED);
    EXPECT_TRUE(m_tree.GetItemState(m_tree.GetParentItem(Item(m_alpha)), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(Checks(), (std::map<std::string, WORD> { { "Alpha", 0 }, { "Home", 1 } }))
        << "the subtree of a whole group is not listed; the all-groups key and an unknown node change nothing";
}

TEST_F(CGroupCheckTreeCtrlTest, APartlyCheckedGroupIsFollowedBelowAndTheSystemsRootComesLast)
{
    m_tree.FillGroups(m_pCatalog.get(), TRUE);
    std::vector<CString> top = CTestDriver::TreeChildren(m_tree.GetSafeHwnd(), TVI_ROOT);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top.back(), CString(std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec3(m_pCatalog.get()))->GetName()));

    m_tree.ApplyCheckAction(Item(m_beta), CCheckTreeCtrl::ACTION_CHECK);
    const auto checks = Checks();
    EXPECT_EQ(checks.at("Beta"), 0);
    EXPECT_EQ(checks.count("Work"), 0u) << "a parent with something checked below is not itself partly checked";
    CWAGroupRightsMap again;
    m_tree.GetChecks(again);
    m_tree.DeleteAllItems();
    m_tree.FillGroups(m_pCatalog.get(), TRUE);
    m_tree.SetChecks(again);
    EXPECT_EQ(Checks(), checks) << "the map round-trips";
}

TEST_F(CGroupCheckTreeCtrlTest, ChecksFindTheFirstItemOfANodeThatIsStillThere)
{
    m_tree.FillGroups(m_pCatalog.get(), FALSE);
    m_tree.FillGroups(m_pCatalog.get(), FALSE);
    const HTREEITEM hFirstAlpha = Item(m_alpha);
    const HTREEITEM hFirstWork = m_tree.GetParentItem(hFirstAlpha);
    CWAGroupRightsMap map;
    map.SetAt(
        { static_cast<DWORD>(m_alpha.nBlock), static_cast<DWORD>(m_alpha.nSlot) }, CGroupCheckTreeCtrl::GROUP_WHOLE);
    m_tree.SetChecks(map);
    EXPECT_EQ(m_tree.GetCheckState(hFirstAlpha), CCheckTreeCtrl::STATE_CHECKED);

    // The first copy goes (its node copies with it); the map now reaches the second.
    for (HTREEITEM hItem : { Item(m_deep), hFirstAlpha, Item(m_beta), hFirstWork }) {
        delete m_tree.GetItemNode(hItem);
        ASSERT_TRUE(m_tree.DeleteItem(hItem));
    }
    const HTREEITEM hSecondAlpha = Item(m_alpha);
    ASSERT_NE(hSecondAlpha, nullptr);
    ASSERT_NE(hSecondAlpha, hFirstAlpha);
    EXPECT_EQ(m_tree.GetCheckState(hSecondAlpha), CCheckTreeCtrl::STATE_UNCHECKED);
    m_tree.SetChecks(map);
    EXPECT_EQ(m_tree.GetCheckState(hSecondAlpha), CCheckTreeCtrl::STATE_CHECKED);
    EXPECT_EQ(m_tree.GetCheckState(Item(m_deep)), CCheckTreeCtrl::STATE_CHECKED);
}
