#include "platform/controls/ListViewControl.h"

#include "tests/platform/controls/ListViewTestSupport.h"

namespace {

class ListViewInputTest : public ListViewTest {
protected:
    void DragRow(HWND hList, int nRow)
    {
        const POINT pt = RowPoint(hList, nRow);
        m_clock.Advance(GetDoubleClickTime() + 1);
        Drag(hList, pt, POINT { pt.x + 20, pt.y + 20 });
    }
};

TEST_F(ListViewInputTest, ClickChangesTheItemsBeforeNotifyingTheClick)
{
    HWND hList = CreateList(0, 5);
    ClickRow(hList, 2);
    EXPECT_EQ(TakeNotifications({ LVN_ITEMCHANGED, NM_CLICK, LVN_BEGINDRAG }),
        (std::vector<NotifySeen> { { LVN_ITEMCHANGED, 2 }, { LVN_ITEMCHANGED, 2 }, { NM_CLICK, 2 } }));
    EXPECT_EQ(Selected(hList), (std::vector<int> { 2 }));
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
    const POINT pt = RowPoint(hList, 2);
    QueuedClick(hList, pt.x, pt.y);
    EXPECT_EQ(TakeNotifications({ NM_CLICK, NM_DBLCLK }), (std::vector<NotifySeen> { { NM_DBLCLK, 2 } }));

    // A click beside the rows clears the selection.
    m_clock.Advance(GetDoubleClickTime() + 1);
    RECT rcClient {};
    GetClientRect(hList, &rcClient);
    QueuedClick(hList, 50, rcClient.bottom - 5);
    EXPECT_TRUE(Selected(hList).empty());
}

TEST_F(ListViewInputTest, DragKeepsTheSelectionAClickWouldNarrow)
{
    HWND hList = CreateList(0, 5);
    SetState(hList, 1, LVIS_SELECTED, LVIS_SELECTED);
    SetState(hList, 3, LVIS_SELECTED, LVIS_SELECTED);
    TakeNotifications();
    // The drag starts inside the press: LVN_BEGINDRAG and no click.
    DragRow(hList, 1);
    EXPECT_EQ(TakeCodes({ LVN_BEGINDRAG, NM_CLICK }), (std::vector<UINT> { LVN_BEGINDRAG }));
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1, 3 }));

    ClickRow(hList, 1);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1 }));
}

TEST_F(ListViewInputTest, ShiftAndCtrlExtendAndToggle)
{
    HWND hList = CreateList(0, 6);
    ClickRow(hList, 1);
    Key(VK_SHIFT, TRUE);
    ClickRow(hList, 3);
    Key(VK_SHIFT, FALSE);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1, 2, 3 }));
    Key(VK_CONTROL, TRUE);
    ClickRow(hList, 2);
    ClickRow(hList, 5);
    Key(VK_CONTROL, FALSE);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1, 3, 5 }));
}

TEST_F(ListViewInputTest, KeysReachTheParentBeforeTheListMoves)
{
    HWND hList = CreateList(0, 5);
    ClickRow(hList, 0);
    TakeNotifications();
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, FALSE);
    std::vector<NotifySeen> seen = TakeNotifications({ LVN_KEYDOWN, LVN_ITEMCHANGED });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), (NotifySeen { LVN_KEYDOWN, static_cast<int>(VK_DOWN) }));
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1 }));

    // Alt arrives as a system key and is still reported; Enter then becomes NM_RETURN.
    Key(VK_MENU, TRUE);
    Key(VK_MENU, FALSE);
    EXPECT_EQ(
        TakeNotifications({ LVN_KEYDOWN }), (std::vector<NotifySeen> { { LVN_KEYDOWN, static_cast<int>(VK_MENU) } }));
    Key(VK_RETURN, TRUE);
    Key(VK_RETURN, FALSE);
    EXPECT_EQ(TakeCodes({ LVN_KEYDOWN, NM_RETURN }), (std::vector<UINT> { LVN_KEYDOWN, NM_RETURN }));

    // Shift extends from the anchor, Ctrl moves only the focus.
    Key(VK_SHIFT, TRUE);
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, FALSE);
    Key(VK_SHIFT, FALSE);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1, 2 }));
    Key(VK_CONTROL, TRUE);
    Key(VK_END, TRUE);
    Key(VK_END, FALSE);
    Key(VK_CONTROL, FALSE);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1, 2 }));
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 4);
}

