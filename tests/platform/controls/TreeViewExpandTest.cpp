#include "platform/controls/TreeViewControl.h"

#include "platform/controls/EditControl.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/TreeViewTestSupport.h"

namespace {

class TreeViewExpandTest : public TreeViewTest {
protected:
    // a (a1 (a1x), a2), b; buttons at the root.
    void Build(DWORD dwStyle = TVS_HASBUTTONS | TVS_LINESATROOT)
    {
        m_hTree = CreateTree(dwStyle);
        m_hA = Insert(m_hTree, TVI_ROOT, "a");
        m_hA1 = Insert(m_hTree, m_hA, "a1");
        m_hA1x = Insert(m_hTree, m_hA1, "a1x");
        m_hA2 = Insert(m_hTree, m_hA, "a2");
        m_hB = Insert(m_hTree, TVI_ROOT, "b");
    }
    std::vector<UINT> ExpandCodes()
    {
        std::vector<UINT> codes;
        for (const TreeEvent& event : TakeEvents()) {
            if (event.nCode == TVN_ITEMEXPANDING || event.nCode == TVN_ITEMEXPANDED)
                codes.push_back(event.nCode);
        }
        return codes;
    }

    HWND m_hTree { nullptr };
    HTREEITEM m_hA {}, m_hA1 {}, m_hA1x {}, m_hA2 {}, m_hB {};
};

TEST_F(TreeViewExpandTest, MessagesNotifyOnlyUntilExpandedOnceWhileMouseAndKeysAlwaysDo)
{
    Build();
    TVITEM images {};
    images.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    images.hItem = m_hA;
    images.iImage = 3;
    images.iSelectedImage = 4;
    SendMessage(m_hTree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&images));
    TVITEM expanding {};
    RecordTree([&](NMTREEVIEW* pTree) -> LRESULT {
        if (pTree->hdr.code == TVN_ITEMEXPANDING)
            expanding = pTree->itemNew;
        return 0;
    });
    const std::vector<UINT> both { TVN_ITEMEXPANDING, TVN_ITEMEXPANDED };
    EXPECT_TRUE(Expand(m_hTree, m_hA, TVE_EXPAND));
    EXPECT_EQ(ExpandCodes(), both);
    // The item comes with its images.
    EXPECT_EQ(expanding.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE), TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    EXPECT_EQ(expanding.iImage, 3);
    EXPECT_EQ(expanding.iSelectedImage, 4);
    EXPECT_EQ(State(m_hTree, m_hA, TVIS_EXPANDED | TVIS_EXPANDEDONCE), TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    EXPECT_TRUE(Expand(m_hTree, m_hA, TVE_COLLAPSE));
    EXPECT_TRUE(Expand(m_hTree, m_hA, TVE_TOGGLE));
    EXPECT_EQ(ExpandCodes(), std::vector<UINT> {});
    EXPECT_TRUE(State(m_hTree, m_hA) & TVIS_EXPANDED);

    // The program clears the flag: the next expansion by message is announced again.
    Expand(m_hTree, m_hA, TVE_COLLAPSE);
    SetState(m_hTree, m_hA, 0, TVIS_EXPANDEDONCE);
    Expand(m_hTree, m_hA, TVE_EXPAND);
    EXPECT_EQ(ExpandCodes(), both);

    // A parent marked before its children arrive is not filled again by ensure-visible.
    SetState(m_hTree, m_hB, TVIS_EXPANDEDONCE, TVIS_EXPANDEDONCE);
    HTREEITEM hB1 = Insert(m_hTree, m_hB, "b1");
    EXPECT_TRUE(SendMessage(m_hTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hB1)));
    EXPECT_EQ(ExpandCodes(), std::vector<UINT> {});
    EXPECT_TRUE(State(m_hTree, m_hB) & TVIS_EXPANDED);

