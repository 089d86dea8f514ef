#include "platform/controls/ListViewControl.h"

#include "tests/platform/controls/ListViewTestSupport.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace {

using ListViewItemsTest = ListViewTest;

TEST_F(ListViewItemsTest, DeletedRowStillExistsWhileTheParentHearsOfIt)
{
    HWND hList = CreateList(0, 3);
    std::vector<std::string> seen;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_DELETEITEM) {
            const int nRow = reinterpret_cast<NMLISTVIEW*>(pHdr)->iItem;
            seen.push_back(Text(hList, nRow) + "/" + std::to_string(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0)));
        }
        return 0;
    };
    EXPECT_TRUE(SendMessage(hList, LVM_DELETEITEM, 1, 0));
    EXPECT_EQ(seen, (std::vector<std::string> { "Row 1/3" }));

    // Destruction tells of every row, each still in the list.
    seen.clear();
    DestroyWindow(hList);
    EXPECT_EQ(seen, (std::vector<std::string> { "Row 0/2", "Row 2/2" }));
    EXPECT_EQ(TakeCodes({ LVN_DELETEALLITEMS, LVN_DELETEITEM }),
        (std::vector<UINT> { LVN_DELETEITEM, LVN_DELETEALLITEMS, LVN_DELETEITEM, LVN_DELETEITEM }));
}

