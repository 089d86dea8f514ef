#include "platform/controls/ListViewControl.h"

#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/controls/ListViewTestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class ListViewScrollTest : public ListViewTest {
protected:
    // The list's pixels, frame and bars included, as the screen shows them.
    static std::vector<COLORREF> Pixels(HWND hList)
    {
        RECT rc {};
        GetWindowRect(hList, &rc);
        CCapturedImage image(CaptureWindowImage(hList));
        std::vector<COLORREF> pixels;
        for (int y = 0; y < rc.bottom - rc.top; ++y)
            for (int x = 0; x < rc.right - rc.left; ++x)
                pixels.push_back(image.At(x, y));
        return pixels;
    }
    // What the list shows after it has painted what waits, and what a
    // repaint of all of it shows: the same pixels, or scrolling went wrong.
    static void ExpectSameAsRepaint(HWND hList, const char* pszStep)
    {
        PumpUntilIdle();
        const std::vector<COLORREF> scrolled = Pixels(hList);
        RedrawWindow(hList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(scrolled == Pixels(hList)) << pszStep;
    }
    static void Scroll(HWND hList, WORD nCode) { SendMessage(hList, WM_VSCROLL, nCode, 0); }
    static int Top(HWND hList) { return static_cast<int>(SendMessage(hList, LVM_GETTOPINDEX, 0, 0)); }
    static int PerPage(HWND hList) { return static_cast<int>(SendMessage(hList, LVM_GETCOUNTPERPAGE, 0, 0)); }
    static bool Shows(HWND hList, DWORD dwBar) { return (GetWindowLongPtr(hList, GWL_STYLE) & dwBar) != 0; }

    // Every way of scrolling: lines, pages, the ends, by message and to a row.
    static void ScrollEveryWay(HWND hList)
    {
        const int nRows = static_cast<int>(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0));
        Scroll(hList, SB_LINEDOWN);
        ExpectSameAsRepaint(hList, "a line down");
        Scroll(hList, SB_LINEDOWN);
        Scroll(hList, SB_LINEDOWN);
        ExpectSameAsRepaint(hList, "two lines down");
        Scroll(hList, SB_PAGEDOWN);
        ExpectSameAsRepaint(hList, "a page down");
        Scroll(hList, SB_LINEUP);
        ExpectSameAsRepaint(hList, "a line up");
        SendMessage(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRows / 2), FALSE);
        ExpectSameAsRepaint(hList, "a row made visible");
        Scroll(hList, SB_BOTTOM);
        const int nBottom = Top(hList);
        EXPECT_GE(nBottom + PerPage(hList), nRows);
        Scroll(hList, SB_LINEDOWN);
        EXPECT_EQ(Top(hList), nBottom);
        ExpectSameAsRepaint(hList, "the bottom");
        Scroll(hList, SB_TOP);
        EXPECT_EQ(Top(hList), 0);
        ExpectSameAsRepaint(hList, "the top");
    }
};

TEST_F(ListViewScrollTest, ScrolledPixelsAreWhatARepaintDraws)
{
    AnswerCallbacks();
    HWND hList = CreateList(LVS_SHOWSELALWAYS, 60, true);
    SetFocus(hList);
    SetState(hList, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetState(hList, 5, LVIS_SELECTED, LVIS_SELECTED);
    PumpUntilIdle();
    ScrollEveryWay(hList);

    // Owner-drawn rows, and icons scrolled by grid rows.
    SetWindowLongPtr(hList, GWL_STYLE, GetWindowLongPtr(hList, GWL_STYLE) | LVS_OWNERDRAWFIXED);
    onDrawItem = [](DRAWITEMSTRUCT* pDis) {
        const std::string strText = "drawn " + std::to_string(pDis->itemID);
        FillRect(pDis->hDC, &pDis->rcItem,
            GetSysColorBrush((pDis->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        TextOut(pDis->hDC, pDis->rcItem.left + 2, pDis->rcItem.top, strText.c_str(), static_cast<int>(strText.size()));
    };
    SetWindowPos(hList, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ScrollEveryWay(hList);
    SetWindowLongPtr(hList, GWL_STYLE, (GetWindowLongPtr(hList, GWL_STYLE) & ~(LVS_TYPEMASK | LVS_OWNERDRAWFIXED)));
    SetWindowPos(hList, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ScrollEveryWay(hList);
}

TEST_F(ListViewScrollTest, ALineOfScrollingPaintsOnlyTheRowsItBringsIntoView)
{
    std::vector<int> asked;
    AnswerCallbacks(&asked);
    HWND hList = CreateList(0, 500, true);
    PumpUntilIdle();
    asked.clear();
    Scroll(hList, SB_LINEDOWN);
    PumpUntilIdle();
    ASSERT_FALSE(asked.empty());
    // The row that came in at the bottom, and the one cut by the bottom edge.
    EXPECT_GE(*std::min_element(asked.begin(), asked.end()), Top(hList) + PerPage(hList) - 1);
    asked.clear();
    Scroll(hList, SB_LINEUP);
    PumpUntilIdle();
    EXPECT_EQ(*std::max_element(asked.begin(), asked.end()), 0);
}

TEST_F(ListViewScrollTest, TheListShowsTheBarsItNeedsUnlessToldNot)
{
    HWND hList = CreateList(0, 3); // three columns of 300 pixels in a list 200 wide
    EXPECT_FALSE(Shows(hList, WS_VSCROLL));
    EXPECT_TRUE(Shows(hList, WS_HSCROLL));
    for (int i = 3; i < 30; ++i)
        InsertRow(hList, i, "More", i);
    EXPECT_TRUE(Shows(hList, WS_VSCROLL));
    SCROLLINFO si { sizeof(si), SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(GetScrollInfo(hList, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 29);
    EXPECT_EQ(si.nPage, static_cast<UINT>(PerPage(hList)));
    SendMessage(hList, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_FALSE(Shows(hList, WS_VSCROLL));

    // With redraw off the bar and the scroll information wait for redraw to come back.
    SendMessage(hList, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < 30; ++i)
        InsertRow(hList, i, "Again", i);
    EXPECT_FALSE(Shows(hList, WS_VSCROLL));
    SendMessage(hList, WM_SETREDRAW, TRUE, 0);
    EXPECT_TRUE(Shows(hList, WS_VSCROLL));
    ASSERT_TRUE(GetScrollInfo(hList, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 29);

    HWND hBare = CreateControl(WC_LISTVIEW, "", LVS_REPORT | LVS_NOSCROLL, 220, 10, 100, 60, 6);
    for (int i = 0; i < 30; ++i)
        InsertRow(hBare, i, "Row", i);
    EXPECT_FALSE(Shows(hBare, WS_VSCROLL | WS_HSCROLL));
    SendMessage(hBare, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Top(hBare) + PerPage(hBare), 30); // it still scrolls
}

} // namespace
