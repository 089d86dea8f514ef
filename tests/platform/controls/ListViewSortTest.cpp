#include "platform/controls/ListViewControl.h"

#include "tests/platform/controls/ListViewTestSupport.h"

#include <utility>

namespace {

using ListViewSortTest = ListViewTest;

int CALLBACK CompareTens(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    // Equal tens tie, so the order of equals shows whether the sort is stable.
    const long nDifference = static_cast<long>(lParam1 / 10) - static_cast<long>(lParam2 / 10);
    return static_cast<int>(lParamSort ? -nDifference : nDifference);
}

int FindText(HWND hList, int nStartAfter, LPCSTR pszText, UINT nFlags = LVFI_STRING)
{
    LVFINDINFO info {};
    info.flags = nFlags;
    info.psz = pszText;
    return static_cast<int>(
        SendMessage(hList, LVM_FINDITEM, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(&info)));
}

TEST_F(ListViewSortTest, SortMovesRowsWithTheirStatesAndKeepsEqualsInOrder)
{
    HWND hList = CreateList(0, 0);
    const LPARAM values[] = { 31, 10, 20, 12, 30 };
    for (int i = 0; i < 5; ++i)
        InsertRow(hList, i, "v" + std::to_string(values[i]), values[i]);
    SetState(hList, 3, LVIS_SELECTED | LVIS_FOCUSED | INDEXTOSTATEIMAGEMASK(2), 0xFFFF);
    ASSERT_TRUE(SendMessage(hList, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareTens)));
    std::vector<std::string> texts;
    for (int i = 0; i < 5; ++i)
        texts.push_back(Text(hList, i));
    EXPECT_EQ(texts, (std::vector<std::string> { "v10", "v12", "v20", "v31", "v30" }));
    EXPECT_EQ(State(hList, 1), LVIS_SELECTED | LVIS_FOCUSED | INDEXTOSTATEIMAGEMASK(2));
    EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 1);
    EXPECT_FALSE(SendMessage(hList, LVM_SORTITEMS, 0, 0));
}

TEST_F(ListViewSortTest, AComparatorThatChangesTheListLeavesItAsItWas)
{
    // The comparator deletes a row on its first call: the sort gives up and
    // the rows left keep their order.
    static HWND s_hList = nullptr;
    static bool s_bDeleted = false;
    s_hList = CreateList(0, 0);
    s_bDeleted = false;
    for (int i = 0; i < 4; ++i)
        InsertRow(s_hList, i, "v" + std::to_string(40 - 10 * i), 40 - 10 * i);
    auto deleting = [](LPARAM lParam1, LPARAM lParam2, LPARAM) CALLBACK {
        if (!std::exchange(s_bDeleted, true))
            SendMessage(s_hList, LVM_DELETEITEM, 0, 0);
        return CompareTens(lParam1, lParam2, 0);
    };
    EXPECT_FALSE(SendMessage(s_hList, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(+deleting)));
    std::vector<std::string> texts;
    for (int i = 0; i < 3; ++i)
        texts.push_back(Text(s_hList, i));
    EXPECT_EQ(texts, (std::vector<std::string> { "v30", "v20", "v10" }));
}

TEST_F(ListViewSortTest, FindMatchesWholeTextsIgnoringCase)
{
    HWND hList = CreateList(0, 0);
    InsertRow(hList, 0, "Alpha", 0);
    InsertRow(hList, 1, "beta", 1);
    InsertRow(hList, 2, "GAMMA", 2);
    InsertRow(hList, 3, "gamma ray", 3);
    EXPECT_EQ(FindText(hList, -1, "gamma"), 2);
    EXPECT_EQ(FindText(hList, 2, "Gamma"), -1);
    EXPECT_EQ(FindText(hList, 2, "Gamma", LVFI_STRING | LVFI_WRAP), 2);
    EXPECT_EQ(FindText(hList, -1, "BE", LVFI_PARTIAL), 1);
    EXPECT_EQ(FindText(hList, -1, "alp"), -1);
    EXPECT_EQ(FindText(hList, 7, "beta"), -1);
}

TEST_F(ListViewSortTest, FindAsksCallbackTexts)
{
    HWND hList = CreateList(0, 4, true);
    AnswerCallbacks();
    EXPECT_EQ(FindText(hList, 0, "CB 2.0"), 2);
}

} // namespace
