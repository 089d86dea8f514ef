#include "platform/controls/TreeViewControl.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/controls/TreeViewTestSupport.h"

namespace {

using TreeViewLayoutTest = TreeViewTest;

TEST_F(TreeViewLayoutTest, HitTestsFindEveryPartOfARow)
{
    HWND hTree = CreateTree(TVS_HASBUTTONS | TVS_LINESATROOT);
    HIMAGELIST hStates = ImageList_Create(16, 16, ILC_COLOR24, 4, 0);
    HBITMAP hBitmap = CreateBitmap(64, 16, 1, 32, nullptr);
    ImageList_Add(hStates, hBitmap, nullptr);
    SendMessage(hTree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(hStates));
    SendMessage(hTree, TVM_SETINDENT, 10, 0);
    EXPECT_EQ(SendMessage(hTree, TVM_GETINDENT, 0, 0), 10);
    HTREEITEM hParent = Insert(hTree, TVI_ROOT, "parent");
    HTREEITEM hChild = Insert(hTree, hParent, "child");
    SetState(hTree, hParent, 2 << 12, TVIS_STATEIMAGEMASK);
    EXPECT_EQ(State(hTree, hParent, TVIS_STATEIMAGEMASK), 2U << 12);

    const RECT rcRow = ItemRect(hTree, hParent, FALSE);
    const RECT rcLabel = ItemRect(hTree, hParent, TRUE);
    const int y = (rcRow.top + rcRow.bottom) / 2;
    auto hitAt = [&](int x, int yAt) {
        TVHITTESTINFO hit { POINT { x, yAt }, 0, nullptr };
        SendMessage(hTree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        return std::pair { hit.flags, hit.hItem };
    };
    EXPECT_EQ(hitAt(5, y), std::pair(TVHT_ONITEMBUTTON, hParent));
    EXPECT_EQ(hitAt(10 + 8, y), std::pair(TVHT_ONITEMSTATEICON, hParent));
    EXPECT_EQ(hitAt(rcLabel.left + 2, y), std::pair(TVHT_ONITEMLABEL, hParent));
    EXPECT_EQ(hitAt(rcLabel.right + 5, y), std::pair(TVHT_ONITEMRIGHT, hParent));
    EXPECT_EQ(hitAt(5, rcRow.bottom + 40), std::pair(TVHT_NOWHERE, HTREEITEM {}));
    EXPECT_EQ(hitAt(-3, y).first, TVHT_TOLEFT);
    EXPECT_EQ(hitAt(5, 500).first, TVHT_BELOW);

    // The child has no state image: its label starts right after its indent.
    BOOL bOk = TRUE;
    ItemRect(hTree, hChild, TRUE, &bOk);
    EXPECT_FALSE(bOk); // hidden under a collapsed parent
    Expand(hTree, hParent, TVE_EXPAND);
    EXPECT_EQ(ItemRect(hTree, hChild, TRUE, &bOk).left, 20);
    EXPECT_TRUE(bOk);

    // A press on the state icon selects nothing.
    m_clock.Advance(GetDoubleClickTime() + 1);
    QueuedClick(hTree, 18, y);
    EXPECT_EQ(Next(hTree, TVGN_CARET), nullptr);
    EXPECT_EQ(TakeCodes({ NM_CLICK }).size(), 1U);
    DestroyWindow(hTree);
    ImageList_Destroy(hStates);
    DeleteObject(hBitmap);
}

TEST_F(TreeViewLayoutTest, WhileRedrawIsOffRowsChangeWithoutLayoutUntilItIsOnAgain)
{
    HWND hTree = CreateTree(0);
    const int nRowsShown = static_cast<int>(SendMessage(hTree, TVM_GETVISIBLECOUNT, 0, 0));
    SendMessage(hTree, WM_SETREDRAW, FALSE, 0);
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 2 * nRowsShown; ++i)
        items.push_back(Insert(hTree, TVI_ROOT, i == 5 ? std::string(80, 'w').c_str() : "row"));
    HTREEITEM hChild = Insert(hTree, items[0], "child");
    Expand(hTree, items[0], TVE_EXPAND);
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 0) << "no layout while redraw is off";
    EXPECT_EQ(ItemRect(hTree, hChild, FALSE).top, SendMessage(hTree, TVM_GETITEMHEIGHT, 0, 0))
        << "rows are still found";

