#include "platform/controls/HeaderControl.h"

#include "tests/platform/controls/CommonControlTestSupport.h"

namespace {

class HeaderControlTest : public CommonControlTest {
protected:
    // Three items 100 pixels wide, "A", "B", "C", in a 300 by 24 header at the parent's top.
    HWND CreateHeader(DWORD dwStyle, std::initializer_list<int> widths = { 100, 100, 100 })
    {
        HWND hHeader = CreateControl(WC_HEADER, "", dwStyle, 0, 0, 300, 24, 7);
        const char* texts[] = { "A", "B", "C", "D" };
        int nIndex = 0;
        for (int cx : widths) {
            HDITEM item {};
            item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
            item.pszText = const_cast<LPSTR>(texts[nIndex]);
            item.cxy = cx;
            item.fmt = HDF_STRING;
            SendMessage(hHeader, HDM_INSERTITEM, static_cast<WPARAM>(nIndex++), reinterpret_cast<LPARAM>(&item));
        }
        PumpUntilIdle();
        TakeNotifications();
        return hHeader;
    }
    static int Width(HWND hHeader, int nIndex)
    {
        HDITEM item {};
        item.mask = HDI_WIDTH;
        SendMessage(hHeader, HDM_GETITEM, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item));
        return item.cxy;
    }
    static std::vector<int> Order(HWND hHeader)
    {
        std::vector<int> order(static_cast<size_t>(SendMessage(hHeader, HDM_GETITEMCOUNT, 0, 0)));
        SendMessage(hHeader, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
        return order;
    }
    void DragDivider(HWND hHeader, int xFrom, int xTo)
    {
        m_clock.Advance(GetDoubleClickTime() + 1); // never a double click
        Mouse(hHeader, EMouseAction::ButtonDown, xFrom, 10);
        Mouse(hHeader, EMouseAction::Move, (xFrom + xTo) / 2, 10);
        Mouse(hHeader, EMouseAction::Move, xTo, 10);
        Mouse(hHeader, EMouseAction::ButtonUp, xTo, 10);
    }
};

TEST_F(HeaderControlTest, TrackingADividerNotifiesThenAppliesTheWidth)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS);
    DragDivider(hHeader, 100, 140);
    std::vector<UINT> codes = TakeCodes();
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    EXPECT_EQ(
        codes, (std::vector<UINT> { HDN_BEGINTRACK, HDN_TRACK, HDN_ENDTRACK, HDN_ITEMCHANGING, HDN_ITEMCHANGED }));
    EXPECT_EQ(Width(hHeader, 0), 140);
    EXPECT_EQ(Width(hHeader, 1), 100);
}

TEST_F(HeaderControlTest, OwnerRefusesOrAdjustsTracking)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS);
    onNotify = [](NMHDR* pHdr) -> LRESULT {
        auto* pHeader = reinterpret_cast<NMHEADER*>(pHdr);
        if (pHdr->code == HDN_BEGINTRACK && pHeader->iItem == 1)
            return TRUE;
        if (pHdr->code == HDN_ENDTRACK)
            pHeader->pitem->cxy = 77;
        return 0;
    };
    DragDivider(hHeader, 200, 260);
    EXPECT_EQ(Width(hHeader, 1), 100);
    EXPECT_EQ(TakeCodes(), (std::vector<UINT> { HDN_BEGINTRACK }));

    DragDivider(hHeader, 100, 150);
    EXPECT_EQ(Width(hHeader, 0), 77);
}

TEST_F(HeaderControlTest, HiddenItemsDividerBelongsToTheItemBeforeIt)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS, { 100, 0, 100 });
    HDHITTESTINFO info {};
    info.pt = POINT { 101, 5 };
    EXPECT_EQ(SendMessage(hHeader, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.flags, HHT_ONDIVIDER);
    info.pt = POINT { 150, 5 };
    EXPECT_EQ(SendMessage(hHeader, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 2);
    EXPECT_EQ(info.flags, HHT_ONHEADER);

    Click(hHeader, 100, 10);
    Click(hHeader, 100, 10);
    EXPECT_EQ(TakeNotifications({ HDN_DIVIDERDBLCLICK }), (std::vector<NotifySeen> { { HDN_DIVIDERDBLCLICK, 0 } }));
}

TEST_F(HeaderControlTest, DragReordersUnlessTheOwnerTakesOver)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS | HDS_DRAGDROP);
    Drag(hHeader, { 50, 10 }, { 280, 10 });
    EXPECT_EQ(TakeCodes({ HDN_BEGINDRAG, HDN_ENDDRAG, HDN_ITEMCHANGED, HDN_ITEMCLICK }),
        (std::vector<UINT> { HDN_BEGINDRAG, HDN_ENDDRAG, HDN_ITEMCHANGED }));
    EXPECT_EQ(Order(hHeader), (std::vector<int> { 1, 2, 0 }));
    EXPECT_EQ(SendMessage(hHeader, HDM_ORDERTOINDEX, 2, 0), 0);
    RECT rc {};
    SendMessage(hHeader, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(rc.left, 200);

    // The owner applies an order of its own and answers TRUE: the header leaves it.
    onNotify = [hHeader](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code != HDN_ENDDRAG)
            return 0;
        const int order[] = { 2, 0, 1 };
        SendMessage(hHeader, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
        return TRUE;
    };
    Drag(hHeader, { 50, 10 }, { 250, 10 });
    EXPECT_EQ(Order(hHeader), (std::vector<int> { 2, 0, 1 }));
    EXPECT_TRUE(TakeNotifications({ HDN_ITEMCHANGED }).empty());
}

