#include "platform/controls/TreeViewControl.h"

#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
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

TEST_F(TreeViewPaintTest, ColoursFillTheBackgroundAndTheSelectionShowsOnTheLabel)
{
    HWND hTree = CreateTree(TVS_SHOWSELALWAYS);
    HTREEITEM hItem = Insert(hTree, TVI_ROOT, "selected item");
    EXPECT_EQ(SendMessage(hTree, TVM_SETBKCOLOR, 0, RGB(10, 20, 30)), -1); // the default before
    EXPECT_EQ(SendMessage(hTree, TVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(10, 20, 30)));
    Select(hTree, hItem);
    UpdateWindow(hTree);
    RECT rcClient {};
    GetClientRect(hTree, &rcClient);
    EXPECT_EQ(WindowPixel(hTree, rcClient.right - 2, rcClient.bottom - 2), RGB(10, 20, 30));
    const RECT rcLabel = ItemRect(hTree, hItem, TRUE);
    EXPECT_EQ(WindowPixel(hTree, rcLabel.left + 1, rcLabel.top + 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(WindowPixel(hTree, rcLabel.right + 4, rcLabel.top + 1), RGB(10, 20, 30));
}

} // namespace