    // Keys and the button always announce.
    SetFocus(m_hTree);
    Select(m_hTree, m_hA);
    TakeEvents();
    Key(VK_LEFT, TRUE);
    Key(VK_LEFT, FALSE);
    Key(VK_RIGHT, TRUE);
    Key(VK_RIGHT, FALSE);
    EXPECT_EQ(ExpandCodes(),
        (std::vector<UINT> { TVN_ITEMEXPANDING, TVN_ITEMEXPANDED, TVN_ITEMEXPANDING, TVN_ITEMEXPANDED }));
    const RECT rc = ItemRect(m_hTree, m_hA, FALSE);
    TVHITTESTINFO hit { POINT { 19 / 2, (rc.top + rc.bottom) / 2 }, 0, nullptr };
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessage(m_hTree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))), m_hA);
    EXPECT_EQ(hit.flags, TVHT_ONITEMBUTTON);
    m_clock.Advance(GetDoubleClickTime() + 1);
    QueuedClick(m_hTree, hit.pt.x, hit.pt.y);
    EXPECT_EQ(ExpandCodes(), both);
    EXPECT_FALSE(State(m_hTree, m_hA) & TVIS_EXPANDED);
}

TEST_F(TreeViewExpandTest, RefusalLeafAndCollapseReset)
{
    Build();
    RecordTree([&](NMTREEVIEW* pTree) -> LRESULT {
        return pTree->hdr.code == TVN_ITEMEXPANDING && pTree->itemNew.hItem == m_hA1;
    });
    Expand(m_hTree, m_hA, TVE_EXPAND);
    EXPECT_FALSE(Expand(m_hTree, m_hA1, TVE_EXPAND));
    EXPECT_EQ(State(m_hTree, m_hA1, TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0U);

    // A leaf does not expand and hears nothing.
    TakeEvents();
    EXPECT_FALSE(Expand(m_hTree, m_hA2, TVE_EXPAND));
    EXPECT_EQ(TakeEvents(), std::vector<TreeEvent> {});

    // A leaf with cChildren 1 expands (lazy fill).
    TVITEM item { TVIF_CHILDREN, m_hA2, 0, 0, nullptr, 0, 0, 0, 1, 0 };
    SendMessage(m_hTree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_TRUE(Expand(m_hTree, m_hA2, TVE_EXPAND));
    EXPECT_EQ(TakeEvents().size(), 2U);

    // Reset alone collapses, deletes the children with their notifications and forgets the expansion.
    EXPECT_TRUE(Expand(m_hTree, m_hA, TVE_COLLAPSERESET));
    std::vector<UINT> codes;
    for (const TreeEvent& event : TakeEvents())
        codes.push_back(event.nCode);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TVN_DELETEITEM), 3);
    EXPECT_EQ(Next(m_hTree, TVGN_CHILD, m_hA), nullptr);
    EXPECT_EQ(State(m_hTree, m_hA, TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0U);
    EXPECT_EQ(Text(m_hTree, m_hA1x), "(failed)");
}

TEST_F(TreeViewExpandTest, CollapsingAnAncestorSelectsTheCollapsedItem)
{
    Build();
    Expand(m_hTree, m_hA, TVE_EXPAND);
    Expand(m_hTree, m_hA1, TVE_EXPAND);
    ASSERT_TRUE(Select(m_hTree, m_hA1x));
    RecordTree();
    Expand(m_hTree, m_hA, TVE_COLLAPSE);
    const std::vector<TreeEvent> expected { { TVN_SELCHANGING, TVC_UNKNOWN, m_hA, m_hA1x },
        { TVN_SELCHANGED, TVC_UNKNOWN, m_hA, m_hA1x } };
    EXPECT_EQ(TakeEvents(), expected);
    EXPECT_EQ(Next(m_hTree, TVGN_CARET), m_hA);
    EXPECT_EQ(State(m_hTree, m_hA, TVIS_SELECTED), TVIS_SELECTED);
    EXPECT_EQ(State(m_hTree, m_hA1x, TVIS_SELECTED), 0U);
}

TEST_F(TreeViewExpandTest, SelectionCarriesHowItWasMadeAndMayBeRefused)
{
    Build();
    RecordTree([&](NMTREEVIEW* pTree) -> LRESULT {
        return pTree->hdr.code == TVN_SELCHANGING && pTree->itemNew.hItem == m_hB && pTree->action == TVC_UNKNOWN;
    });
    EXPECT_FALSE(Select(m_hTree, m_hB));
    EXPECT_EQ(Next(m_hTree, TVGN_CARET), nullptr);
    TakeEvents();

    ClickItem(m_hTree, m_hB);
    EXPECT_EQ(TakeEvents(),
        (std::vector<TreeEvent> {
            { TVN_SELCHANGING, TVC_BYMOUSE, m_hB, nullptr }, { TVN_SELCHANGED, TVC_BYMOUSE, m_hB, nullptr } }));
    Key(VK_UP, TRUE);
    Key(VK_UP, FALSE);
    EXPECT_EQ(TakeEvents(),
        (std::vector<TreeEvent> {
            { TVN_SELCHANGING, TVC_BYKEYBOARD, m_hA, m_hB }, { TVN_SELCHANGED, TVC_BYKEYBOARD, m_hA, m_hB } }));
    // Selecting a hidden item by message shows it.
    EXPECT_TRUE(Select(m_hTree, m_hA1x));
    EXPECT_TRUE(State(m_hTree, m_hA1, TVIS_EXPANDED));
    EXPECT_EQ(TakeCodes({ TVN_KEYDOWN }).size(), 1U);
}

TEST_F(TreeViewExpandTest, DoubleClickTogglesUnlessTheOwnerAnswersAndKeysReachTheOwnerFirst)
{
    Build(TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS);
    bool bRefuse = false;
    std::vector<WORD> keys;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == TVN_KEYDOWN)
            keys.push_back(reinterpret_cast<NMTVKEYDOWN*>(pHdr)->wVKey);
        return pHdr->code == NM_DBLCLK && bRefuse;
    };
    const POINT pt = LabelPoint(m_hTree, m_hA);
    m_clock.Advance(GetDoubleClickTime() + 1);
    for (int i = 0; i < 2; ++i) {
        QueueMouse(m_hTree, EMouseAction::ButtonDown, pt.x, pt.y);
        QueueMouse(m_hTree, EMouseAction::ButtonUp, pt.x, pt.y);
    }
    PumpUntilIdle();
    EXPECT_TRUE(State(m_hTree, m_hA) & TVIS_EXPANDED);
    EXPECT_EQ(TakeCodes({ NM_DBLCLK }).size(), 1U);

    bRefuse = true;
    m_clock.Advance(GetDoubleClickTime() + 1);
    for (int i = 0; i < 2; ++i) {
        QueueMouse(m_hTree, EMouseAction::ButtonDown, pt.x, pt.y);
        QueueMouse(m_hTree, EMouseAction::ButtonUp, pt.x, pt.y);
    }
    PumpUntilIdle();
    EXPECT_TRUE(State(m_hTree, m_hA) & TVIS_EXPANDED);

    // Enter reaches the owner as NM_RETURN; F2 edits the caret's label once
    // the owner has heard the key.
    Key(VK_RETURN, TRUE);
    Key(VK_RETURN, FALSE);
    EXPECT_EQ(TakeCodes({ NM_RETURN }).size(), 1U);
    Key(VK_F2, TRUE);
    Key(VK_F2, FALSE);
    EXPECT_EQ(keys, (std::vector<WORD> { VK_RETURN, VK_F2 }));
    HWND hEdit = reinterpret_cast<HWND>(SendMessage(m_hTree, TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(SendMessage(hEdit, EM_GETLIMITTEXT, 0, 0), 259);
}

TEST_F(TreeViewExpandTest, DragFromALabelStartsBeforeThePressReturns)
{
    Build();
    RecordTree();
    const POINT pt = LabelPoint(m_hTree, m_hB);
    Drag(m_hTree, pt, POINT { pt.x + 30, pt.y + 30 });
    const std::vector<TreeEvent> events = TakeEvents();
    ASSERT_EQ(events.size(), 1U);
    EXPECT_EQ(events[0].nCode, TVN_BEGINDRAG);
    EXPECT_EQ(events[0].hItem, m_hB);
}

// Typing goes to the next shown item whose label starts with what was typed;
// items inside collapsed ones are passed over.
TEST_F(TreeViewExpandTest, TypingTheStartOfALabelSelectsTheNextShownItem)
{
    Build();
    SendMessage(m_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(m_hA));
    auto type = [&](const char* pszKeys) {
        for (const char* p = pszKeys; *p; ++p)
            PostMessage(m_hTree, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*p)), 0);
        PumpUntilIdle();
        return reinterpret_cast<HTREEITEM>(SendMessage(m_hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    };
    EXPECT_EQ(type("a"), m_hA) << "a collapsed item's children are not shown";
    m_clock.Advance(1500);
    EXPECT_EQ(type("b"), m_hB);
    SendMessage(m_hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(m_hA));
    m_clock.Advance(1500);
    EXPECT_EQ(type("a"), m_hA);
    EXPECT_EQ(type("a"), m_hA1);
    m_clock.Advance(1500);
    EXPECT_EQ(type("A2"), m_hA2);
}

} // namespace
