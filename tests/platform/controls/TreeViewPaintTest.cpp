#include "platform/controls/TreeViewControl.h"

#include "platform/controls/EditControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/controls/TreeViewTestSupport.h"

#include <map>

namespace {

class TreeViewPaintTest : public TreeViewTest {
protected:
    // Answers custom draw: asks for the items, gives the item with lParam 1 an
    // italic font and records the font and state each item is drawn with.
    void DrawItalic(HFONT hItalic)
    {
        onNotify = [this, hItalic](NMHDR* pHdr) -> LRESULT {
            if (pHdr->code != NM_CUSTOMDRAW)
                return 0;
            auto* pDraw = reinterpret_cast<NMTVCUSTOMDRAW*>(pHdr);
            switch (pDraw->nmcd.dwDrawStage) {
            case CDDS_PREPAINT:
                return CDRF_NOTIFYITEMDRAW;
            case CDDS_ITEMPREPAINT:
                m_states[pDraw->nmcd.lItemlParam] = pDraw->nmcd.uItemState;
                if (pDraw->nmcd.lItemlParam != 1)
                    return CDRF_NOTIFYPOSTPAINT;
                SelectObject(pDraw->nmcd.hdc, hItalic);
                pDraw->clrText = RGB(200, 0, 0);
                return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
            case CDDS_ITEMPOSTPAINT:
                m_fonts[pDraw->nmcd.lItemlParam] = static_cast<HFONT>(GetCurrentObject(pDraw->nmcd.hdc, OBJ_FONT));
                return 0;
            default:
                return 0;
            }
        };
    }

    std::map<LPARAM, HFONT> m_fonts;
    std::map<LPARAM, UINT> m_states;
};

TEST_F(TreeViewPaintTest, CustomDrawChangesOneItemsFontAndTheNextGetsTheTreesAgain)
{
    HWND hTree = CreateTree(TVS_TRACKSELECT);
    auto hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessage(hTree, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    LOGFONT lf {};
    GetObject(hFont, sizeof(lf), &lf);
    lf.lfItalic = TRUE;
    HFONT hItalic = CreateFontIndirect(&lf);
    Insert(hTree, TVI_ROOT, "plain", TVI_LAST, 0);
    Insert(hTree, TVI_ROOT, "italic", TVI_LAST, 1);
    HTREEITEM hAfter = Insert(hTree, TVI_ROOT, "after", TVI_LAST, 2);
    DrawItalic(hItalic);
    InvalidateRect(hTree, nullptr, TRUE);
    UpdateWindow(hTree);
    EXPECT_EQ(m_fonts[0], hFont);
    EXPECT_EQ(m_fonts[1], hItalic);
    EXPECT_EQ(m_fonts[2], hFont);
    EXPECT_EQ(m_states[2] & CDIS_HOT, 0U);

    // The item under the mouse is hot.
    const POINT pt = LabelPoint(hTree, hAfter);
    Mouse(hTree, EMouseAction::Move, pt.x, pt.y);
    UpdateWindow(hTree);
    EXPECT_EQ(m_states[2] & CDIS_HOT, CDIS_HOT);
    EXPECT_EQ(m_states[0] & CDIS_HOT, 0U);
    DestroyWindow(hTree);
    DeleteObject(hItalic);
}

TEST_F(TreeViewPaintTest, HitTestsFindEveryPartOfARow)
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

TEST_F(TreeViewPaintTest, ScrollInformationStaysCurrentWhenTheOwnerStripsTheBars)
{
    HWND hTree = CreateTree(0);
    const int nRowsShown = static_cast<int>(SendMessage(hTree, TVM_GETVISIBLECOUNT, 0, 0));
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    Insert(hTree, TVI_ROOT, "one");
    GetScrollInfo(hTree, SB_VERT, &si);
    EXPECT_LT(si.nMax, static_cast<int>(si.nPage)); // fits: an owner disables its arrows

    s_nCalcSizes = 0;
    s_pfnTreeProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(hTree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StripBarsProc)));
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

    // Selecting makes the item visible; TVGN_FIRSTVISIBLE puts it at the top.
    Select(hTree, items[3]);
    EXPECT_EQ(Next(hTree, TVGN_FIRSTVISIBLE), items[3]);
    Select(hTree, items[10], TVGN_FIRSTVISIBLE);
    EXPECT_EQ(Next(hTree, TVGN_FIRSTVISIBLE), items[10]);
    EXPECT_EQ(ItemRect(hTree, items[10], FALSE).top, 0);
}

class TreeViewLabelEditTest : public TreeViewTest {
protected:
    static HWND Editor(HWND hTree) { return reinterpret_cast<HWND>(SendMessage(hTree, TVM_GETEDITCONTROL, 0, 0)); }
};

TEST_F(TreeViewLabelEditTest, EndHandlerMayDeleteTheItemOrEditAgain)
{
    HWND hTree = CreateTree(TVS_EDITLABELS);
    HTREEITEM hNamed = Insert(hTree, TVI_ROOT, "named");
    HTREEITEM hFresh = Insert(hTree, TVI_ROOT, "");
    std::vector<std::string> ends;
    int nAgain = 1;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        auto* pInfo = reinterpret_cast<NMTVDISPINFO*>(pHdr);
        if (pHdr->code == TVN_BEGINLABELEDIT) {
            SendMessage(Editor(hTree), EM_LIMITTEXT, 30, 0);
            return 0;
        }
        if (pHdr->code != TVN_ENDLABELEDIT)
            return 0;
        ends.push_back(pInfo->item.pszText ? pInfo->item.pszText : "(null)");
        if (!pInfo->item.pszText && pInfo->item.hItem == hFresh) {
            SendMessage(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hFresh)); // a never-named item goes
            return FALSE;
        }
        if (pInfo->item.pszText && std::string(pInfo->item.pszText) == "named" && nAgain-- > 0) {
            SendMessage(hTree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(pInfo->item.hItem)); // a duplicate
            return FALSE;
        }
        return TRUE;
    };
    HWND hEdit = reinterpret_cast<HWND>(SendMessage(hTree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(hFresh)));
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(GetFocus(), hEdit);
    Key(VK_ESCAPE, TRUE);
    Key(VK_ESCAPE, FALSE);
    EXPECT_EQ(Text(hTree, hFresh), "(failed)");
    EXPECT_EQ(SendMessage(hTree, TVM_GETCOUNT, 0, 0), 1);

    hEdit = reinterpret_cast<HWND>(SendMessage(hTree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(hNamed)));
    Key(VK_RETURN, TRUE); // unchanged "named": the handler opens the editor again
    Key(VK_RETURN, FALSE);
    HWND hAgain = Editor(hTree);
    ASSERT_NE(hAgain, nullptr);
    EXPECT_TRUE(IsWindowVisible(hAgain));
    SetWindowText(hAgain, std::string(40, 'n').c_str());
    EXPECT_EQ(GetWindowTextLength(hAgain), 40); // the limit binds typing, not SetWindowText
    SetWindowText(hAgain, "renamed");
    SetFocus(m_hParent); // losing the focus commits
    EXPECT_EQ(Text(hTree, hNamed), "renamed");
    EXPECT_EQ(ends, (std::vector<std::string> { "(null)", "named", "renamed" }));
    EXPECT_EQ(Editor(hTree), nullptr);
}

} // namespace
