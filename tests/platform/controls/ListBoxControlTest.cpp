#include "platform/controls/ListBoxControl.h"

#include "platform/base/PathMap.h"
#include "platform/window/Focus.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/controls/ControlTestSupport.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

class ListBoxControlTest : public ControlTest {
protected:
    HWND CreateList(DWORD dwStyle, int cy = 100)
    {
        HWND hList = CreateControl("ListBox", "", dwStyle, 10, 10, 150, cy, 400);
        PumpUntilIdle();
        MessageLog::Instance().Take();
        return hList;
    }
    static LRESULT Add(HWND hList, LPCSTR lpszText)
    {
        return SendMessage(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszText));
    }
    static std::vector<std::string> Strings(HWND hList)
    {
        std::vector<std::string> strings;
        for (LRESULT i = 0; i < SendMessage(hList, LB_GETCOUNT, 0, 0); ++i) {
            std::string text(
                static_cast<size_t>(SendMessage(hList, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, '\0');
            SendMessage(hList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            text.pop_back();
            strings.push_back(text);
        }
        return strings;
    }
    static std::vector<int> Selected(HWND hList)
    {
        int items[32] {};
        LRESULT n = SendMessage(hList, LB_GETSELITEMS, 32, reinterpret_cast<LPARAM>(items));
        return std::vector<int>(items, items + std::max<LRESULT>(n, 0));
    }
    // Clicks item nIndex of a list whose items are nItemHeight high.
    void ClickItem(HWND hList, int nIndex)
    {
        RECT rc {};
        SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc));
        m_clock.Advance(5000);
        Click(hList, 5, (rc.top + rc.bottom) / 2);
    }
    std::vector<WORD> TakeCodes()
    {
        std::vector<WORD> codes;
        for (const CommandSent& command : TakeCommands())
            codes.push_back(command.nCode);
        return codes;
    }
};

/***** Items *****/

TEST_F(ListBoxControlTest, SortedListUsesTheWordSort)
{
    HWND hList = CreateList(LBS_SORT);
    for (LPCSTR lpsz :
        { "2", "11", "Documents", "1", "", "10", "0", "co-op", "\xC3\x89t\xC3\xA9", "coop", "cop", "eu" })
        Add(hList, lpsz);
    EXPECT_EQ(Strings(hList),
        (std::vector<std::string> {
            "", "0", "1", "10", "11", "2", "coop", "co-op", "cop", "Documents", "\xC3\x89t\xC3\xA9", "eu" }));
}

TEST_F(ListBoxControlTest, SortedListKeepsStringsInOrderWithoutRegardToCase)
{
    HWND hList = CreateList(LBS_SORT);
    for (LPCSTR lpsz : { "banana", "Apple", "cherry", "apple", "Banana2", "10", "9" })
        Add(hList, lpsz);
    EXPECT_EQ(
        Strings(hList), (std::vector<std::string> { "10", "9", "Apple", "apple", "banana", "Banana2", "cherry" }));
    EXPECT_EQ(Add(hList, "BANANA"), 5);
}