TEST_F(HeaderControlTest, AGhostOfTheDraggedItemFollowsTheMouseUntilTheDrop)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS | HDS_DRAGDROP);
    auto pixels = [hHeader](int xFrom, int xTo) {
        CCapturedImage image(CaptureWindowImage(hHeader));
        std::vector<COLORREF> row;
        for (int y = 0; y < 24; ++y)
            for (int x = xFrom; x < xTo; ++x)
                row.push_back(image.At(x, y));
        return row;
    };
    const std::vector<COLORREF> itemA = pixels(0, 100);
    m_clock.Advance(GetDoubleClickTime() + 1);
    QueueMouse(hHeader, EMouseAction::ButtonDown, 50, 10);
    QueueMouse(hHeader, EMouseAction::Move, 200, 10);
    PumpUntilIdle();
    // Grabbed 50 pixels into "A", its picture now stands 50 pixels left of the mouse.
    EXPECT_TRUE(pixels(150, 250) == itemA);
    QueueMouse(hHeader, EMouseAction::Move, 180, 10);
    PumpUntilIdle();
    EXPECT_TRUE(pixels(130, 230) == itemA);

    // After the drop the header shows what it draws, and no ghost.
    QueueMouse(hHeader, EMouseAction::ButtonUp, 180, 10);
    PumpUntilIdle();
    EXPECT_EQ(Order(hHeader), (std::vector<int> { 1, 0, 2 }));
    const std::vector<COLORREF> dropped = pixels(0, 300);
    RedrawWindow(hHeader, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(dropped == pixels(0, 300));
}

TEST_F(HeaderControlTest, RefusedDragIsNeitherMoveNorClick)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS | HDS_DRAGDROP);
    onNotify = [](NMHDR* pHdr) -> LRESULT { return pHdr->code == HDN_BEGINDRAG; };
    Drag(hHeader, { 50, 10 }, { 280, 10 });
    EXPECT_EQ(Order(hHeader), (std::vector<int> { 0, 1, 2 }));
    EXPECT_TRUE(TakeNotifications({ HDN_ENDDRAG, HDN_ITEMCLICK }).empty());

    QueuedClick(hHeader, 150, 10);
    EXPECT_EQ(TakeNotifications({ HDN_ITEMCLICK }), (std::vector<NotifySeen> { { HDN_ITEMCLICK, 1 } }));
}

TEST_F(HeaderControlTest, OwnerDrawnItemShowsPressedState)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS);
    HDITEM item {};
    item.mask = HDI_FORMAT;
    item.fmt = HDF_OWNERDRAW;
    SendMessage(hHeader, HDM_SETITEM, 1, reinterpret_cast<LPARAM>(&item));
    std::vector<std::pair<UINT, UINT>> drawn;
    onDrawItem = [&](DRAWITEMSTRUCT* pDis) {
        EXPECT_EQ(pDis->CtlType, ODT_HEADER);
        EXPECT_EQ(pDis->hwndItem, hHeader);
        EXPECT_EQ(pDis->rcItem.left, 100);
        drawn.emplace_back(pDis->itemID, pDis->itemState);
    };
    PumpUntilIdle();
    EXPECT_EQ(drawn, (std::vector<std::pair<UINT, UINT>> { { 1, 0 } }));
    drawn.clear();
    Mouse(hHeader, EMouseAction::ButtonDown, 150, 10);
    EXPECT_EQ(drawn, (std::vector<std::pair<UINT, UINT>> { { 1, ODS_SELECTED } }));
    drawn.clear();
    Mouse(hHeader, EMouseAction::ButtonUp, 150, 10);
    EXPECT_EQ(drawn, (std::vector<std::pair<UINT, UINT>> { { 1, 0 } }));
}

TEST_F(HeaderControlTest, OwnerChangingTheHeaderInsideNotificationsLeavesItSound)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS);
    // The tracked item goes away while tracking ends.
    onNotify = [hHeader](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == HDN_ENDTRACK)
            SendMessage(hHeader, HDM_DELETEITEM, 0, 0);
        return 0;
    };
    DragDivider(hHeader, 100, 150);
    EXPECT_EQ(SendMessage(hHeader, HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Order(hHeader), (std::vector<int> { 0, 1 }));
    EXPECT_EQ(Width(hHeader, 0), 100); // the width meant for the deleted item went nowhere

    // The header is destroyed while tracking begins.
    onNotify = [hHeader](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == HDN_BEGINTRACK)
            DestroyWindow(hHeader);
        return 0;
    };
    DragDivider(hHeader, 100, 150);
    EXPECT_FALSE(IsWindow(hHeader));
}

TEST_F(HeaderControlTest, BadIndexesAndOrdersFailCleanly)
{
    HWND hHeader = CreateHeader(HDS_BUTTONS);
    HDITEM item {};
    item.mask = HDI_WIDTH;
    EXPECT_FALSE(SendMessage(hHeader, HDM_GETITEM, 3, reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(SendMessage(hHeader, HDM_SETITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(SendMessage(hHeader, HDM_DELETEITEM, 5, 0));
    const int duplicate[] = { 0, 0, 1 };
    EXPECT_FALSE(SendMessage(hHeader, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(duplicate)));
    EXPECT_FALSE(SendMessage(hHeader, HDM_SETORDERARRAY, 2, reinterpret_cast<LPARAM>(duplicate + 1)));
    EXPECT_EQ(Order(hHeader), (std::vector<int> { 0, 1, 2 }));
    EXPECT_TRUE(TakeNotifications().empty());
}

} // namespace
