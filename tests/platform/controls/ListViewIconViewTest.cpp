#include "platform/controls/ListViewControl.h"

#include "platform/window/SystemMetrics.h"
#include "tests/platform/controls/ListViewTestSupport.h"

namespace {

class ListViewIconViewTest : public ListViewTest {
protected:
    // A report list switched to icons at run time, as a view menu does.
    HWND CreateIconList(int nRows)
    {
        HWND hList = CreateList(0, nRows);
        const auto dwStyle = static_cast<DWORD>(GetWindowLongPtr(hList, GWL_STYLE));
        SetWindowLongPtr(hList, GWL_STYLE, static_cast<LONG_PTR>((dwStyle & ~LVS_TYPEMASK) | LVS_ICON));
        PumpUntilIdle();
        TakeNotifications();
        return hList;
    }
    static int Columns() { return std::max(200 / GetSystemMetrics(SM_CXICONSPACING), 1); }
};

TEST_F(ListViewIconViewTest, ItemsFillGridRowsAndAnswerHitTestsByPart)
{
    HWND hList = CreateIconList(12);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hList, 0)));
    const int nColumns = Columns();
    const RECT rc0 = ItemRect(hList, 0, LVIR_ICON);
    const RECT rc1 = ItemRect(hList, 1, LVIR_ICON);
    const RECT rcBelow = ItemRect(hList, nColumns, LVIR_ICON);
    EXPECT_EQ(rc1.top, rc0.top);
    EXPECT_EQ(rc1.left - rc0.left, GetSystemMetrics(SM_CXICONSPACING));
    EXPECT_EQ(rcBelow.left, rc0.left);
    EXPECT_EQ(rcBelow.top - rc0.top, GetSystemMetrics(SM_CYICONSPACING));

    LVHITTESTINFO hit {};
    hit.pt = POINT { (rc1.left + rc1.right) / 2, (rc1.top + rc1.bottom) / 2 };
    EXPECT_EQ(SendMessage(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, LVHT_ONITEMICON);
    const RECT rcLabel = ItemRect(hList, 1, LVIR_LABEL);
    EXPECT_GE(rcLabel.top, rc1.bottom);
    hit.pt = POINT { (rcLabel.left + rcLabel.right) / 2, rcLabel.top + 1 };
    EXPECT_EQ(SendMessage(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
    hit.pt = POINT { rc1.left - 3, rc1.top + 1 }; // the margin between cells
    EXPECT_EQ(SendMessage(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
}

TEST_F(ListViewIconViewTest, KeysMoveAcrossTheGridAndScrollingKeepsWholeGridRows)
{
    HWND hList = CreateIconList(40);
    const int nColumns = Columns();
    ClickRow(hList, 0);
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, FALSE);
    Key(VK_RIGHT, TRUE);
    Key(VK_RIGHT, FALSE);
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), nColumns + 1);
    EXPECT_EQ(Selected(hList), (std::vector<int> { nColumns + 1 }));

    ASSERT_TRUE(SendMessage(hList, LVM_ENSUREVISIBLE, 39, FALSE));
    const auto nTop = static_cast<int>(SendMessage(hList, LVM_GETTOPINDEX, 0, 0));
    EXPECT_GT(nTop, 0);
    EXPECT_EQ(nTop % nColumns, 0);
    const RECT rcLast = ItemRect(hList, 39, LVIR_ICON);
    EXPECT_GE(rcLast.top, 0);
    EXPECT_LE(rcLast.bottom, 160);
}

} // namespace