    SendMessage(hTree, WM_SETREDRAW, TRUE, 0);
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 2 * nRowsShown);
    EXPECT_EQ(static_cast<int>(si.nPage), nRowsShown);
    SCROLLINFO siH { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    GetScrollInfo(hTree, SB_HORZ, &siH);
    EXPECT_GT(siH.nMax, static_cast<int>(siH.nPage)) << "the long label was measured";
    EXPECT_NE(GetWindowLongPtr(hTree, GWL_STYLE) & WS_VSCROLL, 0);

    // A check-box-like state change of a hidden row, then of a shown one, keeps the layout.
    SetState(hTree, hChild, 2 << 12, TVIS_STATEIMAGEMASK);
    SetState(hTree, items[1], TVIS_BOLD, TVIS_BOLD);
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 2 * nRowsShown);
    Expand(hTree, items[0], TVE_COLLAPSE);
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 2 * nRowsShown - 1);
    DestroyWindow(hTree);
}

// An owner that takes the scroll bars away as the tree in a pane does.
WNDPROC s_pfnTreeProc = nullptr;
int s_nCalcSizes = 0;
LRESULT CALLBACK StripBarsProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCALCSIZE) {
        ++s_nCalcSizes;
        const auto dwStyle = static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
        SetWindowLongPtr(hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwStyle & ~(WS_VSCROLL | WS_HSCROLL)));
    }
    return CallWindowProc(s_pfnTreeProc, hWnd, uMsg, wParam, lParam);
}

TEST_F(TreeViewLayoutTest, ScrollInformationStaysCurrentWhenTheOwnerStripsTheBars)
{
    HWND hTree = CreateTree(0);
    const int nRowsShown = static_cast<int>(SendMessage(hTree, TVM_GETVISIBLECOUNT, 0, 0));
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    Insert(hTree, TVI_ROOT, "one");
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_LT(si.nMax, static_cast<int>(si.nPage)); // fits: an owner disables its arrows

    s_nCalcSizes = 0;
    s_pfnTreeProc
        = reinterpret_cast<WNDPROC>(SetWindowLongPtr(hTree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StripBarsProc)));
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 40; ++i)
        items.push_back(Insert(hTree, TVI_ROOT, std::string(i == 20 ? 60 : 3, 'w').c_str()));
    PumpUntilIdle();
    EXPECT_GE(s_nCalcSizes, 1); // the tree tried to show a bar once
    EXPECT_LE(s_nCalcSizes, 4); // and then stopped trying
    EXPECT_EQ(GetWindowLongPtr(hTree, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 40);
    EXPECT_EQ(static_cast<int>(si.nPage), nRowsShown);
    EXPECT_EQ(si.nPos, 0);
    SCROLLINFO siH { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    GetScrollInfo(hTree, SB_HORZ, &siH);
    EXPECT_GT(siH.nMax, static_cast<int>(siH.nPage));

    // The owner's own arrows send the scroll messages.
    SendMessage(hTree, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessage(hTree, WM_VSCROLL, SB_LINEDOWN, 0);
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 2);
    EXPECT_EQ(Next(hTree, TVGN_FIRSTVISIBLE), items[1]);
    SendMessage(hTree, WM_VSCROLL, SB_BOTTOM, 0);
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 41 - nRowsShown);
    SendMessage(hTree, WM_HSCROLL, SB_LINERIGHT, 0);
    GetScrollInfo(hTree, SB_HORZ, &siH);
    EXPECT_EQ(siH.nPos, 8);
    SendMessage(hTree, WM_HSCROLL, SB_RIGHT, 0);
    GetScrollInfo(hTree, SB_HORZ, &siH);
    EXPECT_EQ(siH.nPos, siH.nMax + 1 - static_cast<int>(siH.nPage));
    SendMessage(hTree, WM_HSCROLL, SB_LEFT, 0);
    GetScrollInfo(hTree, SB_HORZ, &siH);
    EXPECT_EQ(siH.nPos, 0);

    // Selecting makes the item visible; TVGN_FIRSTVISIBLE puts it at the top.
    Select(hTree, items[3]);
    EXPECT_EQ(Next(hTree, TVGN_FIRSTVISIBLE), items[3]);
    Select(hTree, items[10], TVGN_FIRSTVISIBLE);
    EXPECT_EQ(Next(hTree, TVGN_FIRSTVISIBLE), items[10]);
    EXPECT_EQ(ItemRect(hTree, items[10], FALSE).top, 0);
}

} // namespace