TEST_F(ListViewItemsTest, NonzeroAnswerToDeleteAllSuppressesEachRow)
{
    HWND hList = CreateList(0, 3);
    onNotify = [](NMHDR* pHdr) -> LRESULT { return pHdr->code == LVN_DELETEALLITEMS; };
    SendMessage(hList, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(TakeCodes({ LVN_DELETEALLITEMS, LVN_DELETEITEM }), (std::vector<UINT> { LVN_DELETEALLITEMS }));
    EXPECT_EQ(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ListViewItemsTest, CallbackTextsReachTheCallerWhereverTheHandlerPutsThem)
{
    HWND hList = CreateList(0, 2, true);
    AnswerCallbacks();
    EXPECT_EQ(Text(hList, 1, 2), "cb 1.2");

    // A handler that fills the offered buffer, cut at a character boundary.
    onNotify = [](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_GETDISPINFO) {
            auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pHdr);
            EXPECT_EQ(pInfo->item.cchTextMax, 6);
            std::strncpy(pInfo->item.pszText, "ab", static_cast<size_t>(pInfo->item.cchTextMax));
        }
        return 0;
    };
    char szSmall[6] {};
    LVITEM item {};
    item.mask = LVIF_TEXT;
    item.pszText = szSmall;
    item.cchTextMax = sizeof(szSmall);
    EXPECT_TRUE(SendMessage(hList, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(szSmall, "ab");

    onNotify = [this](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_GETDISPINFO) {
            m_strCallback = "abcd\xC3\xA9"; // "abcdé": the é would straddle the end of 6 bytes
            reinterpret_cast<NMLVDISPINFO*>(pHdr)->item.pszText = m_strCallback.data();
        }
        return 0;
    };
    EXPECT_EQ(SendMessage(hList, LVM_GETITEMTEXT, 0, reinterpret_cast<LPARAM>(&item)), 4);
    EXPECT_STREQ(szSmall, "abcd");
}

TEST_F(ListViewItemsTest, AStoredTextSurvivesAnImageAskedOfTheParent)
{
    HWND hList = CreateList(0, 0);
    LVITEM item {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.pszText = const_cast<LPSTR>("c:\\work");
    item.iImage = I_IMAGECALLBACK;
    ASSERT_EQ(SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    onNotify = [](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_GETDISPINFO)
            reinterpret_cast<NMLVDISPINFO*>(pHdr)->item.iImage = 3;
        return 0;
    };
    char szText[16] {};
    LVITEM asked {};
    asked.mask = LVIF_TEXT | LVIF_IMAGE;
    asked.pszText = szText;
    asked.cchTextMax = sizeof(szText);
    EXPECT_TRUE(SendMessage(hList, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&asked)));
    EXPECT_STREQ(szText, "c:\\work");
    EXPECT_EQ(asked.iImage, 3);
}

TEST_F(ListViewItemsTest, StateChangesAreOfferedAndAnnounced)
{
    HWND hList = CreateList(0, 3);
    EXPECT_TRUE(SetState(hList, 1, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK));
    EXPECT_EQ(State(hList, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    EXPECT_EQ(
        TakeCodes({ LVN_ITEMCHANGING, LVN_ITEMCHANGED }), (std::vector<UINT> { LVN_ITEMCHANGING, LVN_ITEMCHANGED }));

    // The focus is on one row at most; it leaves the old row first.
    SetState(hList, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    TakeNotifications();
    SetState(hList, 2, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(State(hList, 0, LVIS_FOCUSED), 0u);
    EXPECT_EQ(TakeNotifications({ LVN_ITEMCHANGED }),
        (std::vector<NotifySeen> { { LVN_ITEMCHANGED, 0 }, { LVN_ITEMCHANGED, 2 } }));

    // A refusal leaves the row alone; -1 reaches every row.
    onNotify = [](NMHDR* pHdr) -> LRESULT {
        return pHdr->code == LVN_ITEMCHANGING && reinterpret_cast<NMLISTVIEW*>(pHdr)->iItem == 1;
    };
    EXPECT_TRUE(SetState(hList, -1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(Selected(hList), (std::vector<int> { 0, 2 }));
    EXPECT_EQ(SendMessage(hList, LVM_GETSELECTEDCOUNT, 0, 0), 2);
}

TEST_F(ListViewItemsTest, FocusAndSelectionMovesAreAnnouncedHoweverTheyHappen)
{
    // An inserted row that takes the focus and the selection: the old row
    // hears of its loss, the new row of its gain, all before LVN_INSERTITEM.
    HWND hList = CreateList(LVS_SINGLESEL, 3);
    SetState(hList, 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    TakeNotifications();
    LVITEM item {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = 0;
    item.pszText = const_cast<LPSTR>("New");
    item.state = item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    ASSERT_EQ(SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(TakeNotifications({ LVN_ITEMCHANGED, LVN_INSERTITEM }),
        (std::vector<NotifySeen> {
            { LVN_ITEMCHANGED, 2 }, { LVN_ITEMCHANGED, 2 }, { LVN_ITEMCHANGED, 0 }, { LVN_INSERTITEM, 0 } }));
    EXPECT_EQ(Selected(hList), (std::vector<int> { 0 }));

    // A single-selection list selected from code keeps one row, and refuses all of them.
    SetState(hList, 3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 3 }));
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3);
    EXPECT_FALSE(SetState(hList, -1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(Selected(hList), (std::vector<int> { 3 }));
    EXPECT_TRUE(SetState(hList, -1, 0, LVIS_SELECTED));
    EXPECT_TRUE(Selected(hList).empty());

    // Deleting the focused row passes the focus to the row taking its index,
    // then, at the end, to the new last row.
    SetState(hList, 2, LVIS_FOCUSED, LVIS_FOCUSED);
    TakeNotifications();
    SendMessage(hList, LVM_DELETEITEM, 2, 0);
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
    EXPECT_EQ(TakeNotifications({ LVN_DELETEITEM, LVN_ITEMCHANGED }),
        (std::vector<NotifySeen> { { LVN_DELETEITEM, 2 }, { LVN_ITEMCHANGED, 2 } }));
    SendMessage(hList, LVM_DELETEITEM, 2, 0);
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 1);
}

TEST_F(ListViewItemsTest, HandlersChangingTheListInsideNotificationsLeaveItSound)
{
    HWND hList = CreateList(0, 0);
    // An insert handler that moves the new row to the end and adds another.
    bool bInside = false;
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_INSERTITEM && !bInside) {
            bInside = true;
            InsertRow(hList, 99, "extra", 100);
            bInside = false;
        }
        return 0;
    };
    EXPECT_EQ(InsertRow(hList, 0, "first", 1), 0);
    EXPECT_EQ(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0), 2);

    // A change handler that empties the list: the change reports failure.
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_ITEMCHANGING)
            SendMessage(hList, LVM_DELETEALLITEMS, 0, 0);
        return 0;
    };
    EXPECT_FALSE(SetState(hList, 1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0), 0);

    // A delete handler that destroys the list.
    InsertRow(hList, 0, "a", 1);
    onNotify = [&](NMHDR* pHdr) -> LRESULT {
        if (pHdr->code == LVN_DELETEITEM)
            DestroyWindow(hList);
        return 0;
    };
    EXPECT_FALSE(SendMessage(hList, LVM_DELETEITEM, 0, 0));
    EXPECT_FALSE(IsWindow(hList));
}

TEST_F(ListViewItemsTest, WorkerInsertsWhileTheOwnerPumps)
{
    HWND hList = CreateList(0, 0, true);
    std::vector<int> asked;
    AnswerCallbacks(&asked);
    SendMessage(hList, LVM_SETITEMCOUNT, 250, 0);
    std::atomic<bool> bDone { false };
    std::thread worker([&] {
        for (int i = 0; i < 250; ++i) {
            if (i % 100 == 0)
                SendMessage(hList, WM_SETREDRAW, FALSE, 0);
            InsertRow(hList, i, std::string(), i, true);
            if (i % 100 == 99)
                SendMessage(hList, WM_SETREDRAW, TRUE, 0);
        }
        SendMessage(hList, WM_SETREDRAW, TRUE, 0);
        bDone = true;
    });
    while (!bDone) {
        MSG msg {};
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
    }
    worker.join();
    PumpUntilIdle();
    ASSERT_EQ(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0), 250);
    EXPECT_EQ(Text(hList, 249), "cb 249.0");
    EXPECT_FALSE(asked.empty()); // painted once redraw came back
}

TEST_F(ListViewItemsTest, StaleRowsFailWithoutEffect)
{
    HWND hList = CreateList(0, 2);
    LVITEM item {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = 2;
    EXPECT_FALSE(SendMessage(hList, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(SendMessage(hList, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(SendMessage(hList, LVM_DELETEITEM, 7, 0));
    EXPECT_FALSE(SetState(hList, 5, LVIS_SELECTED, LVIS_SELECTED));
    RECT rc { LVIR_BOUNDS, 0, 0, 0 };
    EXPECT_FALSE(SendMessage(hList, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rc)));
    EXPECT_FALSE(SendMessage(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(-3), 0));
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, 9, LVNI_ALL), -1);
    EXPECT_EQ(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_TRUE(TakeNotifications().empty());
}

} // namespace