TEST_F(ListBoxControlTest, ItemsKeepTheirDataAndBadIndexesAreRefused)
{
    HWND hList = CreateList(0);
    Add(hList, "one");
    SendMessage(hList, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zero"));
    EXPECT_EQ(SendMessage(hList, LB_SETITEMDATA, 1, 77), LB_OKAY);
    EXPECT_EQ(SendMessage(hList, LB_GETITEMDATA, 1, 0), 77);
    EXPECT_EQ(SendMessage(hList, LB_GETITEMDATA, 5, 0), LB_ERR);
    EXPECT_EQ(SendMessage(hList, LB_GETTEXTLEN, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessage(hList, LB_DELETESTRING, 0, 0), 1);
    EXPECT_EQ(Strings(hList), (std::vector<std::string> { "one" }));
    EXPECT_EQ(SendMessage(hList, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("ON")), 0);
    EXPECT_EQ(SendMessage(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("on")), LB_ERR);
}

/***** Selection *****/

TEST_F(ListBoxControlTest, ClicksAndArrowsSelectAndNotify)
{
    HWND hList = CreateList(LBS_NOTIFY);
    for (LPCSTR lpsz : { "a", "b", "c", "d" })
        Add(hList, lpsz);
    ClickItem(hList, 2);
    EXPECT_EQ(SendMessage(hList, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(GetFocus(), hList);
    Key(VK_DOWN, TRUE);
    EXPECT_EQ(SendMessage(hList, LB_GETCURSEL, 0, 0), 3);
    Key(VK_DOWN, TRUE); // already at the end: no change, no notification
    Key(VK_HOME, TRUE);
    EXPECT_EQ(SendMessage(hList, LB_GETCURSEL, 0, 0), 0);
    std::vector<WORD> codes = TakeCodes();
    EXPECT_EQ(codes, (std::vector<WORD> { LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE }));
    // A change made by a message is not reported.
    SendMessage(hList, LB_SETCURSEL, 1, 0);
    EXPECT_TRUE(TakeCodes().empty());
}

TEST_F(ListBoxControlTest, DoubleClickIsReported)
{
    HWND hList = CreateList(LBS_NOTIFY);
    Add(hList, "a");
    Click(hList, 5, 5);
    Click(hList, 5, 5);
    std::vector<WORD> codes = TakeCodes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), LBN_DBLCLK);
}

TEST_F(ListBoxControlTest, MultipleSelectionTogglesEachClickedItem)
{
    HWND hList = CreateList(LBS_MULTIPLESEL);
    for (LPCSTR lpsz : { "a", "b", "c", "d" })
        Add(hList, lpsz);
    ClickItem(hList, 1);
    ClickItem(hList, 3);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1, 3 }));
    ClickItem(hList, 1);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 3 }));
    Key(VK_UP, TRUE);
    Key(VK_SPACE, TRUE);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 0, 3 }));
    EXPECT_EQ(SendMessage(hList, LB_SETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxControlTest, ExtendedSelectionTakesRangesWithShiftAndTogglesWithCtrl)
{
    HWND hList = CreateList(LBS_EXTENDEDSEL);
    for (LPCSTR lpsz : { "a", "b", "c", "d", "e" })
        Add(hList, lpsz);
    ClickItem(hList, 1);
    Key(VK_SHIFT, TRUE);
    ClickItem(hList, 3);
    Key(VK_SHIFT, FALSE);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1, 2, 3 }));
    Key(VK_CONTROL, TRUE);
    ClickItem(hList, 2);
    Key(VK_CONTROL, FALSE);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 1, 3 }));
    ClickItem(hList, 4);
    EXPECT_EQ(Selected(hList), (std::vector<int> { 4 }));
    EXPECT_EQ(SendMessage(hList, LB_GETSELCOUNT, 0, 0), 1);
}

/***** Scrolling *****/

