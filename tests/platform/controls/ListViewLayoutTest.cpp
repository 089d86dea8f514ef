#include "platform/controls/ListViewControl.h"

#include "platform/gdi/Rects.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/controls/ListViewTestSupport.h"

#include <algorithm>
#include <vector>

namespace {

using ListViewLayoutTest = ListViewTest;

TEST_F(ListViewLayoutTest, OwnerDrawnRowsAreDrawnOncePerVisibleRowAndMeasuredOnRequest)
{
    int nMeasured = 0;
    UINT nHeight = 20;
    onMeasureItem = [&](MEASUREITEMSTRUCT* pMis) {
        EXPECT_EQ(pMis->CtlType, ODT_LISTVIEW);
        ++nMeasured;
        pMis->itemHeight = nHeight;
    };
    std::vector<UINT> drawn;
    onDrawItem = [&](DRAWITEMSTRUCT* pDis) {
        EXPECT_EQ(pDis->CtlType, ODT_LISTVIEW);
        EXPECT_EQ(pDis->itemData, pDis->itemID);
        EXPECT_EQ(pDis->rcItem.bottom - pDis->rcItem.top, static_cast<LONG>(nHeight));
        drawn.push_back(pDis->itemID);
    };
    HWND hList = CreateList(LVS_OWNERDRAWFIXED, 50);
    EXPECT_GE(nMeasured, 1);
    const auto nPerPage = static_cast<UINT>(SendMessage(hList, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_FALSE(drawn.empty());
    EXPECT_LE(drawn.size(), nPerPage + 1);
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(std::adjacent_find(drawn.begin(), drawn.end()), drawn.end());

    // An owner that changes its answer makes the list ask again with a position change.
    nMeasured = 0;
    nHeight = 30;
    SetWindowPos(hList, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(nMeasured, 1);
    const RECT rc = ItemRect(hList, 1, LVIR_BOUNDS);
    EXPECT_EQ(rc.bottom - rc.top, 30);
}

TEST_F(ListViewLayoutTest, PaintingAsksCallbacksOnlyForVisibleRows)
{
    std::vector<int> asked;
    AnswerCallbacks(&asked);
    HWND hList = CreateList(0, 500, true);
    InvalidateRect(hList, nullptr, TRUE);
    asked.clear();
    PumpUntilIdle();
    ASSERT_FALSE(asked.empty());
    const int nPerPage = static_cast<int>(SendMessage(hList, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_LE(*std::max_element(asked.begin(), asked.end()), nPerPage);

    // With redraw off nothing is painted; turning it on paints what was missed.
    SendMessage(hList, WM_SETREDRAW, FALSE, 0);
    SendMessage(hList, LVM_SCROLL, 0, 400 * 20);
    asked.clear();
    PumpUntilIdle();
    EXPECT_TRUE(asked.empty());
    SendMessage(hList, WM_SETREDRAW, TRUE, 0);
    PumpUntilIdle();
    ASSERT_FALSE(asked.empty());
    EXPECT_GE(
        *std::min_element(asked.begin(), asked.end()), static_cast<int>(SendMessage(hList, LVM_GETTOPINDEX, 0, 0)));
}

TEST_F(ListViewLayoutTest, TheHeaderPaintsWhileTheRowsWaitForRedraw)
{
    HWND hList = CreateList(0, 50);
    PumpUntilIdle();
    HWND hHeader = reinterpret_cast<HWND>(SendMessage(hList, LVM_GETHEADER, 0, 0));
    ASSERT_NE(hHeader, nullptr);
    SendMessage(hList, WM_SETREDRAW, FALSE, 0);
    // Uncovered while the rows wait (a long fill), the header shows its columns.
    InvalidateRect(hHeader, nullptr, TRUE);
    PumpUntilIdle();
    EXPECT_FALSE(GetUpdateRect(hHeader, nullptr, FALSE));
    SendMessage(hList, WM_SETREDRAW, TRUE, 0);
}

TEST_F(ListViewLayoutTest, RectanglesAndHitTestsFollowColumnOrderAndScroll)
{
    HWND hList = CreateList(LVS_OWNERDRAWFIXED, 3);
    HWND hHeader = GetDlgItem(hList, 0);
    const int order[] = { 2, 0, 1 };
    ASSERT_TRUE(SendMessage(hHeader, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
    RECT rcCell { LVIR_BOUNDS, 1, 0, 0 };
    ASSERT_TRUE(SendMessage(hList, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&rcCell)));
    EXPECT_EQ(rcCell.left, 220);
    EXPECT_EQ(rcCell.right, 300);
    const RECT rcLabel = ItemRect(hList, 1, LVIR_LABEL);
    EXPECT_EQ(rcLabel.left, 120);
    const RECT rcBounds = ItemRect(hList, 1, LVIR_BOUNDS);
    EXPECT_EQ(rcBounds.right - rcBounds.left, 300);

    // 300 pixels of columns in a list 200 wide scroll by at most 100 (less the borders).
    SendMessage(hList, LVM_SCROLL, 60, 0);
    const RECT rcScrolled = ItemRect(hList, 1, LVIR_LABEL);
    EXPECT_EQ(rcScrolled.left, 60);

    LVHITTESTINFO hit {};
    hit.pt = POINT { 70, (rcScrolled.top + rcScrolled.bottom) / 2 };
    EXPECT_EQ(SendMessage(hList, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.iSubItem, 0);
    EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
    hit.pt.x = 20; // column 2, first on the left
    EXPECT_EQ(SendMessage(hList, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.iSubItem, 2);
    RECT rcClient {};
    GetClientRect(hList, &rcClient);
    hit.pt.y = rcClient.bottom - 5; // below the rows
    EXPECT_EQ(SendMessage(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, LVHT_NOWHERE);
}

TEST_F(ListViewLayoutTest, AutosizeMeasuresCallbackTexts)
{
    std::vector<int> asked;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_GETDISPINFO) {
            auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pHdr);
            asked.push_back(pInfo->item.iItem);
            m_strCallback = pInfo->item.iItem == 3 ? "a much longer callback text" : "short";
            pInfo->item.pszText = m_strCallback.data();
        }
        return 0;
    };
    HWND hList = CreateList(0, 6, true);
    asked.clear();
    ASSERT_TRUE(SendMessage(hList, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE));
    EXPECT_EQ(asked.size(), 6u);
    const auto nLongest = static_cast<int>(
        SendMessage(hList, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>("a much longer callback text")));
    const auto nWidth = static_cast<int>(SendMessage(hList, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_GT(nWidth, nLongest);
    EXPECT_LT(nWidth, nLongest + 30);
}

TEST_F(ListViewLayoutTest, ListFollowsHeaderChangesWhoeverMakesThem)
{
    HWND hList = CreateList(0, 3);
    HWND hHeader = GetDlgItem(hList, 0);
    HDITEM item {};
    item.mask = HDI_WIDTH;
    item.cxy = 40;
    SendMessage(hHeader, HDM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(SendMessage(hList, LVM_GETCOLUMNWIDTH, 0, 0), 40);
    EXPECT_EQ(ItemRect(hList, 0, LVIR_BOUNDS).right, 240);
    EXPECT_EQ(
        TakeCodes({ HDN_ITEMCHANGING, HDN_ITEMCHANGED }), (std::vector<UINT> { HDN_ITEMCHANGING, HDN_ITEMCHANGED }));
    // Rows sit below the header.
    RECT rcHeader {};
    GetClientRect(hHeader, &rcHeader);
    EXPECT_EQ(ItemRect(hList, 0, LVIR_BOUNDS).top, rcHeader.bottom);
}

TEST_F(ListViewLayoutTest, DraggingAHeaderItemReordersTheColumns)
{
    HWND hList = CreateList(0, 3);
    HWND hHeader = GetDlgItem(hList, 0);
    SendMessage(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
    EXPECT_TRUE(GetWindowLongPtr(hHeader, GWL_STYLE) & HDS_DRAGDROP);
    m_clock.Advance(GetDoubleClickTime() + 1);
    Drag(hHeader, { 190, 5 }, { 10, 5 }); // the last column to the front
    int order[3] {};
    SendMessage(hHeader, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int> { 2, 0, 1 }));
    EXPECT_EQ(ItemRect(hList, 0, LVIR_LABEL).left, 120);

    // The owner refuses: nothing moves.
    onNotify = [](NMHDR* pHdr) -> LRESULT { return pHdr->code == HDN_BEGINDRAG; };
    m_clock.Advance(GetDoubleClickTime() + 1);
    Drag(hHeader, { 40, 5 }, { 190, 5 });
    SendMessage(hHeader, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int> { 2, 0, 1 }));
}

TEST_F(ListViewLayoutTest, EnsureVisibleScrollsByWholeRows)
{
    HWND hList = CreateList(0, 100);
    const int nPerPage = static_cast<int>(SendMessage(hList, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_TRUE(SendMessage(hList, LVM_ENSUREVISIBLE, 50, FALSE));
    EXPECT_EQ(SendMessage(hList, LVM_GETTOPINDEX, 0, 0), 50 - nPerPage + 1);
    EXPECT_TRUE(SendMessage(hList, LVM_ENSUREVISIBLE, 3, FALSE));
    EXPECT_EQ(SendMessage(hList, LVM_GETTOPINDEX, 0, 0), 3);
    SendMessage(hList, LVM_SCROLL, 0, 1000000);
    EXPECT_EQ(SendMessage(hList, LVM_GETTOPINDEX, 0, 0), 100 - nPerPage);
}

TEST_F(ListViewLayoutTest, ColumnsGivenWhileHiddenLayTheListOutAsWhenShown)
{
    // Columns wider than the list: a horizontal bar, so a lower client area and fewer rows per page.
    HWND hShown = CreateList(0, 0);
    HWND hHidden = CreateControl(WC_LISTVIEW, "", LVS_REPORT, 10, 10, 200, 160, 6);
    ShowWindow(hHidden, SW_HIDE);
    InsertColumns(hHidden);
    HDITEM item {};
    item.mask = HDI_WIDTH;
    item.cxy = 150;
    for (HWND hList : { hShown, hHidden })
        SendMessage(GetDlgItem(hList, 0), HDM_SETITEM, 2, reinterpret_cast<LPARAM>(&item));

    // Asked while still hidden, and again once shown: the same answers as the list that was always shown.
    for (const char* pszWhen : { "hidden", "shown" }) {
        SCOPED_TRACE(pszWhen);
        EXPECT_EQ(SendMessage(hHidden, LVM_GETCOUNTPERPAGE, 0, 0), SendMessage(hShown, LVM_GETCOUNTPERPAGE, 0, 0));
        RECT rcHidden {};
        RECT rcShown {};
        GetClientRect(hHidden, &rcHidden);
        GetClientRect(hShown, &rcShown);
        EXPECT_TRUE(EqualRect(&rcHidden, &rcShown));
        SCROLLINFO siHidden { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0 };
        SCROLLINFO siShown = siHidden;
        ASSERT_TRUE(GetScrollInfo(hHidden, SB_HORZ, &siHidden));
        ASSERT_TRUE(GetScrollInfo(hShown, SB_HORZ, &siShown));
        EXPECT_EQ(siHidden.nMax, siShown.nMax);
        EXPECT_EQ(siHidden.nPage, siShown.nPage);
        ShowWindow(hHidden, SW_SHOW);
        PumpUntilIdle();
    }
}

// A text-only first column sized to its text's width and 8, or and two
// blanks, as owners size it, shows the whole text: the row draws as it does
// in a wide column.
TEST_F(ListViewLayoutTest, AFirstColumnSizedToItsTextAndAFewPixelsShowsItWhole)
{
    HWND hList = CreateList(LVS_NOCOLUMNHEADER, 0);
    InsertRow(hList, 0, "*.tmp", 0);
    const auto nText = static_cast<int>(SendMessage(hList, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>("*.tmp")));
    auto rowPixels = [&](int nColumnWidth) {
        SendMessage(hList, LVM_SETCOLUMNWIDTH, 0, nColumnWidth);
        RedrawWindow(hList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT rcRow {};
        rcRow.left = LVIR_BOUNDS;
        SendMessage(hList, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcRow));
        HBITMAP hbm = CaptureWindowImage(hList);
        HDC hdc = CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        std::vector<COLORREF> pixels;
        for (int y = rcRow.top; y < rcRow.bottom; ++y)
            for (int x = 0; x < nText; ++x)
                pixels.push_back(GetPixel(hdc, x, y));
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hbm);
        return pixels;
    };
    const auto nBlanks = 2 * static_cast<int>(SendMessage(hList, LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(" ")));
    EXPECT_EQ(rowPixels(nText + 8), rowPixels(nText + 100));
    EXPECT_EQ(rowPixels(nText + nBlanks), rowPixels(nText + 100)) << nBlanks << " pixels for two blanks";
}

} // namespace