TEST_F(ListViewInputTest, HandlersThatDestroyOrEmptyTheListDuringAClick)
{
    HWND hList = CreateList(0, 3);
    onNotify = [hList](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_ITEMCHANGED)
            SendMessage(hList, LVM_DELETEALLITEMS, 0, 0);
        return 0;
    };
    ClickRow(hList, 1);
    EXPECT_EQ(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_TRUE(TakeNotifications({ LVN_BEGINDRAG }).empty());

    InsertRow(hList, 0, "again", 0);
    const POINT pt = RowPoint(hList, 0);
    onNotify = [hList](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == NM_CLICK)
            DestroyWindow(hList);
        return 0;
    };
    m_clock.Advance(GetDoubleClickTime() + 1);
    QueuedClick(hList, pt.x, pt.y);
    EXPECT_FALSE(IsWindow(hList));
}

TEST_F(ListViewInputTest, RightClickAsksForAMenuUnlessTheParentAnswers)
{
    HWND hList = CreateList(0, 3);
    const POINT pt = RowPoint(hList, 1);
    const auto RightClick = [&] {
        POINT ptScreen = pt;
        ClientToScreen(hList, &ptScreen);
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Right, ptScreen, 0 });
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Right, ptScreen, 0 });
        PumpUntilIdle();
    };
    RightClick();
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1 }));
    EXPECT_EQ(TakeCodes({ NM_RCLICK }), (std::vector<UINT> { NM_RCLICK }));
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_CONTEXTMENU }).size(), 1u);

    onNotify = [](NMHDR* pHdr) -> LRESULT { return pHdr->code == NM_RCLICK; };
    RightClick();
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_CONTEXTMENU }).empty());
}

TEST_F(ListViewInputTest, HeaderClickBecomesColumnClick)
{
    HWND hList = CreateList(0, 2);
    HWND hHeader = GetDlgItem(hList, 0);
    ASSERT_NE(hHeader, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(hList, LVM_GETHEADER, 0, 0)), hHeader);
    Click(hHeader, 150, 5);
    std::vector<UINT> codes = TakeCodes({ HDN_ITEMCLICK, LVN_COLUMNCLICK });
    EXPECT_EQ(codes, (std::vector<UINT> { HDN_ITEMCLICK, LVN_COLUMNCLICK }));
}

// Typing finds a row by the start of its label: a pause starts again, the
// same letter steps on, and a space alone keeps selecting.
TEST_F(ListViewInputTest, TypingTheStartOfALabelSelectsItsRow)
{
    HWND hList = CreateList(0, 0);
    int nRow = 0;
    for (const char* pszLabel : { "Apple", "banana", "Berry", "Cherry", "blue" })
        InsertRow(hList, nRow, pszLabel, nRow), ++nRow;
    ClickRow(hList, 0);
    auto type = [&](const char* pszKeys) {
        for (const char* p = pszKeys; *p; ++p)
            PostMessage(hList, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*p)), 0);
        PumpUntilIdle();
        return Selected(hList);
    };
    EXPECT_EQ(type("b"), (std::vector<int> { 1 }));
    EXPECT_EQ(type("bb"), (std::vector<int> { 4 })) << "the same letter steps on";
    EXPECT_EQ(type("b"), (std::vector<int> { 1 })) << "and round again";
    m_clock.Advance(1500);
    EXPECT_EQ(type("BER"), (std::vector<int> { 2 }));
    EXPECT_EQ(type("x"), (std::vector<int> { 2 })) << "no row starts with it";
    m_clock.Advance(1500);
    EXPECT_EQ(type("ch"), (std::vector<int> { 3 }));
    m_clock.Advance(1500);
    EXPECT_EQ(type(" "), (std::vector<int> { 3 }));
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 3);
}

} // namespace