TEST_F(ListBoxControlTest, CaretMovesScrollTheListToKeepItShowing)
{
    HWND hList = CreateList(WS_VSCROLL, 60);
    for (int i = 0; i < 20; ++i)
        Add(hList, std::to_string(i).c_str());
    SetFocus(hList);
    Key(VK_END, TRUE);
    const LRESULT nTop = SendMessage(hList, LB_GETTOPINDEX, 0, 0);
    EXPECT_GT(nTop, 10);
    RECT rc {};
    SendMessage(hList, LB_GETITEMRECT, 19, reinterpret_cast<LPARAM>(&rc));
    RECT rcClient {};
    GetClientRect(hList, &rcClient);
    EXPECT_LE(rc.bottom, rcClient.bottom);
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0 };
    GetScrollInfo(hList, SB_VERT, &si);
    EXPECT_EQ(si.nPos, nTop);
    SendMessage(hList, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessage(hList, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListBoxControlTest, ScrollBarShowsOnlyWhileItemsAreOutOfSight)
{
    auto hasBar = [](HWND hList) { return (GetWindowLongPtr(hList, GWL_STYLE) & WS_VSCROLL) != 0; };
    HWND hList = CreateList(WS_VSCROLL, 60);
    HWND hKept = CreateList(WS_VSCROLL | LBS_DISABLENOSCROLL, 60);
    EXPECT_FALSE(hasBar(hList));
    EXPECT_TRUE(hasBar(hKept));
    for (int i = 0; i < 20; ++i)
        Add(hList, std::to_string(i).c_str());
    EXPECT_TRUE(hasBar(hList));
    SendMessage(hList, LB_RESETCONTENT, 0, 0);
    Add(hList, "one");
    EXPECT_FALSE(hasBar(hList)) << "the bar goes once everything fits again";
    EXPECT_FALSE(hasBar(CreateList(0, 60))) << "a list made without the style never gets it";
}

/***** Owner draw *****/

TEST_F(ListBoxControlTest, OwnerDrawnListAsksItsParentToMeasureDrawCompareAndDelete)
{
    std::vector<UINT> heightsAsked;
    std::vector<std::pair<UINT, ULONG_PTR>> drawn;
    std::vector<ULONG_PTR> deleted;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        switch (uMsg) {
        case WM_MEASUREITEM: {
            auto* pMis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            heightsAsked.push_back(pMis->itemID);
            pMis->itemHeight = 10 + static_cast<UINT>(pMis->itemData);
            *plResult = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            auto* pDis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            drawn.emplace_back(pDis->itemID, pDis->itemData);
            *plResult = TRUE;
            return true;
        }
        case WM_COMPAREITEM: {
            auto* pCis = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
            *plResult = pCis->itemData1 < pCis->itemData2 ? -1 : (pCis->itemData1 > pCis->itemData2 ? 1 : 0);
            return true;
        }
        case WM_DELETEITEM:
            deleted.push_back(reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->itemData);
            return false;
        default:
            return false;
        }
    };
    HWND hList = CreateControl("ListBox", "", LBS_OWNERDRAWVARIABLE | LBS_SORT, 10, 10, 150, 200, 400);
    for (LPARAM nData : { 30, 10, 20 })
        SendMessage(hList, LB_ADDSTRING, 0, nData);
    EXPECT_EQ(SendMessage(hList, LB_GETITEMDATA, 0, 0), 10);
    EXPECT_EQ(SendMessage(hList, LB_GETITEMDATA, 2, 0), 30);
    EXPECT_EQ(SendMessage(hList, LB_GETITEMHEIGHT, 2, 0), 40);
    EXPECT_EQ(heightsAsked.size(), 3u);
    drawn.clear();
    PumpUntilIdle();
    EXPECT_EQ(drawn, (std::vector<std::pair<UINT, ULONG_PTR>> { { 0, 10 }, { 1, 20 }, { 2, 30 } }));
    SendMessage(hList, LB_DELETESTRING, 1, 0);
    DestroyWindow(hList);
    EXPECT_EQ(deleted, (std::vector<ULONG_PTR> { 20, 10, 30 }));
    MessageLog::Instance().handler = nullptr;
}

TEST_F(ListBoxControlTest, ParentCanTakeKeysWithVKeyToItem)
{
    MessageLog::Instance().handler = [](HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT* plResult) {
        if (uMsg != WM_VKEYTOITEM)
            return false;
        *plResult = LOWORD(wParam) == VK_DOWN ? 2 : -2;
        return true;
    };
    HWND hList = CreateList(LBS_WANTKEYBOARDINPUT);
    for (LPCSTR lpsz : { "a", "b", "c", "d" })
        Add(hList, lpsz);
    SetFocus(hList);
    Key(VK_DOWN, TRUE);
    EXPECT_EQ(SendMessage(hList, LB_GETCURSEL, 0, 0), 2);
    Key(VK_END, TRUE);
    EXPECT_EQ(SendMessage(hList, LB_GETCURSEL, 0, 0), 2);
    MessageLog::Instance().handler = nullptr;
}

} // namespace

/***** Horizontal extent *****/

TEST_F(ListBoxControlTest, HorizontalExtentShowsTheBarAndScrollsTheItemsSideways)
{
    std::vector<RECT> drawn;
    MessageLog::Instance().handler = [&drawn](HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        if (uMsg == WM_MEASUREITEM)
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
        if (uMsg != WM_DRAWITEM)
            return false;
        drawn.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->rcItem);
        *plResult = TRUE;
        return true;
    };
    HWND hList = CreateList(LBS_OWNERDRAWFIXED | WS_HSCROLL);
    SendMessage(hList, LB_ADDSTRING, 0, 1);
    // With nothing to scroll across, the bar is hidden.
    EXPECT_FALSE(GetWindowLongPtr(hList, GWL_STYLE) & WS_HSCROLL);

    SendMessage(hList, LB_SETHORIZONTALEXTENT, 500, 0);
    EXPECT_EQ(SendMessage(hList, LB_GETHORIZONTALEXTENT, 0, 0), 500);
    EXPECT_TRUE(GetWindowLongPtr(hList, GWL_STYLE) & WS_HSCROLL);
    RECT rcClient {};
    GetClientRect(hList, &rcClient);
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(GetScrollInfo(hList, SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 499);
    EXPECT_EQ(si.nPage, static_cast<UINT>(rcClient.right));

    SendMessage(hList, WM_HSCROLL, SB_RIGHT, 0);
    drawn.clear();
    UpdateWindow(hList);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().left, -(500 - rcClient.right));
    EXPECT_EQ(drawn.back().right, rcClient.right);
    SendMessage(hList, WM_HSCROLL, SB_LINELEFT, 0);
    ASSERT_TRUE(GetScrollInfo(hList, SB_HORZ, &si));
    EXPECT_LT(si.nPos, 500 - rcClient.right);
    EXPECT_GT(si.nPos, 0);

    // A narrower extent hides the bar again and brings the items back.
    SendMessage(hList, LB_SETHORIZONTALEXTENT, 50, 0);
    EXPECT_FALSE(GetWindowLongPtr(hList, GWL_STYLE) & WS_HSCROLL);
    drawn.clear();
    UpdateWindow(hList);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().left, 0);
    MessageLog::Instance().handler = nullptr;
}

/***** Folder listings *****/

TEST_F(ListBoxControlTest, DirListsWhatTheFlagsSelect)
{
    TempFolder folder;
    for (const char* pszName : { "a.txt", "B.txt", "c.doc", ".hidden.txt" })
        folder.WriteFile(pszName, "x");
    std::filesystem::create_directory(folder / "docs");
    const std::string strFolder = ProgramPathFromHostPath(folder.Path().string());

    HWND hList = CreateList(LBS_SORT);
    EXPECT_EQ(SendMessage(hList, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>((strFolder + "\\*.txt").c_str())), 1)
        << "the index of B.txt, the last one added";
    EXPECT_EQ(Strings(hList), (std::vector<std::string> { "a.txt", "B.txt" }));

    SendMessage(hList, LB_RESETCONTENT, 0, 0);
    SendMessage(hList, LB_DIR, DDL_DIRECTORY | DDL_HIDDEN, reinterpret_cast<LPARAM>((strFolder + "\\*.*").c_str()));
    EXPECT_EQ(
        Strings(hList), (std::vector<std::string> { ".hidden.txt", "[..]", "[docs]", "a.txt", "B.txt", "c.doc" }));

    SendMessage(hList, LB_RESETCONTENT, 0, 0);
    SendMessage(hList, LB_DIR, DDL_EXCLUSIVE | DDL_DIRECTORY | DDL_DRIVES,
        reinterpret_cast<LPARAM>((strFolder + "\\*").c_str()));
    std::vector<std::string> strings = Strings(hList);
    EXPECT_NE(std::find(strings.begin(), strings.end(), "[-c-]"), strings.end());
    EXPECT_NE(std::find(strings.begin(), strings.end(), "[docs]"), strings.end());
    EXPECT_EQ(std::find(strings.begin(), strings.end(), "a.txt"), strings.end());

    // A folder that is not there adds nothing.
    SendMessage(hList, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(
        SendMessage(hList, LB_DIR, 0, reinterpret_cast<LPARAM>((strFolder + "\\missing\\*.txt").c_str())), LB_ERR);
    EXPECT_EQ(SendMessage(hList, LB_DIR, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(hList, LB_GETCOUNT, 0, 0), 0);
}
